#include "scenario/grafici_mappa.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "scenario/etichette.h"
#include "scenario/formato.h"
#include "scenario/piano_mappa.h"
#include "scenario/provenienza_mappa.h"
#include "text/codifica.h"

using namespace misure_mappa;

namespace {

const char* const colore_rallentamento = "#ef6c00";
constexpr double spazio_nomi = 90;  // room above the charts for the station names

std::string n(double v) { return numero_svg(v); }

struct serie {
  const char* titolo;
  std::vector<int> valori;  // one a cell
  const char* colore;
  // The records whose changes it shows, for a map that names records ("pendenza", ...).
  const char* genere = nullptr;
};

// The step path of `valori` over cells k0 to k1.
std::string gradini(const std::vector<int>& valori, size_t k0, size_t k1, const finestra_mappa& f,
                    const auto& y) {
  std::string d;
  size_t k = k0;
  while (k <= k1) {
    size_t fine = k;
    while (fine < k1 && valori[fine + 1] == valori[k]) ++fine;
    const double ya = y(valori[k]);
    const double xa = f.x(std::max<double>(static_cast<double>(k) * metri_per_cella, static_cast<double>(f.da)));
    const double xb = f.x(std::min<double>(static_cast<double>(fine + 1) * metri_per_cella, static_cast<double>(f.a)));
    if (d.empty()) {
      d.append("M").append(n(xa)).append(",").append(n(ya));
    } else {
      d.append(" V").append(n(ya));
    }
    d.append(" H").append(n(xb));
    k = fine + 1;
  }
  return d;
}

// One step chart over cells k0 to k1; returns the y below it. `sotto` is
// drawn under the series in its own colour (the speed limit the slowdowns
// dip from).
double grafico(scrittore_svg& svg, const serie& s, const std::vector<int>* sotto, size_t k0, size_t k1,
               const finestra_mappa& f, double alto, const provenienza_mappa* pv) {
  int v_min = 0, v_max = 0;
  for (size_t k = k0; k <= k1; ++k) {
    v_min = std::min(v_min, s.valori[k]);
    v_max = std::max(v_max, s.valori[k]);
    if (sotto) v_max = std::max(v_max, (*sotto)[k]);
  }
  // Values are whole numbers: so are the steps of the axis.
  const double passo = std::max(1.0, passo_tondo(std::max(1, std::max(v_max, -v_min)) / 4.0));
  const double basso = std::floor(v_min / passo) * passo;
  const double cima = std::max(std::ceil(v_max / passo) * passo, basso + passo);
  const double y0 = alto + 18;
  auto y = [&](double v) { return y0 + (cima - v) / (cima - basso) * altezza_grafico; };

  svg.apri("g", {{"class", "chart"}});
  svg.testo({{"x", n(sinistra)}, {"y", n(alto + 10)}, {"font-weight", "bold"}}, s.titolo);
  svg.vuoto("rect", {{"x", n(sinistra)}, {"y", n(y0)}, {"width", n(larghezza)}, {"height", n(altezza_grafico)},
                     {"fill", "#fafafa"}, {"stroke", "#999"}});
  for (double v = basso; v <= cima; v += passo) {
    svg.vuoto("line", {{"x1", n(sinistra)}, {"x2", n(sinistra + larghezza)}, {"y1", n(y(v))}, {"y2", n(y(v))},
                       {"stroke", v == 0 ? "#888" : "#e0e0e0"}});
    svg.testo({{"x", n(sinistra - 6)}, {"y", n(y(v) + 4)}, {"text-anchor", "end"}}, formato("%g", v));
  }
  if (sotto) {
    svg.vuoto("path", {{"class", "limit"}, {"fill", "none"}, {"stroke", "#b39ddb"}, {"stroke-width", "1"},
                       {"stroke-dasharray", "4,2"}, {"d", gradini(*sotto, k0, k1, f, y)}});
  }
  svg.vuoto("path", {{"class", "profile"}, {"fill", "none"}, {"stroke", s.colore}, {"stroke-width", "1.5"},
                     {"d", gradini(s.valori, k0, k1, f, y)}});
  // Each change a record made, at the step it made, on the value the cells hold.
  if (pv && s.genere) {
    for (const record_in_posizione& r : record_del_genere(*pv, s.genere)) {
      if (!f.contiene(r.posizione) || r.cella == nessuno) continue;
      const int32_t k = r.cella;
      if (k < static_cast<int32_t>(k0) || k > static_cast<int32_t>(k1)) continue;
      svg.vuoto("circle", {{"class", "change"}, {"cx", n(f.x(static_cast<double>(r.posizione)))},
                           {"cy", n(y(s.valori[static_cast<size_t>(k)]))}, {"r", "3"}, {"fill", "white"},
                           {"stroke", s.colore}, {"stroke-width", "1.5"}},
                formato("%s %jd from %jd m (%s)", s.genere, static_cast<intmax_t>(r.valore),
                        static_cast<intmax_t>(r.posizione), km(r.posizione).c_str()),
                dati_record(pv, r.record, s.genere, r.posizione, k));
    }
  }
  svg.chiudi();
  return y0 + altezza_grafico + 22;
}

}  // namespace

