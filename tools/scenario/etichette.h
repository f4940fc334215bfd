#ifndef SCENARIO_TOOLS_ETICHETTE_H
#define SCENARIO_TOOLS_ETICHETTE_H

// The layout of the map's labels: each label is tried at a few places around
// the point it names, in order of priority (stations, then signs, then the
// rest), and takes the first place that overlaps no label already placed. A
// label that finds no place is left out and counted, never stacked.

#include <cstddef>
#include <string>
#include <vector>

#include "scenario/piano_mappa.h"
#include "scenario/svg.h"

// A box in drawing units: (x, y) its top-left corner.
struct riquadro {
  double x = 0, y = 0, larghezza = 0, altezza = 0;
};
bool si_sovrappongono(const riquadro& a, const riquadro& b);

// How wide a text of the map's font (11 units) is drawn, at most.
double larghezza_testo(const std::string& utf8);
constexpr double altezza_etichetta = 14;

enum class priorita_etichetta { stazione = 0, cartello = 1, altro = 2 };

struct richiesta_etichetta {
  p2 ancora;           // the point the label names
  std::string testo;   // UTF-8
  priorita_etichetta priorita = priorita_etichetta::altro;
};

struct etichetta_posta {
  std::string testo;
  riquadro scatola;  // the box the text is drawn in
  p2 ancora;
  bool lontana = false;  // moved off its point: drawn with a leader line
  priorita_etichetta priorita = priorita_etichetta::altro;
};

struct disposizione_etichette {
  std::vector<etichetta_posta> poste;
  size_t omesse = 0;
};

// Places the labels inside `area`, never over one another nor over a box of
// `ostacoli`. Labels of the same priority are placed in the order given.
disposizione_etichette disponi_etichette(std::vector<richiesta_etichetta> richieste, const riquadro& area,
                                         const std::vector<riquadro>& ostacoli = {});

// Draws placed labels: a white box, the text in it, and a leader line to the
// point of a label moved off it. Each box is a rect of class "label-box".
void disegna_etichette(scrittore_svg& svg, const disposizione_etichette& d, std::string_view id_gruppo);

#endif
