#ifndef SCENARIO_TOOLS_ISPEZIONA_H
#define SCENARIO_TOOLS_ISPEZIONA_H

// `scenario inspect`: the binary files of a compiled scenario as readable text
// or JSON.

#include <ostream>
#include <string>
#include <vector>

#include "scenario/comando.h"

// The command: `inspect FILE... [--json]`. Readable output goes to `out`,
// errors to `err`. Returns 0, or 2 on a usage error or when a file cannot be
// read or does not fit its layout (every file is still reported).
esecuzione_comando definisci_inspect(CLI::App& sub, flussi io);
int ispeziona(const std::vector<std::string>& argomenti, std::ostream& out, std::ostream& err);

#endif
