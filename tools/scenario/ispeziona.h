#ifndef SCENARIO_TOOLS_ISPEZIONA_H
#define SCENARIO_TOOLS_ISPEZIONA_H

// `scenario inspect`: the binary files of a compiled scenario as readable text
// or JSON.

#include <cstddef>
#include <optional>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

#include "scenario/comando.h"
#include "scenario/decodifica.h"
#include "scenario/json.h"

// One file, decoded and looked over.
struct esame_file {
  std::string nome;                  // as given
  std::optional<genere_file> genere;  // from the name
  size_t byte = 0;
  std::string errore;                // "NAME: what is wrong"; empty when the file fits its layout
  std::vector<std::string> avvisi;   // the layout fits, but a value is not what a compile writes

  // The content, for the kind of file it is.
  tabella_punti punti{};
  std::vector<cella> celle;
  profilo_linea profilo;
};

// Decodes the bytes of a file; the name tells which kind of file it is.
esame_file esamina(std::string nome, std::string_view byte);
// Reads the file from disk first.
esame_file esamina_file(const std::string& percorso);

void stampa_testo(const esame_file& e, std::ostream& out);
void stampa_json(const esame_file& e, scrittore_json& j);

// The command: `inspect FILE... [--json]`. Readable output goes to `out`,
// errors to `err`. Returns 0, or 2 on a usage error or when a file cannot be
// read or does not fit its layout (every file is still reported).
esecuzione_comando definisci_inspect(CLI::App& sub, flussi io);
int ispeziona(const std::vector<std::string>& argomenti, std::ostream& out, std::ostream& err);


#endif
