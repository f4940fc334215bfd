#include "text/codifica.h"

#include <cstdint>

namespace {

// Code points of the bytes 0x80..0x9F; the rest of the code page is Latin-1.
const char16_t alti[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

char16_t punto_codice(unsigned char b) {
  if (b >= 0x80 && b < 0xA0) return alti[b - 0x80];
  return b;
}

std::optional<unsigned char> byte_di(uint32_t cp) {
  if (cp < 0x80 || (cp >= 0xA0 && cp <= 0xFF)) return static_cast<unsigned char>(cp);
  for (int i = 0; i < 32; ++i) {
    if (alti[i] == cp) return static_cast<unsigned char>(0x80 + i);
  }
  return std::nullopt;
}

char minuscola_ascii(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c + 32) : c; }

}  // namespace

carattere_utf8 leggi_utf8(std::string_view s) {
  if (s.empty()) return {};
  auto b = [&s](size_t i) { return static_cast<unsigned char>(s[i]); };
  const unsigned char c = b(0);
  if (c < 0x80) return {c, 1};
  size_t n;
  char32_t cp;
  if (c >= 0xC2 && c <= 0xDF) {
    n = 2;
    cp = c & 0x1F;
  } else if (c >= 0xE0 && c <= 0xEF) {
    n = 3;
    cp = c & 0x0F;
  } else if (c >= 0xF0 && c <= 0xF4) {
    n = 4;
    cp = c & 0x07;
  } else {
    return {};
  }
  if (s.size() < n) return {};
  for (size_t i = 1; i < n; ++i) {
    if ((b(i) & 0xC0) != 0x80) return {};
    cp = (cp << 6) | (b(i) & 0x3F);
  }
  if ((n == 3 && cp < 0x800) || (n == 4 && cp < 0x10000) || (cp >= 0xD800 && cp <= 0xDFFF) || cp > 0x10FFFF) {
    return {};
  }
  return {cp, n};
}

void aggiungi_utf8(std::string& out, char32_t cp) {
  if (cp < 0x80) {
    out += static_cast<char>(cp);
  } else if (cp < 0x800) {
    out += static_cast<char>(0xC0 | (cp >> 6));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else if (cp < 0x10000) {
    out += static_cast<char>(0xE0 | (cp >> 12));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (cp >> 18));
    out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  }
}

std::optional<unsigned char> byte_cp1252(char32_t punto) { return byte_di(punto); }

std::string cp1252_a_utf8(std::string_view testo) {
  std::string out;
  out.reserve(testo.size());
  for (char c : testo) aggiungi_utf8(out, punto_codice(static_cast<unsigned char>(c)));
  return out;
}

std::optional<std::string> utf8_a_cp1252(std::string_view testo) {
  std::string out;
  out.reserve(testo.size());
  for (size_t i = 0; i < testo.size();) {
    const carattere_utf8 c = leggi_utf8(testo.substr(i));
    if (c.lunghezza == 0) return std::nullopt;
    auto byte = byte_di(c.punto);
    if (!byte) return std::nullopt;
    out += static_cast<char>(*byte);
    i += c.lunghezza;
  }
  return out;
}

std::u16string cp1252_a_utf16(std::string_view testo) {
  std::u16string out;
  out.reserve(testo.size());
  for (char c : testo) out += punto_codice(static_cast<unsigned char>(c));
  return out;
}

std::string minuscolo_cp1252(std::string_view testo) {
  std::string out(testo);
  for (char& c : out) {
    auto b = static_cast<unsigned char>(c);
    if ((b >= 'A' && b <= 'Z') || (b >= 0xC0 && b <= 0xDE && b != 0xD7)) {
      b = static_cast<unsigned char>(b + 0x20);
    } else if (b == 0x8A || b == 0x8C || b == 0x8E) {
      b = static_cast<unsigned char>(b + 0x10);
    } else if (b == 0x9F) {
      b = 0xFF;
    }
    c = static_cast<char>(b);
  }
  return out;
}

bool contiene(std::string_view campo, std::string_view parola) {
  return campo.find(parola) != std::string_view::npos;
}

bool campo_di_sezione(std::string_view campo) { return contiene(campo, "[") && contiene(campo, "]"); }

bool contiene_senza_maiuscole(std::string_view campo, std::string_view parola) {
  if (parola.size() > campo.size()) return false;
  for (size_t i = 0; i + parola.size() <= campo.size(); ++i) {
    size_t k = 0;
    while (k < parola.size() && minuscola_ascii(campo[i + k]) == minuscola_ascii(parola[k])) ++k;
    if (k == parola.size()) return true;
  }
  return false;
}
