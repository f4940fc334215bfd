#ifndef SCENARIO_TOOLS_RIFERIMENTO_TABELLE_H
#define SCENARIO_TOOLS_RIFERIMENTO_TABELLE_H

// The tables of the reference, one file each; riferimento.cc keeps them.

#include <vector>

#include "scenario/riferimento.h"

std::vector<record_testo> record_linea();
std::vector<record_testo> record_treno();
std::vector<regola_lettura> regole();
std::vector<rimedio_errore> rimedi();

#endif
