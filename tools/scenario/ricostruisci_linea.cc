// The line text from the compiled files: header values, the plan's curves,
// gradients, mountains, indicator boards and sign boards.

#include <algorithm>
#include <array>
#include <bit>
#include <cstring>

#include "line/progressive.h"
#include "scenario/decodifica.h"
#include "scenario/formato.h"
#include "scenario/ricostruzione.h"

namespace {

// The turn per metre of the curve classes 1 to 6, as the compile lays them.
constexpr std::array<double, 6> curvature = {0.0001, 0.0002, 0.0004, 0.001, 0.002, 0.003};

bool stessi_bit(double a, double b) { return std::bit_cast<uint64_t>(a) == std::bit_cast<uint64_t>(b); }

// The position whose cell, CLng(p / 50 + 1), is k.
int64_t posizione_della_cella(int64_t k) { return 50 * (k - 1); }

record_ricostruito rec(std::string chiave, std::vector<int64_t> numeri) { return {std::move(chiave), std::move(numeri), {}}; }

// The three progressives as the text gives them (tre, due, uno), such that
// ordering them gives the stored slots; the stored figure lost its 100 where
// the flag is 1.
std::array<punto, 3> progressive_del_testo(const tabella_punti& p, std::vector<std::string>& dubbi) {
  const int slot[3] = {progressiva_tre, progressiva_due, progressiva_uno};
  std::array<punto, 3> date{};
  for (int i = 0; i < 3; ++i) {
    const punto& s = p[static_cast<size_t>(slot[i])];
    date[static_cast<size_t>(i)].inizio = s.inizio;
    date[static_cast<size_t>(i)].fine = s.posizione == 1 ? s.fine - 100 : s.fine;
    date[static_cast<size_t>(i)].posizione = s.posizione;
  }
  // The reverse order first: a single progressive then stays where an
  // author puts it, in "uno".
  std::array<int, 3> ordine = {2, 1, 0};
  std::array<punto, 3> prima = {date[2], date[1], date[0]};
  do {
    modello m;
    for (int i = 0; i < 3; ++i) m.punti[static_cast<size_t>(slot[i])] = date[static_cast<size_t>(ordine[static_cast<size_t>(i)])];
    try {
      progressive_ordina(m);
    } catch (...) {
      continue;
    }
    bool uguale = true;
    for (int s : slot) {
      const punto& a = m.punti[static_cast<size_t>(s)];
      const punto& b = p[static_cast<size_t>(s)];
      uguale = uguale && a.inizio == b.inizio && a.fine == b.fine && a.posizione == b.posizione;
    }
    if (uguale) {
      std::array<punto, 3> r{};
      for (int i = 0; i < 3; ++i) r[static_cast<size_t>(i)] = date[static_cast<size_t>(ordine[static_cast<size_t>(i)])];
      return r;
    }
  } while (std::prev_permutation(ordine.begin(), ordine.end()));
  dubbi.push_back("no order of the three progressives gives the stored ones");
  return prima;
}

// The curve records that lay the plan: each step's turn is found by
// recomputing the step exactly for every class and side.
std::vector<record_ricostruito> curve_di(const profilo_linea& p, int32_t ultimo, int64_t inizio_massimo,
                                   std::vector<std::string>& dubbi) {
  std::vector<record_ricostruito> r;
  if (p.limite < 1 || ultimo > p.limite) {
    dubbi.push_back("the line profile is shorter than the line");
    return r;
  }
  const double* x = p.valori[0].data();
  const double* y = p.valori[1].data();
  double corrente = 0;  // the turn of the run being read; 0 on the straight
  int32_t inizio_run = 0;
  bool segue_curva = false;  // the run being read comes right after a curve
  int guasti = 0;
  auto chiudi = [&](int32_t fine) {
    if (corrente == 0) return;
    int classe = 0;
    while (curvature[static_cast<size_t>(classe)] != std::abs(corrente)) ++classe;
    // A run that starts too near the grid's end for a record of its own
    // continues one before it: its record starts inside the one before.
    int64_t inizio = inizio_run - 1;
    if (segue_curva && inizio > inizio_massimo) inizio = inizio_massimo;
    r.push_back(rec(formato("curva%c%d", corrente < 0 ? 's' : 'd', classe + 1), {inizio, fine - inizio}));
  };
  for (int32_t m = 2; m <= ultimo; ++m) {
    const double d0 = x[m - 1] - x[m - 2];
    const double d1 = y[m - 1] - y[m - 2];
    auto prova = [&](double c) {
      if (c == 0) return stessi_bit(x[m - 1] + d0, x[m]) && stessi_bit(y[m - 1] + d1, y[m]);
      const double dx = d1 * c + d0;
      const double dy = d1 - d0 * c;
      return stessi_bit(x[m - 1] + dx, x[m]) && stessi_bit(y[m - 1] + dy, y[m]);
    };
    double trovata = corrente;
    bool ok = p.tipi[0][m] == variante_doppio && p.tipi[1][m] == variante_doppio && prova(corrente);
    for (int i = -1; !ok && i < 12; ++i) {
      const double c = i < 0 ? 0.0 : (i % 2 == 0 ? -1 : 1) * curvature[static_cast<size_t>(i / 2)];
      if (c != corrente && prova(c)) {
        trovata = c;
        ok = true;
      }
    }
    if (!ok) {
      if (guasti++ < 5) dubbi.push_back(formato("plan point %d: no curve class gives it", m));
      trovata = 0;
    }
    if (trovata != corrente) {
      chiudi(m - 1);
      segue_curva = corrente != 0;
      corrente = trovata;
      inizio_run = m;
    }
  }
  chiudi(ultimo);
  return r;
}

// Runs of one byte field over the cells 0 .. numero_celle - 3, the cells that
// the fill reaches; one record per run, the first at 0.
std::vector<record_ricostruito> profilo_di(const std::vector<cella>& c, uint8_t cella::*campo, const char* chiave,
                                     int64_t (*valore)(uint8_t), std::vector<std::string>& dubbi) {
  std::vector<record_ricostruito> r;
  const int64_t n = static_cast<int64_t>(c.size()) - 1;
  for (int64_t k = 0; k <= n - 3; ++k) {
    if (k == 0 || c[static_cast<size_t>(k)].*campo != c[static_cast<size_t>(k - 1)].*campo) {
      r.push_back(rec(chiave, {50 * k, valore(c[static_cast<size_t>(k)].*campo)}));
    }
  }
  for (int64_t k = std::max<int64_t>(n - 2, 0); k <= n; ++k) {
    if (c[static_cast<size_t>(k)].*campo != 0) {
      dubbi.push_back(formato("cell %lld: %s %d past the cells that a profile fills", static_cast<long long>(k), chiave,
                              c[static_cast<size_t>(k)].*campo));
    }
  }
  return r;
}

// Mountain stretches from the runs of the mountain field; lit when a cell of
// kind 11 stands on every fourth cell. A stretch within 150 m after the one
// before it in the text turns into kind 3, so the stretches of another kind
// go first in the text, and the stretches of kind 3 are written as such.
std::vector<record_ricostruito> montagne_di(const std::vector<cella>& c, std::vector<std::string>& dubbi) {
  struct tratto {
    int64_t prima, ultima;
    int tipo;
    bool accesa;
  };
  std::vector<tratto> t;
  const int64_t n = static_cast<int64_t>(c.size()) - 1;
  for (int64_t k = 0; k <= n; ++k) {
    const int tipo = c[static_cast<size_t>(k)].montagna;
    if (tipo == 0) continue;
    if (!t.empty() && t.back().ultima == k - 1 && t.back().tipo == tipo) {
      t.back().ultima = k;
    } else {
      t.push_back({k, k, tipo, false});
    }
  }
  for (tratto& s : t) {
    for (int64_t k = s.prima + 3; k <= s.ultima; k += 4) {
      if (c[static_cast<size_t>(k)].tipo == riempimento_montagna) s.accesa = true;
    }
  }
  for (int64_t k = 0; k <= n; ++k) {
    if (c[static_cast<size_t>(k)].tipo != riempimento_montagna) continue;
    const bool spiegata = std::any_of(t.begin(), t.end(), [k](const tratto& s) {
      return s.accesa && k >= s.prima && k <= s.ultima && (k - s.prima + 1) % 4 == 0;
    });
    if (!spiegata) dubbi.push_back(formato("cell %lld: mountain fill that no stretch explains", static_cast<long long>(k)));
  }
  // Text order: every stretch not of kind 3 needs the one before it in the
  // text to end more than 150 m before it starts.
  // A stretch of kind 3 that ends far enough before it can stand between
  // the two: its own kind does not change.
  std::vector<tratto> ordine;
  std::vector<tratto> tre;
  std::vector<bool> usata;
  for (const tratto& s : t) {
    if (s.tipo == 3) {
      tre.push_back(s);
      usata.push_back(false);
    }
  }
  // Start and end as far apart from the neighbours as their cells allow:
  // CLng(start / 50) and CLng(end / 50 - 1) keep the cells.
  auto inizio_m = [](const tratto& s) { return 50 * s.prima + (s.prima % 2 == 0 ? 25 : 24); };
  auto fine_m = [](const tratto& s) { return 50 * (s.ultima + 1) - (s.ultima % 2 == 0 ? 25 : 24); };
  auto lontana = [&](const tratto& prima, const tratto& dopo) { return inizio_m(dopo) - fine_m(prima) > 150; };
  for (const tratto& s : t) {
    if (s.tipo == 3) continue;
    if (!ordine.empty() && !lontana(ordine.back(), s)) {
      for (size_t i = 0; i < tre.size(); ++i) {
        if (!usata[i] && lontana(tre[i], s)) {
          usata[i] = true;
          ordine.push_back(tre[i]);
          break;
        }
      }
    }
    ordine.push_back(s);
  }
  for (size_t i = 0; i < tre.size(); ++i) {
    if (!usata[i]) ordine.push_back(tre[i]);
  }
  std::vector<record_ricostruito> r;
  for (const tratto& s : ordine) {
    // Whole cells where no neighbour is near, as an author writes them.
    const bool serve = std::any_of(t.begin(), t.end(), [&](const tratto& q) {
      return (q.prima > s.ultima && q.prima - s.ultima <= 5) || (s.prima > q.ultima && s.prima - q.ultima <= 5);
    });
    const int64_t inizio = serve ? inizio_m(s) : 50 * s.prima;
    const int64_t fine = serve ? fine_m(s) : 50 * (s.ultima + 1);
    r.push_back(rec("montagna", {inizio, fine, s.tipo + (s.accesa ? 10 : 0)}));
  }
  return r;
}

}  // namespace

