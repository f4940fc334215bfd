#include "scenario/piano_mappa.h"

#include <algorithm>
#include <cmath>

std::optional<piano> piano::da(const profilo_linea& p, int64_t da, int64_t a, double larghezza,
                               double altezza_massima) {
  const int64_t limite = static_cast<int64_t>(p.limite);
  da = std::max<int64_t>(da, 0);
  a = std::min<int64_t>(a, limite);
  if (a < da) return std::nullopt;
  piano r;
  r.primo_metro_ = da;
  const auto n_punti = static_cast<size_t>(a - da + 1);
  r.presente_.assign(n_punti, false);
  r.punti_.assign(n_punti, {});
  std::optional<size_t> primo, ultimo;
  for (size_t k = 0; k < n_punti; ++k) {
    const auto m = static_cast<size_t>(da) + k;
    double x = p.valori[0][m];
    double y = p.valori[1][m];
    if (p.tipi[0][m] == variante_vuota || p.tipi[1][m] == variante_vuota || !std::isfinite(x) || !std::isfinite(y)) {
      continue;
    }
    r.presente_[k] = true;
    r.punti_[k] = {x, y};
    if (!primo) primo = k;
    ultimo = k;
  }
  if (!primo) return std::nullopt;
  p2 pa = r.punti_[*primo];
  p2 pb = r.punti_[*ultimo];
  double dx = pb.x - pa.x, dy = pb.y - pa.y;
  double d = std::hypot(dx, dy);
  if (!std::isfinite(d)) return std::nullopt;
  if (d < 1e-9) {
    dx = 0;  // a single point: keep the plan's own heading, along the second coordinate
    dy = 1;
    d = 1;
  }
  dx /= d;
  dy /= d;
  double u_min = 0, u_max = 0, v_min = 0, v_max = 0;
  bool primo_visto = false;
  for (size_t k = 0; k < n_punti; ++k) {
    if (!r.presente_[k]) continue;
    double ox = r.punti_[k].x - pa.x, oy = r.punti_[k].y - pa.y;
    double u = ox * dx + oy * dy;
    double v = -ox * dy + oy * dx;
    r.punti_[k] = {u, v};
    if (!primo_visto || u < u_min) u_min = u;
    if (!primo_visto || u > u_max) u_max = u;
    if (!primo_visto || v < v_min) v_min = v;
    if (!primo_visto || v > v_max) v_max = v;
    primo_visto = true;
  }
  double du = u_max - u_min, dv = v_max - v_min;
  if (!std::isfinite(du) || !std::isfinite(dv)) return std::nullopt;
  r.scala_ = larghezza / std::max(du, 1.0);
  if (dv * r.scala_ > altezza_massima) r.scala_ = altezza_massima / dv;
  if (!std::isfinite(r.scala_) || r.scala_ <= 0) return std::nullopt;
  r.altezza_ = dv * r.scala_;
  for (size_t k = 0; k < n_punti; ++k) {
    if (!r.presente_[k]) continue;
    r.punti_[k] = {(r.punti_[k].x - u_min) * r.scala_, (v_max - r.punti_[k].y) * r.scala_};
  }
  // Every metre maps to the present point at or before it (or the first).
  r.a_metro_.assign(n_punti, *primo);
  size_t ultimo_presente = *primo;
  for (size_t k = 0; k < n_punti; ++k) {
    if (r.presente_[k]) ultimo_presente = k;
    r.a_metro_[k] = ultimo_presente;
  }
  return r;
}

p2 piano::a_metro(int64_t m) const {
  m = std::clamp<int64_t>(m - primo_metro_, 0, static_cast<int64_t>(punti_.size()) - 1);
  return punti_[a_metro_[static_cast<size_t>(m)]];
}

std::vector<std::vector<p2>> piano::tratti(double passo) const {
  std::vector<std::vector<p2>> t;
  bool in_tratto = false;
  for (size_t m = 0; m < punti_.size(); ++m) {
    if (!presente_[m]) {
      in_tratto = false;
      continue;
    }
    p2 q = punti_[m];
    bool ultimo = m + 1 == punti_.size() || !presente_[m + 1];
    if (!in_tratto) {
      t.emplace_back();
      in_tratto = true;
    } else if (!ultimo && std::hypot(q.x - t.back().back().x, q.y - t.back().back().y) < passo) {
      continue;
    }
    t.back().push_back(q);
  }
  return t;
}

double passo_tondo(double minimo) {
  if (!(minimo > 0) || !std::isfinite(minimo)) return 1;
  double decade = std::pow(10.0, std::floor(std::log10(minimo)));
  for (double f : {1.0, 2.0, 5.0}) {
    if (f * decade >= minimo) return f * decade;
  }
  return 10 * decade;
}
