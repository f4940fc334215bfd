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
};

// How a record ends the reading of the text.
enum esito_record { continua, fine_lettura, uscita_errore };

// A record beyond the grid ends the reading as the end of the text does.
esito_record oltre_griglia(lettura_treno& s, int32_t posizione) {
  s.m.numero_errore = 15;
  s.m.posizione_errore = posizione;
  annota_errore(s.m.traccia);
  return fine_lettura;
}

bool fuori(const modello& m, int32_t p, int32_t margine) { return somma(p, margine) / 50.0 > m.numero_celle; }

// An error exit: the train text goes, the code stays, no tails.
esito_record uscita(lettura_treno& s, int32_t numero, const int32_t* posizione = nullptr) {
  s.m.numero_errore = numero;
  if (posizione) s.m.posizione_errore = *posizione;
  annota_errore(s.m.traccia);
  return uscita_errore;
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
    do {
      if (p.prossima >= s.m.numero_celle) break;
      scrivi_profilo(s.m, p);
    } while (p.prossima < n);
  }
  p.corrente = valore;
  return continua;
}

esito_record segnale_record(lettura_treno& s) {
  int32_t v[11];
  for (int32_t& x : v) x = s.l.leggi_long();
  if (fuori(s.m, v[0], 100)) return oltre_griglia(s, v[0]);
  memo_segnale(s.m, v[0], v[1], v[2], v[3], v[4], v[5], v[6], v[7], v[8], v[9], v[10]);
  if (s.m.numero_errore > 0) return uscita(s, s.m.numero_errore, &v[0]);
  return continua;
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
  if (e < 0 || e > s.m.numero_celle) return oltre_griglia(s, x);
  memo_rallentamento(s.m, x, v, l, f_tt, f_ta, d_v);
  if (s.m.numero_errore > 0) return uscita(s, s.m.numero_errore, &x);
  return continua;
}

esito_record abbattimento_record(lettura_treno& s) {
  const int32_t p = s.l.leggi_long();
  const int32_t w = s.l.leggi_long();
  if (fuori(s.m, p, 100)) return oltre_griglia(s, p);
  // These items take the cell CLng(p / 50), without the + 1 of signals.
  const int32_t k = CLng(p / 50.0);
  cella& c = cella_di(s.m, k);
  if (!libera(c)) return uscita(s, 7, &p);
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
  if (x % 50 != 0) return uscita(s, 8, &x);
  p.tipo = s.l.leggi_byte();
  const int32_t lunghezza = s.l.leggi_long();
  if (lunghezza % 100 != 0) return uscita(s, 9, &x);
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
  metti_testo(p, std::move(nome));

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
        if (y > 1) cella_di(m, CLng(y)).preavviso = bassi_8(80 + k);
      }
    }
    if (!(z > 1)) return uscita(s, 24);
    const int32_t fermata_cella = CLng(z);
    cella& c = cella_di(m, fermata_cella);
    c.tipo = fermata;
    c.valore = bassi_16(i);
    annota_origine(m.traccia, fermata_cella);
  }
  if (i > 1 && differenza(p.inizio, 350) < m.punti[static_cast<size_t>(i - 1)].fine) return uscita(s, 22, &x);
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
    m.punti[punto_treno].inizio = s.l.leggi_long();
  }
  if (ha("vetture")) {
    riconosciuta = true;
    m.punti[punto_treno].posizione = s.l.leggi_long();
  }
  if (ha("velocit")) {
    riconosciuta = true;
    if ((e = profilo_record(s, s.velocita)) != continua) return e;
  }
  if (ha("aderenza")) {
    riconosciuta = true;
    if ((e = profilo_record(s, s.aderenza)) != continua) return e;
  }
  if (ha("orologio")) {
    riconosciuta = true;
    punto& r = m.punti[punto_codici];
    r.intero_3 = s.l.leggi_intero();
    r.intero_4 = s.l.leggi_intero();
    r.intero_5 = s.l.leggi_intero();
  }
  if (ha("sabbia")) {
    riconosciuta = true;
    m.punti[punto_codici].intero_1 = s.l.leggi_intero();
  }
  if (ha("segnale")) {
    riconosciuta = true;
    if ((e = segnale_record(s)) != continua) return e;
  }
  if (ha("rallentamento")) {
    riconosciuta = true;
    if ((e = rallentamento(s)) != continua) return e;
  }
  if (ha("abbattimento")) {
    riconosciuta = true;
    if ((e = abbattimento_record(s)) != continua) return e;
  }
  if (ha("stazione")) {
    riconosciuta = true;
    if ((e = stazione(s)) != continua) return e;
  }
  if (!riconosciuta) s.l.avvisa(chiave);
  return continua;
}

}  // namespace

void compila_treno(modello& m, archivio& a, int32_t prossimo_cartello) {
  const std::string nome = nome_testo_treno(m);
  const std::string testo = a.leggi(nome);
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
  } catch (const errore_esecuzione&) {
    l.segna_campo();
    throw;
  }

  a.cancella(nome);
  if (esito == uscita_errore) return;

  // The last speed and adhesion in force reach every cell but the last three.
  for (profilo_celle* p : {&s.velocita, &s.aderenza}) {
    do {
      scrivi_profilo(m, *p);
    } while (p->prossima < m.numero_celle - 2);
  }

  for (int k : {progressiva_tre, progressiva_due, progressiva_uno}) {
    if (m.punti[k].inizio % 50 != 0 || m.punti[k].fine % 50 != 0) {
      m.numero_errore = 2;
      if (diagnostica* d = m.traccia) d->record_errore = d->campo_errore = {};
    }
  }
}
