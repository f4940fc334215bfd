#ifndef SCENARIO_TEXT_CODIFICA_H
#define SCENARIO_TEXT_CODIFICA_H

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

// Texts of the system are Windows-1252 bytes, one byte per character.

// Windows-1252 bytes to UTF-8 (every byte has a character; the five bytes the
// code page leaves undefined map to the control characters of the same value).
std::string cp1252_a_utf8(std::string_view testo);

// UTF-8 to Windows-1252; nothing when the text is not valid UTF-8 or holds a
// character the code page cannot represent.
std::optional<std::string> utf8_a_cp1252(std::string_view testo);

// The Windows-1252 byte of a code point, if the code page has one.
std::optional<unsigned char> byte_cp1252(uint32_t punto_codice);

// Windows-1252 to UTF-16 code units.
std::u16string cp1252_a_utf16(std::string_view testo);

// Lower case in Windows-1252: A-Z and the accented capitals.
std::string minuscolo_cp1252(std::string_view testo);

// Containment tests used by the keyword rules.
bool contiene(std::string_view campo, std::string_view parola);
// Letter case ignored (ASCII letters; keywords are ASCII).
bool contiene_senza_maiuscole(std::string_view campo, std::string_view parola);

#endif