sotto_fermata oggetto_sotto_fermata(const std::vector<cella>& c, int64_t k) {
  const cella& f = c[static_cast<size_t>(k)];
  if (f.tipo != fermata) return sotto_fermata::niente;
  if (f.tempo != 0) return sotto_fermata::segnale;
  for (int64_t b = 3; b <= 4; ++b) {
    const int64_t j = k - 2 * b;
    if (j < 0) break;
    const int codice = c[static_cast<size_t>(j)].preavviso;
    if (codice != 0 && codice % 10 == b && (f.valore_4 - codice / 10) % 10 == 0) return sotto_fermata::segnale;
  }
  if (f.valore_2 != 0 || f.valore_3 != 0 || f.valore_4 != 0) return sotto_fermata::indicatore;
  return sotto_fermata::niente;
}

std::vector<cella> celle_senza_marche(const std::vector<cella>& celle) {
  std::vector<cella> c = celle;
  if (c.size() > 1) c[1].valore = c[1].valore_2 = 0;
  return c;
}

testo_ricostruito testo_linea_di(const scenario_binario& s, std::vector<std::string>& dubbi) {
  const tabella_punti& p = s.punti;
  const std::vector<cella> c = celle_senza_marche(s.celle);
  testo_ricostruito t;

  sezione_testo generale{"[generale]", "", {}};
  generale.record.push_back(rec("lunghezza percorso", {p[punto_treno].fine}));
  const std::array<punto, 3> prog = progressive_del_testo(p, dubbi);
  const char* nomi[3] = {"uno", "due", "tre"};
  for (int i = 0; i < 3; ++i) {
    const punto& q = prog[static_cast<size_t>(2 - i)];
    generale.record.push_back(rec(std::string("progressiva chilometrica ") + nomi[i], {q.inizio, q.fine, q.posizione}));
  }
  const punto& sc = p[punto_scenario];
  generale.record.push_back(rec("sfondo uno", {sc.inizio}));
  generale.record.push_back(rec("sfondo due", {sc.posizione}));
  generale.record.push_back(rec("sfondo tre", {sc.fine}));
  const punto& co = p[punto_codici];
  generale.record.push_back(
      rec(co.posizione == 9 ? "ripetizione segnali 9 codici" : "ripetizione segnali 4 codici", {co.inizio, co.fine}));
  t.sezioni.push_back(std::move(generale));

  sezione_testo curve{"[curve]", "-- start  length (m)", {}};
  if (s.profilo) curve.record = curve_di(*s.profilo, s.profilo->limite - 2, 50 * (static_cast<int64_t>(c.size()) - 1) - 100, dubbi);
  t.sezioni.push_back(std::move(curve));

  sezione_testo pendenze{"[pendenze]", "-- from (m)  per mille", {}};
  pendenze.record = profilo_di(c, &cella::pendenza, "pendenza", [](uint8_t b) { return int64_t{b} - 100; }, dubbi);
  t.sezioni.push_back(std::move(pendenze));

  t.sezioni.push_back({"[montagne]", "-- start  end (m)  kind (+10 lit)", montagne_di(c, dubbi)});

  sezione_testo indicatori{"[cartelli]", "-- position  figures and stripes of side s  then of side d", {}};
  for (size_t k = 0; k < c.size(); ++k) {
    cella q = c[k];
    // A stop written over an indicator board keeps all of it but its kind
    // and its first value.
    const bool nascosto = oggetto_sotto_fermata(c, static_cast<int64_t>(k)) == sotto_fermata::indicatore;
    if (nascosto) q.valore = 0;
    if (q.tipo != indicatore_v_max && !nascosto) continue;
    const int16_t v[3] = {q.valore, q.valore_2, q.valore_3};
    std::vector<int64_t> n = {posizione_della_cella(static_cast<int64_t>(k))};
    for (int16_t x : v) n.push_back(5 * (x / 100));
    n.push_back(q.valore_4 / 10);
    for (int16_t x : v) n.push_back(5 * (x % 100));
    n.push_back(q.valore_4 % 10);
    indicatori.record.push_back(rec("indicatori_vmax", std::move(n)));
  }
  t.sezioni.push_back(std::move(indicatori));

  // Sign texts fill the point table downward from record 80, in text order.
  sezione_testo cartelli{"[indicazioni]", "-- position  text", {}};
  const ruoli_punti ruoli = ruoli_di(p);
  // A sign that no cell shows stood where a stop was written over it: any
  // stop cell that no other object was under.
  std::vector<int64_t> fermate_libere;
  for (size_t k = 0; k < c.size(); ++k) {
    if (c[k].tipo == fermata && oggetto_sotto_fermata(c, static_cast<int64_t>(k)) == sotto_fermata::niente) {
      fermate_libere.push_back(static_cast<int64_t>(k));
    }
  }
  for (int r = primo_cartello; r >= ruoli.cartello_piu_basso; --r) {
    int64_t cella_cartello = -1;
    for (size_t k = 0; k < c.size() && cella_cartello < 0; ++k) {
      if (c[k].tipo == cartello && c[k].valore == r) cella_cartello = static_cast<int64_t>(k);
    }
    if (cella_cartello < 0 && !fermate_libere.empty()) {
      cella_cartello = fermate_libere.front();
      fermate_libere.erase(fermate_libere.begin());
    }
    if (cella_cartello < 0) {
      dubbi.push_back(formato("sign text record %d: no cell shows it", r));
      continue;
    }
    record_ricostruito q = rec("cartello_indicatore", {posizione_della_cella(cella_cartello)});
    q.testo = p[static_cast<size_t>(r)].testo;
    cartelli.record.push_back(std::move(q));
  }
  t.sezioni.push_back(std::move(cartelli));
  t.sezioni.push_back({"[fine]", "", {}});
  return t;
}
