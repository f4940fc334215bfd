// What keeps an author's work safe: failed compiles that keep the good files,
// `check`, --strict, and texts saved in other encodings.
#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "scenario/compila.h"
#include "scenario/verifica.h"
#include "text/codifica.h"
#include "tools/aiuti_prova.h"
#include "tools/json_prova.h"

namespace {

namespace fs = std::filesystem;
using prova::leggi_file;
using prova::modifiche;

// Two texts in a folder of their own, and a folder for the output.
struct testi {
  prova::cartella_temporanea t;
  std::string linea, treno, uscita;

  testi(const std::string& l, const std::string& tr) {
    linea = t.scrivi("testi/Morsalo_Torvia_linea.txt", l);
    treno = t.scrivi("testi/Morsalo_Torvia_R20417-.txt", tr);
    uscita = t / "out";
  }
  explicit testi(const modifiche& l = {}, const modifiche& tr = {})
      : testi(prova::modificato(prova::testo_linea_incorporato(), l),
              prova::modificato(prova::testo_treno_incorporato(), tr)) {}

  prova::uscita compila(std::vector<std::string> opzioni = {}) const {
    std::vector<std::string> a = {linea, treno, "-o", uscita};
    a.insert(a.end(), opzioni.begin(), opzioni.end());
    return prova::esegui(comando_compile, a);
  }
  prova::uscita controlla(std::vector<std::string> opzioni = {}) const {
    std::vector<std::string> a = {linea, treno};
    a.insert(a.end(), opzioni.begin(), opzioni.end());
    return prova::esegui(comando_check, a);
  }

  std::map<std::string, std::string> prodotti() const {
    std::map<std::string, std::string> f;
    if (!fs::exists(uscita)) return f;
    for (const auto& e : fs::directory_iterator(uscita)) f[e.path().filename().string()] = leggi_file(e.path());
    return f;
  }

