#include "run/costruzione.h"

#include "core/memorizza_percorso.h"
#include "documents/dati_note.h"
#include "documents/dati_rallentamenti.h"
#include "documents/dati_scheda.h"
#include "line/dati_linea.h"
#include "model/errori.h"
#include "model/nomi_file.h"
#include "train/dati_treno.h"

std::string testo_errore(const std::string& a) { return " Errore n. " + a; }

std::string testo_errore_compilazione(const modello& m) {
  std::string testo = testo_errore(std::to_string(m.numero_errore));
  const voce_errore* voce = cerca_errore(m.numero_errore);
  if (voce && voce->ha_posizione) testo += " (" + std::to_string(m.posizione_errore) + " m)";
  return testo + ": " + descrizione_errore(m.numero_errore);
}

void scrivi_testi(const modello& m, archivio& a) {
  dati_linea(m, a);
  dati_treno(m, a);
  dati_note(m, a);
  dati_rallentamenti(m, a);
  dati_scheda(m, a);
}

std::vector<std::string> nomi_documenti(const modello& m) { return {nome_note(m), nome_rallentamenti(m), nome_scheda(m)}; }

esito_compilazione scrivi_e_compila(modello& m, archivio& a) {
  scrivi_testi(m, a);
  return memorizza_percorso(m, a, 1);
}
