#ifndef SCENARIO_TOOLS_INIT_H
#define SCENARIO_TOOLS_INIT_H

#include <ostream>
#include <string>
#include <vector>

#include "scenario/comando.h"

// `scenario init DIR [--force]`: writes the built-in line text and train text
// into DIR (created when missing), as a start for an author's own scenario.
// An existing file is replaced only with --force; without it nothing is
// written. Exit status: 0 done, 2 usage error or a file that cannot be
// written.
esecuzione_comando definisci_init(CLI::App& sub, flussi io);

// The command run with the words after "init".
int comando_init(const std::vector<std::string>& argomenti, std::ostream& out, std::ostream& err);

#endif
