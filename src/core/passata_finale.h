#ifndef SCENARIO_CORE_PASSATA_FINALE_H
#define SCENARIO_CORE_PASSATA_FINALE_H

#include <cstdint>

#include "model/modello.h"

// The finishing pass: one forward sweep over cells 1 to numero_celle - 2 that
// adds speed markers (kind 12, value 180) around the slowdowns:
// - at an advance-warning cell k (kind 4): in front of every signal in cells
//   k-1 down to k-20, but no lower than cell 3 (error 11 at the signal when
//   neither of the two cells in front is free or a marker);
// - at a slowdown start k (kind 3): one marker in each of the groups 5-7,
//   11-13 and 18-20 cells before it (error 12 at the start when a group is
//   full); every 8 cells inside a slowdown slower than 110 km/h (error 13);
//   and in front of the first signal in the slowdown's end cell or the 12
//   cells after it (error 13 at the end cell).
// Errors are recorded in m.numero_errore / m.posizione_errore and the pass
// goes on. A marker only ever goes on a free cell and keeps the cell's other
// fields. The searches never look past the last cell of the grid: a cell that
// does not exist counts as occupied, and a slowdown that has no end cell ends
// at the last cell. The end of a slowdown is searched for whatever its speed,
// so the marker after it has the same start for fast and slow slowdowns.
void passata_finale(modello& m);

// The smaller of x and y; x on a tie.
inline int32_t minimo(int32_t x, int32_t y) { return x > y ? y : x; }

// The value of a marker placed by the pass.
inline constexpr int16_t valore_marcatore = 180;

#endif
