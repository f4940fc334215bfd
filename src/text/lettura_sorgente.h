#ifndef SCENARIO_TEXT_LETTURA_SORGENTE_H
#define SCENARIO_TEXT_LETTURA_SORGENTE_H

#include <cstdint>
#include <string>

#include "model/diagnostica.h"
#include "model/modello.h"
#include "text/lettore_campi.h"

// The reading of one source text by a compile: every keyword field goes to
// m.riga and, when the compile is traced (m.traccia), the place of the record
// being read and of the field last read are kept, and keyword fields that
// match nothing are reported.
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

  // A keyword field that matched no record. Section headers and empty fields
  // are meant to match nothing and are not reported.
  void avvisa(const std::string& campo);

  // Keeps the place of the field the reader stood on, for a failure that
  // stopped the reading.
  void segna_campo();

 private:
  luogo_sorgente qui() const { return {testo_, l_.luogo().riga, l_.luogo().colonna}; }

  modello& m_;
  lettore_campi& l_;
  testo_sorgente testo_;
};

#endif
