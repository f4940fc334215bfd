#ifndef SCENARIO_TOOLS_SPIEGA_AVVISI_H
#define SCENARIO_TOOLS_SPIEGA_AVVISI_H

#include <ostream>
#include <string>
#include <vector>

// The warning codes of the compile, for `scenario explain`, from the table of
// the kinds of warning: `explain` asks here before it tries the keywords, and
// lists what `elenca_avvisi` prints among its topics.

// Prints the entry of the warning code `argomento`; false when it is none.
bool spiega_avviso(const std::string& argomento, std::ostream& out);

// The warning codes as a topic list: one line, or nothing while there are none.
void elenca_avvisi(std::ostream& out);

// The codes that have a sentence on what to change.
std::vector<std::string> codici_rimedi_avvisi();

#endif
