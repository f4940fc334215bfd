#ifndef SCENARIO_TOOLS_PROVENIENZA_MAPPA_H
#define SCENARIO_TOOLS_PROVENIENZA_MAPPA_H

// Where each object of a map comes from, for a map drawn straight from a
// compile (the live preview): the record that placed it, as data attributes
// of its element (data-file, data-line, data-column, data-position,
// data-kind, data-cell and data-record, the record's own line), so that a page can
// name it and find it. A map drawn from files has no provenance and no such
// attributes.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "model/diagnostica.h"
#include "scenario/rapporto.h"
#include "scenario/svg.h"

struct provenienza_mappa {
  const diagnostica& traccia;
  const testo_autore& linea;
  const testo_autore& treno;
};

// The data attributes of the object that record `record` placed at metre
// `posizione`, in cell `cella`: nothing when there is no provenance or no
// record. `genere` is the record kind the drawing shows it as; a record read
// as several kinds says the one that drew it.
std::vector<attributo_svg> dati_record(const provenienza_mappa* p, int32_t record, const char* genere,
                                       int64_t posizione, int32_t cella);

// A record read as `genere` and the metre its first value gives.
struct record_in_posizione {
  int32_t record = nessuno;
  int64_t posizione = 0;
  int64_t valore = 0;  // its second value, when a number (a gradient's, a speed's)
  int32_t cella = nessuno;  // the cell the map draws it at; none for a metre past any cell
};

// The records read as `genere` whose first value is a number, in the order
// read.
std::vector<record_in_posizione> record_del_genere(const provenienza_mappa& p, const char* genere);

// The record of the n-th station (from 1): the train text's n-th record read
// as a station, as the compile numbers them.
int32_t record_della_stazione(const provenienza_mappa* p, int numero);

#endif
