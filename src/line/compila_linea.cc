#include "line/compila_linea.h"

#include <algorithm>
#include <array>
#include <climits>
#include <string>

#include "line/piazzamento_linea.h"
#include "line/progressive.h"
#include "model/conversioni.h"
#include "model/errore_esecuzione.h"
#include "model/nomi_file.h"
#include "text/codifica.h"
#include "text/lettore_campi.h"
#include "text/lettura_sorgente.h"

namespace {

// The turn per metre of a curve of class 1 to 6.
const double curvature[6] = {0.0001, 0.0002, 0.0004, 0.001, 0.002, 0.003};

struct lettura_linea {
  modello& m;
  archivio& a;
  lettura_sorgente& l;
  std::string nome;
  int32_t prossimo_cartello = primo_cartello;
  int32_t cella_pendenza = 0;
  int32_t pendenza_corrente = 0;
  int32_t metro_profilo = 2;
  // The records that gave the three kilometre progressives (tre, due, uno),
  // when traced.
  std::array<int32_t, 3> record_progressive = {nessuno, nessuno, nessuno};
  // The record that set the gradient in force, when traced.
  int32_t record_pendenza = nessuno;
  bool in_coda = false;  // filling the tail, after the body
  // Their values off the 50 m step, as read.
  riferimento_campo fuori_passo[3] = {};
  // Fields of a curve record read while no plan is built: not a typo to warn of.
  int campi_senza_avviso = 0;
};

// A line error exit: the line text goes, the code stays, the train text is
// not read. `valore` is the value of the record that caused it (from 0), or
// nessuno for the record as a whole.
bool uscita(lettura_linea& s, int32_t numero, const int32_t* posizione = nullptr, int32_t valore = nessuno) {
  s.a.cancella(s.nome);
  s.m.numero_errore = numero;
  if (posizione) s.m.posizione_errore = *posizione;
  annota_errore(s.m.traccia, valore);
  return false;
}

// A placement refused because cell k holds an object: the error names it and
// the record that put it there.
bool uscita_occupata(lettura_linea& s, int32_t numero, const int32_t* posizione, int32_t k) {
  uscita(s, numero, posizione, 0);
  if (diagnostica* d = s.m.traccia) {
    aggiungi_nota(d, {genere_nota::cella_occupata, {origine_di(*d, k), nessuno}, k, cella_di(s.m, k).tipo, nullptr});
  }
  return false;
}

void avvisa(lettura_linea& s, const std::string& campo) {
  if (s.campi_senza_avviso > 0) {
    s.campi_senza_avviso -= 1;
    return;
  }
  s.l.avvisa(campo);
}

// A record beyond the grid, (p + 100) / 50 > numero_celle, records 15 at p
// and ends the body as the end of the text would.
bool oltre_griglia(modello& m, int32_t p) {
  if (somma(p, 100) / 50.0 <= m.numero_celle) return false;
  m.numero_errore = 15;
  m.posizione_errore = p;
  annota_errore(m.traccia, 0);
  return true;
}

// The points da..a of the plan, each from the two points before it: straight
// steps repeat the last step, curve steps turn it by `curvatura`. The two
// points before the step are carried from one step to the next rather than
// read back from the plan, so that each step waits only for its own
// arithmetic.
template <bool curva>
void passi(profilo_linea& p, int32_t da, int32_t a, double curvatura) {
  double* const x = p.valori[0].data();
  double* const y = p.valori[1].data();
  double x0 = x[da - 2];
  double x1 = x[da - 1];
  double y0 = y[da - 2];
  double y1 = y[da - 1];
  for (int32_t metro = da; metro <= a; ++metro) {
    const double d0 = x1 - x0;
    const double d1 = y1 - y0;
    double xn;
    double yn;
    if constexpr (curva) {
      // Each increment is rounded to a double before it is added.
      const double dx = d1 * curvatura + d0;
      const double dy = d1 - d0 * curvatura;
      xn = x1 + dx;
      yn = y1 + dy;
    } else {
      xn = x1 + d0;
      yn = y1 + d1;
    }
    x[metro] = xn;
    y[metro] = yn;
    x0 = x1;
    x1 = xn;
    y0 = y1;
    y1 = yn;
  }
  for (auto& tipi : p.tipi) std::fill(tipi.begin() + da, tipi.begin() + a + 1, variante_doppio);
}

// The last point the plan computes: its last two points stay empty.
int32_t ultimo_punto(const modello& m) { return m.lunghezza_estesa - 2; }

// Lays the plan from metro_profilo through point `fino_a` (no further than
// the plan's last point); false when that takes it past point 1000000, which
// is still laid.
template <bool curva>
bool stendi(lettura_linea& s, int32_t fino_a, double curvatura) {
  constexpr int32_t punti_massimi = 1000000;
  int32_t a = std::min(fino_a, ultimo_punto(s.m));
  if (s.metro_profilo > a) return true;
  const bool oltre = a >= punti_massimi;
  if (oltre) a = punti_massimi;
  passi<curva>(s.m.profilo, s.metro_profilo, a, curvatura);
  s.metro_profilo = a + 1;
  return !oltre;
}

// Lays the straight steps up to `inizio` and the curve steps up to
// `inizio` + `lunghezza`; false when the plan would pass 1000000 points.
bool curva(lettura_linea& s, const std::string& chiave, int32_t inizio, int32_t lunghezza) {
  double curvatura = 0;
  bool trovata = false;
  for (char cifra = '1'; cifra <= '6' && !trovata; ++cifra) {
    if (chiave.find(cifra) != std::string::npos) {
      curvatura = curvature[cifra - '1'];
      trovata = true;
    }
  }
  if (!trovata) return false;
  if (contiene_senza_maiuscole(chiave, "s")) curvatura = -curvatura;
  if (!stendi<false>(s, inizio, curvatura)) return false;
  return stendi<true>(s, somma(inizio, lunghezza), curvatura);
}

// The gradient in force is stored as its low 8 bits after 100 is added: one
// whose sum leaves 32 bits fails when it is stored, at the next gradient
// record or in the tail, and its own record is the cause.
[[noreturn]] void pendenza_non_memorizzabile(lettura_linea& s, const std::exception& e) {
  diagnostica* d = s.m.traccia;
  if (d && s.record_pendenza != nessuno && s.pendenza_corrente > INT32_MAX - 100) {
    const riferimento_campo qui = {record_corrente(*d), nessuno};
    annota_fallimento(d, {s.record_pendenza, 1}, motivo_fallimento::valore_fuori_campo, e, INT32_MIN,
                      INT32_MAX - 100);
    aggiungi_nota(d, {genere_nota::valore_in_vigore, s.in_coda ? riferimento_campo{} : qui, nessuno, 0, nullptr});
  }
  throw;
}

void scrivi_pendenza(lettura_linea& s) {
  cella_di(s.m, s.cella_pendenza).pendenza = bassi_8(somma(s.pendenza_corrente, 100));
  s.cella_pendenza = somma(s.cella_pendenza, 1);
}

// The general section. False after a line error exit.
bool sezione_generale(lettura_linea& s) {
  modello& m = s.m;
  while (!s.l.fine()) {
    std::string chiave = s.l.leggi_chiave();
    if (s.l.fine()) break;
    for (int i = 0; i < 10 && contiene(chiave, "-"); ++i) chiave = s.l.leggi_chiave();

    bool riconosciuta = false;
    if (contiene_senza_maiuscole(chiave, "lunghezza") && contiene_senza_maiuscole(chiave, "percorso")) {
      riconosciuta = true;
      s.l.letto_come("lunghezza percorso");
      const int32_t lunghezza = s.l.leggi_long();
      if (lunghezza > 1000000 || lunghezza < 0) return uscita(s, 1, nullptr, 0);
      m.punti[punto_treno].fine = lunghezza;
      alloca_griglia(m, lunghezza);
      if (m.genera_linea != 0) alloca_profilo(m);
    }
    const struct {
      const char* parola;
      int record;
    } progressive[] = {{"tre", progressiva_tre}, {"due", progressiva_due}, {"uno", progressiva_uno}};
    for (const auto& p : progressive) {
      if (contiene(chiave, "progressiva") && contiene(chiave, p.parola)) {
        riconosciuta = true;
        s.l.letto_come("progressiva chilometrica");
        punto& r = m.punti[p.record];
        if (diagnostica* d = m.traccia) s.record_progressive[p.record - progressiva_tre] = record_corrente(*d);
        r.inizio = s.l.leggi_long();
        r.fine = s.l.leggi_long();
        r.posizione = s.l.leggi_long();
        if (diagnostica* d = m.traccia) {
          const int32_t valore = r.inizio % 50 != 0 ? 0 : r.fine % 50 != 0 ? 1 : nessuno;
          s.fuori_passo[p.record - progressiva_tre] = {valore == nessuno ? nessuno : record_corrente(*d), valore};
        }
      }
    }
    punto& scenario = m.punti[punto_scenario];
    const struct {
      const char* parola;
      int32_t punto::*campo;
    } sfondi[] = {{"uno", &punto::inizio}, {"due", &punto::posizione}, {"tre", &punto::fine}};
    for (const auto& f : sfondi) {
      if (contiene(chiave, "sfondo") && contiene(chiave, f.parola)) {
        riconosciuta = true;
        s.l.letto_come("sfondo");
        scenario.*f.campo = s.l.leggi_long();
      }
    }
    if (contiene(chiave, "ripetizione") && contiene(chiave, "segnali")) {
      riconosciuta = true;
      s.l.letto_come("ripetizione segnali");
      punto& r = m.punti[punto_codici];
      r.inizio = s.l.leggi_long();
      r.fine = s.l.leggi_long();
      if (r.inizio % 50 != 0) return uscita(s, 3, nullptr, 0);
      if (r.fine % 50 != 0) return uscita(s, 4, nullptr, 1);
      if (contiene(chiave, "4")) {
        r.posizione = 4;
      } else if (contiene(chiave, "9")) {
        r.posizione = 9;
      } else {
        return uscita(s, 5);
      }
      if (r.fine == 0) r.posizione = 0;
    }
    if (campo_di_sezione(chiave) && chiave[0] != '-') return true;
    if (!riconosciuta) avvisa(s, chiave);
  }
  return true;
}

// The body: gradients, curves, mountains, indicator boards, signs. False
// after a line error exit; true when the body ended (end of text or a record
// beyond the grid).
bool corpo(lettura_linea& s) {
  modello& m = s.m;
  std::string chiave;
  while (s.l.prossima_chiave(chiave)) {
    bool riconosciuta = false;
    if (contiene_senza_maiuscole(chiave, "pendenza")) {
      riconosciuta = true;
      s.l.letto_come("pendenza");
      const int32_t p = s.l.leggi_long();
      const int32_t v = s.l.leggi_long();
      if (oltre_griglia(m, p)) return true;
      const int32_t n = CLng(p / 50.0);
      if (n > 0) {
        try {
          do {
            scrivi_pendenza(s);
          } while (s.cella_pendenza < n);
        } catch (const errore_esecuzione& e) {
          pendenza_non_memorizzabile(s, e);
        }
      }
      s.pendenza_corrente = v;
      s.record_pendenza = s.l.record();
    }
    if (m.genera_linea != 0 && contiene_senza_maiuscole(chiave, "curva")) {
      riconosciuta = true;
      s.l.letto_come("curva");
      const int32_t inizio = s.l.leggi_long();
      const int32_t lunghezza = s.l.leggi_long();
      if (oltre_griglia(m, inizio)) return true;
      if (!curva(s, chiave, inizio, lunghezza)) return uscita(s, 103);
    }
    if (contiene_senza_maiuscole(chiave, "montagna")) {
      riconosciuta = true;
      s.l.letto_come("montagna");
      int32_t inizio = s.l.leggi_long();
      int32_t fine = s.l.leggi_long();
      int32_t tipo = s.l.leggi_long();
      if (oltre_griglia(m, inizio)) return true;
      memo_montagna(m, inizio, fine, tipo);
      if (m.numero_errore > 0) return uscita(s, m.numero_errore, &inizio, 0);
    }
    if (contiene_senza_maiuscole(chiave, "indicatori_v")) {
      riconosciuta = true;
      s.l.letto_come("indicatori_vmax");
      int32_t v[9];
      for (int32_t& x : v) x = s.l.leggi_long();
      if (oltre_griglia(m, v[0])) return true;
      try {
        memo_indicatori_v_max(m, v[0], v[1], v[2], v[3], v[4], v[5], v[6], v[7], v[8]);
      } catch (const errore_esecuzione& e) {
        // A packed figure that does not fit a 16-bit integer.
        annota_fallimento(m.traccia, {s.l.record(), nessuno}, motivo_fallimento::valore_fuori_campo, e, -32768,
                          32767);
        throw;
      }
      if (m.numero_errore > 0) {
        return uscita_occupata(s, m.numero_errore, &v[0], m.traccia ? m.traccia->cella_rifiutata : 0);
      }
    }
    if (contiene_senza_maiuscole(chiave, "indicat") && contiene_senza_maiuscole(chiave, "cartello")) {
      riconosciuta = true;
      s.l.letto_come("cartello_indicatore");
      const int32_t p = s.l.leggi_long();
      std::string testo = s.l.leggi_testo();
      m.riga = testo;
      if (oltre_griglia(m, p)) return true;
      // Sign texts fill the point table downward from record 80 to record 1.
      if (s.prossimo_cartello < 1) return uscita(s, 27, &p, 0);
      const int32_t k = cella_della_posizione(p);
      cella& c = cella_di(m, k);
      if (!libera(c)) return uscita_occupata(s, 6, &p, k);
      c.tipo = cartello;
      c.valore = bassi_16(s.prossimo_cartello);
      annota_origine(m.traccia, k);
      try {
        metti_testo(punto_di(m, s.prossimo_cartello), std::move(testo));
      } catch (const errore_esecuzione& e) {
        if (diagnostica* d = m.traccia) {
          annota_fallimento(d, valore_corrente(*d, 1), motivo_fallimento::testo_troppo_lungo, e, 0,
                            static_cast<int64_t>(lunghezza_testo_massima));
        }
        throw;
      }
      s.prossimo_cartello -= 1;
    }
    if (!riconosciuta) {
      if (m.genera_linea == 0 && contiene_senza_maiuscole(chiave, "curva")) {
        s.campi_senza_avviso = 2;
      } else {
        avvisa(s, chiave);
      }
    }
  }
  return true;
}

}  // namespace


