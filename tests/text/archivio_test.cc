#include "text/archivio.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "model/errore_esecuzione.h"
#include "file_prova.h"

namespace fs = std::filesystem;

namespace {

using prova::leggi_file;

// The program's folder may be anywhere a user puts it: letters outside
// ASCII and outside the single-byte code page too.
TEST(ArchivioDisco, WorksInAFolderWithCharactersOutsideAscii) {
  const fs::path d = fs::temp_directory_path() / fs::path(u8"scenario_test_cartella è Ω 北");
  fs::remove_all(d);
  fs::create_directories(d);
  archivio_disco a(d);

  // A name in Windows-1252 bytes: 0xE8 is "è".
  const std::string nome = "Cal\xE8.txt";
  EXPECT_FALSE(a.esiste(nome));
  a.scrivi(nome, std::string(5000, 'x'));
  a.scrivi(nome, "nuovo\r\n");  // replaces the longer file
  EXPECT_TRUE(a.esiste(nome));
  EXPECT_EQ(a.leggi(nome), "nuovo\r\n");
  EXPECT_EQ(leggi_file(d / fs::path(u8"Calè.txt")), "nuovo\r\n");
  EXPECT_EQ(std::distance(fs::directory_iterator(d), fs::directory_iterator()), 1);

  a.cancella(nome);
  a.cancella(nome);  // already gone: not an error
  EXPECT_FALSE(a.esiste(nome));
  try {
    a.leggi(nome);
    FAIL() << "reading a missing file should fail";
  } catch (const errore_esecuzione& e) {
    // The message names the file with its folder, in UTF-8.
    EXPECT_NE(std::string(e.what()).find("\xCE\xA9 \xE5\x8C\x97"), std::string::npos) << e.what();
    EXPECT_NE(std::string(e.what()).find("Cal\xC3\xA8.txt"), std::string::npos) << e.what();
  }
  fs::remove_all(d);
}

}  // namespace
