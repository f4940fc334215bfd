#include "train/compila_treno.h"

#include <string>

#include "model/conversioni.h"
#include "model/errore_esecuzione.h"
#include "model/nomi_file.h"
#include "text/codifica.h"
#include "text/lettore_campi.h"
#include "text/lettura_sorgente.h"
#include "train/piazzamento.h"

namespace {

// A profile along the cells: the value in force and the next cell.
struct profilo_celle {
  int32_t corrente = 0;  // in force before the first record
  int32_t prossima = 0;  // the next cell to fill
  uint8_t cella::*campo;
  bool quinto;  // speeds are stored as a fifth; adhesions as their low 8 bits
  int32_t record = nessuno;  // the record that set the value in force, when traced
};

struct lettura_treno {
  modello& m;
  archivio& a;
  lettura_sorgente& l;
  std::string nome;
  int32_t prossimo_cartello;
  profilo_celle velocita{0, 0, &cella::velocita, true};
  profilo_celle aderenza{0, 0, &cella::aderenza, false};
  int32_t numero_stazione = 1;
  bool in_coda = false;  // filling the tails, after the last record
};

// How a record ends the reading of the text.
enum esito_record { continua, fine_lettura, uscita_errore };

// A record beyond the grid ends the reading as the end of the text does.
esito_record oltre_griglia(lettura_treno& s, int32_t posizione) {
  s.m.numero_errore = 15;
  s.m.posizione_errore = posizione;
  annota_errore(s.m.traccia, 0);
  return fine_lettura;
}

bool fuori(const modello& m, int32_t p, int32_t margine) { return somma(p, margine) / 50.0 > m.numero_celle; }

// An error exit: the train text goes, the code stays, no tails. `valore` is
// the value of the record that caused it (from 0), or nessuno for the record.
esito_record uscita(lettura_treno& s, int32_t numero, const int32_t* posizione = nullptr,
                    int32_t valore = nessuno) {
  s.m.numero_errore = numero;
  if (posizione) s.m.posizione_errore = *posizione;
  annota_errore(s.m.traccia, valore);
  return uscita_errore;
}

// A placement refused because cell k holds an object: the error names it and
// the record that put it there.
esito_record uscita_occupata(lettura_treno& s, int32_t numero, const int32_t* posizione, int64_t k) {
  uscita(s, numero, posizione, 0);
  if (diagnostica* d = s.m.traccia) {
    aggiungi_nota(d, {genere_nota::cella_occupata, {origine_di(*d, k), nessuno}, static_cast<int32_t>(k),
                      cella_di(s.m, k).tipo, nullptr});
  }
  return uscita_errore;
}

// After a placement: an error it refused with, or one the line text left
// (15), which stops the train text here although this record is sound. That
// one keeps its cause, the line's record, and notes where it stopped.
esito_record dopo_piazzamento(lettura_treno& s, int32_t errore_prima, const int32_t* posizione) {
  modello& m = s.m;
  if (m.numero_errore <= 0) return continua;
  diagnostica* d = m.traccia;
  if (m.numero_errore == errore_prima) {
    m.posizione_errore = *posizione;
    aggiungi_nota(d, {genere_nota::fermato_qui, d ? valore_corrente(*d, 0) : riferimento_campo{}, nessuno, 0,
                      nullptr});
    return uscita_errore;
  }
  if (d && d->cella_rifiutata != nessuno) return uscita_occupata(s, m.numero_errore, posizione, d->cella_rifiutata);
  return uscita(s, m.numero_errore, posizione, 0);
}

// A value in force that its cells cannot hold fails when it is stored, at
// the next record of its kind or in the tail: its own record is the cause.
[[noreturn]] void valore_non_memorizzabile(lettura_treno& s, const profilo_celle& p, const std::exception& e) {
  if (diagnostica* d = s.m.traccia) {
    const riferimento_campo qui = {record_corrente(*d), nessuno};
    annota_fallimento(d, {p.record, p.record == nessuno ? nessuno : 1}, motivo_fallimento::valore_fuori_campo, e,
                      -2, 1277);
    aggiungi_nota(d, {genere_nota::valore_in_vigore, s.in_coda ? riferimento_campo{} : qui, nessuno, 0, nullptr});
  }
  throw;
}

void scrivi_profilo(modello& m, profilo_celle& p) {
  cella_di(m, p.prossima).*p.campo = p.quinto ? CByte(p.corrente / 5.0) : bassi_8(p.corrente);
  p.prossima = somma(p.prossima, 1);
}

// A speed or adhesion record: the value before it reaches its cell, then it
// is in force. Records out of order advance the fill one cell each, never
// past the grid's end.
esito_record profilo_record(lettura_treno& s, profilo_celle& p) {
  const int32_t posizione = s.l.leggi_long();
  const int32_t valore = s.l.leggi_long();
  if (fuori(s.m, posizione, 100)) return oltre_griglia(s, posizione);
  const int32_t n = CLng(posizione / 50.0);
  if (n > 0) {
    try {
      do {
        if (p.prossima >= s.m.numero_celle) break;
        scrivi_profilo(s.m, p);
      } while (p.prossima < n);
    } catch (const errore_esecuzione& e) {
      valore_non_memorizzabile(s, p, e);
    }
  }
  p.corrente = valore;
  p.record = s.l.record();
  return continua;
}

esito_record segnale_record(lettura_treno& s) {
  int32_t v[11];
  for (int32_t& x : v) x = s.l.leggi_long();
  if (fuori(s.m, v[0], 100)) return oltre_griglia(s, v[0]);
  const int32_t prima = s.m.numero_errore;
  memo_segnale(s.m, v[0], v[1], v[2], v[3], v[4], v[5], v[6], v[7], v[8], v[9], v[10]);
  return dopo_piazzamento(s, prima, &v[0]);
}

esito_record rallentamento(lettura_treno& s) {
  int32_t x = s.l.leggi_long();
  int32_t v = s.l.leggi_long();
  int32_t l = s.l.leggi_long();
  int32_t f_tt = s.l.leggi_long();
  int32_t f_ta = s.l.leggi_long();
  int32_t d_v = s.l.leggi_long();
  if (fuori(s.m, x, 100)) return oltre_griglia(s, x);
  // The end cell must lie on the grid too.
  const int32_t e = CLng(somma(x, l) / 50.0 + 1);
  if (e < 0 || e > s.m.numero_celle) {
    oltre_griglia(s, x);
    if (diagnostica* d = s.m.traccia) d->errore.campo = valore_corrente(*d, 2);
    return fine_lettura;
  }
  const int32_t prima = s.m.numero_errore;
  memo_rallentamento(s.m, x, v, l, f_tt, f_ta, d_v);
  return dopo_piazzamento(s, prima, &x);
}

esito_record abbattimento_record(lettura_treno& s) {
  const int32_t p = s.l.leggi_long();
  const int32_t w = s.l.leggi_long();
  if (fuori(s.m, p, 100)) return oltre_griglia(s, p);
  // These items take the cell CLng(p / 50), without the + 1 of signals.
  const int32_t k = CLng(p / 50.0);
  cella& c = cella_di(s.m, k);
  if (!libera(c)) return uscita_occupata(s, 7, &p, k);
  if (w > 0) {
    c.tipo = abbattimento;
    c.valore = bassi_16(w);
  } else {
    c.tipo = abbattimento_zero;
  }
  annota_origine(s.m.traccia, k);
  return continua;
}

esito_record stazione(lettura_treno& s) {
  modello& m = s.m;
  const int32_t i = s.numero_stazione;
  punto& p = punto_di(m, i);
  p.posizione = s.l.leggi_long();
  const int32_t x = p.posizione;
  if (fuori(m, x, 800)) return oltre_griglia(s, x);
  if (x % 50 != 0) return uscita(s, 8, &x, 0);
  p.tipo = s.l.leggi_byte();
  const int32_t lunghezza = s.l.leggi_long();
  if (lunghezza % 100 != 0) return uscita(s, 9, &x, 2);
  p.opzione_1 = s.l.leggi_byte();
  p.opzione_4 = s.l.leggi_byte();
  p.opzione_3 = s.l.leggi_byte();
  p.intero_1 = s.l.leggi_intero();
  p.intero_2 = s.l.leggi_intero();
  p.opzione_2 = s.l.leggi_byte();
  p.intero_3 = s.l.leggi_intero();
  p.intero_4 = s.l.leggi_intero();
  p.intero_5 = s.l.leggi_intero();
  p.sosta = s.l.leggi_byte();
  const int32_t ore = s.l.leggi_long();
  const int32_t minuti = s.l.leggi_long();
  const int32_t secondi = s.l.leggi_long();
  p.orario = somma(prodotto(somma(prodotto(ore, 60), minuti), 60), secondi);
  std::string nome = s.l.leggi_testo();
  try {
    metti_testo(p, std::move(nome));
  } catch (const errore_esecuzione& e) {
    if (diagnostica* d = m.traccia) {
      annota_fallimento(d, campo_corrente(*d), motivo_fallimento::testo_troppo_lungo, e, 0,
                        static_cast<int64_t>(lunghezza_testo_massima));
    }
    throw;
  }

  if (p.tipo == 5 || p.tipo == 6) {
    p.inizio = differenza(x, lunghezza);
    p.fine = somma(x, 150);
    p.opzione_3 = 0;
  } else if (p.tipo == 7 || p.tipo == 8) {
    p.inizio = differenza(x, lunghezza);
    p.fine = somma(x, lunghezza);
    p.opzione_3 = 0;
  } else {
    p.inizio = differenza(x, lunghezza / 2);
    p.fine = somma(x, lunghezza / 2);
    if (p.opzione_3 != 0) p.fine = somma(p.fine, 50);
  }
  if (lunghezza < 600) p.opzione_4 = 0;
  if (i == 1) {
    p.opzione_3 = 0;
    p.opzione_4 = 0;
  }

  if (p.tipo < 25) {
    const double z = p.fine / 50.0 - 1;
    // A stop cell beyond the grid is refused like a record beyond it.
    if (z > m.numero_celle) return oltre_griglia(s, x);
    if (p.tipo != 5 && p.tipo != 6) {
      for (int k = 1; k <= 4; ++k) {
        const double y = p.fine / 50.0 - k - 1;
        if (y > 1) {
          cella& a = cella_di(m, CLng(y));
          annota_preavviso(m.traccia, CLng(y), a.preavviso, bassi_8(80 + k));
          a.preavviso = bassi_8(80 + k);
        }
      }
    }
    if (!(z > 1)) return uscita(s, 24);
    const int32_t fermata_cella = CLng(z);
    cella& c = cella_di(m, fermata_cella);
    annota_fermata(m.traccia, fermata_cella, c.tipo);
    c.tipo = fermata;
    c.valore = bassi_16(i);
    annota_origine(m.traccia, fermata_cella);
  }
  if (i > 1 && differenza(p.inizio, 350) < m.punti[static_cast<size_t>(i - 1)].fine) return uscita(s, 22, &x, 0);
  s.numero_stazione = i + 1;
  if (!(s.numero_stazione < s.prossimo_cartello)) return uscita(s, 10);
  return continua;
}

// Every kind whose fragment the keyword field holds, in this order.
esito_record record(lettura_treno& s, const std::string& chiave) {
  modello& m = s.m;
  bool riconosciuta = false;
  auto ha = [&](const char* frammento) { return contiene_senza_maiuscole(chiave, frammento); };
  esito_record e = continua;
  if (ha("frenata") && ha("massa")) {
    riconosciuta = true;
    s.l.letto_come("massa frenata");
    m.punti[punto_treno].inizio = s.l.leggi_long();
  }
  if (ha("vetture")) {
    riconosciuta = true;
    s.l.letto_come("vetture");
    m.punti[punto_treno].posizione = s.l.leggi_long();
  }
  if (ha("velocit")) {
    riconosciuta = true;
    s.l.letto_come("velocita");
    if ((e = profilo_record(s, s.velocita)) != continua) return e;
  }
  if (ha("aderenza")) {
    riconosciuta = true;
    s.l.letto_come("aderenza");
    if ((e = profilo_record(s, s.aderenza)) != continua) return e;
  }
  if (ha("orologio")) {
    riconosciuta = true;
    s.l.letto_come("orologio");
    punto& r = m.punti[punto_codici];
    r.intero_3 = s.l.leggi_intero();
    r.intero_4 = s.l.leggi_intero();
    r.intero_5 = s.l.leggi_intero();
  }
  if (ha("sabbia")) {
    riconosciuta = true;
    s.l.letto_come("sabbia");
    m.punti[punto_codici].intero_1 = s.l.leggi_intero();
  }
  if (ha("segnale")) {
    riconosciuta = true;
    s.l.letto_come("segnale");
    if ((e = segnale_record(s)) != continua) return e;
  }
  if (ha("rallentamento")) {
    riconosciuta = true;
    s.l.letto_come("rallentamento");
    if ((e = rallentamento(s)) != continua) return e;
  }
  if (ha("abbattimento")) {
    riconosciuta = true;
    s.l.letto_come("abbattimento");
    if ((e = abbattimento_record(s)) != continua) return e;
  }
  if (ha("stazione")) {
    riconosciuta = true;
    s.l.letto_come("stazione");
    if ((e = stazione(s)) != continua) return e;
  }
  if (!riconosciuta) s.l.avvisa(chiave);
  return continua;
}

}  // namespace

