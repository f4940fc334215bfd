#ifndef SCENARIO_MODEL_ERRORI_H
#define SCENARIO_MODEL_ERRORI_H

#include <cstdint>

// The table of every error code the system records or reports.
struct voce_errore {
  int32_t codice;
  bool ha_posizione;        // the code comes with a position in metres
  const char* descrizione;  // one line, for people
};

// nullptr for a code that is not in the table.
const voce_errore* cerca_errore(int32_t codice);

// The description of a code, or "unknown error" for a code not in the table.
const char* descrizione_errore(int32_t codice);

// Every entry, in increasing code order.
const voce_errore* tabella_errori(int* quante);

#endif
