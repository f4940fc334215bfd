// The framing of the language server's messages, and the places it maps.
#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "scenario/lsp_documenti.h"
#include "scenario/lsp_messaggi.h"
#include "scenario/lsp_posizioni.h"

namespace {

struct atteso {
  esito_messaggio esito;
  std::string corpo;        // for letto
  std::string perche_parte; // part of the reason, for the others
};

std::vector<lettura_messaggio> leggi_tutti(const std::string& ingresso) {
  std::istringstream in(ingresso);
  std::vector<lettura_messaggio> letti;
  for (int i = 0; i < 20; ++i) {
    letti.push_back(leggi_messaggio(in));
    if (letti.back().esito == esito_messaggio::fine) break;
  }
  return letti;
}

TEST(LspMessaggi, TableOfInputs) {
  const struct {
    const char* nome;
    std::string ingresso;
    std::vector<atteso> attesi;
  } casi[] = {
      {"two messages, with another header and LF alone",
       "Content-Length: 2\r\nContent-Type: x\r\n\r\n{}content-length:3\n\n[1]",
       {{esito_messaggio::letto, "{}", ""}, {esito_messaggio::letto, "[1]", ""}, {esito_messaggio::fine, "", ""}}},
      {"an empty input", "", {{esito_messaggio::fine, "", ""}}},
      {"blank lines before a header", "\r\n\r\nContent-Length: 1\r\n\r\nx",
       {{esito_messaggio::letto, "x", ""}, {esito_messaggio::fine, "", ""}}},
      {"a header without Content-Length, then a good message",
       "Content-Type: x\r\n\r\nContent-Length: 1\r\n\r\nx",
       {{esito_messaggio::scartato, "", "without Content-Length"}, {esito_messaggio::letto, "x", ""}}},
      {"a length that is no number", "Content-Length: -1\r\n\r\n",
       {{esito_messaggio::scartato, "", "not a number"}, {esito_messaggio::fine, "", ""}}},
      {"a header line without a colon", "Content-Length 5\r\n\r\n",
       {{esito_messaggio::scartato, "", "without ':'"}}},
      {"a length above 64 MiB, the input ending inside it", "Content-Length: 99999999999999999999999\r\n\r\n{}",
       {{esito_messaggio::fine, "", "above the limit of 64 MiB"}}},
      {"a length just above the limit is skipped, and the next message read",
       "Content-Length: 67108865\r\n\r\n" + std::string(67108865, 'a') + "Content-Length: 1\r\n\r\nz",
       {{esito_messaggio::scartato, "", "above the limit"}, {esito_messaggio::letto, "z", ""}}},
      {"a body cut short", "Content-Length: 10\r\n\r\nabc",
       {{esito_messaggio::fine, "", "ended after 3 of the 10 bytes"}}},
      {"a header cut short", "Content-Length: 10\r\n", {{esito_messaggio::fine, "", "inside a message header"}}},
      {"a header line of 10000 bytes", "X: " + std::string(10000, 'y') + "\r\nContent-Length: 1\r\n\r\nx",
       {{esito_messaggio::scartato, "", "longer than 4096"}}},
      {"an empty body", "Content-Length: 0\r\n\r\n", {{esito_messaggio::letto, "", ""}}},
  };
  for (const auto& c : casi) {
    SCOPED_TRACE(c.nome);
    const std::vector<lettura_messaggio> letti = leggi_tutti(c.ingresso);
    ASSERT_GE(letti.size(), c.attesi.size());
    for (size_t i = 0; i < c.attesi.size(); ++i) {
      EXPECT_EQ(letti[i].esito, c.attesi[i].esito) << i;
      if (c.attesi[i].esito == esito_messaggio::letto) {
        EXPECT_EQ(letti[i].corpo, c.attesi[i].corpo);
      }
      EXPECT_NE(letti[i].perche.find(c.attesi[i].perche_parte), std::string::npos) << letti[i].perche;
    }
  }
}

TEST(LspMessaggi, WrittenMessagesReadBack) {
  std::ostringstream out;
  scrivi_messaggio(out, "{\"a\":\"è\"}");
  EXPECT_EQ(out.str(), "Content-Length: 10\r\n\r\n{\"a\":\"è\"}");
  std::istringstream in(out.str());
  EXPECT_EQ(leggi_messaggio(in).corpo, "{\"a\":\"è\"}");
}

// "aè🚂b" on the second line, CR LF, LF and a lone CR between lines.
const std::string testo = "x\r\na\xC3\xA8\xF0\x9F\x9A\x82" "b\nz\rw";

TEST(LspPosizioni, ColumnsInUtf16AndUtf8) {
  const struct {
    int32_t colonna_compilazione;  // character from 1
    int32_t utf16, utf8;
  } casi[] = {{1, 0, 0}, {2, 1, 1}, {3, 2, 3}, {4, 4, 7}, {5, 5, 8}, {9, 5, 8}};
  for (const auto& c : casi) {
    SCOPED_TRACE(c.colonna_compilazione);
    EXPECT_EQ(posizione_del_carattere(testo, 2, c.colonna_compilazione, unita_colonna::utf_16).colonna, c.utf16);
    EXPECT_EQ(posizione_del_carattere(testo, 2, c.colonna_compilazione, unita_colonna::utf_8).colonna, c.utf8);
    int32_t riga = 0, colonna = 0;
    carattere_della_posizione(testo, {1, c.utf16}, unita_colonna::utf_16, riga, colonna);
    EXPECT_EQ(riga, 2);
    EXPECT_EQ(colonna, std::min(c.colonna_compilazione, 5));
  }
  // Inside the surrogate pair or inside a sequence: the character's start.
  EXPECT_EQ(offset_della_posizione(testo, {1, 3}, unita_colonna::utf_16), 6u);
  EXPECT_EQ(offset_della_posizione(testo, {1, 5}, unita_colonna::utf_8), 6u);
  // Past the end of a line, of the text.
  EXPECT_EQ(offset_della_posizione(testo, {1, 99}, unita_colonna::utf_16), 11u);
  EXPECT_EQ(offset_della_posizione(testo, {2, 0}, unita_colonna::utf_16), 12u);
  EXPECT_EQ(offset_della_posizione(testo, {3, 0}, unita_colonna::utf_16), 14u);
  EXPECT_EQ(offset_della_posizione(testo, {9, 9}, unita_colonna::utf_16), testo.size());
  EXPECT_EQ(posizione_dell_offset(testo, testo.size(), unita_colonna::utf_16).riga, 3);
  EXPECT_EQ(posizione_dell_offset(testo, 10, unita_colonna::utf_8).colonna, 7);
}

TEST(LspPosizioni, EditsOfARange) {
  std::string t = testo;
  sostituisci_intervallo(t, {{1, 1}, {1, 4}}, "E", unita_colonna::utf_16);
  EXPECT_EQ(t, "x\r\naEb\nz\rw");
  sostituisci_intervallo(t, {{2, 1}, {0, 1}}, "", unita_colonna::utf_16);  // either order
  EXPECT_EQ(t, "x\rw");
  sostituisci_intervallo(t, {{5, 0}, {5, 0}}, "\n[fine]", unita_colonna::utf_8);
  EXPECT_EQ(t, "x\rw\n[fine]");
}

TEST(LspDocumenti, UrisAndKindsOfText) {
  EXPECT_EQ(percorso_dell_uri("file:///home/a%20b/x_linea.txt"), "/home/a b/x_linea.txt");
  EXPECT_EQ(percorso_dell_uri("file:///c%3A/Testi/x.txt"), "c:/Testi/x.txt");
  EXPECT_EQ(percorso_dell_uri("file://localhost/tmp/%C3%A8.txt"), "/tmp/\xC3\xA8.txt");
  EXPECT_EQ(percorso_dell_uri("untitled:Untitled-1"), std::nullopt);
  EXPECT_EQ(uri_del_percorso("/tmp/a b/\xC3\xA8.txt"), "file:///tmp/a%20b/%C3%A8.txt");
  EXPECT_EQ(uri_del_percorso("c:/x.txt"), "file:///c%3A/x.txt");
  EXPECT_EQ(genere_del_file("/d/Morsalo_Torvia_linea.txt"), genere_testo::linea);
  EXPECT_EQ(genere_del_file("/d/Morsalo_Torvia_R20417-.TXT"), genere_testo::treno);
  EXPECT_EQ(genere_del_file("/d/_linea.txt"), genere_testo::nessuno);
  EXPECT_EQ(genere_del_file("/d/note.txt"), genere_testo::nessuno);
}

}  // namespace
