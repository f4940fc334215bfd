#ifndef SCENARIO_MODEL_NOMI_FILE_H
#define SCENARIO_MODEL_NOMI_FILE_H

#include <string>

#include "model/modello.h"

// The names of the files of a scenario, made from the scenario name and the
// train code.

// How the names of the binary files end.
inline constexpr const char* coda_file_linea = "_linea.dat";
inline constexpr const char* estensione_sim = ".sim";
inline constexpr const char* estensione_dat = ".dat";
inline std::string nome_testo_linea(const modello& m) { return m.nome_scenario + "_linea.txt"; }
inline std::string nome_testo_treno(const modello& m) {
  return m.nome_scenario + "_" + m.codice_treno + "-.txt";
}
inline std::string nome_note(const modello& m) {
  return m.nome_scenario + "_" + m.codice_treno + "_" + "note.txt";
}
inline std::string nome_rallentamenti(const modello& m) {
  return m.nome_scenario + "_" + m.codice_treno + "_" + "rallentamenti.txt";
}
inline std::string nome_scheda(const modello& m) {
  return m.nome_scenario + "_" + m.codice_treno + "_" + "scheda_treno.txt";
}
inline std::string nome_file_linea(const modello& m) { return m.nome_scenario + coda_file_linea; }
inline std::string nome_file_sim(const modello& m) {
  return m.nome_scenario + "_" + m.codice_treno + estensione_sim;
}
inline std::string nome_file_dat(const modello& m) {
  return m.nome_scenario + "_" + m.codice_treno + estensione_dat;
}

#endif
