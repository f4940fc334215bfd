#include "core/memorizza_dati.h"

#include "line/compila_linea.h"
#include "model/errore_esecuzione.h"
#include "model/nomi_file.h"
#include "text/lettura_sorgente.h"
#include "train/compila_treno.h"

void memorizza_dati(modello& m, archivio& a) {
  try {
    int32_t prossimo_cartello = primo_cartello;
    if (compila_linea(m, a, prossimo_cartello)) compila_treno(m, a, prossimo_cartello);
  } catch (const errore_esecuzione& e) {
    // The one path of every run-time failure: both texts go, where they still
    // exist, and the compile records 25.
    for (const std::string& nome : {nome_testo_linea(m), nome_testo_treno(m)}) {
      try {
        a.cancella(nome);
      } catch (const errore_esecuzione&) {
        // A text that cannot be deleted stays; the compile's result is 25 all the same.
      }
    }
    m.numero_errore = 25;
    // A failure outside the reading of a record (a text that cannot be read)
    // has no record as its cause.
    diagnostica* d = m.traccia;
    if (d && d->errore.messaggio.empty()) annota_fallimento(d, {}, motivo_fallimento::sconosciuto, e);
  }
}
