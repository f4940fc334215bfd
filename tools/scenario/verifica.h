#ifndef SCENARIO_TOOLS_VERIFICA_H
#define SCENARIO_TOOLS_VERIFICA_H

#include <ostream>
#include <string>
#include <vector>

#include "scenario/comando.h"

// `scenario check LINE_TEXT TRAIN_TEXT [--scenario NAME] [--train-code CODE]
// [--encoding ENC] [--strict] [--json]`: compiles the two texts in memory,
// writes nothing, and prints every diagnostic in the order of the texts.
// Exit status:
//   0  no error (warnings allowed, unless --strict)
//   1  an error recorded, or a warning with --strict
//   2  usage error, or a text that cannot be read or converted
esecuzione_comando definisci_check(CLI::App& sub, flussi io);

// The command run with the words after "check".
int comando_check(const std::vector<std::string>& argomenti, std::ostream& out, std::ostream& err);

#endif
