#ifndef SCENARIO_DOCUMENTS_DATI_RALLENTAMENTI_H
#define SCENARIO_DOCUMENTS_DATI_RALLENTAMENTI_H

#include <string>
#include <vector>

#include "model/modello.h"
#include "text/archivio.h"

// The slowdown order of the built-in train, 46 lines, followed by the end
// marker. No value comes from the compiled scenario.
std::vector<std::string> elenco_rallentamenti();

// Writes the slowdown order as nome_scenario + "_" + codice_treno +
// "_rallentamenti.txt".
void dati_rallentamenti(const modello& m, archivio& a);

#endif
