#ifndef SCENARIO_TOOLS_MAPPA_H
#define SCENARIO_TOOLS_MAPPA_H

// `scenario map`: a drawing of a compiled scenario as one self-contained SVG
// file: the plan of the line with its stations, signals, slowdowns and boards,
// and below it the speed limit, the gradient and the adhesion along the line.

#include <optional>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

#include "scenario/comando.h"
#include "scenario/decodifica.h"

// The decoded files of one scenario. The line profile may be missing: the
// drawing then holds only what lies along the line.
struct scenario_decodificato {
  tabella_punti punti{};
  std::vector<cella> celle;
  std::optional<profilo_linea> profilo;
};

// A text as SVG/XML character data or attribute value: the five markup
// characters become references; characters that XML does not allow (control
// characters other than tab and line ends, invalid UTF-8) become U+FFFD.
std::string testo_xml(std::string_view utf8);

// Writes the drawing. `celle` must hold at least two cells, as every decoded
// cell file does.
void disegna_mappa(const scenario_decodificato& s, std::ostream& svg);

// The command: `map DIR | FILE... -o OUT.svg` (OUT "-" writes to `out`).
// Returns 0, 1 when the drawing cannot be written, 2 on a usage error or an
// input that cannot be read or does not fit its layout.
esecuzione_comando definisci_map(CLI::App& sub, flussi io);
int mappa(const std::vector<std::string>& argomenti, std::ostream& out, std::ostream& err);


#endif
