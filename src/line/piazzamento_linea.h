#ifndef SCENARIO_LINE_PIAZZAMENTO_LINEA_H
#define SCENARIO_LINE_PIAZZAMENTO_LINEA_H

#include <cstdint>

#include "model/modello.h"

// Marks a mountain stretch from `inizio` to `fine` (m) of kind `tipo` on the
// grid; a kind above 10 is lit (every fourth empty cell gets mountain fill)
// and is reduced by 10 in the caller's variable. The stretch is clipped to
// the grid. An 81st stretch records error 28 and stores nothing.
void memo_montagna(modello& m, int32_t& inizio, int32_t& fine, int32_t& tipo);

// Places a pair of maximum-speed indicator boards in the cell of `posizione`.
// A cell that is not free records error 21 and is left unchanged.
void memo_indicatori_v_max(modello& m, int32_t posizione, int32_t& vas, int32_t& vbs,
                           int32_t& vcs, int32_t& strisces, int32_t& vad, int32_t& vbd,
                           int32_t& vcd, int32_t& strisced);

#endif
