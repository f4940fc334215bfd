#include "text/codifica_sorgente.h"

#include <cstdio>

#include "text/codifica.h"

namespace {

bool inizia_con(std::string_view s, std::string_view marca) { return s.substr(0, marca.size()) == marca; }

// One UTF-8 sequence at `i`: its code point, and `i` moved past it; nothing
// when the bytes there are not valid UTF-8.
std::optional<uint32_t> sequenza_utf8(std::string_view s, size_t& i) {
  const carattere_utf8 c = leggi_utf8(s.substr(i));
  if (c.lunghezza == 0) return std::nullopt;
  i += c.lunghezza;
  return static_cast<uint32_t>(c.punto);
}

// Valid UTF-8 with at least one sequence beyond ASCII.
bool sembra_utf8(std::string_view s) {
  bool alto = false;
  for (size_t i = 0; i < s.size();) {
    if (static_cast<unsigned char>(s[i]) >= 0x80) alto = true;
    if (!sequenza_utf8(s, i)) return false;
  }
  return alto;
}

std::string in_utf8(uint32_t cp) {
  std::string out;
  aggiungi_utf8(out, static_cast<char32_t>(cp));
  return out;
}

std::string esadecimale(unsigned v, int cifre) {
  char b[16];
  std::snprintf(b, sizeof b, "%0*X", cifre, v);
  return b;
}

// Builds the Windows-1252 text character by character, counting lines and
// columns as the compile's reader does (CR LF, LF or CR end a line).
class conversione {
 public:
  explicit conversione(testo_codificato& t) : t_(t) {}

  // False once a character failed.
  bool aggiungi(uint32_t cp) {
    if (cp == '\n' && ultimo_ == '\r') {
      ultimo_ = cp;
      t_.byte += '\n';
      return true;
    }
    const std::optional<unsigned char> b = byte_cp1252(cp);
    if (!b) {
      t_.errore = errore_codifica{{riga_, colonna_}, cp, in_utf8(cp), {}};
      return false;
    }
    t_.byte += static_cast<char>(*b);
    ultimo_ = cp;
    if (cp == '\r' || cp == '\n') {
      ++riga_;
      colonna_ = 1;
    } else {
      ++colonna_;
    }
    return true;
  }

  void fallisce(std::string perche) { t_.errore = errore_codifica{{riga_, colonna_}, 0, {}, std::move(perche)}; }

 private:
  testo_codificato& t_;
  int32_t riga_ = 1;
  int32_t colonna_ = 1;
  uint32_t ultimo_ = 0;
};

void da_utf8(std::string_view s, testo_codificato& t) {
  conversione c(t);
  for (size_t i = 0; i < s.size();) {
    const size_t inizio = i;
    const std::optional<uint32_t> cp = sequenza_utf8(s, i);
    if (!cp) {
      c.fallisce("byte 0x" + esadecimale(static_cast<unsigned char>(s[inizio]), 2) +
                 " does not begin a valid UTF-8 character");
      return;
    }
    if (!c.aggiungi(*cp)) return;
  }
}

void da_utf16(std::string_view s, bool grande, testo_codificato& t) {
  conversione c(t);
  auto unita = [&](size_t i) -> uint32_t {
    const auto a = static_cast<unsigned char>(s[i]);
    const auto b = static_cast<unsigned char>(s[i + 1]);
    return grande ? (a << 8 | b) : (b << 8 | a);
  };
  for (size_t i = 0; i < s.size();) {
    if (i + 2 > s.size()) {
      c.fallisce("the text ends in the middle of a UTF-16 character");
      return;
    }
    uint32_t cp = unita(i);
    i += 2;
    if (cp >= 0xDC00 && cp <= 0xDFFF) {
      c.fallisce("a lone UTF-16 surrogate 0x" + esadecimale(cp, 4));
      return;
    }
    if (cp >= 0xD800 && cp <= 0xDBFF) {
      const uint32_t basso = i + 2 <= s.size() ? unita(i) : 0;
      if (basso < 0xDC00 || basso > 0xDFFF) {
        c.fallisce("a lone UTF-16 surrogate 0x" + esadecimale(cp, 4));
        return;
      }
      i += 2;
      cp = 0x10000 + ((cp - 0xD800) << 10) + (basso - 0xDC00);
    }
    if (!c.aggiungi(cp)) return;
  }
}

}  // namespace

testo_codificato leggi_codifica(std::string_view byte, codifica_richiesta richiesta) {
  testo_codificato t;
  if (richiesta == codifica_richiesta::windows_1252) {
    t.byte = std::string(byte);
    return t;
  }
  const std::string_view bom_utf8 = "\xEF\xBB\xBF";
  if (inizia_con(byte, bom_utf8)) {
    t.codifica = codifica_letta::utf_8;
    t.con_marca = true;
    da_utf8(byte.substr(bom_utf8.size()), t);
    return t;
  }
  if (richiesta == codifica_richiesta::automatica) {
    const bool le = inizia_con(byte, "\xFF\xFE");
    if (le || inizia_con(byte, "\xFE\xFF")) {
      t.codifica = le ? codifica_letta::utf_16_le : codifica_letta::utf_16_be;
      t.con_marca = true;
      da_utf16(byte.substr(2), !le, t);
      return t;
    }
    if (!sembra_utf8(byte)) {
      t.byte = std::string(byte);
      return t;
    }
  }
  t.codifica = codifica_letta::utf_8;
  da_utf8(byte, t);
  return t;
}

const char* nome_codifica(codifica_letta c) {
  switch (c) {
    case codifica_letta::utf_8:
      return "utf-8";
    case codifica_letta::utf_16_le:
      return "utf-16le";
    case codifica_letta::utf_16_be:
      return "utf-16be";
    default:
      return "windows-1252";
  }
}

std::optional<codifica_richiesta> codifica_da_nome(std::string_view nome) {
  if (nome == "auto") return codifica_richiesta::automatica;
  if (nome == "windows-1252" || nome == "cp1252") return codifica_richiesta::windows_1252;
  if (nome == "utf-8" || nome == "utf8") return codifica_richiesta::utf_8;
  return std::nullopt;
}
