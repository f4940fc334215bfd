#include "text/codifica_sorgente.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

std::string utf16(std::u16string_view s, bool grande, bool marca = true) {
  std::string out;
  if (marca) out = grande ? "\xFE\xFF" : "\xFF\xFE";
  for (char16_t c : s) {
    const char alto = static_cast<char>(c >> 8), basso = static_cast<char>(c & 0xFF);
    out += grande ? alto : basso;
    out += grande ? basso : alto;
  }
  return out;
}

struct caso_codifica {
  const char* nome;
  std::string byte;
  codifica_richiesta richiesta;
  std::string atteso;  // Windows-1252
  codifica_letta letta;
  bool marca;
};

TEST(CodificaSorgente, ReadsEachEncodingAsWindows1252) {
  // "Calè, 3 €" in each form; 0xE8 is è and 0x80 is € in Windows-1252.
  const std::string cp = "Cal\xE8, 3 \x80\r\n";
  const std::vector<caso_codifica> casi = {
      {"utf-8 without a mark", "Cal\xC3\xA8, 3 \xE2\x82\xAC\r\n", codifica_richiesta::automatica, cp,
       codifica_letta::utf_8, false},
      {"utf-8 with a mark", "\xEF\xBB\xBF" "Cal\xC3\xA8, 3 \xE2\x82\xAC\r\n", codifica_richiesta::automatica, cp,
       codifica_letta::utf_8, true},
      {"utf-16 le", utf16(u"Cal\u00E8, 3 \u20AC\r\n", false), codifica_richiesta::automatica, cp,
       codifica_letta::utf_16_le, true},
      {"utf-16 be", utf16(u"Cal\u00E8, 3 \u20AC\r\n", true), codifica_richiesta::automatica, cp,
       codifica_letta::utf_16_be, true},
      {"windows-1252 as it is", cp, codifica_richiesta::automatica, cp, codifica_letta::windows_1252, false},
      // A UTF-8 sequence next to a byte that begins none: the text is not UTF-8.
      {"mixed bytes are windows-1252", "Cal\xC3\xA8 Cal\xE8\r\n", codifica_richiesta::automatica,
       "Cal\xC3\xA8 Cal\xE8\r\n", codifica_letta::windows_1252, false},
      {"ascii stays windows-1252", "pendenza, 0, 0\r\n", codifica_richiesta::automatica, "pendenza, 0, 0\r\n",
       codifica_letta::windows_1252, false},
      {"forced windows-1252 keeps utf-8 bytes", "Cal\xC3\xA8", codifica_richiesta::windows_1252, "Cal\xC3\xA8",
       codifica_letta::windows_1252, false},
      {"forced utf-8", "Cal\xC3\xA8", codifica_richiesta::utf_8, "Cal\xE8", codifica_letta::utf_8, false},
      // An overlong form and an encoded surrogate are not UTF-8.
      {"overlong form", "a\xC0\xAF", codifica_richiesta::automatica, "a\xC0\xAF", codifica_letta::windows_1252,
       false},
      {"encoded surrogate", "a\xED\xA0\x80", codifica_richiesta::automatica, "a\xED\xA0\x80",
       codifica_letta::windows_1252, false},
  };
  for (const caso_codifica& c : casi) {
    SCOPED_TRACE(c.nome);
    const testo_codificato t = leggi_codifica(c.byte, c.richiesta);
    EXPECT_FALSE(t.errore.has_value());
    EXPECT_EQ(t.byte, c.atteso);
    EXPECT_EQ(t.codifica, c.letta);
    EXPECT_EQ(t.con_marca, c.marca);
  }
}

struct caso_errore {
  const char* nome;
  std::string byte;
  codifica_richiesta richiesta;
  int32_t riga, colonna;
  uint32_t punto_codice;
  std::string carattere;
  std::string perche;
};

// The place is the character's as an editor counts it: after a multi-byte
// character, after a mark, after CR LF, LF or CR.
TEST(CodificaSorgente, ACharacterOutsideWindows1252IsRefusedAtItsPlace) {
  const std::vector<caso_errore> casi = {
      {"utf-8, after accented letters", "[generale]\r\nCal\xC3\xA8 \xC3\xA8 \xC5\x82", codifica_richiesta::automatica,
       2, 8, 0x142, "\xC5\x82", ""},
      {"utf-8 with a mark, first line", "\xEF\xBB\xBF\xC3\xA8\xE2\x86\x92", codifica_richiesta::automatica, 1, 2,
       0x2192, "\xE2\x86\x92", ""},
      {"utf-8, four bytes, after LF and CR", "a\nb\r\xC3\xA8\xF0\x9F\x9A\x86", codifica_richiesta::automatica, 3, 2,
       0x1F686, "\xF0\x9F\x9A\x86", ""},
      {"utf-16 le, a surrogate pair", utf16(u"x\r\nab\U0001F686", false), codifica_richiesta::automatica, 2, 3,
       0x1F686, "\xF0\x9F\x9A\x86", ""},
      {"utf-16 be", utf16(u"\u0141", true), codifica_richiesta::automatica, 1, 1, 0x141, "\xC5\x81", ""},
      {"forced utf-8, a byte that is not utf-8", "ab\r\nc\xE8", codifica_richiesta::utf_8, 2, 2, 0, "",
       "byte 0xE8 does not begin a valid UTF-8 character"},
      {"utf-16, odd length", utf16(u"ab", false) + "c", codifica_richiesta::automatica, 1, 3, 0, "",
       "the text ends in the middle of a UTF-16 character"},
      {"utf-16, lone surrogate", utf16(u"a\xDC00", false), codifica_richiesta::automatica, 1, 2, 0, "",
       "a lone UTF-16 surrogate 0xDC00"},
  };
  for (const caso_errore& c : casi) {
    SCOPED_TRACE(c.nome);
    const testo_codificato t = leggi_codifica(c.byte, c.richiesta);
    ASSERT_TRUE(t.errore.has_value());
    EXPECT_EQ(t.errore->luogo.riga, c.riga);
    EXPECT_EQ(t.errore->luogo.colonna, c.colonna);
    EXPECT_EQ(t.errore->punto_codice, c.punto_codice);
    EXPECT_EQ(t.errore->carattere, c.carattere);
    EXPECT_EQ(t.errore->perche, c.perche);
  }
}

TEST(CodificaSorgente, OptionWords) {
  EXPECT_EQ(codifica_da_nome("auto"), codifica_richiesta::automatica);
  EXPECT_EQ(codifica_da_nome("windows-1252"), codifica_richiesta::windows_1252);
  EXPECT_EQ(codifica_da_nome("utf-8"), codifica_richiesta::utf_8);
  EXPECT_FALSE(codifica_da_nome("latin1").has_value());
  EXPECT_STREQ(nome_codifica(codifica_letta::utf_16_be), "utf-16be");
}

}  // namespace
