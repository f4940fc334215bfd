#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "documents/dati_note.h"
#include "documents/dati_rallentamenti.h"
#include "documents/dati_scheda.h"
#include "model/modello.h"
#include "model/nomi_file.h"
#include "text/archivio.h"
#include "text/scrittura.h"
#include "file_prova.h"

namespace fs = std::filesystem;

namespace {

using prova::leggi_file;

std::string atteso(const std::string& nome) {
  return leggi_file(fs::path(SCENARIO_GOLDEN_DIR) / nome);
}

modello scenario() {
  modello m;
  m.nome_scenario = "Morsalo_Torvia";
  m.codice_treno = "R20417";
  return m;
}

struct documento {
  const char* titolo;
  void (*scrivi)(const modello&, archivio&);
  std::string (*nome)(const modello&);
};

const documento documenti[] = {
    {"scheda", dati_scheda, nome_scheda},
    {"rallentamenti", dati_rallentamenti, nome_rallentamenti},
    {"note", dati_note, nome_note},
};

// The lines of a text whose every line ends with CR LF; a lone CR or LF, or
// a last line without its end, fails the test.
std::vector<std::string> righe(const std::string& testo) {
  std::vector<std::string> r;
  size_t inizio = 0;
  while (inizio < testo.size()) {
    size_t fine = testo.find("\r\n", inizio);
    if (fine == std::string::npos) {
      ADD_FAILURE() << "the text does not end with CR LF";
      break;
    }
    std::string riga = testo.substr(inizio, fine - inizio);
    EXPECT_EQ(riga.find_first_of("\r\n"), std::string::npos) << "a lone CR or LF in: " << riga;
    r.push_back(riga);
    inizio = fine + 2;
  }
  return r;
}

std::string scritto(const documento& d) {
  archivio_memoria a;
  d.scrivi(scenario(), a);
  EXPECT_EQ(a.file.size(), 1u) << d.titolo;
  return a.leggi(d.nome(scenario()));
}

TEST(Documenti, EachIsByteExactUnderItsName) {
  const char* nomi[] = {"Morsalo_Torvia_R20417_scheda_treno.txt",
                        "Morsalo_Torvia_R20417_rallentamenti.txt",
                        "Morsalo_Torvia_R20417_note.txt"};
  for (size_t i = 0; i < std::size(documenti); ++i) {
    archivio_memoria a;
    documenti[i].scrivi(scenario(), a);
    ASSERT_TRUE(a.esiste(nomi[i])) << nomi[i];
    EXPECT_EQ(a.file.size(), 1u) << nomi[i];
    EXPECT_EQ(a.file[nomi[i]], atteso(nomi[i])) << nomi[i];
  }
}

TEST(Documenti, LinesEndWithCrLfAndTheMarkerStaysOut) {
  const size_t quante[] = {47, 46, 33};
  for (size_t i = 0; i < std::size(documenti); ++i) {
    const std::string testo = scritto(documenti[i]);
    EXPECT_EQ(righe(testo).size(), quante[i]) << documenti[i].titolo;
    EXPECT_EQ(testo.find(fine_elenco), std::string::npos) << documenti[i].titolo;
  }
}

TEST(Scheda, LineLengthsFollowTheDrawing) {
  std::vector<size_t> lunghezze = {0, 1, 82, 83, 83, 83, 83, 56, 64, 57, 57, 0, 82};
  lunghezze.insert(lunghezze.end(), 33, 83);  // the timetable, lines 14 to 46
  lunghezze.push_back(0);
  const std::vector<std::string> r = righe(scritto(documenti[0]));
  ASSERT_EQ(r.size(), lunghezze.size());
  for (size_t i = 0; i < r.size(); ++i) EXPECT_EQ(r[i].size(), lunghezze[i]) << "line " << i + 1;
  EXPECT_EQ(r[1], " ");
  EXPECT_EQ(r[8].substr(57), "       ");  // the seven trailing blanks of line 9
}

TEST(Scheda, TimesStandInTheirPlacesOfTheCell) {
  // The time cell runs from column 60 to 75.
  struct caso {
    size_t riga;
    const char* cella;
  };
  const caso casi[] = {
      {18, "          12.43 "},  // departure alone
      {19, "     12.44      "},  // passing without "+"
      {20, "     12.44+     "},  // passing with "+"
      {21, " 12.48+   12.49 "},  // arrival and departure
      {36, " 13.29          "},  // arrival alone
  };
  const std::vector<std::string> r = righe(scritto(documenti[0]));
  ASSERT_EQ(r.size(), 47u);
  for (const caso& c : casi) {
    EXPECT_EQ(r[c.riga - 1].substr(60, 16), c.cella) << "line " << c.riga;
    EXPECT_EQ(r[c.riga - 1][59], '|');
    EXPECT_EQ(r[c.riga - 1][76], '|');
  }
  EXPECT_EQ(r[32].substr(76), "| 1.0 |");  // the one recovery figure, on Crespa's row
}

TEST(Rallentamenti, LineLengthsFollowTheDrawing) {
  std::vector<size_t> lunghezze = {0, 42, 50, 81, 46, 0, 81, 81};
  lunghezze.insert(lunghezze.end(), 31, 82);  // the table, lines 9 to 39
  lunghezze.insert(lunghezze.end(), {0, 37, 63, 42, 49, 58, 42});
  const std::vector<std::string> r = righe(scritto(documenti[1]));
  ASSERT_EQ(r.size(), lunghezze.size());
  for (size_t i = 0; i < r.size(); ++i) EXPECT_EQ(r[i].size(), lunghezze[i]) << "line " << i + 1;
  // Twenty empty rows of room, then the closing rule equal to the one under the headers.
  for (size_t i = 18; i < 38; ++i) EXPECT_EQ(r[i], r[12]) << "line " << i + 1;
  EXPECT_EQ(r[38], r[11]);
  EXPECT_EQ(r[13], " | 1 |MORSALO  -  PRADELLA        |    146     |    40    |   100   |    ---     |");
}

TEST(Note, RunningTextWithEmptyLinesInPlace) {
  const std::vector<std::string> r = righe(scritto(documenti[2]));
  ASSERT_EQ(r.size(), 33u);
  const std::vector<size_t> vuote = {5, 6, 27, 28, 29, 31};
  for (size_t i = 0; i < r.size(); ++i) {
    const bool vuota = std::find(vuote.begin(), vuote.end(), i + 1) != vuote.end();
    EXPECT_EQ(r[i].empty(), vuota) << "line " << i + 1;
    EXPECT_LE(r[i].size(), 96u) << "line " << i + 1;
  }
  EXPECT_EQ(r[0].rfind("AUTORE: ", 0), 0u);
  EXPECT_EQ(r[1].rfind("INDIRIZZO EMAIL: ", 0), 0u);
  EXPECT_EQ(r[2], "NUMERO PROGRESSIVO SCENARIO: 3");
  EXPECT_EQ(r[3], "DATA REALIZZAZIONE SCENARIO: 29.03.2001");
  EXPECT_EQ(r[29], "SCENARI PRECEDENTEMENTE REALIZZATI:");
  // The earlier scenarios are named like this one's files: route, "_", train code.
  for (size_t i : {31u, 32u}) {
    EXPECT_EQ(std::count(r[i].begin(), r[i].end(), '_'), 2) << r[i];
    EXPECT_EQ(r[i].find(' '), std::string::npos) << r[i];
  }
}

TEST(Note, AccentedLettersAreSingleWindows1252Bytes) {
  const std::string testo = scritto(documenti[2]);
  for (unsigned char b : testo) {
    if (b >= 0x80) {
      EXPECT_TRUE(b == 0xE0 || b == 0xE8 || b == 0xF2) << std::hex << int(b);
    }
  }
  for (char lettera : {'\xE0', '\xE8', '\xF2'}) {
    EXPECT_NE(testo.find(lettera), std::string::npos) << std::hex << int(lettera & 0xFF);
  }
  // The other two documents are plain ASCII.
  for (size_t i = 0; i < 2; ++i) {
    const std::string altro = scritto(documenti[i]);
    EXPECT_TRUE(std::all_of(altro.begin(), altro.end(),
                            [](char c) { return static_cast<unsigned char>(c) < 0x80; }))
        << documenti[i].titolo;
  }
}

TEST(Documenti, WritingAgainReplacesALongerOlderFileOnDisk) {
  const fs::path d =
      fs::temp_directory_path() /
      ("scenario_test_documenti_" +
       std::to_string(std::chrono::steady_clock::now().time_since_epoch().count()));
  fs::remove_all(d);
  fs::create_directories(d);
  const modello m = scenario();
  for (const documento& doc : documenti) {
    std::ofstream(d / doc.nome(m), std::ios::binary) << std::string(20000, 'z');
  }
  archivio_disco a(d);
  for (int volta = 0; volta < 2; ++volta) {
    for (const documento& doc : documenti) {
      doc.scrivi(m, a);
      EXPECT_EQ(leggi_file(d / doc.nome(m)), atteso(doc.nome(m))) << doc.titolo << " " << volta;
    }
  }
  // Only the three documents: no temporary file stays behind.
  EXPECT_EQ(std::distance(fs::directory_iterator(d), fs::directory_iterator()), 3);
  fs::remove_all(d);
}

}  // namespace
