#include "scenario/comandi.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "scenario/compila.h"
#include "scenario/init.h"

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

TEST(Comandi, Help) {
  struct caso {
    std::vector<std::string> parole;
    const char* aiuto;
  };
  const caso casi[] = {
      {{"--help"}, aiuto_scenario},       {{"-h"}, aiuto_scenario},
      {{"help"}, aiuto_scenario},         {{"help", "help"}, aiuto_scenario},
      {{"help", "init"}, aiuto_init},     {{"init", "--help"}, aiuto_init},
      {{"help", "compile"}, aiuto_compile}, {{"compile", "-h"}, aiuto_compile},
      // Help wins over everything else on the line.
      {{"compile", "a", "--bogus", "--help"}, aiuto_compile},
  };
  for (const caso& c : casi) {
    SCOPED_TRACE(c.parole[0] + (c.parole.size() > 1 ? " " + c.parole[1] : ""));
    const uscita u = esegui(c.parole);
    EXPECT_EQ(u.stato, 0);
    EXPECT_EQ(u.out, c.aiuto);
    EXPECT_EQ(u.err, "");
  }
}

TEST(Comandi, UsageErrorsGoToStandardErrorWithStatus2) {
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
    EXPECT_EQ(u.err, c.primo_rigo + "\n\n" + aiuto_scenario);
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
