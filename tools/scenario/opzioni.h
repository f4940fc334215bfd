#ifndef SCENARIO_TOOLS_OPZIONI_H
#define SCENARIO_TOOLS_OPZIONI_H

#include <map>
#include <set>
#include <string>
#include <vector>

// The options a subcommand knows.
struct opzione_nota {
  const char* nome;    // long name, without the dashes: "scenario"
  const char* breve;   // one letter, or nullptr: "o"
  bool con_valore;     // takes the next argument (or "=VALUE") as its value
};

// A subcommand's command line, split.
struct argomenti_comando {
  std::vector<std::string> posizionali;
  std::map<std::string, std::string> valori;  // by long name
  std::set<std::string> segnali;              // flags given, by long name
  bool aiuto = false;                         // --help or -h
};

// Splits `argomenti` (the words after the subcommand's name). Options may
// stand anywhere; "--" ends them. --help or -h before "--" sets `aiuto` and
// nothing else is looked at. Returns an empty text, or what is wrong
// with the command line (an unknown option, a missing value, an option given
// twice).
std::string leggi_argomenti(const std::vector<std::string>& argomenti,
                            const std::vector<opzione_nota>& note, argomenti_comando& esito);

#endif