double disegna_grafici(scrittore_svg& svg, const vista_scenario& s, const oggetti_mappa& o, const finestra_mappa& f,
                       bool con_nomi, double alto, size_t& omesse) {
  const std::vector<cella>& c = s.celle;
  if (c.empty()) return alto;
  // The cells of the part shown; at the end of the line, the cells that no
  // profile reached hold zeros and are left out.
  const size_t k0 = static_cast<size_t>(std::clamp<int64_t>(f.da / metri_per_cella, 0, static_cast<int64_t>(c.size()) - 1));
  size_t k1 = static_cast<size_t>(
      std::clamp<int64_t>((f.a + metri_per_cella - 1) / metri_per_cella, static_cast<int64_t>(k0),
                          static_cast<int64_t>(c.size()) - 1));
  while (k1 > k0 && c[k1].velocita == 0 && c[k1].pendenza == 0 && c[k1].aderenza == 0) --k1;

  std::vector<stazione_mappa> stazioni = stazioni_di(s.punti);
  const provenienza_mappa* pv = s.provenienza;
  double y = alto;
  if (con_nomi) {
    y += spazio_nomi;
    std::vector<richiesta_etichetta> nomi;
    for (const stazione_mappa& st : stazioni) {
      if (!f.contiene(st.posizione)) continue;
      const double x = f.x(st.posizione);
      svg.vuoto("circle", {{"cx", n(x)}, {"cy", n(y)}, {"r", "4"}, {"fill", "white"}, {"stroke", "black"}},
                titolo_stazione(st),
                dati_record(pv, record_della_stazione(pv, st.record), "stazione", st.posizione,
                            st.posizione / metri_per_cella));
      nomi.push_back({{x, y}, cp1252_a_utf8(st.p->testo), priorita_etichetta::stazione});
    }
    disposizione_etichette d = disponi_etichette(std::move(nomi), {0, alto, larghezza_svg, spazio_nomi});
    omesse += d.omesse;
    disegna_etichette(svg, d, "station-labels");
    y += 10;
  }
  const double cima = y;

  // The speed in force: the limit, dipping to each slowdown's speed between
  // its start and its end.
  std::vector<int> limite(c.size()), in_forza(c.size()), pendenza(c.size()), aderenza(c.size());
  for (size_t k = 0; k < c.size(); ++k) {
    limite[k] = c[k].velocita * 5;
    pendenza[k] = c[k].pendenza - 100;
    aderenza[k] = c[k].aderenza;
  }
  in_forza = limite;
  for (const auto& r : o.rallentamenti) {
    const int v = c[static_cast<size_t>(r[0])].valore;
    for (auto k = static_cast<size_t>(r[0]); k <= static_cast<size_t>(r[1]) && k < c.size(); ++k) {
      in_forza[k] = std::min(in_forza[k], v);
    }
  }
  y = grafico(svg, {"speed limit (km/h)", std::move(in_forza), "#6a1b9a", "velocita"}, &limite, k0, k1, f, y, pv);
  // The dips named, where they are.
  for (const auto& r : o.rallentamenti) {
    const int64_t da = int64_t{r[0]} * metri_per_cella, a = int64_t{r[1]} * metri_per_cella;
    if (a < f.da || da > f.a) continue;
    const double x0 = f.x(static_cast<double>(std::max(da, f.da)));
    const double x1 = std::max(f.x(static_cast<double>(std::min(a, f.a))), x0 + 2);
    svg.vuoto("rect", {{"class", "slowdown"}, {"x", n(x0)}, {"y", n(y - 22 - altezza_grafico)},
                       {"width", n(x1 - x0)}, {"height", n(altezza_grafico)}, {"fill", colore_rallentamento},
                       {"fill-opacity", "0.12"}},
              formato("slowdown %d km/h from %s to %s", c[static_cast<size_t>(r[0])].valore, km(da).c_str(),
                      km(a).c_str()),
              pv ? dati_record(pv, origine_di(pv->traccia, r[0]), "rallentamento", da, r[0])
                 : std::vector<attributo_svg>{});
  }
  y = grafico(svg, {"gradient (per mille)", std::move(pendenza), "#00695c", "pendenza"}, nullptr, k0, k1, f, y, pv);
  y = grafico(svg, {"adhesion", std::move(aderenza), "#4e342e", "aderenza"}, nullptr, k0, k1, f, y, pv);

  // The stations and the end of the line across the charts.
  for (const stazione_mappa& st : stazioni) {
    if (!f.contiene(st.posizione)) continue;
    const double x = f.x(st.posizione);
    svg.vuoto("line", {{"x1", n(x)}, {"x2", n(x)}, {"y1", n(cima)}, {"y2", n(y - 22)}, {"stroke", "#90a4ae"},
                       {"stroke-dasharray", "2,3"}},
              cp1252_a_utf8(st.p->testo));
  }
  const int32_t lunghezza = s.punti[punto_treno].fine;
  if (lunghezza > 0 && f.contiene(lunghezza)) {
    const double x = f.x(lunghezza);
    svg.vuoto("line", {{"x1", n(x)}, {"x2", n(x)}, {"y1", n(cima)}, {"y2", n(y - 22)}, {"stroke", "black"},
                       {"stroke-dasharray", "6,4"}});
    svg.testo({{"x", n(x + 4)}, {"y", n(cima + 12)}}, "end of line");
  }

  // The distance along the line.
  const double passo = passo_tondo(static_cast<double>(f.a - f.da) / 20);
  svg.apri("g", {{"id", "distance"}});
  svg.vuoto("line", {{"x1", n(sinistra)}, {"x2", n(sinistra + larghezza)}, {"y1", n(y)}, {"y2", n(y)},
                     {"stroke", "black"}});
  for (double m = std::ceil(static_cast<double>(f.da) / passo) * passo; m <= static_cast<double>(f.a); m += passo) {
    svg.vuoto("line", {{"x1", n(f.x(m))}, {"x2", n(f.x(m))}, {"y1", n(y)}, {"y2", n(y + 5)}, {"stroke", "black"}});
    svg.testo({{"x", n(f.x(m))}, {"y", n(y + 17)}, {"text-anchor", "middle"}}, formato("%g", m / 1000));
  }
  svg.testo({{"x", n(sinistra + larghezza + 10)}, {"y", n(y + 17)}}, "km along the line");
  svg.chiudi();
  return y + 40;
}
