#ifndef SCENARIO_TRAIN_PIAZZAMENTO_H
#define SCENARIO_TRAIN_PIAZZAMENTO_H

#include <cstdint>

#include "model/modello.h"

// Placement of the train text's signals and slowdowns on the cell grid. The
// caller has range-tested the position: (position + 100) / 50 <= numero_celle.
//
// Both refuse a cell that already holds an object (any kind but vuota and
// riempimento_montagna) by setting numero_errore and returning; they never set
// posizione_errore. A value that overflows 32 bits, or a cell outside the grid,
// throws errore_esecuzione. 16-bit fields keep the low 16 bits of their 32-bit
// value, byte fields the low 8 bits.

// Places a signal in the cell of `posizione` and the warning codes 1 to 4 on
// the cells 2, 4, 6 and 8 before it (those below cell 0 are dropped). A
// `tempo` from 1 to 100 becomes 101, in the caller's variable too; the cell
// keeps it only when sx is 2. Refusal: 16, nothing written.
void memo_segnale(modello& m, int32_t posizione, int32_t& sx, int32_t& s1, int32_t& s2, int32_t& s3,
                  int32_t& rapp, int32_t& dx, int32_t& d1, int32_t& d2, int32_t& d3, int32_t& tempo);

// Places a slowdown from `x` for `l` metres at `v` km/h: its start and end
// cells, its advance-warning cell w 1200 m before the start (only when x is
// beyond 1500 m) and, when f_ta is nonzero, the four board cells w-1 to w-4.
// Refusals:
//   15  the end cell lies outside the grid (nothing written);
//   17  the advance-warning cell is taken, 18 the start cell, 19 the end cell
//       (nothing written);
//   20  a board cell is taken (start, end and advance-warning cells written).
// None of the arguments is changed.
void memo_rallentamento(modello& m, int32_t x, int32_t& v, int32_t& l, int32_t& f_tt, int32_t f_ta,
                        int32_t& d_v);

#endif
