#ifndef SCENARIO_TOOLS_STAMPA_ESAME_H
#define SCENARIO_TOOLS_STAMPA_ESAME_H

// A looked-over file as `scenario inspect` shows it: readable text, or one
// JSON object. A file that does not fit its layout prints no text; its JSON
// holds the error.

#include <ostream>

#include "scenario/esame_file.h"
#include "scenario/json.h"

void stampa_testo(const esame_file& e, std::ostream& out);
void stampa_json(const esame_file& e, scrittore_json& j);

#endif
