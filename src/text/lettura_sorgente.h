#ifndef SCENARIO_TEXT_LETTURA_SORGENTE_H
#define SCENARIO_TEXT_LETTURA_SORGENTE_H

#include <cstdint>
#include <exception>
#include <string>

#include "model/diagnostica.h"
#include "model/modello.h"
#include "text/lettore_campi.h"

// The reading of one source text by a compile: every keyword field goes to
// m.riga and, when the compile is traced (m.traccia), every field read is kept
// with its place and text, keyword fields as the start of a record and the
// fields after them as that record's values.
class lettura_sorgente {
 public:
  lettura_sorgente(modello& m, lettore_campi& l, testo_sorgente testo) : m_(m), l_(l), testo_(testo) {}

  bool fine() const { return l_.fine(); }

  // A field in keyword position: the start of a record.
  std::string leggi_chiave();
  // Fields in value position.
  std::string leggi_testo();
  int32_t leggi_long();
  int16_t leggi_intero();
  uint8_t leggi_byte();

  // The next keyword field of a body: at most two hyphenated fields in a row
  // are passed over as comments. False when the text ends before a keyword
  // field could be read, or right after it (the last field is never a record).
  bool prossima_chiave(std::string& chiave);

  // The record being read was read as a record of kind `genere` (a static
  // name such as "pendenza").
  void letto_come(const char* genere);

  // The record being read matched no record kind. Section headers and empty
  // fields are meant to match nothing and are not reported.
  void avvisa(const std::string& campo);

  // The record being read, or nessuno (also when not traced).
  int32_t record() const;

  // Records the cause of a run-time failure that stopped the reading, unless
  // a more precise one was recorded for it: a read that failed is kept as the
  // field it was reading, with why; any other failure is put on the record
  // being read.
  void segna_fallimento(const std::exception& e);

 private:
  luogo_sorgente qui() const { return {testo_, l_.luogo().riga, l_.luogo().colonna}; }
  void tieni_valore();

  modello& m_;
  lettore_campi& l_;
  testo_sorgente testo_;
  uint64_t campi_tenuti_ = 0;  // fields of the reader kept in the trace
};

// Records the cause of a run-time failure at field `c`, with its reason and
// the failure's own words. Does nothing without a trace.
void annota_fallimento(diagnostica* d, riferimento_campo c, motivo_fallimento motivo, const std::exception& e,
                       int64_t minimo = 0, int64_t massimo = 0);

#endif
