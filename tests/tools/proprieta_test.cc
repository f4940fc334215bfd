// The round-trip property over random scenarios: compile, decompile, compile,
// the same bytes. SCENARIO_CASI_PROPRIETA sets the number of cases (the long
// mode); the seed of a failing case is printed so that it can be replayed.

#include <gtest/gtest.h>

#include <cstdlib>

#include "scenario/ricostruzione.h"
#include "tools/generatore_scenari.h"

namespace {

int casi_richiesti() {
  const char* v = std::getenv("SCENARIO_CASI_PROPRIETA");
  if (v != nullptr && std::atoi(v) > 0) return std::atoi(v);
  return 300;
}

TEST(ProprietaRicostruzione, RandomErrorFreeScenariosCompileBackToTheSameBytes) {
  const int voluti = casi_richiesti();
  int provati = 0;
  int scartati = 0;  // drawn with an error of their own: not part of the property
  int falliti = 0;
  for (uint32_t seme = 1; provati < voluti; ++seme) {
    prova::generatore_scenari g(seme);
    const prova::scenario_casuale s = g.genera();
    const compilazione_memoria c = compila_in_memoria("Caso", "G1", s.linea, s.treno, s.con_linea);
    if (c.errore != 0) {
      ++scartati;
      ASSERT_LT(scartati, 4 * voluti + 100) << "the generator draws too few error-free scenarios";
      continue;
    }
    ++provati;
    const ricostruzione r = ricostruisci(c.file);
    if (!r.identico) {
      ++falliti;
      if (falliti <= 5) {
        std::string d;
        for (size_t i = 0; i < r.differenze.size() && i < 8; ++i) d += "  " + r.differenze[i] + "\n";
        ADD_FAILURE() << "seed " << seme << ": the round trip differs\n" << d << "line text:\n" << s.linea
                      << "train text:\n" << s.treno;
      }
    }
  }
  EXPECT_EQ(falliti, 0) << falliti << " of " << provati << " cases differ";
  RecordProperty("cases", provati);
  RecordProperty("discarded", scartati);
  std::printf("round trip: %d cases, %d differ, %d drawn with a compile error and discarded\n", provati, falliti,
              scartati);
}

}  // namespace
