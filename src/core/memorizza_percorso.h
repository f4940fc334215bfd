#ifndef SCENARIO_CORE_MEMORIZZA_PERCORSO_H
#define SCENARIO_CORE_MEMORIZZA_PERCORSO_H

#include <cstdint>
#include <string>
#include <vector>

#include "model/modello.h"
#include "text/archivio.h"

// What a compile leaves for the run to report.
struct esito_compilazione {
  // Nonzero when the compile ended without writing any binary file: the code
  // to report (26, 101, 1250, 1251, ...). The run shows it and ends with a
  // failure status.
  int32_t errore = 0;
  // The binary files written, in the order written.
  std::vector<std::string> file_scritti;
};

// The error of a compile as a value: its code, its position where the code
// has one, and, when the compile was traced, the field of the record that
// caused it.
struct errore_compilazione {
  int32_t codice = 0;  // 0 = none
  bool con_posizione = false;
  int32_t posizione = 0;  // metres
  bool senza_file = false;  // the compile wrote no binary file
  riferimento_campo causa;
};

// The error to report after a compile: the code that stopped it before its
// files, otherwise the code the texts or the pass recorded.
errore_compilazione errore_della_compilazione(const modello& m, const esito_compilazione& esito);

// The compile driver: compiles the line and train texts of the scenario named
// in `m` from `a` into `m`, completes the grid and writes the binary files to
// `a`. Nonzero j asks for the line plan and the line profile file.
//
// An error recorded while compiling the texts does not stop the driver when
// the grid exists: the files are written from what the model holds, `errore`
// stays empty and the code stays in m.numero_errore / m.posizione_errore for
// the run to show. A failure to write a file, or a run-time failure after the
// texts, throws errore_esecuzione.
esito_compilazione memorizza_percorso(modello& m, archivio& a, int32_t j);

// The same compile, up to the files: reads the texts from `a`, completes the
// grid and leaves the model ready for scrivi_file_binari, which writes the
// files wherever the caller chooses (the same writer, the same bytes).
// `file_scritti` stays empty; `errore` is nonzero when no file may be
// written.
esito_compilazione compila_percorso(modello& m, archivio& a, int32_t j);

// The driver after the compile of the texts: without a grid, no pass and no
// files, `errore` holds the code recorded (26 when none was); with a grid, the
// finishing pass, the marks and codes (a taken slot gives 1250 or 1251 and no
// file is written), then the files.
esito_compilazione completa_percorso(modello& m, archivio& a);

#endif