bool compila_linea(modello& m, archivio& a, int32_t& prossimo_cartello) {
  m.punti[punto_scenario].testo = m.nome_scenario;
  m.punti[punto_codici].testo = m.codice_treno;
  const std::string nome = nome_testo_linea(m);
  if (!a.esiste(nome)) {
    m.numero_errore = 101;
    annota_errore(m.traccia);
    return false;
  }
  const std::string testo = a.leggi(nome);
  if (m.traccia) m.traccia->righe_linea = righe_del_testo(testo);
  lettore_campi lettore(testo);
  lettura_sorgente l(m, lettore, testo_linea);
  lettura_linea s{m, a, l, nome};

  try {
    // Everything before "[generale]" is passed over.
    for (;;) {
      if (l.fine()) return uscita(s, 102);
      const std::string campo = l.leggi_chiave();
      if (l.fine()) return uscita(s, 102);
      if (contiene_senza_maiuscole(campo, "[generale]")) break;
    }
    if (!sezione_generale(s)) return false;
    if (!m.griglia_presente()) return uscita(s, 26);

    ordina_progressive(m, s.record_progressive);
    m.numero_montagne = 0;
    if (m.genera_linea != 0) {
      imposta_punto(m.profilo, 0, 0, 0, variante_intero);
      imposta_punto(m.profilo, 0, 1, 0, variante_intero);
      imposta_punto(m.profilo, 1, 0, 0, variante_intero);
      imposta_punto(m.profilo, 1, 1, 1, variante_intero);
    }
    if (!corpo(s)) return false;
  } catch (const errore_esecuzione& e) {
    l.segna_fallimento(e);
    throw;
  }

  a.cancella(nome);
  // The gradient in force reaches every cell but the last three.
  s.in_coda = true;
  try {
    do {
      scrivi_pendenza(s);
    } while (s.cella_pendenza < m.numero_celle - 2);
  } catch (const errore_esecuzione& e) {
    pendenza_non_memorizzabile(s, e);
  }
  // The straight tail to the plan's last point knows no limit of 1000000.
  if (m.genera_linea != 0 && s.metro_profilo <= ultimo_punto(m)) {
    passi<false>(m.profilo, s.metro_profilo, ultimo_punto(m), 0);
    s.metro_profilo = ultimo_punto(m) + 1;
  }
  prossimo_cartello = s.prossimo_cartello;
  if (diagnostica* d = m.traccia) {
    for (const riferimento_campo& c : s.fuori_passo) {
      if (c.presente() && (!d->progressiva_fuori_passo.presente() || c.record < d->progressiva_fuori_passo.record)) {
        d->progressiva_fuori_passo = c;
      }
    }
  }
  return true;
}
