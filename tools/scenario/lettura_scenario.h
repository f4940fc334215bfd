#ifndef SCENARIO_TOOLS_LETTURA_SCENARIO_H
#define SCENARIO_TOOLS_LETTURA_SCENARIO_H

// The compiled files of one scenario, found in a folder or among the files
// given, read and decoded: what decompile and diff start from.

#include <optional>
#include <string>
#include <vector>

#include "scenario/ricostruzione.h"

struct file_scenario {
  std::string sim;    // paths as given (UTF-8)
  std::string dat;
  std::string linea;  // empty when there is no line profile
  scenario_binario dati;
};

// `ingressi` is one folder or the files of one scenario. In a folder with
// several scenarios, `scenario` and `codice` (UTF-8) pick the files named
// after them; without them the folder must hold one train scenario file. The
// cell file is the one named like the train scenario file, the line profile
// the one named after the scenario that file holds (it may be missing).
// Returns an empty text, or why the files cannot be had ("PATH: the file
// ends inside record 2 ..."): every message names the file.
std::string leggi_scenario(const std::vector<std::string>& ingressi, const std::optional<std::string>& scenario,
                           const std::optional<std::string>& codice, file_scenario& esito);

#endif
