#include "scenario/mappa.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <map>
#include <sstream>

#include "scenario/formato.h"
#include "scenario/json.h"
#include "scenario/percorsi.h"
#include "text/codifica.h"

namespace fs = std::filesystem;

namespace {

const char* const descrizione_map =
    "Draws a compiled scenario as one SVG file that any browser opens: the plan of\n"
    "the line from the line profile file, with its stations, signals, slowdowns\n"
    "and boards, a kilometre scale, and below it the speed limit, the gradient\n"
    "and the adhesion along the line. A folder must hold the files of one\n"
    "scenario. Without a line profile file only the charts along the line are\n"
    "drawn.";

// Sizes of the drawing, in SVG user units.
constexpr double larghezza_svg = 1600;
constexpr double sinistra = 70;       // left edge of the plan and of the charts
constexpr double larghezza = 1380;    // their width
constexpr double altezza_piano_massima = 520;
constexpr double spazio_nomi = 120;   // room above the plan (or the charts) for slanted names
constexpr double altezza_grafico = 110;
constexpr double passo_piano = 0.75;  // thinning: points closer than this are dropped

const char* const colore_segnale = "#c62828";
const char* const colore_rallentamento = "#ef6c00";
const char* const colore_cartello = "#1565c0";
const char* const colore_indicatore = "#2e7d32";

std::string n(double v) { return formato("%.1f", v); }

std::string km(int64_t metri) { return formato("%.3f km", static_cast<double>(metri) / 1000); }

struct p2 {
  double x = 0;
  double y = 0;
};

// The plan in drawing units: turned so that the line runs from its first
// point to its last from left to right (the left of the direction of travel
// is up), scaled to the width, the top-left corner of its extent at (0, 0).
class piano {
 public:
  static std::optional<piano> da(const profilo_linea& p) {
    piano r;
    auto n_punti = static_cast<size_t>(p.limite + 1);
    r.presente_.assign(n_punti, false);
    r.punti_.assign(n_punti, {});
    std::optional<size_t> primo, ultimo;
    for (size_t m = 0; m < n_punti; ++m) {
      double x = p.valori[0][m];
      double y = p.valori[1][m];
      if (p.tipi[0][m] == variante_vuota || p.tipi[1][m] == variante_vuota || !std::isfinite(x) ||
          !std::isfinite(y)) {
        continue;
      }
      r.presente_[m] = true;
      r.punti_[m] = {x, y};
      if (!primo) primo = m;
      ultimo = m;
    }
    if (!primo) return std::nullopt;
    p2 a = r.punti_[*primo];
    p2 b = r.punti_[*ultimo];
    double dx = b.x - a.x, dy = b.y - a.y;
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
    for (size_t m = 0; m < n_punti; ++m) {
      if (!r.presente_[m]) continue;
      double ox = r.punti_[m].x - a.x, oy = r.punti_[m].y - a.y;
      double u = ox * dx + oy * dy;
      double v = -ox * dy + oy * dx;
      r.punti_[m] = {u, v};
      if (!primo_visto || u < u_min) u_min = u;
      if (!primo_visto || u > u_max) u_max = u;
      if (!primo_visto || v < v_min) v_min = v;
      if (!primo_visto || v > v_max) v_max = v;
      primo_visto = true;
    }
    double du = u_max - u_min, dv = v_max - v_min;
    if (!std::isfinite(du) || !std::isfinite(dv)) return std::nullopt;
    r.scala_ = larghezza / std::max(du, 1.0);
    if (dv * r.scala_ > altezza_piano_massima) r.scala_ = altezza_piano_massima / dv;
    if (!std::isfinite(r.scala_) || r.scala_ <= 0) return std::nullopt;
    r.altezza_ = dv * r.scala_;
    for (size_t m = 0; m < n_punti; ++m) {
      if (!r.presente_[m]) continue;
      r.punti_[m] = {(r.punti_[m].x - u_min) * r.scala_, (v_max - r.punti_[m].y) * r.scala_};
    }
    // Every metre maps to the present point at or before it (or the first).
    r.a_metro_.assign(n_punti, *primo);
    size_t ultimo_presente = *primo;
    for (size_t m = 0; m < n_punti; ++m) {
      if (r.presente_[m]) ultimo_presente = m;
      r.a_metro_[m] = ultimo_presente;
    }
    return r;
  }

