#ifndef SCENARIO_DOCUMENTS_DATI_NOTE_H
#define SCENARIO_DOCUMENTS_DATI_NOTE_H

#include <string>
#include <vector>

#include "model/modello.h"
#include "text/archivio.h"

// The notes that go with the scenario, 33 lines of Windows-1252 text,
// followed by the end marker. No value comes from the compiled scenario.
std::vector<std::string> elenco_note();

// Writes the notes as nome_scenario + "_" + codice_treno + "_note.txt".
void dati_note(const modello& m, archivio& a);

#endif
