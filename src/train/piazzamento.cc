#include "train/piazzamento.h"

#include "model/conversioni.h"

namespace {

// left x 10 + right: both sides of one of a signal's pairs in one number.
int32_t coppia(int32_t sinistra, int32_t destra) { return somma(prodotto(sinistra, 10), destra); }

void rifiuto_annullato(modello& m) {
  if (m.traccia) m.traccia->cella_rifiutata = nessuno;
}

// A refusal: the code, and for the trace the cell found occupied.
void rifiuta(modello& m, int32_t codice, int32_t k) {
  m.numero_errore = codice;
  if (m.traccia) m.traccia->cella_rifiutata = k;
}

}  // namespace

void memo_segnale(modello& m, int32_t posizione, int32_t& sx, int32_t& s1, int32_t& s2, int32_t& s3,
                  int32_t& rapp, int32_t& dx, int32_t& d1, int32_t& d2, int32_t& d3, int32_t& tempo) {
  rifiuto_annullato(m);
  const int32_t k = cella_della_posizione(posizione);
  cella& c = cella_di(m, k);
  if (!libera(c)) return rifiuta(m, 16, k);

  // Each value is formed as it is written, in the order of the fields: a
  // value that overflows leaves the cell as far as it was written (kind 1
  // at least).
  c.tipo = segnale;
  annota_origine(m.traccia, k);
  const int32_t lato_sinistro = somma(prodotto(sx, 3), dx);
  c.valore_4 = bassi_16(somma(prodotto(rapp, 10), lato_sinistro));
  c.valore = bassi_16(coppia(s1, d1));
  c.valore_2 = bassi_16(coppia(s2, d2));
  c.valore_3 = bassi_16(coppia(s3, d3));

  // A hold time of 1 to 100 is lengthened to 101; 0 means no hold.
  if (tempo >= 1 && tempo <= 100) tempo = 101;
  c.tempo = sx == 2 ? bassi_8(tempo) : 0;

  // Warning codes every 100 m before the signal, 1 nearest. A signal within
  // 400 m of the line's start has fewer: the cells before cell 0 do not
  // exist. Every code is formed all the same, so that one that overflows
  // fails wherever the signal stands.
  const int32_t base_avviso = prodotto(lato_sinistro, 10);
  for (int32_t b = 1; b <= 4; ++b) {
    const int32_t avviso = somma(base_avviso, b);
    const int32_t j = k - 2 * b;
    if (j >= 0) {
      annota_preavviso(m.traccia, j, cella_di(m, j).preavviso, bassi_8(avviso));
      cella_di(m, j).preavviso = bassi_8(avviso);
    }
  }
}

void memo_rallentamento(modello& m, int32_t x, int32_t& v, int32_t& l, int32_t& f_tt, int32_t f_ta,
                        int32_t& d_v) {
  // The caller's range test covers x; the end cell, l metres on, may still lie
  // outside the grid, and is refused like a record beyond it.
  rifiuto_annullato(m);
  const int32_t e = cella_della_posizione(somma(x, l));
  if (e < 0 || e > m.numero_celle) {
    m.numero_errore = 15;
    return;
  }

  // Within the first 1500 m there is no room for an advance warning, and so
  // none for its boards either.
  const bool con_avviso = x > 1500;
  if (!con_avviso) f_ta = 0;
  const int32_t w = cella_della_posizione(differenza(x, 1200));
  const int32_t a = cella_della_posizione(x);

  // Every collision test comes before the first write.
  if (con_avviso && !libera(cella_di(m, w))) return rifiuta(m, 17, w);
  if (!libera(cella_di(m, a))) return rifiuta(m, 18, a);
  if (!libera(cella_di(m, e))) return rifiuta(m, 19, e);

  // End before start: when both fall into one cell, the start wins.
  cella& fine = cella_di(m, e);
  fine.tipo = fine_rallentamento;
  annota_origine(m.traccia, e);
  if (d_v != 0) fine.valore_2 = bassi_16(d_v);
  cella& inizio = cella_di(m, a);
  inizio.tipo = inizio_rallentamento;
  annota_origine(m.traccia, a);
  if (d_v != 0) inizio.valore_2 = bassi_16(d_v);
  if (con_avviso) {
    cella& avviso = cella_di(m, w);
    avviso.tipo = avviso_rallentamento;
    annota_origine(m.traccia, w);
    if (d_v != 0) avviso.valore_2 = bassi_16(d_v);
    avviso.valore = bassi_16(v);
  }
  for (cella* c : {&inizio, &fine}) {
    c->valore = bassi_16(v);
    c->valore_3 = bassi_16(f_tt);
  }

  if (f_ta == 0) return;
  // The four boards stand on the cells just before the advance warning,
  // numbered 1 to 4 outward from it.
  for (int32_t i = 1; i <= 4; ++i) {
    if (!libera(cella_di(m, w - i))) return rifiuta(m, 20, w - i);
  }
  for (int32_t i = 1; i <= 4; ++i) {
    cella& tabella = cella_di(m, w - i);
    tabella.tipo = tabella_rallentamento;
    annota_origine(m.traccia, w - i);
    tabella.valore = bassi_16(i);
    if (d_v != 0) tabella.valore_2 = bassi_16(i);
  }
}
