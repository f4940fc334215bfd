#ifndef SCENARIO_TEXT_SCRITTURA_H
#define SCENARIO_TEXT_SCRITTURA_H

#include <string>
#include <vector>

#include "text/archivio.h"

// The entry that ends a writer's line list; it is never written.
inline constexpr const char* fine_elenco = "riferimento fine del file";

// A writer's list holds at most 1000 lines and the end marker.
constexpr size_t capienza_elenco = 1001;

// The bytes of a text file: the entries up to the end marker, each followed by
// CR LF. A list without the marker within its capacity throws errore_esecuzione.
std::string testo_da_elenco(const std::vector<std::string>& elenco);

// The one procedure that writes every text file: replaces the file `nome`
// with the entries of `elenco` up to the end marker.
void scrivi_elenco(archivio& a, const std::string& nome, const std::vector<std::string>& elenco);

#endif
