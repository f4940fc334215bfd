#ifndef SCENARIO_TOOLS_PAROLE_AUTORE_H
#define SCENARIO_TOOLS_PAROLE_AUTORE_H

#include <cstdint>
#include <string>
#include <vector>

#include "model/diagnostica.h"

// The words an author knows: the keywords of the texts, the values of each
// record kind, the objects of the cells. Messages use these, never the names
// inside the compile.

// The object of a cell kind, with its article ("a sign", "the start of a
// slowdown"); a marker that the finishing pass placed is "a speed marker".
std::string oggetto_della_cella(uint8_t tipo, bool dalla_passata);

// The name of the n-th value (from 0) of a record read as `genere`
// ("the speed", "the position"); empty when it has no name.
std::string nome_del_valore(const char* genere, int32_t n);

// The keywords an author writes in the line text or the train text.
const std::vector<std::string>& parole_chiave(testo_sorgente testo);

// The keyword of that text within two edits of `campo` (letter case
// ignored), the nearest first; empty when none is.
std::string parola_suggerita(testo_sorgente testo, const std::string& campo);

// The number of single-character edits between two texts.
size_t distanza_modifiche(const std::string& a, const std::string& b);

#endif
