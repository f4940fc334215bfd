#ifndef SCENARIO_TOOLS_LSP_H
#define SCENARIO_TOOLS_LSP_H

#include <istream>
#include <ostream>

#include "scenario/comando.h"

// `scenario lsp`: a language server on standard input and output. The
// editor gets the messages of `check` on every change of a line text or a
// train text, hovers on fields, the texts' outline, keywords to complete and
// quick fixes. It never writes a file. Exit status: 0 after a shutdown
// request then exit (or the end of input), 1 without a shutdown, 2 on a
// usage error.
esecuzione_comando definisci_lsp(CLI::App& sub, flussi io);

// The server's loop over two streams, until exit or the end of input;
// returns the exit status. Messages about malformed input go to `err`.
int esegui_server_lsp(std::istream& in, std::ostream& out, std::ostream& err);

#endif
