#ifndef SCENARIO_LINE_PROGRESSIVE_H
#define SCENARIO_LINE_PROGRESSIVE_H

#include <array>
#include <cstdint>

#include "model/modello.h"

// Orders the three kilometre progressives by position (or by figure when the
// positions add up to 0) and adds 100 to the figure of those whose flag is 1.
void progressive_ordina(modello& m);

// The same within a compile: when traced, a figure that cannot be raised by
// 100 fails with its own record as the cause. `record` holds the records that
// gave the slots tre, due and uno (nessuno for none).
void ordina_progressive(modello& m, const std::array<int32_t, 3>& record);

#endif
