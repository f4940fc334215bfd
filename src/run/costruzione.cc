#include "run/costruzione.h"

#include "documents/dati_note.h"
#include "documents/dati_rallentamenti.h"
#include "documents/dati_scheda.h"
#include "line/dati_linea.h"
#include "model/errore_esecuzione.h"
#include "model/modello.h"
#include "run/piattaforma.h"
#include "text/archivio.h"
#include "train/dati_treno.h"

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
    dati_treno(m, cartella);
    dati_note(m, cartella);
    dati_rallentamenti(m, cartella);
    dati_scheda(m, cartella);
  } catch (const errore_esecuzione& e) {
    // A file that cannot be written ends the run, naming the file and why.
    mostra_messaggio(e.what());
    termina(1);
  }
  termina(0);
}
