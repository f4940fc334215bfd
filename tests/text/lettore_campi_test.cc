#include "text/lettore_campi.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "model/errore_esecuzione.h"

namespace {

// A script of reads: 't' text field, 'n' number field. The result lists each
// field as read, "!" for a run-time failure (which ends the script), and "$"
// when the end of the text has been reached after the last read.
std::vector<std::string> leggi(const std::string& testo, const std::string& letture) {
  lettore_campi l(testo);
  std::vector<std::string> esito;
  try {
    for (char c : letture) {
      if (c == 't') esito.push_back(l.leggi_testo());
      if (c == 'n') esito.push_back(std::to_string(l.leggi_numero()));
    }
  } catch (const errore_esecuzione&) {
    esito.push_back("!");
    return esito;
  }
  if (l.fine()) esito.push_back("$");
  return esito;
}

using V = std::vector<std::string>;

TEST(LettoreCampi, ReadsFieldsByTheRules) {
  struct caso {
    const char* testo;
    const char* letture;
    V atteso;
  };
  const caso casi[] = {
      // Text fields run to a comma or a line end and lose their outer blanks.
      {"lunghezza percorso,    62000\r\n", "tn", {"lunghezza percorso", "62000", "$"}},
      {"  a b  ,c\r\n", "tt", {"a b", "c", "$"}},
      {"\tx\t\r\n", "t", {"x", "$"}},
      // Numbers may be separated by blanks alone.
      {"orologio,    12              42            20 \r\n", "tnnn",
       {"orologio", "12", "42", "20", "$"}},
      {"-4,-0\r\n", "nn", {"-4", "0", "$"}},
      // After a number: its blanks, then one comma or one line end.
      {"5 ,x", "nt", {"5", "x", "$"}},
      {"5,\r\nx", "ntt", {"5", "", "x", "$"}},
      // Line ends: CR LF, LF, CR; a last line without one reads the same.
      {"a\nb\rc\r\nd", "tttt", {"a", "b", "c", "d", "$"}},
      {"[fine]", "t", {"[fine]", "$"}},
      // A blank line is an empty field; a double quote is an ordinary character.
      {"\r\n\"q\",x\r\n", "ttt", {"", "\"q\"", "x", "$"}},
      // The end is reached only when no character at all remains.
      {"[fine]\r\n\r\n", "t", {"[fine]"}},
      // Not numbers: a plus sign, a point, trailing letters, a lone minus, nothing.
      {"+5", "n", {"!"}},
      {"1.5", "n", {"!"}},
      {"12abc", "n", {"!"}},
      {"-,1", "n", {"!"}},
      {",1", "n", {"!"}},
      {"\r\n1", "n", {"!"}},
      {"99999999999999999999", "n", {"!"}},
      // A read when nothing remains fails, for both kinds of field.
      {"x", "tt", {"x", "!"}},
      {"1", "nn", {"1", "!"}},
      {"", "t", {"!"}},
  };
  for (const caso& c : casi) {
    SCOPED_TRACE(c.testo);
    EXPECT_EQ(leggi(c.testo, c.letture), c.atteso);
  }
}

TEST(LettoreCampi, NumbersMustFitTheirWidth) {
  lettore_campi l("2147483647,2147483648,32767,-32769,255,256,-1");
  EXPECT_EQ(l.leggi_long(), 2147483647);
  EXPECT_THROW(l.leggi_long(), errore_esecuzione);
  EXPECT_EQ(l.leggi_intero(), 32767);
  EXPECT_THROW(l.leggi_intero(), errore_esecuzione);
  EXPECT_EQ(l.leggi_byte(), 255);
  EXPECT_THROW(l.leggi_byte(), errore_esecuzione);
  EXPECT_THROW(l.leggi_byte(), errore_esecuzione);
}

TEST(LettoreCampi, KnowsWhereEachFieldBegins) {
  lettore_campi l("[generale]\r\nsfondo uno,    7\nx\r\n");
  l.leggi_testo();
  EXPECT_EQ(l.luogo().riga, 1);
  l.leggi_testo();
  EXPECT_EQ(l.luogo().riga, 2);
  EXPECT_EQ(l.luogo().colonna, 1);
  l.leggi_numero();
  EXPECT_EQ(l.luogo().riga, 2);
  EXPECT_EQ(l.luogo().colonna, 16);
  l.leggi_testo();
  EXPECT_EQ(l.luogo().riga, 3);
  EXPECT_EQ(l.testo_campo(), "x");
}

TEST(LettoreCampi, KeepsTheTextOfTheFieldThatFailed) {
  lettore_campi l("pendenza, 4.5,  300\r\n");
  l.leggi_testo();
  EXPECT_THROW(l.leggi_long(), errore_esecuzione);
  EXPECT_EQ(l.testo_campo(), "4.5");
  EXPECT_EQ(l.motivo(), motivo_fallimento::non_numero);
  EXPECT_EQ(l.campi_iniziati(), 2u);
  lettore_campi b("300\r\n");
  EXPECT_THROW(b.leggi_byte(), errore_esecuzione);
  EXPECT_EQ(b.testo_campo(), "300");
  EXPECT_EQ(b.motivo(), motivo_fallimento::numero_troppo_largo);
  EXPECT_EQ(b.massimo(), 255);
}

// Lines end at CR LF, LF or CR; a last line without an end counts.
TEST(LettoreCampi, SplitsATextIntoItsLines) {
  EXPECT_EQ(righe_del_testo("a\r\nb\nc\rd"), (std::vector<std::string>{"a", "b", "c", "d"}));
  EXPECT_EQ(righe_del_testo("a\r\n\r\n"), (std::vector<std::string>{"a", ""}));
  EXPECT_TRUE(righe_del_testo("").empty());
}

}  // namespace
