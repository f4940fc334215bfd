#ifndef SCENARIO_TOOLS_SPIEGA_AVVISI_H
#define SCENARIO_TOOLS_SPIEGA_AVVISI_H

#include <ostream>
#include <string>

// The warning codes of the compile, for `scenario explain`. This is where the
// table of warning codes plugs in: `explain` asks here before it tries the
// keywords, and lists what `elenca_avvisi` prints among its topics.

// Prints the entry of the warning code `argomento`; false when it is none.
bool spiega_avviso(const std::string& argomento, std::ostream& out);

// The warning codes as a topic list: one line, or nothing while there are none.
void elenca_avvisi(std::ostream& out);

#endif
