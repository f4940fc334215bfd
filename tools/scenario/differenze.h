#ifndef SCENARIO_TOOLS_DIFFERENZE_H
#define SCENARIO_TOOLS_DIFFERENZE_H

// `scenario diff`: what differs between two compiled scenarios, in an
// author's terms: header values by name, stations by name and field, cell
// objects by kind and position, profiles as runs of cells, and how far apart
// the two plans run.

#include <cstdint>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "scenario/comando.h"
#include "scenario/json.h"
#include "scenario/ricostruzione.h"

// A value that differs: in A, in B (UTF-8; empty where one side lacks it).
struct valore_diverso {
  std::string campo;
  std::string a;
  std::string b;
};

struct differenza_stazione {
  std::string nome;  // UTF-8
  std::string cambio;  // "changed", "only in A", "only in B"
  std::vector<valore_diverso> campi;
};

struct differenza_oggetto {
  int64_t cella = 0;
  std::string tipo_a;  // the kind's name; empty when the cell is empty
  std::string tipo_b;
  std::string a;  // the decoded values
  std::string b;
};

// A run of cells where one profile holds one value in A and another in B.
struct differenza_profilo {
  std::string profilo;  // "gradient", "speed", "adhesion", "mountain", "warning code"
  int64_t prima = 0;     // cells
  int64_t ultima = 0;
  int64_t a = 0;  // in the profile's unit
  int64_t b = 0;
  std::string unita;
};

struct differenza_piano {
  bool in_a = false;
  bool in_b = false;
  int32_t punti_a = 0;
  int32_t punti_b = 0;
  double distanza_massima = 0;  // metres, over the points both plans hold
  int32_t al_punto = -1;
};

struct differenze_scenari {
  std::vector<valore_diverso> testata;
  std::vector<differenza_stazione> stazioni;
  std::vector<differenza_oggetto> oggetti;
  std::vector<differenza_profilo> profili;
  std::optional<differenza_piano> piano;  // only when the plans differ
  bool uguali() const {
    return testata.empty() && stazioni.empty() && oggetti.empty() && profili.empty() && !piano;
  }
};

differenze_scenari confronta_scenari(const scenario_binario& a, const scenario_binario& b);

void stampa_differenze(const differenze_scenari& d, std::ostream& out);
json differenze_json(const differenze_scenari& d);

// `diff A B [--json]`, A and B each a folder or a train scenario file (.sim)
// with its cell file and line profile beside it. Returns 0 when the two are
// the same, 1 when they differ, 2 on a usage error or bad input.
esecuzione_comando definisci_diff(CLI::App& sub, flussi io);
int comando_diff(const std::vector<std::string>& argomenti, std::ostream& out, std::ostream& err);

#endif
