#include "text/scrittura.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <string>
#include <string_view>

#include "line/dati_linea.h"
#include "model/errore_esecuzione.h"
#include "model/modello.h"
#include "text/archivio.h"
#include "text/codifica.h"
#include "file_prova.h"

namespace fs = std::filesystem;

namespace {

using prova::leggi_file;

fs::path cartella_di_prova(const char* nome) {
  fs::path d = fs::temp_directory_path() / ("scenario_test_" + std::string(nome));
  fs::remove_all(d);
  fs::create_directories(d);
  return d;
}

TEST(Scrittura, WritesEntriesUpToTheMarkerWithCrLf) {
  EXPECT_EQ(testo_da_elenco({"a", "", " b ", fine_elenco, "never"}), "a\r\n\r\n b \r\n");
  EXPECT_EQ(testo_da_elenco({fine_elenco}), "");
  // The marker is compared exactly: another case is an ordinary line.
  EXPECT_EQ(testo_da_elenco({"Riferimento fine del file", fine_elenco}),
            "Riferimento fine del file\r\n");
  EXPECT_THROW(testo_da_elenco({"a", "b"}), errore_esecuzione);
  std::vector<std::string> lunga(1001, "x");
  EXPECT_THROW(testo_da_elenco(lunga), errore_esecuzione);
  lunga[1000] = fine_elenco;
  EXPECT_EQ(testo_da_elenco(lunga).size(), 3000u);
}

TEST(Scrittura, ReplacesALongerOlderFileOnDisk) {
  fs::path d = cartella_di_prova("scrittura");
  {
    std::ofstream vecchio(d / "t.txt", std::ios::binary);
    vecchio << std::string(10000, 'z');
  }
  archivio_disco a(d);
  scrivi_elenco(a, "t.txt", {"nuovo", fine_elenco});
  EXPECT_EQ(leggi_file(d / "t.txt"), "nuovo\r\n");
  // No temporary file stays behind.
  EXPECT_EQ(std::distance(fs::directory_iterator(d), fs::directory_iterator()), 1);
  fs::remove_all(d);
}

TEST(Scrittura, AFailedWriteNamesTheFileAndLeavesTheOldOne) {
  fs::path d = cartella_di_prova("scrittura_fallita");
  archivio_disco a(d);
  a.scrivi("t.txt", "vecchio");
  fs::create_directories(d / "t.txt.part");  // the temporary name cannot be created
  try {
    a.scrivi("t.txt", "nuovo");
    FAIL() << "the write should fail";
  } catch (const errore_esecuzione& e) {
    EXPECT_NE(std::string(e.what()).find("t.txt"), std::string::npos) << e.what();
  }
  EXPECT_EQ(leggi_file(d / "t.txt"), "vecchio");
  fs::remove_all(d);
}

TEST(Scrittura, ReplacingLeavesOnlyTheNewFileEachTime) {
  fs::path d = cartella_di_prova("scrittura_ripetuta");
  archivio_disco a(d);
  for (const char* testo : {"primo", "secondo, piu lungo", "terzo"}) {
    a.scrivi("t.txt", testo);
    EXPECT_EQ(leggi_file(d / "t.txt"), testo);
    EXPECT_EQ(std::distance(fs::directory_iterator(d), fs::directory_iterator()), 1);
  }
  fs::remove_all(d);
}

TEST(Scrittura, AFolderUnderTheNameIsNeverReplaced) {
  fs::path d = cartella_di_prova("scrittura_cartella");
  fs::create_directories(d / "t.txt" / "dentro");
  archivio_disco a(d);
  EXPECT_THROW(a.scrivi("t.txt", "nuovo"), errore_esecuzione);
  EXPECT_TRUE(fs::is_directory(d / "t.txt" / "dentro"));
  EXPECT_EQ(std::distance(fs::directory_iterator(d), fs::directory_iterator()), 1);
  fs::remove_all(d);
}

// Three pieces, the middle one empty.
void tre_pezzi(const emettitore& emetti) {
  emetti("uno,");
  emetti("");
  emetti("due");
}

[[noreturn]] void pezzo_e_poi_errore(const emettitore& emetti) {
  emetti("mezzo");
  throw errore_esecuzione("the bytes could not all be made");
}

// A store that has only scrivi: the pieces come to it gathered.
class archivio_semplice : public archivio {
 public:
  bool esiste(const std::string& nome) const override { return file.count(nome) != 0; }
  std::string leggi(const std::string& nome) const override { return file.at(nome); }
  void scrivi(const std::string& nome, std::string_view byte) override {
    ++scritture;
    file[nome] = std::string(byte);
  }
  void cancella(const std::string& nome) override { file.erase(nome); }

