#ifndef SCENARIO_TRAIN_COMPILA_TRENO_H
#define SCENARIO_TRAIN_COMPILA_TRENO_H

#include <cstdint>

#include "model/modello.h"
#include "text/archivio.h"

// The second half of the compile of the texts: reads the train text of the
// scenario named in `m` from `a` into the model (train header values, speed
// and adhesion profiles, stations, "abbattimento" points, signals, slowdowns),
// deletes it, and checks the kilometre progressives. `prossimo_cartello` is
// the record the next sign text would take: stations must stay below it.
// Run-time failures throw errore_esecuzione.
void compila_treno(modello& m, archivio& a, int32_t prossimo_cartello);

#endif
