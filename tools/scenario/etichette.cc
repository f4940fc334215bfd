#include "scenario/etichette.h"

#include <algorithm>
#include <cmath>

#include "text/codifica.h"

namespace {

// The boxes already taken, in columns of the drawing, so that a long line's
// hundreds of labels are each checked against their neighbours only.
class scatole_prese {
 public:
  explicit scatole_prese(double sinistra) : sinistra_(sinistra) {}

  bool libero(const riquadro& r) const {
    const auto [da, a] = colonne(r);
    for (size_t c = da; c <= a && c < colonne_.size(); ++c) {
      for (const riquadro& q : colonne_[c]) {
        if (si_sovrappongono(q, r)) return false;
      }
    }
    return true;
  }

  void prendi(const riquadro& r) {
    const auto [da, a] = colonne(r);
    if (colonne_.size() <= a) colonne_.resize(a + 1);
    for (size_t c = da; c <= a; ++c) colonne_[c].push_back(r);
  }

 private:
  static constexpr double larghezza_colonna = 100;
  std::pair<size_t, size_t> colonne(const riquadro& r) const {
    auto col = [&](double x) {
      return static_cast<size_t>(std::max(0.0, std::floor((x - sinistra_) / larghezza_colonna)));
    };
    return {col(r.x), col(r.x + r.larghezza)};
  }
  double sinistra_;
  std::vector<std::vector<riquadro>> colonne_;
};

bool dentro(const riquadro& r, const riquadro& area) {
  return r.x >= area.x && r.y >= area.y && r.x + r.larghezza <= area.x + area.larghezza &&
         r.y + r.altezza <= area.y + area.altezza;
}

}  // namespace

bool si_sovrappongono(const riquadro& a, const riquadro& b) {
  return a.x < b.x + b.larghezza && b.x < a.x + a.larghezza && a.y < b.y + b.altezza && b.y < a.y + a.altezza;
}

double larghezza_testo(const std::string& utf8) {
  // Sans-serif at 11 units: no character is wider than about 0.62 em, save
  // capitals like M and W; 7 units a character keeps every box honest.
  size_t caratteri = 0;
  for (size_t i = 0; i < utf8.size();) {
    i += std::max<size_t>(sequenza_utf8(std::string_view(utf8).substr(i)), 1);
    ++caratteri;
  }
  return 7.0 * static_cast<double>(caratteri) + 4;
}

disposizione_etichette disponi_etichette(std::vector<richiesta_etichetta> richieste, const riquadro& area,
                                         const std::vector<riquadro>& ostacoli) {
  std::stable_sort(richieste.begin(), richieste.end(),
                   [](const richiesta_etichetta& a, const richiesta_etichetta& b) { return a.priorita < b.priorita; });
  disposizione_etichette d;
  scatole_prese prese(area.x);
  for (const riquadro& o : ostacoli) prese.prendi(o);
  const double h = altezza_etichetta;
  for (richiesta_etichetta& r : richieste) {
    if (r.testo.empty()) continue;
    const double w = larghezza_testo(r.testo);
    const double x = r.ancora.x, y = r.ancora.y;
    // Beside the point first, then further up or down, with a leader line.
    bool posta = false;
    for (int livello = 0; livello < 6 && !posta; ++livello) {
      const double su = y - 5 - h - livello * h, giu = y + 5 + livello * h;
      const riquadro candidati[] = {{x + 4, su, w, h}, {x - 4 - w, su, w, h}, {x + 4, giu, w, h},
                                    {x - 4 - w, giu, w, h}};
      for (const riquadro& c : candidati) {
        if (!dentro(c, area) || !prese.libero(c)) continue;
        prese.prendi(c);
        d.poste.push_back({std::move(r.testo), c, r.ancora, livello > 0, r.priorita});
        posta = true;
        break;
      }
    }
    if (!posta) ++d.omesse;
  }
  return d;
}

void disegna_etichette(scrittore_svg& svg, const disposizione_etichette& d, std::string_view id_gruppo) {
  auto n = [](double v) { return numero_svg(v); };
  svg.apri("g", {{"id", std::string(id_gruppo)}});
  for (const etichetta_posta& e : d.poste) {
    if (e.lontana) {
      svg.vuoto("line", {{"x1", n(e.ancora.x)}, {"y1", n(e.ancora.y)}, {"x2", n(e.scatola.x)},
                         {"y2", n(e.scatola.y + e.scatola.altezza)}, {"stroke", "#999"}});
    }
    svg.vuoto("rect", {{"class", "label-box"}, {"x", n(e.scatola.x)}, {"y", n(e.scatola.y)},
                       {"width", n(e.scatola.larghezza)}, {"height", n(e.scatola.altezza)}, {"fill", "white"},
                       {"fill-opacity", "0.8"}});
    const char* colore = e.priorita == priorita_etichetta::cartello ? "#1565c0" : "black";
    svg.testo({{"x", n(e.scatola.x + 2)}, {"y", n(e.scatola.y + e.scatola.altezza - 3)}, {"fill", colore}}, e.testo);
  }
  svg.chiudi();
}