  double altezza() const { return altezza_; }
  double scala() const { return scala_; }

  p2 a_metro(int64_t m) const {
    m = std::clamp<int64_t>(m, 0, static_cast<int64_t>(punti_.size()) - 1);
    return punti_[a_metro_[static_cast<size_t>(m)]];
  }

  // The plan as polylines (a new one after each gap), without the points that
  // lie closer than `passo` to the last one kept.
  std::vector<std::vector<p2>> tratti(double passo) const {
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

 private:
  std::vector<bool> presente_;
  std::vector<p2> punti_;
  std::vector<size_t> a_metro_;
  double scala_ = 1;
  double altezza_ = 0;
};

std::string polilinea(const std::vector<p2>& punti) {
  std::string s;
  for (const p2& q : punti) {
    if (!s.empty()) s += ' ';
    s += n(q.x) + "," + n(q.y);
  }
  return s;
}

// A round step for an axis or a scale: the smallest of 1, 2, 5 × 10^k not
// below `minimo`.
double passo_tondo(double minimo) {
  if (!(minimo > 0) || !std::isfinite(minimo)) return 1;
  double decade = std::pow(10.0, std::floor(std::log10(minimo)));
  for (double f : {1.0, 2.0, 5.0}) {
    if (f * decade >= minimo) return f * decade;
  }
  return 10 * decade;
}

// What the drawing shows, gathered once from the cells.
struct oggetti {
  std::vector<int32_t> segnali;
  std::vector<std::array<int32_t, 2>> rallentamenti;  // start cell, end cell
  std::vector<int32_t> avvisi;
  std::vector<int32_t> cartelli;
  std::vector<int32_t> indicatori;
};

oggetti raccogli(const std::vector<cella>& c) {
  oggetti o;
  auto n_celle = static_cast<int32_t>(c.size());
  // For each cell, the next cell at or after it that ends a slowdown.
  std::vector<int32_t> prossima_fine(c.size() + 1, -1);
  for (int32_t k = n_celle - 1; k >= 0; --k) {
    prossima_fine[static_cast<size_t>(k)] =
        c[static_cast<size_t>(k)].tipo == fine_rallentamento ? k : prossima_fine[static_cast<size_t>(k) + 1];
  }
  for (int32_t k = 0; k < n_celle; ++k) {
    switch (c[static_cast<size_t>(k)].tipo) {
      case segnale: o.segnali.push_back(k); break;
      case inizio_rallentamento: {
        int32_t fine = prossima_fine[static_cast<size_t>(k)];
        o.rallentamenti.push_back({k, fine < 0 ? k : fine});
        break;
      }
      case avviso_rallentamento: o.avvisi.push_back(k); break;
      case cartello: o.cartelli.push_back(k); break;
      case indicatore_v_max: o.indicatori.push_back(k); break;
      default: break;
    }
  }
  return o;
}

std::string titolo_cella(const scenario_decodificato& s, int32_t k) {
  const cella& c = s.celle[static_cast<size_t>(k)];
  int64_t m = int64_t{k} * metri_per_cella;
  const char* nome = nome_tipo_cella(c.tipo);
  std::string t = formato("%s at %jd m (%s)", nome ? nome : "object", static_cast<intmax_t>(m), km(m).c_str());
  if (c.tipo == cartello && c.valore >= 1 && c.valore <= primo_cartello) {
    return t + ": " + cp1252_a_utf8(s.punti[static_cast<size_t>(c.valore)].testo);
  }
  std::string sintesi = sintesi_cella(c);
  return sintesi.empty() ? t : t + ": " + sintesi;
}

struct stazione {
  int record;
  int32_t posizione;
  const punto* p;
};

std::vector<stazione> stazioni_di(const tabella_punti& punti) {
  std::vector<stazione> v;
  ruoli_punti r = ruoli_di(punti);
  for (int k = 1; k <= r.ultima_stazione; ++k) v.push_back({k, punti[static_cast<size_t>(k)].posizione, &punti[static_cast<size_t>(k)]});
  return v;
}

std::string titolo_stazione(const stazione& s) {
  return formato("station %d, kind %d, at %d m, extent %d to %d m", s.record, s.p->tipo, s.posizione, s.p->inizio,
                 s.p->fine);
}

void nome_inclinato(std::ostream& svg, double x, double y, const std::string& testo_utf8) {
  svg << "<text transform=\"translate(" << n(x) << ' ' << n(y) << ") rotate(-40)\" x=\"6\" y=\"-4\">"
      << testo_xml(testo_utf8) << "</text>\n";
}

// ---- The plan ---------------------------------------------------------------

double disegna_piano(std::ostream& svg, const scenario_decodificato& s, const piano& pn, const oggetti& o,
                     double alto) {
  double y0 = alto + spazio_nomi;
  svg << "<g id=\"plan\" transform=\"translate(" << n(sinistra) << ' ' << n(y0) << ")\">\n";
  for (const auto& t : pn.tratti(passo_piano)) {
    svg << "<polyline fill=\"none\" stroke=\"#333\" stroke-width=\"2\" stroke-linejoin=\"round\" points=\""
        << polilinea(t) << "\"/>\n";
  }
  for (const auto& r : o.rallentamenti) {
    int64_t da = int64_t{r[0]} * metri_per_cella, a = int64_t{r[1]} * metri_per_cella;
    int64_t passo = std::max<int64_t>(1, (a - da) / 200);
    std::vector<p2> tratto;
    for (int64_t m = da; m < a; m += passo) tratto.push_back(pn.a_metro(m));
    tratto.push_back(pn.a_metro(a));
    if (tratto.size() == 1) tratto.push_back(tratto[0]);
    svg << "<polyline fill=\"none\" stroke=\"" << colore_rallentamento
        << "\" stroke-width=\"7\" stroke-linecap=\"round\" stroke-opacity=\"0.8\" points=\"" << polilinea(tratto)
        << "\"><title>" << testo_xml(titolo_cella(s, r[0])) << "</title></polyline>\n";
  }
  auto quadrato = [&](int32_t k, const char* colore, double lato) {
    p2 q = pn.a_metro(int64_t{k} * metri_per_cella);
    svg << "<rect x=\"" << n(q.x - lato / 2) << "\" y=\"" << n(q.y - lato / 2) << "\" width=\"" << n(lato)
        << "\" height=\"" << n(lato) << "\" fill=\"" << colore << "\"><title>" << testo_xml(titolo_cella(s, k))
        << "</title></rect>\n";
  };
  for (int32_t k : o.avvisi) quadrato(k, colore_rallentamento, 5);
  for (int32_t k : o.cartelli) quadrato(k, colore_cartello, 5);
  for (int32_t k : o.indicatori) quadrato(k, colore_indicatore, 5);
  for (int32_t k : o.segnali) {
    p2 q = pn.a_metro(int64_t{k} * metri_per_cella);
    svg << "<circle cx=\"" << n(q.x) << "\" cy=\"" << n(q.y) << "\" r=\"3\" fill=\"" << colore_segnale
        << "\"><title>" << testo_xml(titolo_cella(s, k)) << "</title></circle>\n";
  }
  int32_t fine_linea = s.punti[punto_treno].fine;
  if (fine_linea > 0) {
    p2 q = pn.a_metro(fine_linea);
    svg << "<path d=\"M" << n(q.x - 6) << ',' << n(q.y) << " H" << n(q.x + 6) << "\" stroke=\"black\" "
        << "stroke-width=\"3\"><title>" << testo_xml(formato("end of line at %d m", fine_linea)) << "</title></path>\n"
        << "<text x=\"" << n(q.x) << "\" y=\"" << n(q.y + 16) << "\" text-anchor=\"middle\">end of line</text>\n";
  }
  for (const stazione& st : stazioni_di(s.punti)) {
    p2 q = pn.a_metro(st.posizione);
    svg << "<circle cx=\"" << n(q.x) << "\" cy=\"" << n(q.y)
        << "\" r=\"5\" fill=\"white\" stroke=\"black\" stroke-width=\"1.5\"><title>"
        << testo_xml(titolo_stazione(st)) << "</title></circle>\n";
    nome_inclinato(svg, q.x, q.y, cp1252_a_utf8(st.p->testo));
  }
  svg << "</g>\n";

  // A kilometre scale under the plan.
  double y = y0 + pn.altezza() + 30;
  double metri = passo_tondo(80 / pn.scala());
  double lungo = metri * pn.scala();
  svg << "<g id=\"scale\" transform=\"translate(" << n(sinistra) << ' ' << n(y) << ")\">\n"
      << "<path d=\"M0,-5 V0 H" << n(lungo) << " V-5\" fill=\"none\" stroke=\"black\"/>\n"
      << "<text x=\"0\" y=\"14\">0</text><text x=\"" << n(lungo) << "\" y=\"14\" text-anchor=\"middle\">"
      << testo_xml(formato("%g km", metri / 1000)) << "</text>\n"
      << "<text x=\"" << n(lungo + 40) << "\" y=\"0\" fill=\"#555\">plan turned so that the line runs from left "
         "to right; the left of the direction of travel is up</text>\n"
      << "</g>\n";
  return y + 30;
}

void legenda(std::ostream& svg, double y) {
  struct voce {
    const char* colore;
    const char* testo;
    bool cerchio;
  };
  const voce voci[] = {{"white", "station", true},
                       {colore_segnale, "signal", true},
                       {colore_rallentamento, "slowdown and its warning point", false},
                       {colore_cartello, "sign board", false},
                       {colore_indicatore, "maximum-speed indicator boards", false}};
  svg << "<g id=\"legend\" transform=\"translate(" << n(sinistra) << ' ' << n(y) << ")\">\n";
  double x = 0;
  for (const voce& v : voci) {
    if (v.cerchio) {
      svg << "<circle cx=\"" << n(x + 5) << "\" cy=\"-4\" r=\"4\" fill=\"" << v.colore
          << "\" stroke=\"black\" stroke-width=\"1\"/>\n";
    } else {
      svg << "<rect x=\"" << n(x + 1) << "\" y=\"-8\" width=\"8\" height=\"8\" fill=\"" << v.colore << "\"/>\n";
    }
    svg << "<text x=\"" << n(x + 14) << "\" y=\"0\">" << v.testo << "</text>\n";
    x += 40 + 6.5 * static_cast<double>(std::char_traits<char>::length(v.testo));
  }
  svg << "</g>\n";
}

// ---- The charts along the line -----------------------------------------------

struct asse {
  double metri;  // length shown, from 0
  double x(double m) const { return sinistra + m / metri * larghezza; }
};

struct serie {
  const char* titolo;
  uint8_t cella::*campo;
  int moltiplica;
  int aggiungi;
  const char* colore;
};

// One step chart of a field over cells 0 to `ultima`; returns the y below it.
double grafico(std::ostream& svg, const std::vector<cella>& c, int32_t ultima, const asse& a, const serie& s,
               const oggetti& o, double alto) {
  auto valore = [&](size_t k) { return (c[k].*s.campo) * s.moltiplica + s.aggiungi; };
  int v_min = 0, v_max = 0;
  for (size_t k = 0; k <= static_cast<size_t>(ultima); ++k) {
    v_min = std::min(v_min, valore(k));
    v_max = std::max(v_max, valore(k));
  }
  // Values are whole numbers: so are the steps of the axis.
  double passo = std::max(1.0, passo_tondo(std::max(1, std::max(v_max, -v_min)) / 4.0));
  double basso = std::floor(v_min / passo) * passo;
  double cima = std::max(std::ceil(v_max / passo) * passo, basso + passo);
  double y0 = alto + 18;
  auto y = [&](double v) { return y0 + (cima - v) / (cima - basso) * altezza_grafico; };

  svg << "<g class=\"chart\">\n<text x=\"" << n(sinistra) << "\" y=\"" << n(alto + 10)
      << "\" font-weight=\"bold\">" << s.titolo << "</text>\n";
  svg << "<rect x=\"" << n(sinistra) << "\" y=\"" << n(y0) << "\" width=\"" << n(larghezza) << "\" height=\""
      << n(altezza_grafico) << "\" fill=\"#fafafa\" stroke=\"#999\"/>\n";
  for (double v = basso; v <= cima; v += passo) {
    svg << "<line x1=\"" << n(sinistra) << "\" x2=\"" << n(sinistra + larghezza) << "\" y1=\"" << n(y(v))
        << "\" y2=\"" << n(y(v)) << "\" stroke=\"" << (v == 0 ? "#888" : "#e0e0e0") << "\"/>\n"
        << "<text x=\"" << n(sinistra - 6) << "\" y=\"" << n(y(v) + 4) << "\" text-anchor=\"end\">"
        << formato("%g", v) << "</text>\n";
  }
  std::string d;
  size_t k = 0;
  while (k <= static_cast<size_t>(ultima)) {
    size_t fine = k;
    while (fine < static_cast<size_t>(ultima) && valore(fine + 1) == valore(k)) ++fine;
    double ya = y(valore(k));
    if (d.empty()) {
      d.append("M").append(n(a.x(static_cast<double>(k) * metri_per_cella))).append(",").append(n(ya));
    } else {
      d.append(" V").append(n(ya));
    }
    d.append(" H").append(n(a.x(static_cast<double>(fine + 1) * metri_per_cella)));
    k = fine + 1;
  }
  svg << "<path fill=\"none\" stroke=\"" << s.colore << "\" stroke-width=\"1.5\" d=\"" << d << "\"/>\n";
  if (s.campo == &cella::velocita) {
    // The slowdowns, at their own speed.
    for (const auto& r : o.rallentamenti) {
      int v = c[static_cast<size_t>(r[0])].valore;
      if (v < basso || v > cima) continue;
      double x0 = a.x(static_cast<double>(r[0]) * metri_per_cella);
      double x1 = std::max(a.x(static_cast<double>(r[1]) * metri_per_cella), x0 + 2);
      svg << "<line x1=\"" << n(x0) << "\" x2=\"" << n(x1)
          << "\" y1=\"" << n(y(v)) << "\" y2=\"" << n(y(v)) << "\" stroke=\"" << colore_rallentamento
          << "\" stroke-width=\"3\"><title>" << testo_xml(formato("slowdown %d km/h", v)) << "</title></line>\n";
    }
  }
  svg << "</g>\n";
  return y0 + altezza_grafico + 22;
}

double disegna_grafici(std::ostream& svg, const scenario_decodificato& s, const oggetti& o, bool con_nomi,
                       double alto) {
  const std::vector<cella>& c = s.celle;
  if (c.empty()) return alto;
  // Cells at the end that no profile reached hold zeros; they are left out.
  auto ultima = static_cast<int32_t>(c.size()) - 1;
  while (ultima > 0 && c[static_cast<size_t>(ultima)].velocita == 0 && c[static_cast<size_t>(ultima)].pendenza == 0 &&
         c[static_cast<size_t>(ultima)].aderenza == 0) {
    --ultima;
  }
  asse a{static_cast<double>(c.size()) * metri_per_cella};
  std::vector<stazione> stazioni = stazioni_di(s.punti);
  double y = alto;
  if (con_nomi) {
    y += spazio_nomi;
    for (const stazione& st : stazioni) {
      double x = a.x(std::clamp<double>(st.posizione, 0, a.metri));
      svg << "<circle cx=\"" << n(x) << "\" cy=\"" << n(y) << "\" r=\"4\" fill=\"white\" stroke=\"black\"><title>"
          << testo_xml(titolo_stazione(st)) << "</title></circle>\n";
      nome_inclinato(svg, x, y, cp1252_a_utf8(st.p->testo));
    }
    y += 10;
  }
  double cima = y;
  const serie grafici[] = {{"speed limit (km/h)", &cella::velocita, 5, 0, "#6a1b9a"},
                           {"gradient (per mille)", &cella::pendenza, 1, -100, "#00695c"},
                           {"adhesion", &cella::aderenza, 1, 0, "#4e342e"}};
  for (const serie& g : grafici) y = grafico(svg, c, ultima, a, g, o, y);

  // The stations and the end of the line across the charts.
  for (const stazione& st : stazioni) {
    if (st.posizione < 0 || st.posizione > a.metri) continue;
    double x = a.x(st.posizione);
    svg << "<line x1=\"" << n(x) << "\" x2=\"" << n(x) << "\" y1=\"" << n(cima) << "\" y2=\"" << n(y - 22)
        << "\" stroke=\"#90a4ae\" stroke-dasharray=\"2,3\"><title>" << testo_xml(cp1252_a_utf8(st.p->testo))
        << "</title></line>\n";
  }
  int32_t lunghezza = s.punti[punto_treno].fine;
  if (lunghezza > 0 && lunghezza <= a.metri) {
    double x = a.x(lunghezza);
    svg << "<line x1=\"" << n(x) << "\" x2=\"" << n(x) << "\" y1=\"" << n(cima) << "\" y2=\"" << n(y - 22)
        << "\" stroke=\"black\" stroke-dasharray=\"6,4\"/>\n"
        << "<text x=\"" << n(x + 4) << "\" y=\"" << n(cima + 12) << "\">end of line</text>\n";
  }

  // The distance along the line.
  double passo = passo_tondo(a.metri / 20);
  svg << "<g id=\"distance\">\n<line x1=\"" << n(sinistra) << "\" x2=\"" << n(sinistra + larghezza) << "\" y1=\""
      << n(y) << "\" y2=\"" << n(y) << "\" stroke=\"black\"/>\n";
  for (double m = 0; m <= a.metri; m += passo) {
    svg << "<line x1=\"" << n(a.x(m)) << "\" x2=\"" << n(a.x(m)) << "\" y1=\"" << n(y) << "\" y2=\"" << n(y + 5)
        << "\" stroke=\"black\"/><text x=\"" << n(a.x(m)) << "\" y=\"" << n(y + 17) << "\" text-anchor=\"middle\">"
        << formato("%g", m / 1000) << "</text>\n";
  }
  svg << "<text x=\"" << n(sinistra + larghezza + 10) << "\" y=\"" << n(y + 17) << "\">km along the line</text>\n"
      << "</g>\n";
  return y + 40;
}

// ---- Finding and reading the files ----------------------------------------

std::string errore_uso(const std::string& testo) { return "scenario map: " + testo; }

// The files of a folder by kind, sorted by name.
std::map<genere_file, std::vector<std::string>> file_della_cartella(const fs::path& cartella, std::string& errore) {
  std::map<genere_file, std::vector<std::string>> per_genere;
  std::error_code ec;
  fs::directory_iterator it(cartella, ec);
  if (ec) {
    errore = testo_percorso(cartella) + ": cannot be read: " + ec.message();
    return per_genere;
  }
  for (const fs::directory_entry& voce : it) {
    std::error_code ec2;
    if (!voce.is_regular_file(ec2)) continue;
    auto g = genere_da_nome(testo_percorso(voce.path().filename()));
    if (g) per_genere[*g].push_back(testo_percorso(voce.path()));
  }
  for (auto& [g, v] : per_genere) std::sort(v.begin(), v.end());
  return per_genere;
}

std::string nome_senza_estensione(const std::string& percorso) {
  return testo_percorso(percorso_utf8(percorso).replace_extension());
}

// The only candidate, or the one candidate that `preferito` picks; empty when
// there is none or the choice is not clear.
template <class F>
std::string scegli(const std::vector<std::string>& candidati, F preferito) {
  if (candidati.size() == 1) return candidati[0];
  std::string scelto;
  for (const std::string& c : candidati) {
    if (!preferito(c)) continue;
    if (!scelto.empty()) return {};
    scelto = c;
  }
  return scelto;
}

}  // namespace

std::string testo_xml(std::string_view utf8) {
  std::string out;
  size_t i = 0;
  while (i < utf8.size()) {
    size_t lunghezza = sequenza_utf8(utf8.substr(i));
    std::string_view seq = utf8.substr(i, std::max<size_t>(lunghezza, 1));
    i += seq.size();
    // U+FFFE and U+FFFF are not characters of XML either.
    if (lunghezza == 0 || seq == "\xEF\xBF\xBE" || seq == "\xEF\xBF\xBF") {
      out += "\xEF\xBF\xBD";
      continue;
    }
    if (lunghezza > 1) {
      out.append(seq);
      continue;
    }
    char c = seq[0];
    switch (c) {
      case '&': out += "&amp;"; break;
      case '<': out += "&lt;"; break;
      case '>': out += "&gt;"; break;
      case '"': out += "&quot;"; break;
      case '\'': out += "&apos;"; break;
      default:
        if (static_cast<unsigned char>(c) < 0x20 && c != '\t' && c != '\n' && c != '\r') {
          out += "\xEF\xBF\xBD";
        } else {
          out += c;
        }
    }
  }
  return out;
}

void disegna_mappa(const scenario_decodificato& s, std::ostream& out) {
  std::ostringstream svg;
  oggetti o = raccogli(s.celle);
  const punto& sc = s.punti[punto_scenario];
  const punto& co = s.punti[punto_codici];
  std::string titolo = cp1252_a_utf8(sc.testo) + " \xE2\x80\x94 train " + cp1252_a_utf8(co.testo);
  svg << "<text x=\"" << n(sinistra) << "\" y=\"30\" font-size=\"18\" font-weight=\"bold\">" << testo_xml(titolo)
      << "</text>\n";
  size_t n_stazioni = stazioni_di(s.punti).size();
  svg << "<text x=\"" << n(sinistra) << "\" y=\"50\" fill=\"#444\">"
      << testo_xml(formato("line %d m, %zu cells; %zu stations, %zu signals, %zu slowdowns, %zu sign boards, "
                           "%zu indicator boards",
                           s.punti[punto_treno].fine, s.celle.size(), n_stazioni, o.segnali.size(),
                           o.rallentamenti.size(), o.cartelli.size(), o.indicatori.size()))
      << "</text>\n";

  double y = 60;
  std::optional<piano> pn;
  if (s.profilo) pn = piano::da(*s.profilo);
  if (pn) {
    y = disegna_piano(svg, s, *pn, o, y);
    legenda(svg, y);
    y += 30;
  } else {
    svg << "<text x=\"" << n(sinistra) << "\" y=\"" << n(y + 16) << "\" fill=\"#444\">"
        << (s.profilo ? "the line profile cannot be drawn: only the charts along the line"
                      : "no line profile file: only the charts along the line")
        << "</text>\n";
    y += 20;
  }
  y = disegna_grafici(svg, s, o, !pn, y);

  double altezza = std::ceil(y);
  out << "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
      << "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"" << n(larghezza_svg) << "\" height=\"" << n(altezza)
      << "\" viewBox=\"0 0 " << n(larghezza_svg) << ' ' << n(altezza)
      << "\" font-family=\"sans-serif\" font-size=\"11\">\n"
      << "<title>" << testo_xml(titolo) << "</title>\n"
      << "<rect width=\"100%\" height=\"100%\" fill=\"white\"/>\n"
      << svg.str() << "</svg>\n";
}

namespace {

struct opzioni_map {
  std::vector<std::string> ingressi;
  std::string uscita;
  bool con_uscita = false;
};

int esegui_map(const opzioni_map& o, std::ostream& out, std::ostream& err) {
  if (!o.con_uscita) return uso_sbagliato("map", "no output file: give -o MAP.svg", err);
  if (o.ingressi.empty()) return uso_sbagliato("map", "no folder or files given", err);
  const std::vector<std::string>& ingressi = o.ingressi;
  const std::optional<std::string> uscita = o.uscita;

  // Which files to draw.
  std::map<genere_file, std::vector<std::string>> per_genere;
  bool da_cartella = false;
  std::error_code ec;
  if (ingressi.size() == 1 && fs::is_directory(percorso_utf8(ingressi[0]), ec)) {
    da_cartella = true;
    std::string errore;
    per_genere = file_della_cartella(percorso_utf8(ingressi[0]), errore);
    if (!errore.empty()) {
      err << errore << "\n";
      return 2;
    }
  } else {
    for (const std::string& f : ingressi) {
      auto g = genere_da_nome(f);
      if (!g) {
        err << errore_uso(f + ": " + nome_non_di_scenario) << "\n";
        return 2;
      }
      per_genere[*g].push_back(f);
    }
  }
  std::string dove = da_cartella ? "in " + ingressi[0] : std::string("among the files given");
  const std::vector<std::string>& sim = per_genere[genere_file::punti];
  const std::vector<std::string>& dat = per_genere[genere_file::celle];
  const std::vector<std::string>& linea = per_genere[genere_file::profilo];
  if (sim.size() != 1) {
    err << errore_uso(sim.empty() ? "no train scenario file (.sim) " + dove
                                  : formato("%zu train scenario files (.sim) %s; a drawing needs exactly one",
                                            sim.size(), dove.c_str()))
        << "\n";
    return 2;
  }

  scenario_decodificato s;
  auto leggi = [&err](const std::string& percorso, auto decodifica, auto& destinazione) {
    auto byte = leggi_file(percorso_utf8(percorso));
    if (!byte.ok()) {
      err << percorso << ": " << byte.errore << "\n";
      return false;
    }
    auto d = decodifica(byte.dati);
    if (!d.ok()) {
      err << percorso << ": " << d.errore << "\n";
      return false;
    }
    destinazione = std::move(d.dati);
    return true;
  };
  if (!leggi(sim[0], decodifica_punti, s.punti)) return 2;

  // With several candidates, the cell file is the one named like the .sim,
  // and the line profile the one named after the scenario the .sim holds.
  std::string file_celle = scegli(dat, [&](const std::string& f) {
    return nome_senza_estensione(f) == nome_senza_estensione(sim[0]);
  });
  if (file_celle.empty()) {
    err << errore_uso(dat.empty() ? "no train cell file (.dat) " + dove
                                  : formato("%zu train cell files (.dat) %s and none of them named like %s",
                                            dat.size(), dove.c_str(), sim[0].c_str()))
        << "\n";
    return 2;
  }
  std::string nome_linea = cp1252_a_utf8(s.punti[punto_scenario].testo) + "_linea.dat";
  std::string file_linea =
      scegli(linea, [&](const std::string& f) { return testo_percorso(percorso_utf8(f).filename()) == nome_linea; });
  if (linea.size() > 1 && file_linea.empty()) {
    err << errore_uso(formato("%zu line profile files (_linea.dat) %s and none of them named %s", linea.size(),
                              dove.c_str(), nome_linea.c_str()))
        << "\n";
    return 2;
  }
  if (!leggi(file_celle, decodifica_celle, s.celle)) return 2;
  if (!file_linea.empty()) {
    profilo_linea p;
    if (!leggi(file_linea, decodifica_profilo, p)) return 2;
    s.profilo = std::move(p);
  }

  if (*uscita == "-") {
    disegna_mappa(s, out);
    return 0;
  }
  std::ostringstream svg;
  disegna_mappa(s, svg);
  fs::path destinazione = percorso_utf8(*uscita);
  fs::path provvisorio = destinazione;
  provvisorio += ".part";
  {
    std::ofstream f(provvisorio, std::ios::binary | std::ios::trunc);
    f << svg.str();
    f.close();
    if (!f) {
      err << *uscita << ": cannot be written\n";
      fs::remove(provvisorio, ec);
      return 1;
    }
  }
  fs::rename(provvisorio, destinazione, ec);
  if (ec) {
    err << *uscita << ": cannot be written: " << ec.message() << "\n";
    fs::remove(provvisorio, ec);
    return 1;
  }
  return 0;
}

}  // namespace

esecuzione_comando definisci_map(CLI::App& sub, flussi io) {
  auto o = std::make_shared<opzioni_map>();
  sub.description(descrizione_map);
  sub.add_option("inputs", o->ingressi, "a folder, or N_T.sim N_T.dat [N_linea.dat]")
      ->type_name("DIR|FILES");
  CLI::Option* uscita =
      sub.add_option("-o,--output", o->uscita, "where to write the drawing (\"-\" for standard output)")
          ->type_name("FILE");
  sub.footer(
      "exit status: 0 when the drawing is written, 1 when it cannot be written, 2 on\n"
      "a usage error or when an input cannot be read or does not fit its layout\n");
  return [o, io, uscita] {
    o->con_uscita = uscita->count() > 0;
    return esegui_map(*o, io.out, io.err);
  };
}

int mappa(const std::vector<std::string>& argomenti, std::ostream& out, std::ostream& err) {
  return esegui_comando("map", argomenti, out, err);
}
