#include "scenario/init.h"

#include <gtest/gtest.h>

#include <string>

#include "tools/aiuti_prova.h"

namespace {

using prova::cartella_temporanea;
using prova::leggi_file;
namespace fs = std::filesystem;

const char* const linea = "Morsalo_Torvia_linea.txt";
const char* const treno = "Morsalo_Torvia_R20417-.txt";

TEST(Init, WritesTheBuiltInTextsIntoANewFolder) {
  cartella_temporanea t;
  const std::string dir = t / "a/b";
  const prova::uscita u = prova::esegui(comando_init, {dir});
  EXPECT_EQ(u.stato, 0);
  EXPECT_EQ(u.err, "");
  EXPECT_EQ(u.out, "wrote " + prova::unisci(dir, linea) + "\nwrote " + prova::unisci(dir, treno) + "\n");
  // Exactly the bytes the builder writes, and nothing else.
  EXPECT_TRUE(leggi_file(fs::path(dir) / linea) == prova::testo_linea_incorporato());
  EXPECT_TRUE(leggi_file(fs::path(dir) / treno) == prova::testo_treno_incorporato());
  EXPECT_EQ(std::distance(fs::directory_iterator(dir), fs::directory_iterator()), 2);
}

// An existing file stops the command before anything is written; --force
// replaces both.
TEST(Init, RefusesToReplaceAFileUnlessForced) {
  cartella_temporanea t;
  prova::scrivi_file(t.percorso() / treno, "my own train");
  prova::uscita u = prova::esegui(comando_init, {t.percorso().string()});
  EXPECT_EQ(u.stato, 2);
  EXPECT_EQ(u.out, "");
  EXPECT_EQ(u.err, "scenario init: " + (t / treno) + " already exists; use --force to replace it\n");
  EXPECT_EQ(leggi_file(t.percorso() / treno), "my own train");
  EXPECT_FALSE(fs::exists(t.percorso() / linea));

  u = prova::esegui(comando_init, {"--force", t.percorso().string()});
  EXPECT_EQ(u.stato, 0);
  EXPECT_TRUE(leggi_file(t.percorso() / linea) == prova::testo_linea_incorporato());
  EXPECT_TRUE(leggi_file(t.percorso() / treno) == prova::testo_treno_incorporato());
}

TEST(Init, RefusesWhatItCannotWrite) {
  cartella_temporanea t;
  prova::scrivi_file(t.percorso() / "file", "x");
  fs::create_directories(t.percorso() / "d" / linea);
  struct caso {
    std::vector<std::string> argomenti;
    std::string errore;
  };
  const caso casi[] = {
      {{t / "file"}, "scenario init: cannot write into " + (t / "file") + ": it is not a folder\n"},
      {{t / "d", "--force"}, "scenario init: cannot write " + prova::unisci(t / "d", linea) + ": it is a folder\n"},
      {{}, "scenario init: no folder given\nusage: scenario init DIR [--force]  (see 'scenario init --help')\n"},
      {{"a", "b"}, "scenario init: one folder only\nusage: scenario init DIR [--force]  (see 'scenario init --help')\n"},
      {{"a", "--forse"},
       "scenario init: The following argument was not expected: --forse\nusage: scenario init DIR [--force]  (see 'scenario init --help')\n"},
  };
  for (const caso& c : casi) {
    const prova::uscita u = prova::esegui(comando_init, c.argomenti);
    EXPECT_EQ(u.stato, 2);
    EXPECT_EQ(u.out, "");
    EXPECT_EQ(u.err, c.errore);
  }
  EXPECT_FALSE(fs::exists(t.percorso() / "d" / treno));
}

}  // namespace
