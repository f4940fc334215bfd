#include "run/avvio.h"

#include "model/errore_esecuzione.h"
#include "run/aggancio.h"
#include "run/costruzione.h"
#include "run/piattaforma.h"
#include "text/archivio.h"

void errore(const std::string& a) {
  mostra_messaggio(testo_errore(a));
  termina(1);
}

void costruzione_scenario() {
  modello m;
  m.nome_scenario = "Morsalo_Torvia";
  m.codice_treno = "R20417";
  mostra_finestra();
  try {
    archivio_disco cartella(cartella_programma());
    scrivi_testi(m, cartella);
    prima_della_compilazione(m, cartella);
    const esito_compilazione esito = memorizza_percorso(m, cartella, 1);
    if (esito.errore != 0) errore(std::to_string(esito.errore));
  } catch (const errore_esecuzione& e) {
    // A file that cannot be written ends the run, naming the file and why.
    mostra_messaggio(e.what());
    termina(1);
  }
  // A compile error that left a grid: the files are written, then it is shown.
  if (m.numero_errore != 0) {
    mostra_messaggio(testo_errore_compilazione(m));
    termina(1);
  }
  termina(0);
}
