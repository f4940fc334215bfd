#ifndef SCENARIO_TEXT_LETTORE_CAMPI_H
#define SCENARIO_TEXT_LETTORE_CAMPI_H

#include <cstdint>
#include <string>
#include <string_view>

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
  // The whole line of the text that holds a place (without its line end).
  std::string_view riga_del_testo(int32_t riga) const;

 private:
  void salta_spazi();
  void consuma_fine_riga();
  void segna_inizio();
  [[noreturn]] void fallisce(const std::string& perche) const;

  std::string_view testo_;
  size_t pos_ = 0;
  int32_t riga_ = 1;
  size_t inizio_riga_ = 0;
  luogo_testo luogo_;
};

#endif
