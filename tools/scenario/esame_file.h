#ifndef SCENARIO_TOOLS_ESAME_FILE_H
#define SCENARIO_TOOLS_ESAME_FILE_H

// One compiled file, decoded by the kind its name tells, and looked over for
// values that fit the layout but that no compile writes.

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "scenario/decodifica.h"

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

#endif
