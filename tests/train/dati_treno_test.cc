#include "train/dati_treno.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "model/modello.h"
#include "text/archivio.h"
#include "text/lettore_campi.h"
#include "text/scrittura.h"
#include "file_prova.h"

namespace {

using prova::leggi_file;

std::string testo_treno() {
  modello m;
  m.nome_scenario = "Morsalo_Torvia";
  m.codice_treno = "R20417";
  archivio_memoria a;
  dati_treno(m, a);
  EXPECT_EQ(a.file.size(), 1u);
  return a.file["Morsalo_Torvia_R20417-.txt"];
}

TEST(DatiTreno, WritesTheExpectedBytesUnderTheTrainTextName) {
  const std::string testo = testo_treno();
  EXPECT_EQ(testo, leggi_file(std::filesystem::path(SCENARIO_GOLDEN_DIR) / "Morsalo_Torvia_R20417-.txt"));
  EXPECT_EQ(std::count(testo.begin(), testo.end(), '\n'), 59);
  EXPECT_EQ(testo.find(fine_elenco), std::string::npos);
  // The reader passes over hyphenated fields, so none may hold a hyphen.
  EXPECT_EQ(testo.find('-'), std::string::npos);
}

TEST(DatiTreno, QuotedLinesAreExact) {
  const std::vector<std::string> elenco = elenco_treno();
  ASSERT_EQ(elenco.size(), 60u);
  EXPECT_EQ(elenco[59], fine_elenco);
  struct caso {
    size_t riga;  // from 1
    const char* testo;
  };
  const caso casi[] = {
      {1, "[generale]"},
      {2, "numero vetture,    4"},
      {3, "percentuale massa frenata,    105"},
      {4, "sabbia,    300"},
      {5, "orologio,    12              42            20 "},
      {6, "[aderenze]"},
      {7, "aderenza,       0,    55"},
      {8, "aderenza,   16500,    70"},
      {9, "[vel_limite]"},
      {10, "velocita,       0,    30"},
      {19, "[stazioni]"},
      {20, "stazione,       0, 12, 1000,  1, 0, 0,  4,1,0,  2,1,1,    1,  12,43, 0, MORSALO / MORSK"},
      {26, "stazione,   25900, 24,  500,  0, 0, 0,  0,0,0,  4,1,1,   30,  13, 6, 0, Cal\xE8/ Kaltig"},
      {32, "[rallentamenti]"},
      {33, "rallentamento,    4500,    40,  100, 0,  1,  0"},
      {34, "rallentamento,   18000,    30,  150, 1,  1,  0"},
      {35, "[segnali]"},
      {36, "segnale,    1350,   2, 4, 1,  0, 0,    0,  0,0,0, 0"},
      {39, "segnale,    9450,   2, 5, 1,  0, 0,    2,  2,1,0, 250"},
      {58, "[codici]"},
      {59, "[fine]"},
  };
  for (const caso& c : casi) {
    EXPECT_EQ(elenco[c.riga - 1], c.testo) << "line " << c.riga;
  }
}

// The records of the text as the compiler reads them, each value at its width.
struct letto {
  std::vector<std::string> sezioni;
  int32_t vetture = -1;
  int32_t massa_frenata = -1;
  int16_t sabbia = -1;
  std::array<int16_t, 3> orologio{-1, -1, -1};
  std::vector<std::array<int32_t, 2>> aderenze;
  std::vector<std::array<int32_t, 2>> velocita;
  std::vector<std::array<int32_t, 16>> stazioni;
  std::vector<std::string> nomi;
  std::vector<std::array<int32_t, 6>> rallentamenti;
  std::vector<std::array<int32_t, 11>> segnali;
  std::vector<std::string> sconosciuti;
};

letto leggi_testo_treno(const std::string& testo) {
  letto r;
  lettore_campi l(testo);
  while (!l.fine()) {
    const std::string chiave = l.leggi_testo();
    if (!chiave.empty() && chiave.front() == '[') {
      r.sezioni.push_back(chiave);
    } else if (chiave == "numero vetture") {
      r.vetture = l.leggi_long();
    } else if (chiave == "percentuale massa frenata") {
      r.massa_frenata = l.leggi_long();
    } else if (chiave == "sabbia") {
      r.sabbia = l.leggi_intero();
    } else if (chiave == "orologio") {
      for (int16_t& v : r.orologio) v = l.leggi_intero();
    } else if (chiave == "aderenza") {
      r.aderenze.push_back({l.leggi_long(), l.leggi_long()});
    } else if (chiave == "velocita") {
      r.velocita.push_back({l.leggi_long(), l.leggi_long()});
    } else if (chiave == "stazione") {
      // position, kind, length, option bytes 1, 4, 3, integers 1 and 2, option
      // byte 2, integers 3 to 5, stop, hours, minutes, seconds, then the name.
      std::array<int32_t, 16> s{};
      s[0] = l.leggi_long();
      s[1] = l.leggi_byte();
      s[2] = l.leggi_long();
      s[3] = l.leggi_byte();
      s[4] = l.leggi_byte();
      s[5] = l.leggi_byte();
      s[6] = l.leggi_intero();
      s[7] = l.leggi_intero();
      s[8] = l.leggi_byte();
      s[9] = l.leggi_intero();
      s[10] = l.leggi_intero();
      s[11] = l.leggi_intero();
      s[12] = l.leggi_byte();
      s[13] = l.leggi_long();
      s[14] = l.leggi_long();
      s[15] = l.leggi_long();
      r.stazioni.push_back(s);
      r.nomi.push_back(l.leggi_testo());
    } else if (chiave == "rallentamento") {
      std::array<int32_t, 6> v{};
      for (int32_t& x : v) x = l.leggi_long();
      r.rallentamenti.push_back(v);
    } else if (chiave == "segnale") {
      std::array<int32_t, 11> v{};
      for (int32_t& x : v) x = l.leggi_long();
      r.segnali.push_back(v);
    } else {
      r.sconosciuti.push_back(chiave);
    }
  }
  return r;
}

TEST(DatiTreno, ReadsBackIntoTheBuiltInTrain) {
  const letto r = leggi_testo_treno(testo_treno());

  EXPECT_EQ(r.sezioni, (std::vector<std::string>{"[generale]", "[aderenze]", "[vel_limite]", "[stazioni]",
                                                  "[rallentamenti]", "[segnali]", "[codici]", "[fine]"}));
  EXPECT_TRUE(r.sconosciuti.empty());
  EXPECT_EQ(r.vetture, 4);
  EXPECT_EQ(r.massa_frenata, 105);
  EXPECT_EQ(r.sabbia, 300);
  EXPECT_EQ(r.orologio, (std::array<int16_t, 3>{12, 42, 20}));
  EXPECT_EQ(r.aderenze, (std::vector<std::array<int32_t, 2>>{{0, 55}, {16500, 70}}));
  EXPECT_EQ(r.velocita, (std::vector<std::array<int32_t, 2>>{{0, 30},
                                                             {700, 100},
                                                             {1400, 150},
                                                             {16550, 120},
                                                             {18500, 150},
                                                             {31800, 135},
                                                             {39150, 120},
                                                             {41750, 135},
                                                             {52950, 75}}));

  const std::vector<std::array<int32_t, 16>> stazioni = {
      {0, 12, 1000, 1, 0, 0, 4, 1, 0, 2, 1, 1, 1, 12, 43, 0},
      {1600, 27, 200, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0},
      {7800, 24, 200, 0, 0, 0, 0, 0, 0, 3, 1, 1, 30, 12, 49, 0},
      {11000, 12, 700, 0, 0, 0, 1, 1, 0, 4, 1, 1, 30, 12, 52, 0},
      {16150, 12, 700, 1, 0, 0, 4, 1, 0, 2, 1, 1, 30, 12, 57, 0},
      {21900, 12, 700, 0, 0, 0, 1, 1, 0, 4, 1, 1, 30, 13, 1, 0},
      {25900, 24, 500, 0, 0, 0, 0, 0, 0, 4, 1, 1, 30, 13, 6, 0},
      {31300, 12, 700, 0, 0, 0, 1, 1, 0, 4, 1, 1, 30, 13, 10, 0},
      {38700, 12, 600, 0, 0, 0, 1, 1, 0, 4, 1, 1, 30, 13, 16, 0},
      {46000, 12, 500, 0, 0, 0, 1, 1, 0, 4, 1, 1, 0, 0, 0, 0},
      {53800, 11, 1400, 0, 0, 0, 1, 1, 0, 3, 1, 1, 0, 0, 0, 0},
      {55500, 12, 700, 0, 0, 0, 1, 1, 0, 2, 1, 1, 0, 13, 29, 0},
  };
  EXPECT_EQ(r.stazioni, stazioni);
  EXPECT_EQ(r.nomi, (std::vector<std::string>{"MORSALO / MORSK", "Bivio Ganzena/Ganzen", "Pradella / Pradl",
                                               "Sorvino / Sorwein", "Ulsa / Ulsach", "Tesso / Tessach",
                                               "Cal\xE8/ Kaltig", "Pianoldo / Planold", "Roccafonda", "Crespa",
                                               "TORVIA SCALO", "TORVIA"}));

  EXPECT_EQ(r.rallentamenti,
            (std::vector<std::array<int32_t, 6>>{{4500, 40, 100, 0, 1, 0}, {18000, 30, 150, 1, 1, 0}}));

  const std::vector<std::array<int32_t, 11>> segnali = {
      {1350, 2, 4, 1, 0, 0, 0, 0, 0, 0, 0},   {5500, 1, 5, 0, 0, 0, 0, 3, 0, 0, 0},
      {7100, 2, 3, 0, 0, 0, 2, 2, 0, 0, 0},   {9450, 2, 5, 1, 0, 0, 2, 2, 1, 0, 250},
      {10200, 2, 3, 1, 0, 0, 2, 2, 1, 0, 0},  {13000, 1, 4, 1, 0, 0, 0, 0, 0, 0, 0},
      {14150, 2, 3, 4, 0, 0, 2, 3, 1, 0, 0},  {15500, 2, 2, 3, 0, 0, 2, 2, 1, 0, 0},
      {19900, 1, 5, 1, 0, 0, 1, 3, 1, 0, 0},  {21250, 2, 3, 1, 0, 0, 2, 2, 1, 0, 0},
      {24000, 1, 5, 0, 0, 0, 0, 3, 0, 0, 0},  {25350, 2, 3, 0, 0, 0, 0, 2, 0, 0, 0},
      {29350, 1, 5, 1, 0, 0, 1, 3, 1, 0, 0},  {30700, 2, 3, 1, 0, 0, 2, 2, 1, 0, 0},
      {36750, 1, 5, 1, 0, 0, 1, 3, 1, 0, 0},  {38100, 2, 3, 1, 0, 0, 2, 2, 1, 0, 0},
      {42150, 1, 4, 1, 0, 0, 1, 1, 1, 0, 0},  {43500, 2, 4, 1, 0, 0, 2, 3, 1, 0, 0},
      {45400, 2, 4, 1, 0, 0, 2, 2, 1, 0, 0},  {50250, 1, 4, 1, 1, 0, 1, 1, 1, 1, 0},
      {51600, 2, 4, 1, 1, 0, 2, 3, 1, 1, 0},  {52950, 2, 4, 1, 1, 0, 2, 2, 1, 1, 0},
  };
  EXPECT_EQ(r.segnali, segnali);
}

}  // namespace
