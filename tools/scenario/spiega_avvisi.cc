#include "scenario/spiega_avvisi.h"

#include "scenario/rapporto.h"
#include "scenario/spiega.h"

namespace {

// What to change in the text for a kind of warning, where the reference says
// more than the warning's own description.
const struct {
  const char* codice;
  const char* rimedio;
} rimedi_avvisi[] = {
    {"record_sconosciuto",
     "Correct the keyword's spelling (`scenario explain` lists the keywords), or mark the field as a comment by "
     "putting a hyphen in it. A field that holds a comma is two fields: keep commas out of comments."},
};

const genere_avviso* cerca_genere(const std::string& codice) {
  for (const genere_avviso* g : generi_avviso()) {
    if (codice == g->codice) return g;
  }
  return nullptr;
}

}  // namespace

bool spiega_avviso(const std::string& argomento, std::ostream& out) {
  const genere_avviso* g = cerca_genere(argomento);
  if (!g) return false;
  out << a_capo(std::string("warning ") + g->codice + ": " + g->descrizione, 78, "", "  ");
  out << "the compile goes on: a warning never changes the compiled files\n";
  for (const auto& r : rimedi_avvisi) {
    if (argomento == r.codice) out << a_capo(r.rimedio, 78, "what to change: ", "  ");
  }
  return true;
}

void elenca_avvisi(std::ostream& out) {
  std::string codici;
  for (const genere_avviso* g : generi_avviso()) codici += (codici.empty() ? "" : ", ") + std::string(g->codice);
  if (!codici.empty()) out << a_capo(codici, 78, "  warning codes: ", "    ");
}

std::vector<std::string> codici_rimedi_avvisi() {
  std::vector<std::string> c;
  for (const auto& r : rimedi_avvisi) c.emplace_back(r.codice);
  return c;
}
