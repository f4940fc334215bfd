#ifndef SCENARIO_TOOLS_DECOMPILA_H
#define SCENARIO_TOOLS_DECOMPILA_H

// `scenario decompile`: the line text and the train text of a compiled
// scenario, checked by compiling them again.

#include <ostream>
#include <string>
#include <vector>

#include "scenario/comando.h"

// `decompile DIR|FILES -o TEXTDIR [--scenario NAME] [--train-code CODE]
// [--force]`. Returns 0 when the texts compile to the same bytes, 1 when they
// do not (the texts are written all the same and every difference is listed),
// 2 on a usage error, files that cannot be read or do not fit their layout,
// or texts that already exist without --force (nothing is written then).
esecuzione_comando definisci_decompile(CLI::App& sub, flussi io);
int comando_decompile(const std::vector<std::string>& argomenti, std::ostream& out, std::ostream& err);

#endif
