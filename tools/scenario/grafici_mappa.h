#ifndef SCENARIO_TOOLS_GRAFICI_MAPPA_H
#define SCENARIO_TOOLS_GRAFICI_MAPPA_H

// The charts along the line under the plan: the speed limit with the dips of
// the slowdowns, the gradient and the adhesion, and the distance axis.

#include <cstddef>

#include "scenario/oggetti_mappa.h"
#include "scenario/svg.h"

// Draws the charts over the metres of `f` from height `alto` down; with
// `con_nomi` (no plan above them) the station names head them. Returns the y
// below them; adds the labels left out to `omesse`.
double disegna_grafici(scrittore_svg& svg, const vista_scenario& s, const oggetti_mappa& o, const finestra_mappa& f,
                       bool con_nomi, double alto, size_t& omesse);

#endif
