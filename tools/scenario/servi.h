#ifndef SCENARIO_TOOLS_SERVI_H
#define SCENARIO_TOOLS_SERVI_H

// `scenario serve LINE_TEXT TRAIN_TEXT [-o OUTDIR] [--port N] [--host ADDR]
// [--open] [--editor-url TEMPLATE] ...`: the watch loop, with a live preview
// in the browser: the map and the diagnostics of every compile, sent to the
// page as it happens (anteprima_http.h).

#include "scenario/comando.h"

esecuzione_comando definisci_serve(CLI::App& sub, flussi io);

#endif
