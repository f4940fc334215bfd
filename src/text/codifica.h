#ifndef SCENARIO_TEXT_CODIFICA_H
#define SCENARIO_TEXT_CODIFICA_H

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

// Texts of the system are Windows-1252 bytes, one byte per character.

// The one UTF-8 decoder of the system. The code point of the valid UTF-8
// sequence that starts `s`, and its length in bytes (1 to 4); length 0 when `s`
// is empty or does not start with a valid sequence (a stray or missing
// continuation byte, an overlong form, a surrogate, a code point past
// U+10FFFF).
struct carattere_utf8 {
  char32_t punto = 0;
  size_t lunghezza = 0;
};
carattere_utf8 leggi_utf8(std::string_view s);

// Length of the valid UTF-8 sequence that starts `s`, or 0.
inline size_t sequenza_utf8(std::string_view s) { return leggi_utf8(s).lunghezza; }

// A code point as UTF-8 bytes.
void aggiungi_utf8(std::string& out, char32_t punto);

// Windows-1252 bytes to UTF-8 (every byte has a character; the five bytes the
// code page leaves undefined map to the control characters of the same value).
std::string cp1252_a_utf8(std::string_view testo);

// UTF-8 to Windows-1252; nothing when the text is not valid UTF-8 or holds a
// character the code page cannot represent.
std::optional<std::string> utf8_a_cp1252(std::string_view testo);

// The Windows-1252 byte of a code point, if the code page has one.
std::optional<unsigned char> byte_cp1252(char32_t punto);

// Windows-1252 to UTF-16 code units.
std::u16string cp1252_a_utf16(std::string_view testo);

// Lower case in Windows-1252: A-Z and the accented capitals.
std::string minuscolo_cp1252(std::string_view testo);

// Containment tests used by the keyword rules.
bool contiene(std::string_view campo, std::string_view parola);
// Letter case ignored (ASCII letters; keywords are ASCII).
bool contiene_senza_maiuscole(std::string_view campo, std::string_view parola);
// A field that holds both "[" and "]" is a section header, not a record.
bool campo_di_sezione(std::string_view campo);

#endif
