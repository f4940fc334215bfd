#ifndef SCENARIO_TOOLS_STATO_ANTEPRIMA_H
#define SCENARIO_TOOLS_STATO_ANTEPRIMA_H

// What the preview shows, kept between rounds of the watch loop: the last
// compile (its diagnostics), the last good one (its map: after a failed
// compile the last good map stays, as the kept files do), and the event each
// round publishes. Filled by the loop's thread, read by the server's.

#include <cstdint>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>

#include "scenario/compilazione_autore.h"
#include "scenario/osserva.h"

struct impostazioni_anteprima {
  std::string modello_editor = "vscode://file/{path}:{line}:{column}";
  // The texts as messages name them, and their absolute paths (UTF-8, with
  // forward slashes), for the editor links.
  std::map<std::string, std::string> percorsi;
  bool severo = false;
};

class stato_anteprima {
 public:
  explicit stato_anteprima(impostazioni_anteprima i) : i_(std::move(i)) {}

  // Takes the compile of a round; returns the event that tells the page
  // (one line of JSON).
  std::string registra(compilazione_autore& c, const resoconto_giro& r);

  // The map of the last good compile (or of the last one, while none was
  // good), over the kilometres of the query "from=KM&to=KM" when it gives
  // them.
  std::string mappa(std::string_view query);
  // The JSON of `check --json` for the last compile.
  std::string diagnostiche();

 private:
  impostazioni_anteprima i_;
  std::mutex m_;
  std::shared_ptr<const compilazione_autore> ultima_, buona_;
  std::string diagnostiche_;
  uint64_t generazione_ = 0, generazione_mappa_ = 0;
  // The whole map of generazione_mappa_, drawn once.
  std::string mappa_intera_;
  uint64_t generazione_mappa_intera_ = 0;
};

// The kilometres a query "from=KM&to=KM" asks for, in metres; none for a
// value missing or not a number of kilometres from 0 to 1000000.
struct parte_richiesta {
  std::optional<int64_t> da, a;
};
parte_richiesta parte_della_query(std::string_view query);

#endif
