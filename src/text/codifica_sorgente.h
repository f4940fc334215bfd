#ifndef SCENARIO_TEXT_CODIFICA_SORGENTE_H
#define SCENARIO_TEXT_CODIFICA_SORGENTE_H

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

// The encoding of an author's source text, and its conversion to the
// Windows-1252 bytes the compile reads.

// What the author asks for.
enum class codifica_richiesta : uint8_t { automatica, windows_1252, utf_8 };

// How a text was read.
enum class codifica_letta : uint8_t { windows_1252, utf_8, utf_16_le, utf_16_be };

// A place in the text as the author's editor shows it: line and character
// column, both from 1. A byte-order mark is no character.
struct luogo_carattere {
  int32_t riga = 0;
  int32_t colonna = 0;
};

// Why a text could not become Windows-1252.
struct errore_codifica {
  luogo_carattere luogo;
  // The character with no Windows-1252 byte (code point, and its UTF-8 form);
  // 0 and empty when the bytes themselves are not of the encoding.
  uint32_t punto_codice = 0;
  std::string carattere;
  std::string perche;  // the bytes at fault, in words, when punto_codice is 0
};

struct testo_codificato {
  std::string byte;  // Windows-1252: one byte per character, lines as written
  codifica_letta codifica = codifica_letta::windows_1252;
  bool con_marca = false;  // a byte-order mark decided it
  std::optional<errore_codifica> errore;

  // The text was converted: its bytes are not those of the file.
  bool convertito() const { return codifica != codifica_letta::windows_1252; }
};

// Reads a text's bytes as asked. With `automatica`, a UTF-8 or UTF-16 byte-
// order mark decides; without one, a text whose bytes above 0x7F all form
// valid UTF-8 sequences, at least one of them, is UTF-8; anything else is
// Windows-1252, kept byte for byte. Each character of a converted text
// becomes one byte, so a column of the result is the character column of the
// source.
testo_codificato leggi_codifica(std::string_view byte, codifica_richiesta richiesta);

// "windows-1252", "utf-8", "utf-16le", "utf-16be".
const char* nome_codifica(codifica_letta c);

// The option's word: "auto", "windows-1252" (also "cp1252"), "utf-8" (also
// "utf8"); nothing for any other word.
std::optional<codifica_richiesta> codifica_da_nome(std::string_view nome);

#endif
