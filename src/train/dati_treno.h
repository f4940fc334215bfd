#ifndef SCENARIO_TRAIN_DATI_TRENO_H
#define SCENARIO_TRAIN_DATI_TRENO_H

#include <string>
#include <vector>

#include "model/modello.h"
#include "text/archivio.h"

// The built-in train text, 59 lines, followed by the end marker.
std::vector<std::string> elenco_treno();

// Writes the built-in train text as nome_scenario + "_" + codice_treno + "-.txt".
void dati_treno(const modello& m, archivio& a);

#endif
