#include "run/costruzione.h"

#include "line/dati_linea.h"
#include "model/errore_esecuzione.h"
#include "model/modello.h"
#include "run/piattaforma.h"
#include "text/archivio.h"

void (*prima_della_compilazione)(modello&, archivio&) = nullptr;

std::string testo_errore(const std::string& a) { return " Errore n. " + a; }

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
    dati_linea(m, cartella);
    if (prima_della_compilazione) prima_della_compilazione(m, cartella);
  } catch (const errore_esecuzione& e) {
    // A file that cannot be written ends the run, naming the file and why.
    mostra_messaggio(e.what());
    termina(1);
  }
  termina(0);
}