void compila_treno(modello& m, archivio& a, int32_t prossimo_cartello) {
  const std::string nome = nome_testo_treno(m);
  const std::string testo = a.leggi(nome);
  if (m.traccia) m.traccia->righe_treno = righe_del_testo(testo);
  lettore_campi lettore(testo);
  lettura_sorgente l(m, lettore, testo_treno);
  lettura_treno s{m, a, l, nome, prossimo_cartello};

  esito_record esito = continua;
  try {
    while (!l.fine()) {
      if (contiene_senza_maiuscole(l.leggi_chiave(), "[generale]")) break;
    }
    std::string chiave;
    while (esito == continua && l.prossima_chiave(chiave)) esito = record(s, chiave);
  } catch (const errore_esecuzione& e) {
    l.segna_fallimento(e);
    throw;
  }

  a.cancella(nome);
  if (esito == uscita_errore) return;

  // The last speed and adhesion in force reach every cell but the last three.
  s.in_coda = true;
  for (profilo_celle* p : {&s.velocita, &s.aderenza}) {
    try {
      do {
        scrivi_profilo(m, *p);
      } while (p->prossima < m.numero_celle - 2);
    } catch (const errore_esecuzione& e) {
      valore_non_memorizzabile(s, *p, e);
    }
  }

  for (int k : {progressiva_tre, progressiva_due, progressiva_uno}) {
    if (m.punti[k].inizio % 50 != 0 || m.punti[k].fine % 50 != 0) {
      m.numero_errore = 2;
      if (diagnostica* d = m.traccia) annota_errore(d, d->progressiva_fuori_passo);
    }
  }
}
