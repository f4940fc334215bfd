#ifndef SCENARIO_CORE_FILE_BINARI_H
#define SCENARIO_CORE_FILE_BINARI_H

#include <string>
#include <vector>

#include "model/modello.h"
#include "text/archivio.h"

// The three binary files of a scenario, each a raw dump of one array of the
// model: packed, little-endian, no header, no padding. The layouts are
// described in doc/file_linea.md, doc/file_sim.md and doc/file_dat.md.

// The line profile file: every element of the line plan, first coordinate of
// every point, then second coordinate, each as a variant (16-bit type, then
// nothing, a 16-bit integer or an IEEE double). An element of another type,
// or a plan whose arrays disagree with its bound, throws errore_esecuzione.
// A plan that is not allocated gives no bytes.
std::string byte_file_linea(const profilo_linea& p);

// The train scenario file: the 87 records of the point table, 34 bytes plus
// the length of the text each. A text longer than 32767 bytes throws
// errore_esecuzione.
std::string byte_file_sim(const modello& m);

// The train cell file: every cell of the grid, 15 bytes each.
std::string byte_file_dat(const modello& m);

// A binary file of the model: its name, its size and what produces its bytes.
struct file_binario {
  std::string nome;
  size_t dimensione = 0;
  produttore produci;
};

// The binary files of the model, in the order they are written: the line
// profile file (only when m.genera_linea is nonzero), the train scenario file
// and the train cell file. Every check that can fail is made here, before any
// byte is produced: a nonzero genera_linea without a line plan, or a plan
// element the file cannot hold, throws errore_esecuzione. The producers read
// `m`, which must outlive them.
std::vector<file_binario> file_binari(const modello& m);

// Writes the line profile file (only when m.genera_linea is nonzero), the
// train scenario file and the train cell file, in this order, each replacing
// any older file at once. Returns the names written. A nonzero genera_linea
// without a line plan throws errore_esecuzione before anything is written.
std::vector<std::string> scrivi_file_binari(const modello& m, archivio& a);

#endif
