// The built program, run as an author runs it: exit statuses and streams.
#include <gtest/gtest.h>

#if defined(SCENARIO_EXE) && !defined(_WIN32)

#include <sys/wait.h>

#include <cstdlib>
#include <regex>
#include <string>
#include <vector>

#include "tools/aiuti_prova.h"
#include "tools/json_prova.h"
#include "versione.h"

namespace {

namespace fs = std::filesystem;

struct esecuzione {
  int stato = -1;
  std::string out, err;
};

// A word for the shell, in single quotes.
std::string tra_apici(const std::string& s) {
  std::string q = "'";
  q += prova::sostituisci(s, "'", "'\\''");
  q += '\'';
  return q;
}

esecuzione esegui(const prova::cartella_temporanea& t, const std::vector<std::string>& parole) {
  std::string comando = tra_apici(SCENARIO_EXE);
  for (const std::string& p : parole) {
    comando += ' ';
    comando += tra_apici(p);
  }
  comando += " >";
  comando += tra_apici(t / "stdout");
  comando += " 2>";
  comando += tra_apici(t / "stderr");
  comando += " </dev/null";
  const int r = std::system(comando.c_str());
  esecuzione e;
  e.stato = WIFEXITED(r) ? WEXITSTATUS(r) : -1;
  e.out = prova::leggi_file(t / "stdout");
  e.err = prova::leggi_file(t / "stderr");
  return e;
}

TEST(Eseguibile, VersionOfTheProject) {
  prova::cartella_temporanea t;
  const esecuzione e = esegui(t, {"--version"});
  EXPECT_EQ(e.stato, 0);
  EXPECT_EQ(e.out, std::string("scenario ") + versione_progetto + "\n");
  EXPECT_EQ(e.err, "");
  // The version is the one CMake's project() gives, three numbers.
  EXPECT_TRUE(std::regex_match(std::string(versione_progetto), std::regex("[0-9]+\\.[0-9]+\\.[0-9]+")));
}

TEST(Eseguibile, HelpAndUnknownCommand) {
  prova::cartella_temporanea t;
  esecuzione e = esegui(t, {"--help"});
  EXPECT_EQ(e.stato, 0);
  EXPECT_EQ(e.out.rfind("usage: scenario <command>", 0), 0u);
  EXPECT_EQ(e.err, "");
  e = esegui(t, {"frob"});
  EXPECT_EQ(e.stato, 2);
  EXPECT_EQ(e.out, "");
  EXPECT_EQ(e.err.rfind("scenario: unknown command 'frob'\n\nusage: scenario <command>", 0), 0u);
}

// init, then compile what it wrote; then the same texts spoiled three ways.
TEST(Eseguibile, ExitStatusesOfACompile) {
  prova::cartella_temporanea t;
  const std::string linea = t / "testi/Morsalo_Torvia_linea.txt";
  const std::string treno = t / "testi/Morsalo_Torvia_R20417-.txt";
  ASSERT_EQ(esegui(t, {"init", t / "testi"}).stato, 0);

  esecuzione e = esegui(t, {"compile", linea, treno, "-o", t / "out", "--json"});
  EXPECT_EQ(e.stato, 0);
  EXPECT_EQ(e.err, "");
  const auto j = prova::leggi_json(e.out);
  ASSERT_TRUE(j.has_value()) << e.out;
  EXPECT_EQ(j->at("files").size(), 3u);
  const fs::path golden(SCENARIO_GOLDEN_DIR);
  EXPECT_TRUE(prova::leggi_file(t / "out/Morsalo_Torvia_R20417.dat") ==
              prova::leggi_file(golden / "Morsalo_Torvia_R20417.dat"));

  // An error recorded: no file, unless the partial ones are asked for.
  const std::string buono = prova::leggi_file(treno);
  prova::scrivi_file(treno, prova::modificato(buono, {{"segnale,    9450,", "segnale,    9550,"}}));
  e = esegui(t, {"compile", linea, treno, "-o", t / "out1"});
  EXPECT_EQ(e.stato, 1);
  EXPECT_EQ(e.err.rfind(treno + ":39:13: error 16 at 9550 m: ", 0), 0u) << e.err;
  EXPECT_FALSE(fs::exists(t / "out1/Morsalo_Torvia_R20417.sim"));
  e = esegui(t, {"compile", linea, treno, "-o", t / "out1", "--write-on-error"});
  EXPECT_EQ(e.stato, 1);
  EXPECT_TRUE(fs::exists(t / "out1/Morsalo_Torvia_R20417.sim"));
  e = esegui(t, {"check", linea, treno});
  EXPECT_EQ(e.stato, 1);
  EXPECT_EQ(e.err.rfind(treno + ":39:13: error 16 at 9550 m: ", 0), 0u) << e.err;
  prova::scrivi_file(treno, buono);

  // A text that is not there.
  e = esegui(t, {"compile", linea, t / "testi/Morsalo_Torvia_R1-.txt", "-o", t / "out2"});
  EXPECT_EQ(e.stato, 2);
  EXPECT_EQ(e.err, "scenario compile: cannot read " + (t / "testi/Morsalo_Torvia_R1-.txt") +
                       ": No such file or directory\n");
  EXPECT_FALSE(fs::exists(t / "out2"));

  // No grid: nothing written.
  prova::scrivi_file(linea, prova::modificato(prova::leggi_file(linea), {{"lunghezza percorso,    62000\r\n", ""}}));
  e = esegui(t, {"compile", linea, treno, "-o", t / "out3"});
  EXPECT_EQ(e.stato, 3);
  EXPECT_EQ(e.err.rfind(linea + ":9:1: error 26: the line text gives no line length\n", 0), 0u) << e.err;
  EXPECT_TRUE(fs::is_empty(t / "out3"));
}

}  // namespace

#endif
