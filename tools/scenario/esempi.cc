#include "scenario/esempi.h"

#include "line/dati_linea.h"
#include "text/scrittura.h"
#include "train/dati_treno.h"

namespace {

// A short line with one record of each kind a first scenario needs. Each
// section opens with one comment line (a field with a hyphen); comments hold
// no comma, which would split them into a second field.
std::vector<std::string> linea_minima() {
  return {
      "- A minimal line of 5 km: one record of each kind",
      "[generale]",
      "- the line: its length and its kilometre progressives",
      "lunghezza percorso,    5000",
      "progressiva chilometrica uno,    0,    20000,    1",
      "progressiva chilometrica due,    0,    0,    0",
      "progressiva chilometrica tre,    0,    0,    0",
      "- the landscape backgrounds",
      "sfondo uno,    0",
      "sfondo due,    0",
      "sfondo tre,    1",
      "- signal repetition with 4 codes over the whole line",
      "ripetizione segnali 4 codici,    0,    5000",
      "[curve]",
      "- one curve of class 4 to side d: start and length in metres",
      "curvad4,  1500,  300",
      "[pendenze]",
      "- level then a climb of 5 per mille from 2000 m to 3000 m",
      "pendenza,   0,    0",
      "pendenza,  2000,   5",
      "pendenza,  3000,   0",
      "[montagne]",
      "- a lit mountain stretch of kind 2 from 2500 m to 3500 m",
      "montagna,  2500,  3500,  12",
      "[cartelli]",
      "- the boards of the 100 km/h limit on both sides",
      "indicatori_vmax,  950,  100,  100,  100,  0,  100,  100,  100,  0",
      "[indicazioni]",
      "- a sign board before the mountain",
      "cartello_indicatore,  2450,   (GALLERIA   )(DEL MONTE  )",
      "[fine]",
      fine_elenco,
  };
}

std::vector<std::string> treno_minimo() {
  return {
      "- The train M100 over the minimal line",
      "[generale]",
      "- the train: coaches and braked mass and sand and the clock at the start",
      "numero vetture,    3",
      "percentuale massa frenata,    110",
      "sabbia,    200",
      "orologio,    7  58  0",
      "[aderenze]",
      "- the adhesion from 0 m on",
      "aderenza,       0,    60",
      "[vel_limite]",
      "- the speed limits: 60 km/h from 0 m and 100 km/h from 1000 m",
      "velocita,       0,    60",
      "velocita,    1000,   100",
      "[stazioni]",
      "- two stations with their scheduled times: Alba 8.00 and Borgo 8.05",
      "stazione,       0, 12,  600,  0, 0, 0,  1,1,0,  2,1,1,    1,   8, 0, 0, Alba",
      "stazione,    4000, 12,  600,  0, 0, 0,  1,1,0,  2,1,1,   30,   8, 5, 0, Borgo",
      "[rallentamenti]",
      "- a slowdown to 60 km/h over 200 m with its boards",
      "rallentamento,    2000,    60,  200, 0,  1,  0",
      "[segnali]",
      "- the departure signal of Alba and the home signal of Borgo",
      "segnale,    1500,   1, 5, 0,  0, 0,    0,  3,0,0, 0",
      "segnale,    3600,   2, 3, 1,  0, 0,    2,  2,1,0, 0",
      "[codici]",
      "[fine]",
      fine_elenco,
  };
}

}  // namespace

const std::vector<esempio_scenario>& esempi_scenario() {
  static const std::vector<esempio_scenario> tutti = {
      {"builtin", "the built-in scenario: a 62 km line and the train R20417 (the default)", "Morsalo_Torvia",
       "R20417", testo_da_elenco(elenco_linea()), testo_da_elenco(elenco_treno())},
      {"minimal", "a 5 km line and the train M100, with one record of each kind a scenario needs",
       "Minimo", "M100", testo_da_elenco(linea_minima()), testo_da_elenco(treno_minimo())},
  };
  return tutti;
}

const esempio_scenario* cerca_esempio(const std::string& nome) {
  for (const esempio_scenario& e : esempi_scenario()) {
    if (nome == e.nome) return &e;
  }
  return nullptr;
}
