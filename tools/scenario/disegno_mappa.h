#ifndef SCENARIO_TOOLS_DISEGNO_MAPPA_H
#define SCENARIO_TOOLS_DISEGNO_MAPPA_H

// The drawing of a scenario as one self-contained SVG file: the plan of the
// line with its stations, signals, slowdowns and boards, and below it the
// speed limit, the gradient and the adhesion along the line.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

#include "model/modello.h"
#include "scenario/decodifica.h"

// What is drawn, from decoded files or straight from a compiled model. The
// line profile may be missing: the drawing then holds only what lies along
// the line.
struct provenienza_mappa;
struct vista_scenario {
  const tabella_punti& punti;
  const std::vector<cella>& celle;  // at least two cells, as every cell file holds
  const profilo_linea* profilo = nullptr;
  // For a map drawn from a compile: every object carries the place of its
  // record, and the curves and the changes of gradient, speed and adhesion
  // are marked too (provenienza_mappa.h).
  const provenienza_mappa* provenienza = nullptr;
};

struct opzioni_disegno {
  // The part of the line drawn, in metres; the whole line when not given.
  std::optional<int64_t> da, a;
  // Nonempty for the map of a compile that recorded an error: the title says
  // so, in these words.
  std::string errore_compilazione;
};

struct esito_disegno {
  std::string svg;
  size_t etichette_omesse = 0;  // labels left out for lack of room
};

// The metre of a kilometre a part of the line is drawn from or to: 0 to
// 1000000 km, rounded to the metre; none for any other value.
std::optional<int64_t> metri_del_chilometro(double km);

esito_disegno disegna_mappa(const vista_scenario& s, const opzioni_disegno& o = {});

// The map of a compile that left no cell grid (error 26, 101, ...): nothing
// to draw but its name (UTF-8) and the error, so that an older map never
// stands for it.
esito_disegno disegna_mappa_senza_griglia(const std::string& nome, const std::string& errore_compilazione);

#endif
