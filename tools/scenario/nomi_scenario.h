#ifndef SCENARIO_TOOLS_NOMI_SCENARIO_H
#define SCENARIO_TOOLS_NOMI_SCENARIO_H

#include <optional>
#include <string>

// The scenario name and train code of a compile, as Windows-1252 bytes.
struct nomi_scenario {
  std::string nome_scenario;
  std::string codice_treno;
};

// Works out the names from the two texts' paths and the options given (all
// UTF-8). A line text named NAME_linea.txt gives NAME; a train text named
// NAME_CODE-.txt gives NAME and CODE, split at its last underscore. When both
// give a NAME they must agree. An option overrides what the file names say;
// with --scenario NAME, a train text named NAME_CODE-.txt gives CODE whatever
// CODE holds. The suffixes match in any letter case; on Windows the names are
// those of the files as stored on disk, and two that differ only in case are
// one. A train text given first is told so. Returns an empty text, or why the
// names cannot be used.
std::string deriva_nomi(const std::string& percorso_linea, const std::string& percorso_treno,
                        const std::optional<std::string>& scenario,
                        const std::optional<std::string>& codice, nomi_scenario& esito);

// Checks one name (UTF-8) and gives its Windows-1252 bytes in `cp1252`: it
// must not be empty, must be representable in Windows-1252, and must make a
// safe file name (no path separator, no "..", no control character, none of
// the characters Windows refuses in file names). Returns an empty text, or
// what is wrong with it.
std::string controlla_nome(const std::string& utf8, std::string& cp1252);

#endif
