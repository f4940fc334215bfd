#include "train/compila_treno.h"

#include <string>

#include "model/conversioni.h"
#include "model/errore_esecuzione.h"
#include "model/nomi_file.h"
#include "text/codifica.h"
#include "text/lettore_campi.h"
#include "train/piazzamento.h"

namespace {

// The longest text a record can hold: its length is written in 16 bits.
constexpr size_t testo_massimo = 32767;

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
  lettore_campi& l;
  std::string nome;
  int32_t prossimo_cartello;
  profilo_celle velocita{0, 0, &cella::velocita, true};
  profilo_celle aderenza{0, 0, &cella::aderenza, false};
  int32_t numero_stazione = 1;
};

// How a record ends the reading of the text.
enum esito_record { continua, fine_lettura, uscita_errore };

std::string leggi_chiave(lettura_treno& s) {
  std::string campo = s.l.leggi_testo();
  s.m.riga = campo;
  if (diagnostica* d = s.m.traccia) {
    d->record = {testo_treno, s.l.luogo().riga, s.l.luogo().colonna};
    d->campo = d->record;
  }
  return campo;
}

// Keeps the place of the field just read for the trace.
void segna_campo(lettura_treno& s) {
  if (diagnostica* d = s.m.traccia) d->campo = {testo_treno, s.l.luogo().riga, s.l.luogo().colonna};
}

int32_t leggi_long(lettura_treno& s) {
  const int32_t v = s.l.leggi_long();
  segna_campo(s);
  return v;
}

int16_t leggi_intero(lettura_treno& s) {
  const int16_t v = s.l.leggi_intero();
  segna_campo(s);
  return v;
}

uint8_t leggi_byte(lettura_treno& s) {
  const uint8_t v = s.l.leggi_byte();
  segna_campo(s);
  return v;
}

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

void avvisa(lettura_treno& s, const std::string& campo) {
  diagnostica* d = s.m.traccia;
  if (!d || campo.empty()) return;
  if (contiene(campo, "[") && contiene(campo, "]")) return;
  d->avvisi.push_back({d->record, campo});
}

void scrivi_profilo(modello& m, profilo_celle& p) {
  cella_di(m, p.prossima).*p.campo = p.quinto ? CByte(p.corrente / 5.0) : bassi_8(p.corrente);
  p.prossima = somma(p.prossima, 1);
}

// A speed or adhesion record: the value before it reaches its cell, then it
// is in force. Records out of order advance the fill one cell each, never
// past the grid's end.
esito_record profilo_record(lettura_treno& s, profilo_celle& p) {
  const int32_t posizione = leggi_long(s);
  const int32_t valore = leggi_long(s);
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
  for (int32_t& x : v) x = leggi_long(s);
  if (fuori(s.m, v[0], 100)) return oltre_griglia(s, v[0]);
  memo_segnale(s.m, v[0], v[1], v[2], v[3], v[4], v[5], v[6], v[7], v[8], v[9], v[10]);
  if (s.m.numero_errore > 0) return uscita(s, s.m.numero_errore, &v[0]);
  return continua;
}

esito_record rallentamento(lettura_treno& s) {
  int32_t x = leggi_long(s);
  int32_t v = leggi_long(s);
  int32_t l = leggi_long(s);
  int32_t f_tt = leggi_long(s);
  int32_t f_ta = leggi_long(s);
  int32_t d_v = leggi_long(s);
  if (fuori(s.m, x, 100)) return oltre_griglia(s, x);
  // The end cell must lie on the grid too.
  const int32_t e = CLng(somma(x, l) / 50.0 + 1);
  if (e < 0 || e > s.m.numero_celle) return oltre_griglia(s, x);
  memo_rallentamento(s.m, x, v, l, f_tt, f_ta, d_v);
  if (s.m.numero_errore > 0) return uscita(s, s.m.numero_errore, &x);
  return continua;
}

esito_record abbattimento_record(lettura_treno& s) {
  const int32_t p = leggi_long(s);
  const int32_t w = leggi_long(s);
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
  p.posizione = leggi_long(s);
  const int32_t x = p.posizione;
  if (fuori(m, x, 800)) return oltre_griglia(s, x);
  if (x % 50 != 0) return uscita(s, 8, &x);
  p.tipo = leggi_byte(s);
  const int32_t lunghezza = leggi_long(s);
  if (lunghezza % 100 != 0) return uscita(s, 9, &x);
  p.opzione_1 = leggi_byte(s);
  p.opzione_4 = leggi_byte(s);
  p.opzione_3 = leggi_byte(s);
  p.intero_1 = leggi_intero(s);
  p.intero_2 = leggi_intero(s);
  p.opzione_2 = leggi_byte(s);
  p.intero_3 = leggi_intero(s);
  p.intero_4 = leggi_intero(s);
  p.intero_5 = leggi_intero(s);
  p.sosta = leggi_byte(s);
  const int32_t ore = leggi_long(s);
  const int32_t minuti = leggi_long(s);
  const int32_t secondi = leggi_long(s);
  p.orario = somma(prodotto(somma(prodotto(ore, 60), minuti), 60), secondi);
  std::string nome = s.l.leggi_testo();
  segna_campo(s);
  if (nome.size() > testo_massimo) throw errore_esecuzione("a station name longer than 32767 bytes");
  p.testo = std::move(nome);

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
    m.punti[punto_treno].inizio = leggi_long(s);
  }
  if (ha("vetture")) {
    riconosciuta = true;
    m.punti[punto_treno].posizione = leggi_long(s);
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
    r.intero_3 = leggi_intero(s);
    r.intero_4 = leggi_intero(s);
    r.intero_5 = leggi_intero(s);
  }
  if (ha("sabbia")) {
    riconosciuta = true;
    m.punti[punto_codici].intero_1 = leggi_intero(s);
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
  if (!riconosciuta) avvisa(s, chiave);
  return continua;
}

// False when the text has ended before a keyword field could be read.
bool prossima_chiave(lettura_treno& s, std::string& chiave) {
  if (s.l.fine()) return false;
  chiave = leggi_chiave(s);
  if (s.l.fine()) return false;
  // At most two hyphenated fields in a row are passed over.
  for (int i = 0; i < 2 && contiene(chiave, "-"); ++i) {
    chiave = leggi_chiave(s);
    if (s.l.fine()) return false;
  }
  return true;
}

}  // namespace

void compila_treno(modello& m, archivio& a, int32_t prossimo_cartello) {
  const std::string nome = nome_testo_treno(m);
  const std::string testo = a.leggi(nome);
  lettore_campi l(testo);
  lettura_treno s{m, a, l, nome, prossimo_cartello};

  esito_record esito = continua;
  try {
    while (!l.fine()) {
      if (contiene_senza_maiuscole(leggi_chiave(s), "[generale]")) break;
    }
    std::string chiave;
    while (esito == continua && prossima_chiave(s, chiave)) esito = record(s, chiave);
  } catch (const errore_esecuzione&) {
    if (diagnostica* d = m.traccia) d->campo = {testo_treno, l.luogo().riga, l.luogo().colonna};
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
