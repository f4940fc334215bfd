// The train text from the compiled files: header values, adhesion and speed
// profiles, stations, slowdowns, signals and the speed markers that the
// finishing pass does not place.

#include <algorithm>
#include <cmath>
#include <map>
#include <set>

#include "model/conversioni.h"
#include "scenario/decodifica.h"
#include "scenario/formato.h"
#include "scenario/ricostruzione.h"

namespace {

record_ricostruito rec(std::string chiave, std::vector<int64_t> numeri) { return {std::move(chiave), std::move(numeri), {}}; }

int64_t posizione_della_cella(int64_t k) { return 50 * (k - 1); }

// The cell of a position p: CLng(p / 50 + 1), without the range failure.
int64_t cella_di_posizione(int64_t p) {
  const double x = static_cast<double>(p) / 50.0 + 1;
  return static_cast<int64_t>(std::nearbyint(x));
}

std::vector<record_ricostruito> profilo_treno(const std::vector<cella>& c, uint8_t cella::*campo, const char* chiave,
                                        int64_t fattore) {
  std::vector<record_ricostruito> r;
  const int64_t n = static_cast<int64_t>(c.size()) - 1;
  for (int64_t k = 0; k <= n - 3; ++k) {
    if (k == 0 || c[static_cast<size_t>(k)].*campo != c[static_cast<size_t>(k - 1)].*campo) {
      r.push_back(rec(chiave, {50 * k, fattore * c[static_cast<size_t>(k)].*campo}));
    }
  }
  return r;
}

record_ricostruito stazione_di(const punto& p) {
  const int64_t x = p.posizione;
  int64_t lunghezza = 0;
  int64_t opzione_3 = p.opzione_3;
  if (p.tipo >= 5 && p.tipo <= 8) {
    lunghezza = x - p.inizio;
    opzione_3 = 0;
  } else {
    lunghezza = 2 * (x - p.inizio);
    // The option lengthens the stop by 50 m; the first station's is cleared
    // after that.
    if (p.fine == x + lunghezza / 2 + 50 && opzione_3 == 0) opzione_3 = 1;
  }
  const int64_t h = p.orario / 3600;
  const int64_t mi = p.orario / 60 % 60;
  const int64_t se = p.orario % 60;
  record_ricostruito r = rec("stazione", {x, p.tipo, lunghezza, p.opzione_1, p.opzione_4, opzione_3, p.intero_1, p.intero_2,
                                    p.opzione_2, p.intero_3, p.intero_4, p.intero_5, p.sosta, h, mi, se});
  r.testo = p.testo;
  return r;
}

// The slowdowns, one per start cell (kind 3): the position from the start
// cell and the advance-warning cell, the length from the end cell, the
// boards from the four cells before the warning.
std::vector<record_ricostruito> rallentamenti_di(const std::vector<cella>& c, std::vector<std::string>& dubbi) {
  std::vector<record_ricostruito> r;
  const int64_t n = static_cast<int64_t>(c.size()) - 1;
  auto at = [&](int64_t k) -> const cella* { return k >= 0 && k <= n ? &c[static_cast<size_t>(k)] : nullptr; };
  for (int64_t a = 0; a <= n; ++a) {
    const cella& s = c[static_cast<size_t>(a)];
    if (s.tipo != inizio_rallentamento) continue;
    auto avviso_giusto = [&](int64_t x) {
      if (x <= 1500) return true;
      const cella* w = at(cella_di_posizione(x - 1200));
      return w && w->tipo == avviso_rallentamento && w->valore == s.valore && w->valore_2 == s.valore_2;
    };
    auto avviso_presente = [&](int64_t x) {
      const cella* w = at(cella_di_posizione(x - 1200));
      return w && w->tipo == avviso_rallentamento && w->valore == s.valore;
    };
    // Whole cells first, then half cells, then any metre of the cell.
    std::vector<int64_t> candidati = {posizione_della_cella(a), posizione_della_cella(a) + 25,
                                      posizione_della_cella(a) - 25};
    for (int64_t x = posizione_della_cella(a) - 50; x <= posizione_della_cella(a) + 50; ++x) candidati.push_back(x);
    int64_t x = candidati[0];
    bool trovato = false;
    for (int64_t q : candidati) {
      if (cella_di_posizione(q) != a || !avviso_giusto(q)) continue;
      if (q <= 1500 && avviso_presente(q)) continue;  // a warning that this start would not explain
      x = q;
      trovato = true;
      break;
    }
    if (!trovato) dubbi.push_back(formato("slowdown start in cell %lld: no position gives its warning cell",
                                          static_cast<long long>(a)));
    // The end: the next end cell with the same values, before the next start;
    // none when the start hides it.
    int64_t e = a;
    for (int64_t k = a + 1; k <= n; ++k) {
      const cella& q = c[static_cast<size_t>(k)];
      if (q.tipo == inizio_rallentamento) break;
      if (q.tipo == fine_rallentamento && q.valore == s.valore && q.valore_3 == s.valore_3) {
        e = k;
        break;
      }
    }
    const int64_t l = posizione_della_cella(e) - x;
    int64_t f_ta = 0;
    if (x > 1500) {
      const int64_t w = cella_di_posizione(x - 1200);
      f_ta = 1;
      for (int64_t i = 1; i <= 4; ++i) {
        const cella* b = at(w - i);
        if (!b || b->tipo != tabella_rallentamento || b->valore != i) f_ta = 0;
      }
    }
    r.push_back(rec("rallentamento", {x, s.valore, l, s.valore_3, f_ta, s.valore_2}));
  }
  return r;
}

// A signal: its pairs, and the warning number 3 sx + dx from its warning
// codes where one is left, else from valore_4.
struct segnale_letto {
  int64_t cella;
  record_ricostruito r;
  int64_t avviso;  // 3 sx + dx
};

std::vector<segnale_letto> segnali_di(const std::vector<cella>& c, bool sotto_fermate) {
  std::vector<segnale_letto> out;
  const int64_t n = static_cast<int64_t>(c.size()) - 1;
  for (int64_t k = 0; k <= n; ++k) {
    cella s = c[static_cast<size_t>(k)];
    // A stop written over a signal keeps all of it but its kind and valore.
    const bool nascosto = sotto_fermate && oggetto_sotto_fermata(c, k) == sotto_fermata::segnale;
    if (nascosto) s.valore = 0;
    if (s.tipo != segnale && !nascosto) continue;
    int64_t l = ((s.valore_4 % 10) + 10) % 10;
    for (int64_t b = 1; b <= 4; ++b) {
      const int64_t j = k - 2 * b;
      if (j < 0) break;
      const int codice = c[static_cast<size_t>(j)].preavviso;
      if (codice % 10 == b && (s.valore_4 - codice / 10) % 10 == 0) {
        l = codice / 10;
        break;
      }
    }
    const int64_t rapp = (s.valore_4 - l) / 10;
    int64_t sx = l / 3;
    int64_t dx = l % 3;
    if (s.tempo != 0) {
      sx = 2;
      dx = l - 6;
    }
    // A hold of 1 to 100 would be lengthened: the same low byte, 256 on.
    const int64_t tempo = s.tempo >= 1 && s.tempo <= 100 ? s.tempo + 256 : s.tempo;
    out.push_back({k,
                   rec("segnale", {posizione_della_cella(k), sx, s.valore / 10, s.valore_2 / 10, s.valore_3 / 10, rapp, dx,
                                   s.valore % 10, s.valore_2 % 10, s.valore_3 % 10, tempo}),
                   l});
  }
  return out;
}

// The signals in an order whose warning codes, each written over the ones
// before it, leave the stored codes: the signal whose code a cell holds comes
// after the others that write that cell; otherwise by position.
std::vector<record_ricostruito> ordina_segnali(const std::vector<segnale_letto>& s, const std::vector<cella>& c) {
  const size_t n = s.size();
  std::vector<std::set<size_t>> prima(n);  // prima[i]: signals that must come before i
  std::map<int64_t, std::vector<std::pair<size_t, int64_t>>> scrittori;  // cell -> (signal, b)
  for (size_t i = 0; i < n; ++i) {
    for (int64_t b = 1; b <= 4; ++b) {
      const int64_t j = s[i].cella - 2 * b;
      if (j < 0) break;
      scrittori[j].push_back({i, b});
    }
  }
  for (const auto& [j, w] : scrittori) {
    const int codice = c[static_cast<size_t>(j)].preavviso;
    for (const auto& [i, b] : w) {
      if (bassi_8(static_cast<int32_t>(10 * s[i].avviso + b)) != codice) continue;
      for (const auto& [o, b2] : w) {
        if (o != i) prima[i].insert(o);
      }
      break;
    }
  }
  std::vector<record_ricostruito> r;
  std::vector<bool> fatto(n, false);
  for (size_t passo = 0; passo < n; ++passo) {
    size_t scelto = n;
    for (size_t i = 0; i < n && scelto == n; ++i) {
      if (fatto[i]) continue;
      bool pronto = std::all_of(prima[i].begin(), prima[i].end(), [&](size_t o) { return fatto[o]; });
      if (pronto) scelto = i;
    }
    if (scelto == n) {  // a cycle: no order gives every code; by position
      for (size_t i = 0; i < n && scelto == n; ++i) {
        if (!fatto[i]) scelto = i;
      }
    }
    fatto[scelto] = true;
    r.push_back(s[scelto].r);
  }
  return r;
}

}  // namespace

