// The builder as a process: a failure half-way through the files leaves the
// earlier complete files as they were and says which file failed and why;
// --version prints the version and writes nothing.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "file_prova.h"
#include "versione.h"

namespace fs = std::filesystem;

#if defined(SCENARIO_BUILDER_EXE) && !defined(_WIN32)

#include <sys/wait.h>

namespace {

using prova::leggi_file;

// Copies the builder into a folder of its own: it writes beside itself.
fs::path prepara(const char* nome) {
  const fs::path d = fs::temp_directory_path() / nome;
  fs::remove_all(d);
  fs::create_directories(d);
  fs::copy_file(SCENARIO_BUILDER_EXE, d / "scenario_builder");
  return d;
}

int esegui(const fs::path& d, const std::string& prima, const std::string& argomenti = "") {
  const std::string comando = "cd '" + d.string() + "' && " + prima + " ./scenario_builder " + argomenti +
                              " > uscita.txt 2> errori.txt";
  const int stato = std::system(("sh -c \"" + comando + "\"").c_str());
  return WIFEXITED(stato) ? WEXITSTATUS(stato) : -1;
}

TEST(SostituzioneSicura, CompleteRunEndsWithStatusZero) {
  const fs::path d = prepara("scenario_test_run_completo");
  EXPECT_EQ(esegui(d, ""), 0);
  EXPECT_EQ(leggi_file(d / "uscita.txt"), "Attendere\n");
  EXPECT_EQ(leggi_file(d / "errori.txt"), "");
  EXPECT_EQ(leggi_file(d / "Morsalo_Torvia_R20417.sim"),
            leggi_file(fs::path(SCENARIO_GOLDEN_DIR) / "Morsalo_Torvia_R20417.sim"));
  fs::remove_all(d);
}

TEST(SostituzioneSicura, VersionIsPrintedAndNothingIsWritten) {
  const fs::path d = prepara("scenario_test_run_versione");
  EXPECT_EQ(esegui(d, "", "--version"), 0);
  EXPECT_EQ(leggi_file(d / "uscita.txt"), std::string("scenario_builder ") + versione_progetto + "\n");
  EXPECT_EQ(leggi_file(d / "errori.txt"), "");
  int file = 0;
  for ([[maybe_unused]] const auto& voce : fs::directory_iterator(d)) ++file;
  EXPECT_EQ(file, 3);  // the program and its two streams
  fs::remove_all(d);
}

TEST(SostituzioneSicura, FileSizeLimitHalfWayKeepsEarlierFiles) {
  const fs::path d = prepara("scenario_test_run_limite");
  ASSERT_EQ(esegui(d, ""), 0);
  const std::string profilo = leggi_file(d / "Morsalo_Torvia_linea.dat");
  const std::string sim = leggi_file(d / "Morsalo_Torvia_R20417.sim");
  ASSERT_EQ(profilo.size(), 1379964u);

  // 200 blocks of 512 bytes: the texts fit, the line profile file does not.
  EXPECT_NE(esegui(d, "ulimit -f 200;"), 0);
  const std::string errori = leggi_file(d / "errori.txt");
  EXPECT_NE(errori.find("Morsalo_Torvia_linea.dat"), std::string::npos) << errori;
  EXPECT_NE(errori.find("File too large"), std::string::npos) << errori;
  // The complete files of the earlier run are intact; no partial file stays.
  EXPECT_EQ(leggi_file(d / "Morsalo_Torvia_linea.dat"), profilo);
  EXPECT_EQ(leggi_file(d / "Morsalo_Torvia_R20417.sim"), sim);
  for (const auto& voce : fs::directory_iterator(d)) EXPECT_NE(voce.path().extension(), ".part");
  fs::remove_all(d);
}

TEST(SostituzioneSicura, FolderInPlaceOfAFileStopsBeforeTheLaterFiles) {
  const fs::path d = prepara("scenario_test_run_cartella");
  ASSERT_EQ(esegui(d, ""), 0);
  const std::string dat = leggi_file(d / "Morsalo_Torvia_R20417.dat");
  fs::remove(d / "Morsalo_Torvia_R20417.sim");
  fs::create_directories(d / "Morsalo_Torvia_R20417.sim" / "dentro");
  std::ofstream(d / "Morsalo_Torvia_R20417.dat", std::ios::binary | std::ios::app) << "old";

  EXPECT_NE(esegui(d, ""), 0);
  const std::string errori = leggi_file(d / "errori.txt");
  EXPECT_NE(errori.find("Morsalo_Torvia_R20417.sim"), std::string::npos) << errori;
  // The cell file comes after the scenario file: the older one is untouched.
  EXPECT_EQ(leggi_file(d / "Morsalo_Torvia_R20417.dat"), dat + "old");
  EXPECT_TRUE(fs::is_directory(d / "Morsalo_Torvia_R20417.sim" / "dentro"));
  fs::remove_all(d);
}

}  // namespace

#endif
