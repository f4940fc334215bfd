#include "scenario/init.h"

#include <gtest/gtest.h>

#include <map>
#include <string>

#include "core/memorizza_percorso.h"
#include "scenario/compila.h"
#include "scenario/riferimento.h"
#include "text/archivio.h"
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
      {{}, "scenario init: no folder given\nusage: scenario init DIR [--example NAME] [--force]  (see 'scenario init --help')\n"},
      {{"a", "b"}, "scenario init: one folder only\nusage: scenario init DIR [--example NAME] [--force]  (see 'scenario init --help')\n"},
      {{"a", "--forse"},
       "scenario init: The following argument was not expected: --forse\nusage: scenario init DIR [--example NAME] [--force]  (see 'scenario init --help')\n"},
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

namespace {

using prova::cartella_temporanea;
namespace fs = std::filesystem;

TEST(Init, ListNamesTheStarters) {
  const prova::uscita u = prova::esegui(comando_init, {"--list"});
  EXPECT_EQ(u.stato, 0);
  EXPECT_EQ(u.err, "");
  EXPECT_EQ(u.out.rfind("  builtin   the built-in scenario", 0), 0u) << u.out;
  EXPECT_NE(u.out.find("\n  minimal   a 5 km line"), std::string::npos) << u.out;

  for (const std::vector<std::string>& a : {std::vector<std::string>{"--list", "dir"}, {"--example", "nuovo", "d"}}) {
    const prova::uscita v = prova::esegui(comando_init, a);
    EXPECT_EQ(v.stato, 2);
    EXPECT_EQ(v.out, "");
    EXPECT_NE(v.err, "");
  }
}

// The minimal starter holds what a first scenario needs, with every section
// opened by a comment, and compiles with neither error nor warning.
TEST(Init, MinimalStarterCompilesCleanAndHoldsEveryKind) {
  cartella_temporanea t;
  const prova::uscita u = prova::esegui(comando_init, {t / "mio", "--example", "minimal"});
  ASSERT_EQ(u.stato, 0) << u.err;
  const std::string linea = prova::unisci(t / "mio", "Minimo_linea.txt");
  const std::string treno = prova::unisci(t / "mio", "Minimo_M100-.txt");
  EXPECT_EQ(u.out, "wrote " + linea + "\nwrote " + treno + "\n");

  const prova::uscita c = prova::esegui(comando_compile, {linea, treno, "-o", t / "out"});
  EXPECT_EQ(c.stato, 0) << c.err;
  EXPECT_EQ(c.err, "");
  EXPECT_EQ(std::distance(fs::directory_iterator(t / "out"), fs::directory_iterator()), 3);

  std::map<std::string, int> quanti;
  for (const std::string& percorso : {linea, treno}) {
    const std::string testo = prova::leggi_file(percorso);
    std::vector<std::string> righe;
    for (size_t da = 0, a; (a = testo.find("\r\n", da)) != std::string::npos; da = a + 2) {
      righe.push_back(testo.substr(da, a - da));
    }
    for (size_t i = 0; i < righe.size(); ++i) {
      const std::string& r = righe[i];
      if (r.find(',') != std::string::npos) {
        for (const record_testo* k : record_per_campo(r.substr(0, r.find(',')))) quanti[k->nome] += 1;
      }
      // A header opens a section; the comment after it is one field, so it
      // holds no comma, and one comment is within every limit.
      if (r.front() != '[' || r == "[fine]" || r == "[codici]") continue;
      ASSERT_LT(i + 1, righe.size()) << r;
      EXPECT_NE(righe[i + 1].find('-'), std::string::npos) << r;
      EXPECT_EQ(righe[i + 1].find(','), std::string::npos) << righe[i + 1];
    }
  }
  for (const char* k : {"pendenza", "curva", "montagna", "indicatori_vmax", "cartello_indicatore", "segnale",
                        "rallentamento", "lunghezza percorso"}) {
    EXPECT_GE(quanti[k], 1) << k;
  }
  EXPECT_EQ(quanti["stazione"], 2);
  EXPECT_GE(quanti["velocita"], 2);

  // Both stations have a scheduled time.
  const modello m = [&] {
    modello x;
    x.nome_scenario = "Minimo";
    x.codice_treno = "M100";
    archivio_memoria a;
    a.scrivi("Minimo_linea.txt", prova::leggi_file(linea));
    a.scrivi("Minimo_M100-.txt", prova::leggi_file(treno));
    memorizza_percorso(x, a, 1);
    return x;
  }();
  EXPECT_EQ(m.numero_errore, 0);
  EXPECT_EQ(m.punti[1].orario, 8 * 3600);
  EXPECT_EQ(m.punti[2].orario, 8 * 3600 + 5 * 60);
}

}  // namespace