  std::string con_percorsi(const std::string& s) const {
    return prova::sostituisci(prova::sostituisci(prova::sostituisci(s, "{L}", linea), "{T}", treno), "{O}", uscita);
  }
};

const modifiche curva_senza_classe = {{"curvad4,  550,", "curvad,  550,"}};

// A good compile, then one that records an error into the same folder: the
// good files stay, byte for byte, and the author is told so.
TEST(FileConservati, AFailedCompileKeepsTheFilesOfTheLastGoodOne) {
  testi d;
  ASSERT_EQ(d.compila().stato, 0);
  const auto buoni = d.prodotti();
  ASSERT_EQ(buoni.size(), 3u);

  prova::scrivi_file(d.linea, prova::modificato(prova::testo_linea_incorporato(), curva_senza_classe));
  prova::uscita u = d.compila();
  EXPECT_EQ(u.stato, 1);
  EXPECT_EQ(u.out, "");
  EXPECT_NE(u.err.find("error 103"), std::string::npos) << u.err;
  EXPECT_TRUE(u.err.ends_with(d.con_percorsi(
      "\nno file written: error 103 recorded; the files in {O} are those of an earlier compile\n")))
      << u.err;
  EXPECT_TRUE(d.prodotti() == buoni);

  // JSON says what was written: nothing.
  u = d.compila({"--json"});
  EXPECT_EQ(u.stato, 1);
  const auto j = prova::leggi_json(u.out);
  ASSERT_TRUE(j.has_value()) << u.out;
  ASSERT_TRUE(j->contains("files"));
  EXPECT_TRUE((*j)["files"].empty());
  ASSERT_TRUE(j->contains("kept"));
  EXPECT_TRUE((*j)["kept"].get<bool>());
  EXPECT_TRUE(d.prodotti() == buoni);

  // Asked for, the partial files are written as the builder writes them.
  u = d.compila({"--write-on-error", "--json"});
  EXPECT_EQ(u.stato, 1);
  const auto k = prova::leggi_json(u.out);
  ASSERT_TRUE(k.has_value());
  EXPECT_EQ((*k)["files"].size(), 3u);
  EXPECT_FALSE((*k)["kept"].get<bool>());
  EXPECT_FALSE(d.prodotti() == buoni);
}

TEST(FileConservati, AnEmptyFolderIsSaidToHoldNoEarlierFiles) {
  testi d(curva_senza_classe);
  const prova::uscita u = d.compila();
  EXPECT_EQ(u.stato, 1);
  EXPECT_TRUE(u.err.ends_with(d.con_percorsi("no file written: error 103 recorded; {O} holds no files of an earlier compile\n")))
      << u.err;
  EXPECT_TRUE(d.prodotti().empty());
}

// A field that matches no record is a warning: with --strict it fails the
// compile and the check alike.
TEST(Severo, WarningsCountAsErrors) {
  testi d(modifiche{{"sfondo uno,    0", "sfondo un0,    0"}});
  ASSERT_EQ(d.compila().stato, 0);
  const auto prima = d.prodotti();
  prova::scrivi_file(d.linea, prova::modificato(prova::testo_linea_incorporato(), {{"sfondo uno,    0", "sfondo un1,    0"}}));

  prova::uscita u = d.compila({"--strict"});
  EXPECT_EQ(u.stato, 1);
  EXPECT_TRUE(u.err.ends_with(
      d.con_percorsi("no file written: 1 warning counted as an error (--strict); the files in {O} are those of an "
                     "earlier compile\n")))
      << u.err;
  EXPECT_TRUE(d.prodotti() == prima);

  EXPECT_EQ(d.controlla().stato, 0);
  EXPECT_EQ(d.controlla({"--strict"}).stato, 1);
  EXPECT_EQ(d.compila().stato, 0);
}

TEST(Controllo, WritesNothingAndReportsInTheOrderOfTheTexts) {
  testi d(modifiche{{"sfondo uno,    0", "sfondo un0,    0"}}, modifiche{{"segnale,    9450,", "segnale,    9550,"}});
  const prova::uscita u = d.controlla();
  EXPECT_EQ(u.stato, 1);
  EXPECT_EQ(u.out, "");
  const size_t avviso = u.err.find(d.linea + ":6:1: warning:");
  const size_t errore = u.err.find(d.treno + ":39:13: error 16 at 9550 m:");
  EXPECT_NE(avviso, std::string::npos) << u.err;
  EXPECT_NE(errore, std::string::npos) << u.err;
  EXPECT_LT(avviso, errore);
  EXPECT_FALSE(fs::exists(d.uscita));

  const prova::uscita j = d.controlla({"--json"});
  EXPECT_EQ(j.stato, 1);
  const auto v = prova::leggi_json(j.out);
  ASSERT_TRUE(v.has_value()) << j.out;
  EXPECT_EQ((*v)["numero_errore"].get<int>(), 16);
  EXPECT_FALSE(v->contains("files"));
  EXPECT_EQ((*v)["warnings"].size(), 1u);

  testi buono;
  const prova::uscita b = buono.controlla();
  EXPECT_EQ(b.stato, 0);
  EXPECT_EQ(b.err, "");
  EXPECT_EQ(b.out, "");

  EXPECT_EQ(prova::esegui(comando_check, {buono.linea}).stato, 2);
  EXPECT_EQ(prova::esegui(comando_check, {buono.linea, buono.t / "nessuno.txt"}).stato, 2);
  EXPECT_EQ(buono.controlla({"--encoding", "latin9"}).stato, 2);
}

std::string utf16(const std::string& cp1252, bool grande) {
  std::string out = grande ? "\xFE\xFF" : "\xFF\xFE";
  for (char16_t u : cp1252_a_utf16(cp1252)) {
    const char alto = static_cast<char>(u >> 8), basso = static_cast<char>(u & 0xFF);
    out += grande ? alto : basso;
    out += grande ? basso : alto;
  }
  return out;
}

// A sign text with an accented letter, saved in each encoding, compiles to
// the bytes of the Windows-1252 text.
TEST(Codifiche, EachEncodingCompilesToTheWindows1252Files) {
  const modifiche cal = {{"(PROVINCIA)(DI TORVIA)", "(PROVINCIA)(DI CAL\xC8)"}};
  const std::string linea = prova::modificato(prova::testo_linea_incorporato(), cal);
  const std::string treno = prova::testo_treno_incorporato();
  testi riferimento(linea, treno);
  ASSERT_EQ(riferimento.compila().stato, 0);
  const auto attesi = riferimento.prodotti();

  struct caso {
    const char* nome;
    std::string linea, treno;
    const char* nota;  // on the line text; empty: no note
    std::vector<std::string> opzioni;
  };
  const std::vector<caso> casi = {
      {"windows-1252", linea, treno, "", {}},
      {"utf-8", cp1252_a_utf8(linea), treno, "read as UTF-8 and converted", {}},
      {"utf-8 with a mark", "\xEF\xBB\xBF" + cp1252_a_utf8(linea), treno,
       "read as UTF-8 (it has a byte-order mark) and converted", {}},
      {"utf-16 le", utf16(linea, false), treno, "read as UTF-16 (little-endian)", {}},
      {"utf-16 be", utf16(linea, true), utf16(treno, true), "read as UTF-16 (big-endian)", {}},
      {"utf-8 forced on both", cp1252_a_utf8(linea), cp1252_a_utf8(treno), "read as UTF-8 and converted",
       {"--encoding", "utf-8"}},
  };
  for (const caso& c : casi) {
    SCOPED_TRACE(c.nome);
    testi d(c.linea, c.treno);
    const prova::uscita u = d.compila(c.opzioni);
    EXPECT_EQ(u.stato, 0) << u.err;
    const std::string nota = c.nota;
    if (nota.empty()) {
      EXPECT_EQ(u.err, "");
    } else {
      EXPECT_EQ(u.err.rfind(d.linea + ": note: " + nota, 0), 0u) << u.err;
    }
    EXPECT_TRUE(d.prodotti() == attesi);
    EXPECT_EQ(leggi_file(d.linea), c.linea);
  }
}

TEST(Codifiche, WhatCannotBeWindows1252IsAUsageError) {
  const std::string linea = prova::testo_linea_incorporato();
  struct caso {
    const char* nome;
    std::string byte;
    std::vector<std::string> opzioni;
    std::string err;
  };
  const std::vector<caso> casi = {
      {"a character outside the code page",
       prova::sostituisci(linea, "(PROVINCIA)(DI TORVIA)", "(PROVINCIA)(DI \xC3\xA8\xC5\x81\xC3\xB3" "DZ)"), {},
       "{L}:61:48: error: the character \"\xC5\x81\" (U+0141) has no Windows-1252 byte, and the simulator reads "
       "Windows-1252 texts: write it with a character Windows-1252 holds (the text was read as UTF-8)\n"},
      {"a byte that is not UTF-8, UTF-8 forced", prova::sostituisci(linea, "(DI TORVIA)", "(DI CAL\xC8)"),
       {"--encoding", "utf-8"},
       "{L}:61:50: error: the text is not valid UTF-8: byte 0xC8 does not begin a valid UTF-8 character; give "
       "--encoding windows-1252 for a Windows-1252 text\n"},
  };
  for (const caso& c : casi) {
    SCOPED_TRACE(c.nome);
    testi d(c.byte, prova::testo_treno_incorporato());
    const prova::uscita u = d.compila(c.opzioni);
    EXPECT_EQ(u.stato, 2);
    EXPECT_EQ(u.err, d.con_percorsi(c.err));
    EXPECT_TRUE(d.prodotti().empty());
    const prova::uscita k = d.controlla(c.opzioni);
    EXPECT_EQ(k.stato, 2);
    EXPECT_EQ(k.err, d.con_percorsi(c.err));
  }
}

// Columns count characters as an editor shows them, not the bytes of the file.
TEST(Codifiche, ColumnsOfAConvertedTextCountCharacters) {
  const std::string treno = prova::modificato(prova::testo_treno_incorporato(), {{"sabbia,    300", "sabbia \xE8,    3x0"}});
  testi d(prova::testo_linea_incorporato(), "\xEF\xBB\xBF" + cp1252_a_utf8(treno));
  const prova::uscita u = d.controlla();
  EXPECT_EQ(u.stato, 1);
  EXPECT_NE(u.err.find(d.treno + ":4:14: error 25"), std::string::npos) << u.err;
  EXPECT_NE(u.err.find("sabbia \xC3\xA8,    3x0\n             ^\n"), std::string::npos) << u.err;
}

// Mixed bytes are not UTF-8: the text is read byte for byte, as the builder does.
TEST(Codifiche, MixedBytesAreWindows1252) {
  const std::string linea =
      prova::sostituisci(prova::testo_linea_incorporato(), "(DI TORVIA)", "(DI CAL\xC3\xA8 CAL\xE8)");
  testi d(linea, prova::testo_treno_incorporato());
  const prova::uscita u = d.compila({"--json"});
  EXPECT_EQ(u.stato, 0);
  const auto j = prova::leggi_json(u.out);
  ASSERT_TRUE(j.has_value()) << u.out;
  const auto& codifiche = (*j)["encodings"];
  ASSERT_EQ(codifiche.size(), 2u);
  EXPECT_EQ(codifiche[0]["encoding"], "windows-1252");
  EXPECT_FALSE(codifiche[0]["converted"].get<bool>());
  testi r(linea, prova::testo_treno_incorporato());
  ASSERT_EQ(r.compila({"--encoding", "windows-1252"}).stato, 0);
  EXPECT_TRUE(d.prodotti() == r.prodotti());
}

}  // namespace
