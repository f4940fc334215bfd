#ifndef SCENARIO_TEXT_LETTORE_CAMPI_H
#define SCENARIO_TEXT_LETTORE_CAMPI_H

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "model/diagnostica.h"

// Where a field begins in its text: line and column, both counted from 1.
struct luogo_testo {
  int32_t riga = 0;
  int32_t colonna = 0;
};

// Reads a source text as a stream of fields, from a byte buffer.
//
// Blanks are the space and the tab. A line ends at CR LF, LF or CR. A text
// field runs to the next comma or line end (consumed) and loses its leading
// and trailing blanks. A number field is an optional minus and decimal digits,
// ending at a blank, a comma or a line end; the blanks after it and then one
// comma or one line end are consumed. A read when no character remains, or a
// number field that is not a number, throws errore_esecuzione.
class lettore_campi {
 public:
  explicit lettore_campi(std::string_view testo);

  // True when no character remains after the last field read.
  bool fine() const { return pos_ >= testo_.size(); }

  std::string leggi_testo();
  int64_t leggi_numero();
  int32_t leggi_long();
  int16_t leggi_intero();
  uint8_t leggi_byte();

  // Where the last field read began.
  luogo_testo luogo() const { return luogo_; }
  // The text of the last field read (for a number, the characters read as
  // one), until the next read.
  std::string_view testo_campo() const { return campo_; }
  // How many fields were begun, the one that failed included.
  uint64_t campi_iniziati() const { return iniziati_; }
  // Why the last read failed, and the range of the width it was read into.
  motivo_fallimento motivo() const { return motivo_; }
  int64_t minimo() const { return minimo_; }
  int64_t massimo() const { return massimo_; }

 private:
  void salta_spazi();
  void consuma_fine_riga();
  void segna_inizio();
  [[noreturn]] void fallisce(motivo_fallimento motivo, const std::string& perche);
  int64_t leggi_in(int64_t minimo, int64_t massimo, const char* perche);

  std::string_view testo_;
  size_t pos_ = 0;
  int32_t riga_ = 1;
  size_t inizio_riga_ = 0;
  luogo_testo luogo_;
  std::string_view campo_;
  uint64_t iniziati_ = 0;
  motivo_fallimento motivo_ = motivo_fallimento::sconosciuto;
  int64_t minimo_ = 0;
  int64_t massimo_ = 0;
};

// The lines of a text, each without its line end, as the reader counts them.
std::vector<std::string> righe_del_testo(std::string_view testo);

#endif
