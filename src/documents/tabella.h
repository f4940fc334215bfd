#ifndef SCENARIO_DOCUMENTS_TABELLA_H
#define SCENARIO_DOCUMENTS_TABELLA_H

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

// A table drawn with blanks, "|" and "_": every row is a blank, a bar, then
// each cell followed by a bar. A cell that does not fit its width exactly
// throws errore_esecuzione, so a drawn column never shifts.
class tabella {
 public:
  explicit tabella(std::vector<size_t> larghezze);

  std::string riga(const std::vector<std::string>& celle) const;
  // Every cell blanks.
  std::string vuota() const;
  // Every cell underscores.
  std::string righello() const;

  // Blanks of the width of cell `colonna` (from 0).
  std::string bianca(size_t colonna) const;
  size_t larghezza(size_t colonna) const;

 private:
  std::vector<size_t> larghezze_;
};

// The text right-aligned (left-aligned) in `larghezza` characters; a longer
// text throws errore_esecuzione.
std::string a_destra(std::string_view testo, size_t larghezza);
std::string a_sinistra(std::string_view testo, size_t larghezza);

// Writes `testo` into `cella` from `posizione`, counted from 1 (the first
// character of a cell is position 1). Text reaching beyond the cell, or a
// position 0, throws errore_esecuzione.
void scrivi_in(std::string& cella, size_t posizione, std::string_view testo);

#endif
