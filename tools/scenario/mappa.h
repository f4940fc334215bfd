#ifndef SCENARIO_TOOLS_MAPPA_H
#define SCENARIO_TOOLS_MAPPA_H

// `scenario map`: finds and reads the files of a compiled scenario and writes
// their drawing (disegno_mappa.h) as one SVG file.

#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "scenario/comando.h"
#include "scenario/decodifica.h"
#include "scenario/disegno_mappa.h"
#include "scenario/svg.h"

// The decoded files of one scenario. The line profile may be missing.
struct scenario_decodificato {
  tabella_punti punti{};
  std::vector<cella> celle;
  std::optional<profilo_linea> profilo;
};

vista_scenario vista_di(const scenario_decodificato& s);

// Writes the whole drawing. `celle` must hold at least two cells, as every
// decoded cell file does.
inline void disegna_mappa(const scenario_decodificato& s, std::ostream& svg) { svg << disegna_mappa(vista_di(s)).svg; }

// The usage error of a --from/--to pair (kilometres), or nothing.
std::string parte_sbagliata(std::optional<double> da, std::optional<double> a);

// Replaces the file at `percorso` (UTF-8) with the drawing, safely; returns
// why it cannot be written, or nothing.
std::string scrivi_mappa(const std::string& percorso, const std::string& svg);

// The command: `map DIR | FILE... -o OUT.svg [--from KM] [--to KM]` (OUT "-"
// writes to `out`). Returns 0, 1 when the drawing cannot be written, 2 on a
// usage error or an input that cannot be read or does not fit its layout.
esecuzione_comando definisci_map(CLI::App& sub, flussi io);
int mappa(const std::vector<std::string>& argomenti, std::ostream& out, std::ostream& err);

#endif
