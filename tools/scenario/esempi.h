#ifndef SCENARIO_TOOLS_ESEMPI_H
#define SCENARIO_TOOLS_ESEMPI_H

#include <string>
#include <vector>

// The starters `scenario init` can write: a line text and a train text each.
struct esempio_scenario {
  const char* nome;         // as given to --example: "builtin"
  const char* descrizione;  // one line, for --list
  const char* nome_scenario;
  const char* codice_treno;
  std::string linea;  // the texts' bytes, Windows-1252 with CR LF
  std::string treno;
};

// Every starter; the first is the default.
const std::vector<esempio_scenario>& esempi_scenario();

// nullptr when there is no starter of that name.
const esempio_scenario* cerca_esempio(const std::string& nome);

#endif
