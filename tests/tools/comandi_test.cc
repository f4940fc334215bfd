#include "scenario/comandi.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "scenario/comando.h"

namespace {

struct uscita {
  int stato;
  std::string out, err;
};

uscita esegui(std::vector<std::string> parole) {
  parole.insert(parole.begin(), "scenario");
  std::vector<char*> argv;
  for (std::string& p : parole) argv.push_back(p.data());
  argv.push_back(nullptr);
  std::ostringstream out, err;
  const int stato = esegui_scenario(static_cast<int>(parole.size()), argv.data(), out, err);
  return {stato, out.str(), err.str()};
}

// `help X` and `X --help` print the same text, made from the one definition
// of X; the tool's own help lists every command of the table.
TEST(Comandi, Help) {
  const uscita generale = esegui({"--help"});
  EXPECT_EQ(generale.stato, 0);
  EXPECT_EQ(generale.out.rfind("usage: scenario <command>", 0), 0u);
  for (const std::vector<std::string>& parole :
       std::vector<std::vector<std::string>>{{"-h"}, {"help"}, {"help", "help"}}) {
    EXPECT_EQ(esegui(parole).out, generale.out);
  }
  for (const voce_comando& v : comandi_scenario()) {
    SCOPED_TRACE(v.nome);
    EXPECT_NE(generale.out.find(std::string("  ") + v.nome + " "), std::string::npos);
    const uscita aiuto = esegui({"help", v.nome});
    EXPECT_EQ(aiuto.stato, 0);
    EXPECT_EQ(aiuto.err, "");
    EXPECT_EQ(aiuto.out.rfind(std::string("usage: scenario ") + v.uso + "\n", 0), 0u) << aiuto.out;
    for (const char* h : {"--help", "-h"}) EXPECT_EQ(esegui({v.nome, h}).out, aiuto.out);
    // Help wins over everything else on the line.
    EXPECT_EQ(esegui({v.nome, "a", "--bogus", "--help"}).out, aiuto.out);
    // Help lines fit a console of 80 columns.
    std::istringstream righe(aiuto.out);
    for (std::string r; std::getline(righe, r);) EXPECT_LE(r.size(), 80u) << r;
  }
}

TEST(Comandi, UsageErrorsGoToStandardErrorWithStatus2) {
  const std::string aiuto = esegui({"--help"}).out;
  struct caso {
    std::vector<std::string> parole;
    std::string primo_rigo;
  };
  const caso casi[] = {
      {{}, "scenario: no command given"},
      {{"frob"}, "scenario: unknown command 'frob'"},
      {{"--frob"}, "scenario: unknown command '--frob'"},
      {{"help", "frob"}, "scenario: unknown command 'frob'"},
      {{"help", "init", "compile"}, "scenario: help takes one command at most"},
  };
  for (const caso& c : casi) {
    SCOPED_TRACE(c.primo_rigo);
    const uscita u = esegui(c.parole);
    EXPECT_EQ(u.stato, 2);
    EXPECT_EQ(u.out, "");
    EXPECT_EQ(u.err, c.primo_rigo + "\n\n" + aiuto);
  }
}

// A subcommand's usage error: what is wrong, then its usage line.
TEST(Comandi, SubcommandUsageErrors) {
  struct caso {
    std::vector<std::string> parole;
    std::string errore;
  };
  const std::string uso = "usage: scenario compile LINE_TEXT TRAIN_TEXT -o OUTDIR [options]  "
                          "(see 'scenario compile --help')\n";
  const caso casi[] = {
      {{"compile", "a", "b", "-o", "x", "--jsn"}, "scenario compile: The following argument was not expected: --jsn\n"},
      {{"compile", "a", "b", "-o", "x", "-o", "y"}, "scenario compile: --output: At Most 1 required but received 2\n"},
      {{"compile", "a", "b", "-o"}, "scenario compile: --output: 1 required OUTDIR missing\n"},
  };
  for (const caso& c : casi) {
    SCOPED_TRACE(c.errore);
    const uscita u = esegui(c.parole);
    EXPECT_EQ(u.stato, 2);
    EXPECT_EQ(u.out, "");
    EXPECT_EQ(u.err, c.errore + uso);
  }
}

// inspect and map are reached through the dispatcher, help included.
TEST(Comandi, InspectAndMapAreRouted) {
  for (const char* comando : {"inspect", "map"}) {
    SCOPED_TRACE(comando);
    const uscita aiuto = esegui({"help", comando});
    EXPECT_EQ(aiuto.stato, 0);
    EXPECT_EQ(aiuto.out.rfind(std::string("usage: scenario ") + comando, 0), 0u) << aiuto.out;
    EXPECT_EQ(esegui({comando, "--help"}).out, aiuto.out);
    const uscita senza = esegui({comando});
    EXPECT_EQ(senza.stato, 2);
    EXPECT_NE(senza.err, "");
  }
}

}  // namespace
