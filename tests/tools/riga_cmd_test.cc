#include "scenario/riga_cmd.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// `-o "C:\out\"` reaches the program as `C:\out"`: refused, with the two
// ways to write it, before any command runs.
TEST(RigaCmd, AQuoteLeftByABackslashIsExplained) {
  for (const std::vector<std::string>& parole : std::vector<std::vector<std::string>>{
           {"compile", "a_linea.txt", "a_b-.txt", "-o", "Z:\\out2\""},
           {"map", "C:\\my maps\" -o m.svg"}}) {
    std::vector<std::string> p = parole;
    const std::string perche = prepara_riga_cmd(p);
    EXPECT_NE(perche.find("holds a quote mark"), std::string::npos) << perche;
    EXPECT_NE(perche.find("backslash just before a closing quote"), std::string::npos) << perche;
    EXPECT_NE(perche.find("(\"C:\\out\") or double it (\"C:\\out\\\\\")"), std::string::npos) << perche;
  }
}

TEST(RigaCmd, OrdinaryWordsPassUnchanged) {
  const std::vector<std::string> parole = {"inspect", "/?", "--json", "-o", "x", "out\\a.sim"};
  std::vector<std::string> p = parole;
  EXPECT_EQ(prepara_riga_cmd(p), "");
  EXPECT_EQ(p, parole);
}

}  // namespace
