#ifndef SCENARIO_TOOLS_COMANDO_H
#define SCENARIO_TOOLS_COMANDO_H

#include <CLI/CLI.hpp>
#include <functional>
#include <ostream>
#include <string>
#include <vector>

// The streams a subcommand prints to.
struct flussi {
  std::ostream& out;
  std::ostream& err;
};

// What runs a subcommand once its command line is parsed: returns the exit
// status.
using esecuzione_comando = std::function<int()>;

// Defines a subcommand's arguments and options on `sub` (created with its name
// and one-line description) and returns what runs it.
using definizione_comando = esecuzione_comando (*)(CLI::App& sub, flussi io);

// A row of the tool's table of subcommands: the help and the dispatch both
// come from it.
struct voce_comando {
  const char* nome;
  const char* sintesi;  // one line, for the list of commands
  const char* uso;      // the usage line after "usage: scenario "
  definizione_comando definisci;
};

// Every subcommand, in the order the help lists them.
const std::vector<voce_comando>& comandi_scenario();

// Runs one subcommand with the words after its name, as `scenario NAME ...`
// would; for the tests and for commands that call each other.
int esegui_comando(const std::string& nome, const std::vector<std::string>& argomenti, std::ostream& out,
                   std::ostream& err);

// The options of the commands that compile two texts, which name the
// scenario and read the texts: --scenario, --train-code and --encoding. What
// they return tells, once parsed, whether a name was given.
struct opzioni_nomi {
  CLI::Option* scenario;
  CLI::Option* codice;
};
opzioni_nomi definisci_nomi_e_codifica(CLI::App& sub, std::string& scenario, std::string& codice,
                                       std::string& codifica);

// A usage error of a subcommand: "scenario NAME: why", then its usage line;
// returns 2.
int uso_sbagliato(const std::string& nome, const std::string& perche, std::ostream& err);

#endif
