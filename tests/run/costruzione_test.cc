#include "run/costruzione.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "train/dati_treno.h"
#include "file_prova.h"

namespace fs = std::filesystem;

namespace {

using prova::leggi_file;

modello scenario_costruito() {
  modello m;
  m.nome_scenario = "Morsalo_Torvia";
  m.codice_treno = "R20417";
  return m;
}

// The six files of the run, byte for byte; neither source text stays.
TEST(Costruzione, BuildRunLeavesExactlyTheSixExpectedFiles) {
  modello m = scenario_costruito();
  archivio_memoria a;
  const esito_compilazione esito = scrivi_e_compila(m, a);
  EXPECT_EQ(esito.errore, 0);
  EXPECT_EQ(m.numero_errore, 0);
  ASSERT_EQ(a.file.size(), 6u);
  const fs::path golden(SCENARIO_GOLDEN_DIR);
  for (const char* nome : {"Morsalo_Torvia_R20417_note.txt", "Morsalo_Torvia_R20417_rallentamenti.txt",
                           "Morsalo_Torvia_R20417_scheda_treno.txt", "Morsalo_Torvia_R20417.sim",
                           "Morsalo_Torvia_R20417.dat"}) {
    SCOPED_TRACE(nome);
    ASSERT_TRUE(a.esiste(nome));
    EXPECT_TRUE(prova::come_il_golden(a.file[nome], golden / nome));
  }
  const std::string& profilo = a.file["Morsalo_Torvia_linea.dat"];
  EXPECT_EQ(profilo.size(), 1379964u);
  EXPECT_TRUE(prova::come_il_golden(profilo, fs::path(SCENARIO_GOLDEN_DIR) / "Morsalo_Torvia_linea.dat"));
  EXPECT_EQ(esito.file_scritti, (std::vector<std::string>{"Morsalo_Torvia_linea.dat", "Morsalo_Torvia_R20417.sim",
                                                          "Morsalo_Torvia_R20417.dat"}));
}

// The held signal at 9450 m, from its line in the train text to its 15 bytes
// in the cell file.
TEST(Costruzione, HeldSignalTravelsFromTextToCellFile) {
  modello m = scenario_costruito();
  archivio_memoria a;
  dati_treno(m, a);
  const std::string testo = a.file["Morsalo_Torvia_R20417-.txt"];
  EXPECT_NE(testo.find("segnale,    9450,   2, 5, 1,  0, 0,    2,  2,1,0, 250\r\n"), std::string::npos);
  a.file.clear();
  scrivi_e_compila(m, a);
  const std::string& dat = a.file["Morsalo_Torvia_R20417.dat"];
  ASSERT_GE(dat.size(), 191u * 15);
  const std::string atteso("\x01" "\x34\x00" "\x0b\x00" "\x00\x00" "\x08\x00" "\xfa" "\x00\x00" "\x1e\x64\x37", 15);
  EXPECT_EQ(dat.substr(190 * 15, 15), atteso);
  // Its warning codes on the cells 2, 4, 6 and 8 before it.
  for (int b = 1; b <= 4; ++b) EXPECT_EQ(static_cast<int>(dat[(190 - 2 * b) * 15 + 10]), 80 + b);
  // The finishing pass placed exactly three markers in front of each slowdown.
  int marcatori = 0;
  for (size_t k = 0; k < dat.size() / 15; ++k) marcatori += dat[k * 15] == 12;
  EXPECT_EQ(marcatori, 6);
}

// Running again in a folder with an earlier run's output replaces every file.
TEST(Costruzione, SecondRunOnDiskReplacesEveryFile) {
  const fs::path d = fs::temp_directory_path() / "scenario_test_costruzione";
  fs::remove_all(d);
  fs::create_directories(d);
  for (const char* nome : {"Morsalo_Torvia_R20417.sim", "Morsalo_Torvia_R20417_note.txt"}) {
    std::ofstream(d / nome, std::ios::binary) << std::string(100000, 'x');
  }
  for (int volta = 0; volta < 2; ++volta) {
    modello m = scenario_costruito();
    archivio_disco a(d);
    EXPECT_EQ(scrivi_e_compila(m, a).errore, 0);
  }
  int quanti = 0;
  for (const auto& voce : fs::directory_iterator(d)) {
    (void)voce;
    ++quanti;
  }
  EXPECT_EQ(quanti, 6);
  EXPECT_FALSE(fs::exists(d / "Morsalo_Torvia_linea.txt"));
  EXPECT_FALSE(fs::exists(d / "Morsalo_Torvia_R20417-.txt"));
  EXPECT_EQ(leggi_file(d / "Morsalo_Torvia_R20417.sim"),
            leggi_file(fs::path(SCENARIO_GOLDEN_DIR) / "Morsalo_Torvia_R20417.sim"));
  fs::remove_all(d);
}

TEST(Costruzione, ErrorTexts) {
  EXPECT_EQ(testo_errore("1250"), " Errore n. 1250");
  modello m;
  m.numero_errore = 15;
  m.posizione_errore = 9450;
  EXPECT_EQ(testo_errore_compilazione(m), " Errore n. 15 (9450 m): an item lies beyond the end of the cell grid");
  m.numero_errore = 2;
  EXPECT_EQ(testo_errore_compilazione(m),
            " Errore n. 2: a kilometre progressive's position or figure is not a multiple of 50");
}

}  // namespace
