#ifndef SCENARIO_LINE_COMPILA_LINEA_H
#define SCENARIO_LINE_COMPILA_LINEA_H

#include <cstdint>

#include "model/modello.h"
#include "text/archivio.h"

// The first half of the compile of the texts: reads the line text of the
// scenario named in `m` from `a` into the model (header values, cell grid,
// gradients, signs, indicator boards, mountains, the line plan when
// genera_linea is nonzero) and deletes it.
//
// Returns true when the train text is to be read next, with the record that
// would take the next sign text in `prossimo_cartello`; false after an error
// that stops the compile (the train text then stays unread). Run-time
// failures throw errore_esecuzione.
bool compila_linea(modello& m, archivio& a, int32_t& prossimo_cartello);

#endif
