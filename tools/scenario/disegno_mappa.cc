#include "scenario/disegno_mappa.h"

#include <algorithm>
#include <cmath>

#include "scenario/etichette.h"
#include "scenario/formato.h"
#include "scenario/grafici_mappa.h"
#include "scenario/oggetti_mappa.h"
#include "scenario/piano_mappa.h"
#include "scenario/provenienza_mappa.h"
#include "scenario/svg.h"
#include "text/codifica.h"

using namespace misure_mappa;

namespace {

constexpr double altezza_piano_massima = 520;
constexpr double spazio_sopra = 100;  // room above the plan for its labels
constexpr double spazio_sotto = 40;   // and below it
constexpr double passo_piano = 0.75;  // thinning: points closer than this are dropped
// Markers of one kind closer than this (they touch) are drawn as one, which says how many.
constexpr double raggio_aggregato = 6;

const char* const colore_segnale = "#c62828";
const char* const colore_rallentamento = "#ef6c00";
const char* const colore_cartello = "#1565c0";
const char* const colore_indicatore = "#2e7d32";
const char* const colore_curva = "#6a1b9a";

std::string n(double v) { return numero_svg(v); }

std::string polilinea(const std::vector<p2>& punti) {
  std::string s;
  for (const p2& q : punti) {
    if (!s.empty()) s += ' ';
    s += formato("%.1f,%.1f", q.x, q.y);
  }
  return s;
}

// Markers of one kind, the ones that touch on the drawing taken together.
struct gruppo_celle {
  int32_t prima = 0, ultima = 0;
  size_t quante = 0;
  p2 dove;
};

// With `unisci` false (a map that names each object's record) every marker
// stands alone.
std::vector<gruppo_celle> aggrega(const std::vector<int32_t>& celle, const piano& pn, const finestra_mappa& f,
                                  bool unisci) {
  std::vector<gruppo_celle> g;
  for (int32_t k : celle) {
    const int64_t m = int64_t{k} * metri_per_cella;
    if (!f.contiene(m)) continue;
    const p2 q = pn.a_metro(m);
    if (unisci && !g.empty() && std::hypot(q.x - g.back().dove.x, q.y - g.back().dove.y) < raggio_aggregato) {
      g.back().ultima = k;
      ++g.back().quante;
      continue;
    }
    g.push_back({k, k, 1, q});
  }
  return g;
}

std::string titolo_gruppo(const vista_scenario& s, const gruppo_celle& g, const char* nomi) {
  if (g.quante == 1) return titolo_cella(s, g.prima);
  std::string t = formato("%zu %s from %s to %s", g.quante, nomi, km(int64_t{g.prima} * metri_per_cella).c_str(),
                          km(int64_t{g.ultima} * metri_per_cella).c_str());
  // A few are listed one a line; a crowd only counted.
  if (g.quante > 8) return t;
  for (int32_t k = g.prima; k <= g.ultima; ++k) {
    if (s.celle[static_cast<size_t>(k)].tipo == s.celle[static_cast<size_t>(g.prima)].tipo) t.append("\n").append(titolo_cella(s, k));
  }
  return t;
}

// The plan, its labels and its scale from height `alto`; returns the y below.
double disegna_piano(scrittore_svg& svg, const vista_scenario& s, const piano& pn, const oggetti_mappa& o,
                     const finestra_mappa& f, double alto, size_t& omesse) {
  const double y0 = alto + spazio_sopra;
  std::vector<richiesta_etichetta> etichette;
  auto assoluto = [&](p2 q) { return p2{sinistra + q.x, y0 + q.y}; };
  const provenienza_mappa* pv = s.provenienza;
  auto dati = [&](int32_t k, const char* genere) {
    return pv ? dati_record(pv, origine_di(pv->traccia, k), genere, int64_t{k} * metri_per_cella, k)
              : std::vector<attributo_svg>{};
  };

  svg.apri("g", {{"id", "plan"}, {"transform", formato("translate(%.1f %.1f)", sinistra, y0)}});
  for (const auto& t : pn.tratti(passo_piano)) {
    svg.vuoto("polyline", {{"fill", "none"}, {"stroke", "#333"}, {"stroke-width", "2"}, {"stroke-linejoin", "round"},
                           {"points", polilinea(t)}});
  }
  for (const auto& r : o.rallentamenti) {
    const int64_t da = std::max(int64_t{r[0]} * metri_per_cella, f.da);
    const int64_t a = std::min(int64_t{r[1]} * metri_per_cella, f.a);
    if (a < da) continue;
    const int64_t passo = std::max<int64_t>(1, (a - da) / 200);
    std::vector<p2> tratto;
    for (int64_t m = da; m < a; m += passo) tratto.push_back(pn.a_metro(m));
    tratto.push_back(pn.a_metro(a));
    if (tratto.size() == 1) tratto.push_back(tratto[0]);
    svg.vuoto("polyline", {{"fill", "none"}, {"stroke", colore_rallentamento}, {"stroke-width", "7"},
                           {"stroke-linecap", "round"}, {"stroke-opacity", "0.8"}, {"points", polilinea(tratto)}},
              titolo_cella(s, r[0]), dati(r[0], "rallentamento"));
    etichette.push_back({assoluto(tratto.front()), formato("%d km/h", s.celle[static_cast<size_t>(r[0])].valore),
                         priorita_etichetta::altro});
  }
  auto quadrati = [&](const std::vector<int32_t>& celle, const char* colore, const char* nomi, const char* genere) {
    for (const gruppo_celle& g : aggrega(celle, pn, f, !pv)) {
      const double lato = g.quante > 1 ? 7 : 5;
      svg.vuoto("rect", {{"x", n(g.dove.x - lato / 2)}, {"y", n(g.dove.y - lato / 2)}, {"width", n(lato)},
                         {"height", n(lato)}, {"fill", colore}},
                titolo_gruppo(s, g, nomi), dati(g.prima, genere));
    }
  };
  quadrati(o.avvisi, colore_rallentamento, "slowdown warning points", "rallentamento");
  quadrati(o.cartelli, colore_cartello, "sign boards", "cartello_indicatore");
  quadrati(o.indicatori, colore_indicatore, "indicator boards", "indicatori_vmax");
  for (const gruppo_celle& g : aggrega(o.segnali, pn, f, !pv)) {
    svg.vuoto("circle", {{"cx", n(g.dove.x)}, {"cy", n(g.dove.y)}, {"r", g.quante > 1 ? "4" : "3"},
                         {"fill", colore_segnale}},
              titolo_gruppo(s, g, "signals"), dati(g.prima, "segnale"));
  }
  // The curves, where each begins: only a map that names records marks them.
  if (pv) {
    for (const record_in_posizione& r : record_del_genere(*pv, "curva")) {
      if (!f.contiene(r.posizione) || r.cella == nessuno) continue;
      const p2 q = pn.a_metro(r.posizione);
      svg.vuoto("path", {{"d", formato("M%.1f,%.1f l3,-7 l3,7 z", q.x - 3, q.y - 3)}, {"fill", colore_curva},
                         {"fill-opacity", "0.7"}},
                formato("curve from %jd m (%s), %jd m long", static_cast<intmax_t>(r.posizione),
                        km(r.posizione).c_str(), static_cast<intmax_t>(r.valore)),
                dati_record(pv, r.record, "curva", r.posizione, r.cella));
    }
  }
  // Sign texts as labels, where they fit.
  for (int32_t k : o.cartelli) {
    const int64_t m = int64_t{k} * metri_per_cella;
    if (!f.contiene(m)) continue;
    std::string t = testo_cartello(s, k);
    // The two halves of a sign are written apart by blanks; one is enough.
    std::string pulito;
    for (char ch : t) {
      if (ch == ' ' && !pulito.empty() && pulito.back() == ' ') continue;
      pulito += ch;
    }
    etichette.push_back({assoluto(pn.a_metro(m)), pulito, priorita_etichetta::cartello});
  }
  const int32_t fine_linea = s.punti[punto_treno].fine;
  if (fine_linea > 0 && f.contiene(fine_linea)) {
    const p2 q = pn.a_metro(fine_linea);
    svg.vuoto("path", {{"d", formato("M%.1f,%.1f H%.1f", q.x - 6, q.y, q.x + 6)}, {"stroke", "black"},
                       {"stroke-width", "3"}},
              formato("end of line at %d m", fine_linea));
    etichette.push_back({assoluto(q), "end of line", priorita_etichetta::altro});
  }
  for (const stazione_mappa& st : stazioni_di(s.punti)) {
    if (!f.contiene(st.posizione)) continue;
    const p2 q = pn.a_metro(st.posizione);
    svg.vuoto("circle", {{"cx", n(q.x)}, {"cy", n(q.y)}, {"r", "5"}, {"fill", "white"}, {"stroke", "black"},
                         {"stroke-width", "1.5"}},
              titolo_stazione(st),
              dati_record(pv, record_della_stazione(pv, st.record), "stazione", st.posizione,
                          st.posizione / metri_per_cella));
    etichette.push_back({assoluto(q), cp1252_a_utf8(st.p->testo), priorita_etichetta::stazione});
  }
  svg.chiudi();

  const riquadro area{0, alto, larghezza_svg, spazio_sopra + pn.altezza() + spazio_sotto};
  disposizione_etichette d = disponi_etichette(std::move(etichette), area);
  omesse += d.omesse;
  disegna_etichette(svg, d, "labels");

  // A kilometre scale under the plan.
  const double y = y0 + pn.altezza() + spazio_sotto + 16;
  const double metri = passo_tondo(80 / pn.scala());
  const double lungo = metri * pn.scala();
  svg.apri("g", {{"id", "scale"}, {"transform", formato("translate(%.1f %.1f)", sinistra, y)}});
  svg.vuoto("path", {{"d", formato("M0,-5 V0 H%.1f V-5", lungo)}, {"fill", "none"}, {"stroke", "black"}});
  svg.testo({{"x", "0"}, {"y", "14"}}, "0");
  svg.testo({{"x", n(lungo)}, {"y", "14"}, {"text-anchor", "middle"}}, formato("%g km", metri / 1000));
  svg.testo({{"x", n(lungo + 40)}, {"y", "0"}, {"fill", "#555"}},
            "plan turned so that the line runs from left to right; the left of the direction of travel is up");
  svg.chiudi();
  return y + 30;
}

void legenda(scrittore_svg& svg, double y) {
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
  svg.apri("g", {{"id", "legend"}, {"transform", formato("translate(%.1f %.1f)", sinistra, y)}});
  double x = 0;
  for (const voce& v : voci) {
    if (v.cerchio) {
      svg.vuoto("circle", {{"cx", n(x + 5)}, {"cy", "-4"}, {"r", "4"}, {"fill", v.colore}, {"stroke", "black"},
                           {"stroke-width", "1"}});
    } else {
      svg.vuoto("rect", {{"x", n(x + 1)}, {"y", "-8"}, {"width", "8"}, {"height", "8"}, {"fill", v.colore}});
    }
    svg.testo({{"x", n(x + 14)}, {"y", "0"}}, v.testo);
    x += 40 + 6.5 * static_cast<double>(std::char_traits<char>::length(v.testo));
  }
  svg.chiudi();
}

}  // namespace

