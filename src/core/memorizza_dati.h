#ifndef SCENARIO_CORE_MEMORIZZA_DATI_H
#define SCENARIO_CORE_MEMORIZZA_DATI_H

#include "model/modello.h"
#include "text/archivio.h"

// Compiles the line text and then the train text of the scenario named in `m`,
// both read from `a`, into `m`, deleting each text once read. Problems are
// reported only through m.numero_errore and m.posizione_errore; a run-time
// failure records 25 after deleting the texts that still exist.
void memorizza_dati(modello& m, archivio& a);

#endif
