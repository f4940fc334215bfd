#ifndef SCENARIO_CORE_CODICI_GARA_H
#define SCENARIO_CORE_CODICI_GARA_H

#include <cstdint>
#include <string>

#include "model/modello.h"

// The integrity codes of the two train files: checksums over the first 25
// bytes of the code text, which is the train code (punti(86).testo) followed by
// the scenario name (punti(85).testo) in Windows-1252 lower case, followed by
// a fixed tail. A byte counts with its Windows-1252 value, 0 to 255.

// The fixed tail that completes a short pair of names.
inline constexpr const char* coda_codice = "vvuuttssrrqqppzzhhggffeedd";

// The code text; both code functions also leave it in m.riga.
std::string testo_codice(const modello& m);

// Sum of the first 25 byte values: 0 to 6375.
int16_t codice_gara_og(modello& m);

// Sum of i times the i-th byte value, i = 1..25: 0 to 82875.
int32_t codice_gara_st(modello& m);

// The marks and codes of the train files, stamped before they are written:
// the file marks 610 (punti(85).intero_1) and 5121 (cell 1 valore), then the
// codes (punti(85).orario and cell 1 valore_2). Each slot must still be 0:
// a taken mark slot returns 1250 before anything is stamped, a taken code
// slot returns 1251 after the marks; nothing is overwritten. Returns 0 when
// all four slots are stamped. Needs the grid.
int32_t marche_e_codici(modello& m);

// The file marks.
inline constexpr int16_t marca_sim = 610;
inline constexpr int16_t marca_dat = 5121;

#endif
