#ifndef SCENARIO_TOOLS_SOSTITUZIONE_INSIEME_H
#define SCENARIO_TOOLS_SOSTITUZIONE_INSIEME_H

#include <string>
#include <string_view>
#include <vector>

#include "text/archivio.h"

// One file of a set: its name in the folder (Windows-1252 bytes, as the model
// holds it) and what produces its content, piece by piece, so that a large
// file is never held whole.
struct file_insieme {
  std::string nome;
  produttore produci;
};

// A file of a set whose content is already in memory (and outlives the set).
inline file_insieme file_di_byte(std::string nome, std::string_view byte) {
  return {std::move(nome), [byte](const emettitore& emetti) { emetti(byte); }};
}

// Puts a whole set of files into the folder of `disco`, or none of them: every
// file is first written to a temporary beside it and the old ones are kept
// aside (a second name for them, or a copy); only then is each one replaced.
// When a replacement fails, the files already replaced get their old content
// back (a file that was not there is removed again), so the folder holds the
// earlier complete set. Returns an empty text, or what went wrong: the file,
// the cause, what to do.
// `fallisci_sostituzione` makes the replacement with that index (from 0) fail,
// for the tests; -1 never.
std::string sostituisci_insieme(const archivio_disco& disco, const std::vector<file_insieme>& file,
                                int fallisci_sostituzione = -1);

#endif
