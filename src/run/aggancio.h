#ifndef SCENARIO_RUN_AGGANCIO_H
#define SCENARIO_RUN_AGGANCIO_H

#include "model/modello.h"
#include "text/archivio.h"

// Called by the run once the texts and documents are written, just before
// the compile. The program links the empty one (aggancio.cc); a test build
// links its own in its place, to change what the compile reads.
void prima_della_compilazione(modello& m, archivio& cartella);

#endif
