#ifndef SCENARIO_DOCUMENTS_DATI_SCHEDA_H
#define SCENARIO_DOCUMENTS_DATI_SCHEDA_H

#include <string>
#include <vector>

#include "model/modello.h"
#include "text/archivio.h"

// The timetable card of the built-in train, 47 lines, followed by the end
// marker. No value comes from the compiled scenario.
std::vector<std::string> elenco_scheda();

// Writes the timetable card as nome_scenario + "_" + codice_treno +
// "_scheda_treno.txt".
void dati_scheda(const modello& m, archivio& a);

#endif
