#ifndef SCENARIO_LINE_DATI_LINEA_H
#define SCENARIO_LINE_DATI_LINEA_H

#include <string>
#include <vector>

#include "model/modello.h"
#include "text/archivio.h"

// The built-in line text, 71 lines, followed by the end marker.
std::vector<std::string> elenco_linea();

// Writes the built-in line text as nome_scenario + "_linea.txt".
void dati_linea(const modello& m, archivio& a);

#endif
