#ifndef SCENARIO_RUN_COSTRUZIONE_H
#define SCENARIO_RUN_COSTRUZIONE_H

#include <string>
#include <vector>

#include "core/memorizza_percorso.h"
#include "model/modello.h"
#include "text/archivio.h"

// The text that the error report shows for a code.
std::string testo_errore(const std::string& a);

// The text shown at the end of a run whose compile recorded an error but
// still wrote its files: code, position where it has one, description.
std::string testo_errore_compilazione(const modello& m);

// The writers of the run, in their order: the two texts, then the notes, the
// slowdown order and the timetable card.
void scrivi_testi(const modello& m, archivio& a);

// The crew documents that scrivi_testi leaves, in the order written.
std::vector<std::string> nomi_documenti(const modello& m);

// The work of the run in a folder: the texts and documents, then the compile
// with the line plan.
esito_compilazione scrivi_e_compila(modello& m, archivio& a);

#endif