  std::map<std::string, std::string> file;
  int scritture = 0;
};

TEST(Scrittura, APieceByPieceWriteJoinsThePieces) {
  fs::path d = cartella_di_prova("scrittura_a_pezzi");
  archivio_disco disco(d);
  disco.scrivi("t.bin", "vecchio");
  disco.scrivi_a_pezzi("t.bin", 7, tre_pezzi);
  EXPECT_EQ(leggi_file(d / "t.bin"), "uno,due");
  EXPECT_EQ(std::distance(fs::directory_iterator(d), fs::directory_iterator()), 1);
  fs::remove_all(d);

  archivio_memoria memoria;
  memoria.scrivi_a_pezzi("t.bin", 0, tre_pezzi);
  EXPECT_EQ(memoria.file["t.bin"], "uno,due");

  archivio_semplice semplice;
  semplice.scrivi_a_pezzi("t.bin", 7, tre_pezzi);
  EXPECT_EQ(semplice.file["t.bin"], "uno,due");
  EXPECT_EQ(semplice.scritture, 1);
}

TEST(Scrittura, APieceByPieceWriteThatFailsLeavesTheOldFile) {
  fs::path d = cartella_di_prova("scrittura_a_pezzi_fallita");
  archivio_disco disco(d);
  disco.scrivi("t.bin", "vecchio");
  EXPECT_THROW(disco.scrivi_a_pezzi("t.bin", 0, pezzo_e_poi_errore), errore_esecuzione);
  EXPECT_EQ(leggi_file(d / "t.bin"), "vecchio");
  // The half-written temporary file is gone.
  EXPECT_EQ(std::distance(fs::directory_iterator(d), fs::directory_iterator()), 1);
  fs::remove_all(d);

  archivio_memoria memoria;
  memoria.scrivi("t.bin", "vecchio");
  EXPECT_THROW(memoria.scrivi_a_pezzi("t.bin", 0, pezzo_e_poi_errore), errore_esecuzione);
  EXPECT_EQ(memoria.file["t.bin"], "vecchio");

  archivio_semplice semplice;
  EXPECT_THROW(semplice.scrivi_a_pezzi("t.bin", 0, pezzo_e_poi_errore), errore_esecuzione);
  EXPECT_EQ(semplice.scritture, 0);
}

TEST(Scrittura, BuiltInLineTextIsByteExact) {
  modello m;
  m.nome_scenario = "Morsalo_Torvia";
  archivio_memoria a;
  dati_linea(m, a);
  ASSERT_TRUE(a.esiste("Morsalo_Torvia_linea.txt"));
  const std::string testo = a.file["Morsalo_Torvia_linea.txt"];
  EXPECT_EQ(testo, leggi_file(fs::path(SCENARIO_GOLDEN_DIR) / "Morsalo_Torvia_linea.txt"));
  EXPECT_EQ(std::count(testo.begin(), testo.end(), '\n'), 71);
  EXPECT_EQ(testo.find(fine_elenco), std::string::npos);
}

TEST(Codifica, Windows1252Conversions) {
  EXPECT_EQ(cp1252_a_utf8("Cal\xE8"), "Cal\xC3\xA8");
  EXPECT_EQ(utf8_a_cp1252("Cal\xC3\xA8").value(), "Cal\xE8");
  EXPECT_EQ(utf8_a_cp1252("\xE2\x82\xAC").value(), "\x80");  // the euro sign
  EXPECT_FALSE(utf8_a_cp1252("\xE2\x98\x83").has_value());   // a snowman is not in the page
  EXPECT_FALSE(utf8_a_cp1252("\xC3").has_value());           // cut short
  EXPECT_FALSE(utf8_a_cp1252("\xC0\x80").has_value());       // overlong
  EXPECT_EQ(minuscolo_cp1252("R20417Morsalo\xC8\xD7\x8A"), "r20417morsalo\xE8\xD7\x9A");
  EXPECT_TRUE(contiene_senza_maiuscole("PERCENTUALE DI MASSA FRENATA", "frenata"));
  EXPECT_FALSE(contiene_senza_maiuscole("fren", "frenata"));
  EXPECT_FALSE(contiene("Progressiva chilometrica uno", "progressiva"));
}

}  // namespace
