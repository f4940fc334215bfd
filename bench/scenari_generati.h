#ifndef SCENARIO_BENCH_SCENARI_GENERATI_H
#define SCENARIO_BENCH_SCENARI_GENERATI_H

#include <cstdint>
#include <string>

#include "model/modello.h"
#include "text/archivio.h"

// Line and train texts of any length, for measuring the compile on lines far
// longer than the built-in one. The line is laid out in blocks of 5 km, each
// with the same pattern of records (a curve, a gradient, an indicator board,
// two signals, the speed in force; every few blocks a sign, a mountain
// stretch, a station, a slowdown, a change of adhesion), so the work per
// kilometre is the same whatever the length. The few records whose tables
// are bounded (signs and stations share the 80 records of the point table)
// are spread evenly over the line. Each text stays within the 1000 lines of
// a writer's list up to 1000 km.
struct testi_scenario {
  std::string linea;
  std::string treno;
};

// The built-in scenario's two texts, as the builder writes them.
testi_scenario testi_incorporati();

// The texts of a line of `chilometri` km (at least 10).
testi_scenario testi_generati(int32_t chilometri);

// A model named for a generated scenario.
modello modello_generato();

// Puts both texts into `a` under the names the compile of `m` reads.
void deposita_testi(const modello& m, archivio& a, const testi_scenario& t);

#endif
