#include "line/progressive.h"

#include <climits>

#include "model/conversioni.h"
#include "model/errore_esecuzione.h"
#include "text/lettura_sorgente.h"

void progressive_ordina(modello& m) {
  const punto t = m.punti[progressiva_tre];
  const punto d = m.punti[progressiva_due];
  const punto u = m.punti[progressiva_uno];
  const punto* ordine[3] = {nullptr, nullptr, nullptr};
  if (somma(somma(t.inizio, d.inizio), u.inizio) != 0) {
    if (t.inizio > d.inizio && t.inizio > u.inizio) {
      ordine[0] = &t;
      ordine[1] = d.inizio > u.inizio ? &d : &u;
      ordine[2] = d.inizio > u.inizio ? &u : &d;
    } else if (d.inizio > t.inizio && d.inizio > u.inizio) {
      ordine[0] = &d;
      ordine[1] = t.inizio > u.inizio ? &t : &u;
      ordine[2] = t.inizio > u.inizio ? &u : &t;
    } else if (u.inizio > t.inizio && u.inizio > d.inizio) {
      ordine[0] = &u;
      ordine[1] = t.inizio > d.inizio ? &t : &d;
      ordine[2] = t.inizio > d.inizio ? &d : &t;
    }
  } else if (u.fine > 0) {
    ordine[0] = &u, ordine[1] = &d, ordine[2] = &t;
  } else if (d.fine > 0) {
    ordine[0] = &d, ordine[1] = &t, ordine[2] = &u;
  } else if (t.fine > 0) {
    ordine[0] = &t, ordine[1] = &d, ordine[2] = &u;
  }
  const int destinazioni[3] = {progressiva_tre, progressiva_due, progressiva_uno};
  for (int i = 0; i < 3; ++i) {
    punto& r = m.punti[destinazioni[i]];
    if (ordine[0] == nullptr) {
      r.inizio = r.fine = r.posizione = 0;
      continue;
    }
    r.inizio = ordine[i]->inizio;
    r.fine = ordine[i]->fine;
    r.posizione = ordine[i]->posizione;
    if (r.posizione == 1) r.fine = somma(r.fine, 100);
  }
}

void ordina_progressive(modello& m, const std::array<int32_t, 3>& record) {
  diagnostica* d = m.traccia;
  if (!d) return progressive_ordina(m);
  // The ordering moves the records: their figures as read are kept first.
  const punto lette[3] = {m.punti[progressiva_tre], m.punti[progressiva_due], m.punti[progressiva_uno]};
  try {
    progressive_ordina(m);
  } catch (const errore_esecuzione& e) {
    // The one whose figure cannot be raised by 100.
    int32_t causa = nessuno;
    for (int i = 0; i < 3; ++i) {
      if (lette[i].posizione == 1 && lette[i].fine > INT32_MAX - 100) causa = record[static_cast<size_t>(i)];
    }
    annota_fallimento(d, {causa, causa == nessuno ? nessuno : 1}, motivo_fallimento::calcolo_fuori_campo, e);
    // Where the reading stood: the field that ended the general section.
    aggiungi_nota(d, {genere_nota::progressiva_riordinata, campo_corrente(*d), nessuno, 0, nullptr});
    throw;
  }
}
