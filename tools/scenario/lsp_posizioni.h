#ifndef SCENARIO_TOOLS_LSP_POSIZIONI_H
#define SCENARIO_TOOLS_LSP_POSIZIONI_H

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

// Places in an editor's text. The editor counts lines from 0 and columns in
// UTF-16 code units, or in UTF-8 bytes when both ends agree to; the compile
// counts lines and characters from 1. Lines end at CR LF, LF or a lone CR,
// for both. Texts here are UTF-8.

enum class unita_colonna : uint8_t { utf_16, utf_8 };

struct posizione_editor {
  int32_t riga = 0;
  int32_t colonna = 0;
};

struct intervallo_editor {
  posizione_editor inizio, fine;
};

// The byte offset of a position; a column past its line's end stands at the
// end of the line, a line past the text at its end. A column inside a
// character stands at its start.
size_t offset_della_posizione(std::string_view testo, posizione_editor p, unita_colonna u);

// The position of a byte offset (the start of the character it falls in).
posizione_editor posizione_dell_offset(std::string_view testo, size_t offset, unita_colonna u);

// Where the compile's line and character column (from 1) stand for the
// editor; a column past the line's end stands at its end.
posizione_editor posizione_del_carattere(std::string_view testo, int32_t riga, int32_t colonna, unita_colonna u);

// The same place counted as the compile does: line and character from 1.
void carattere_della_posizione(std::string_view testo, posizione_editor p, unita_colonna u, int32_t& riga,
                               int32_t& colonna);

// Replaces the text between two positions (in either order) with `nuovo`.
void sostituisci_intervallo(std::string& testo, intervallo_editor i, std::string_view nuovo, unita_colonna u);

#endif
