#include "scenario/nomi_scenario.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

namespace {

struct caso {
  const char* linea;
  const char* treno;
  std::optional<std::string> scenario;
  std::optional<std::string> codice;
  // Either the names (Windows-1252) or a part of the refusal.
  std::string nome_atteso;
  std::string codice_atteso;
  std::string rifiuto = {};
};

const std::nullopt_t no = std::nullopt;

TEST(DerivaNomi, FromFileNamesAndOptions) {
  const caso casi[] = {
      // The names the builder gives its texts.
      {"texts/Morsalo_Torvia_linea.txt", "texts/Morsalo_Torvia_R20417-.txt", no, no, "Morsalo_Torvia", "R20417"},
      // The train text splits at its last underscore.
      {"A_B_linea.txt", "A_B_C1-.txt", no, no, "A_B", "C1"},
      // One text that follows its pattern is enough for the name.
      {"line.txt", "A_C-.txt", no, no, "A", "C"},
      {"A_linea.txt", "train.txt", no, "T", "A", "T"},
      // Options override the file names, and settle a disagreement.
      {"A_linea.txt", "B_C-.txt", "X", no, "X", "C"},
      {"A_linea.txt", "A_C-.txt", "X", "Y", "X", "Y"},
      {"line.txt", "train.txt", "S", "T", "S", "T"},
      // With the name given, the code is all that follows "NAME_".
      {"line.txt", "A_B_C-.txt", "A", no, "A", "B_C"},
      // Names are stored as Windows-1252 bytes.
      {"Citt\xC3\xA0_linea.txt", "Citt\xC3\xA0_R1-.txt", no, no, "Citt\xE0", "R1"},
      {"A_linea.txt", "x.txt", no, "\xE2\x82\xAC" "5", "A", "\x80" "5"},

      // Suffixes in any letter case; the names keep theirs.
      {"Ab_LINEA.TXT", "Ab_Cd-.TXT", no, no, "Ab", "Cd"},
      {"d/Ab_Linea.tXt", "d/Ab_Cd-.Txt", no, no, "Ab", "Cd"},
      // A train text first is told so, whatever the second is.
      {"A_C-.txt", "A_linea.txt", no, no, "", "", "the first text is a train text (it ends in \"-.txt\")"},
      {"A_C-.TXT", "train.txt", no, no, "", "", "give the line text first"},

      {"A_linea.txt", "B_C-.txt", no, no, "", "", "names the scenario \"A\" but the train text"},
      {"line.txt", "train.txt", no, no, "", "", "give --scenario NAME and --train-code CODE"},
      {"line.txt", "train.txt", "S", no, "", "", "give --train-code CODE"},
      {"A_linea.txt", "train.txt", no, no, "", "", "give --train-code CODE"},
      {"_linea.txt", "train.txt", no, "T", "", "", "give --scenario NAME"},
      {"A_linea.txt", "A_-.txt", no, no, "", "", "give --train-code CODE"},
      // Names the code page cannot hold, or that make unsafe file names.
      {"A_linea.txt", "A_B-.txt", "\xCE\xA9", no, "", "", "cannot be written in Windows-1252"},
      {"A_linea.txt", "A_B-.txt", "\xFF", no, "", "", "cannot be written in Windows-1252"},
      {"A_linea.txt", "A_B-.txt", no, "\xE2\x98\x83", "", "", "train code \"\xE2\x98\x83\" cannot be used"},
      {"A_linea.txt", "A_B-.txt", "", no, "", "", "it is empty"},
      {"A_linea.txt", "A_B-.txt", no, "", "", "", "it is empty"},
      {"A_linea.txt", "A_B-.txt", "a/b", no, "", "", "path separator"},
      {"A_linea.txt", "A_B-.txt", "a\\b", no, "", "", "path separator"},
      {"A_linea.txt", "A_B-.txt", "..", no, "", "", "holds \"..\""},
      {"A_linea.txt", "A_B-.txt", no, "x..y", "", "", "holds \"..\""},
      {"A_linea.txt", "A_B-.txt", "a\tb", no, "", "", "control character"},
      {"A_linea.txt", "A_B-.txt", no, "\xC2\x81", "", "", "control character"},
      {"A_linea.txt", "A_B-.txt", "a:b", no, "", "", "holds ':'"},
      {"A_linea.txt", "A_B-.txt", std::string(200, 'n'), std::string(50, 'c'), "", "", "too long"},
  };
  for (const caso& c : casi) {
    SCOPED_TRACE(std::string(c.linea) + " " + c.treno + " " + c.scenario.value_or("-") + " " +
                 c.codice.value_or("-"));
    nomi_scenario n;
    const std::string perche = deriva_nomi(c.linea, c.treno, c.scenario, c.codice, n);
    if (c.rifiuto.empty()) {
      EXPECT_EQ(perche, "");
      EXPECT_EQ(n.nome_scenario, c.nome_atteso);
      EXPECT_EQ(n.codice_treno, c.codice_atteso);
    } else {
      EXPECT_NE(perche.find(c.rifiuto), std::string::npos) << perche;
      EXPECT_EQ(n.nome_scenario, "");
    }
  }
}

// The longest names that still fit: the longest file made from them,
// NAME_CODE.sim with the temporary suffix, is 255 bytes.
TEST(DerivaNomi, LongestNamesThatFit) {
  nomi_scenario n;
  EXPECT_EQ(deriva_nomi("a", "b", std::string(200, 'n'), std::string(45, 'c'), n), "");
  EXPECT_NE(deriva_nomi("a", "b", std::string(200, 'n'), std::string(46, 'c'), n), "");
}

}  // namespace