std::optional<int64_t> metri_del_chilometro(double km) {
  if (!std::isfinite(km) || km < 0 || km > 1000000) return std::nullopt;
  return std::llround(km * 1000);
}

esito_disegno disegna_mappa(const vista_scenario& s, const opzioni_disegno& opz) {
  const oggetti_mappa o = raccogli_oggetti(s.celle);
  const int64_t fine_celle = static_cast<int64_t>(s.celle.size()) * metri_per_cella;
  finestra_mappa f{0, std::max<int64_t>(fine_celle, 1)};
  if (opz.da) f.da = std::clamp<int64_t>(*opz.da, 0, fine_celle - 1);
  if (opz.a) f.a = std::clamp<int64_t>(*opz.a, f.da + 1, std::max(fine_celle, f.da + 1));
  const bool parte = opz.da || opz.a;

  // The header comes first in the file but is known last (the labels left
  // out); the body is drawn first, below the room kept for it.
  std::string corpo;
  scrittore_svg svg(corpo);
  const bool con_errore = !opz.errore_compilazione.empty();
  double y = con_errore ? 100 : 80;
  size_t omesse = 0;
  std::optional<piano> pn;
  if (s.profilo && s.profilo->allocato()) {
    pn = piano::da(*s.profilo, f.da, std::min<int64_t>(f.a, s.profilo->limite), larghezza, altezza_piano_massima);
  }
  if (pn) {
    y = disegna_piano(svg, s, *pn, o, f, y, omesse);
    legenda(svg, y);
    y += 30;
  } else {
    svg.testo({{"x", n(sinistra)}, {"y", n(y + 16)}, {"fill", "#444"}},
              s.profilo ? "the line profile cannot be drawn: only the charts along the line"
                        : "no line profile file: only the charts along the line");
    y += 20;
  }
  y = disegna_grafici(svg, s, o, f, !pn, y, omesse);

  std::string testa;
  scrittore_svg t(testa);
  const std::string nome = cp1252_a_utf8(s.punti[punto_scenario].testo) + " \xE2\x80\x94 train " +
                           cp1252_a_utf8(s.punti[punto_codici].testo);
  t.testo({{"x", n(sinistra)}, {"y", "30"}, {"font-size", "18"}, {"font-weight", "bold"}}, nome);
  std::string riga = formato("line %d m, %zu cells; %zu stations, %zu signals, %zu slowdowns, %zu sign boards, "
                             "%zu indicator boards",
                             s.punti[punto_treno].fine, s.celle.size(), stazioni_di(s.punti).size(),
                             o.segnali.size(), o.rallentamenti.size(), o.cartelli.size(), o.indicatori.size());
  if (parte) riga += formato("; drawn from %s to %s", km(f.da).c_str(), km(f.a).c_str());
  t.testo({{"x", n(sinistra)}, {"y", "50"}, {"fill", "#444"}}, riga);
  double yt = 50;
  if (con_errore) {
    yt += 20;
    t.testo({{"id", "compile-error"}, {"x", n(sinistra)}, {"y", n(yt)}, {"fill", "#b71c1c"}, {"font-weight", "bold"}},
            std::string("this compile recorded an error: ").append(opz.errore_compilazione));
  }
  if (omesse > 0) {
    t.testo({{"id", "labels-left-out"}, {"x", n(sinistra)}, {"y", n(yt + 18)}, {"fill", "#444"}},
            formato("%zu %s left out for lack of room; --from KM --to KM draws a part of the line larger", omesse,
                    omesse == 1 ? "label" : "labels"));
  }

  const double altezza = std::ceil(y);
  esito_disegno e;
  e.etichette_omesse = omesse;
  e.svg.reserve(testa.size() + corpo.size() + 400);
  e.svg += "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n";
  e.svg += formato("<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"%.1f\" height=\"%.1f\" viewBox=\"0 0 %.1f %.1f\" "
                   "font-family=\"sans-serif\" font-size=\"11\">\n",
                   larghezza_svg, altezza, larghezza_svg, altezza);
  e.svg.append("<title>").append(testo_xml(con_errore ? nome + " (compiled with an error)" : nome)).append("</title>\n");
  e.svg += "<rect width=\"100%\" height=\"100%\" fill=\"white\"/>\n";
  e.svg += testa;
  e.svg += corpo;
  e.svg += "</svg>\n";
  return e;
}

esito_disegno disegna_mappa_senza_griglia(const std::string& nome, const std::string& errore_compilazione) {
  std::string corpo;
  scrittore_svg t(corpo);
  t.testo({{"x", n(sinistra)}, {"y", "30"}, {"font-size", "18"}, {"font-weight", "bold"}}, nome);
  t.testo({{"id", "compile-error"}, {"x", n(sinistra)}, {"y", "70"}, {"fill", "#b71c1c"}, {"font-weight", "bold"}},
          std::string("this compile recorded an error: ").append(errore_compilazione));
  t.testo({{"x", n(sinistra)}, {"y", "90"}, {"fill", "#444"}}, "it left no cell grid: there is nothing to draw");
  esito_disegno e;
  e.svg = formato("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"%.1f\" "
                  "height=\"120.0\" viewBox=\"0 0 %.1f 120.0\" font-family=\"sans-serif\" font-size=\"11\">\n",
                  larghezza_svg, larghezza_svg);
  e.svg.append("<title>").append(testo_xml(nome + " (compiled with an error)")).append("</title>\n");
  e.svg += "<rect width=\"100%\" height=\"100%\" fill=\"white\"/>\n";
  e.svg += corpo;
  e.svg += "</svg>\n";
  return e;
}