testo_ricostruito testo_treno_di(const scenario_binario& s, const scelte_ricostruzione& scelte,
                                 std::vector<std::string>& dubbi) {
  const tabella_punti& p = s.punti;
  const std::vector<cella> c = celle_senza_marche(s.celle);
  testo_ricostruito t;

  sezione_testo generale{"[generale]", "", {}};
  generale.record.push_back(rec("numero vetture", {p[punto_treno].posizione}));
  generale.record.push_back(rec("percentuale massa frenata", {p[punto_treno].inizio}));
  const punto& co = p[punto_codici];
  generale.record.push_back(rec("sabbia", {co.intero_1}));
  generale.record.push_back(rec("orologio", {co.intero_3, co.intero_4, co.intero_5}));
  t.sezioni.push_back(std::move(generale));

  t.sezioni.push_back({"[aderenze]", "-- from (m)  adhesion", profilo_treno(c, &cella::aderenza, "aderenza", 1)});
  t.sezioni.push_back({"[vel_limite]", "-- from (m)  km/h", profilo_treno(c, &cella::velocita, "velocita", 5)});

  sezione_testo stazioni{"[stazioni]", "-- position  kind  length  options  times  name", {}};
  const ruoli_punti ruoli = ruoli_di(p);
  for (int i = 1; i <= ruoli.ultima_stazione; ++i) stazioni.record.push_back(stazione_di(p[static_cast<size_t>(i)]));

  if (!scelte.stazioni_dopo_segnali) t.sezioni.push_back(stazioni);
  t.sezioni.push_back(
      {"[rallentamenti]", "-- position  km/h  length  f_tt  f_ta  d_v", rallentamenti_di(c, dubbi)});
  t.sezioni.push_back({"[segnali]", "-- position  sx  s1 s2 s3  rapp  dx  d1 d2 d3  hold", ordina_segnali(segnali_di(c, scelte.segnali_sotto_fermate), c)});
  if (!scelte.abbattimenti.empty()) {
    sezione_testo abb{"[abbattimenti]", "-- position  value", {}};
    for (const auto& [k, q] : scelte.abbattimenti) {
      abb.record.push_back(rec("abbattimento", {50 * int64_t{k}, q.tipo == abbattimento ? q.valore : 0}));
    }
    t.sezioni.push_back(std::move(abb));
  }
  if (scelte.stazioni_dopo_segnali) t.sezioni.push_back(stazioni);
  t.sezioni.push_back({"[codici]", "", {}});
  t.sezioni.push_back({"[fine]", "", {}});
  return t;
}
