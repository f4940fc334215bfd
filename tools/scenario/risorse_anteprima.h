#ifndef SCENARIO_TOOLS_RISORSE_ANTEPRIMA_H
#define SCENARIO_TOOLS_RISORSE_ANTEPRIMA_H

// The preview page's own files (tools/scenario/anteprima/), built into the
// tool: the page needs nothing from the network or the disk.

#include <string_view>

// The content of "index.html", "app.js" or "app.css"; empty for any other name.
std::string_view risorsa_anteprima(std::string_view nome);

#endif
