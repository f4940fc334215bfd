#include "core/file_binari.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "core/codici_gara.h"
#include "model/errore_esecuzione.h"
#include "model/modello.h"
#include "model/nomi_file.h"
#include "file_prova.h"

namespace fs = std::filesystem;

namespace {

// Bytes as lower-case hex pairs separated by blanks.
std::string esadecimale(std::string_view b) {
  std::string s;
  char due[4];
  for (char c : b) {
    std::snprintf(due, sizeof due, "%02x", static_cast<unsigned char>(c));
    if (!s.empty()) s += ' ';
    s += due;
  }
  return s;
}

std::string zeri(size_t n) { return esadecimale(std::string(n, '\0')); }

TEST(FileSim, RecordLayout) {
  modello m;
  punto& p = m.punti[1];
  p.tipo = 10;
  p.inizio = 0x01020304;
  p.fine = -2;
  p.posizione = 1000;
  p.opzione_1 = 7;
  p.testo = "A\xE8";  // "Aè" in Windows-1252
  p.intero_1 = 610;
  p.intero_2 = -1;
  p.intero_3 = 3;
  p.intero_4 = 4;
  p.intero_5 = 5;
  p.opzione_2 = 8;
  p.sosta = 9;
  p.opzione_3 = 10;
  p.opzione_4 = 11;
  p.orario = 45000;
  const std::string b = byte_file_sim(m);
  ASSERT_EQ(b.size(), 87u * 34 + 2);
  // Record 0, never used: 34 zero bytes.
  EXPECT_EQ(esadecimale(b.substr(0, 34)), zeri(34));
  EXPECT_EQ(esadecimale(b.substr(34, 36)),
            "0a 04 03 02 01 fe ff ff ff e8 03 00 00 07 02 00 41 e8 "
            "62 02 ff ff 03 00 04 00 05 00 08 09 0a 0b c8 af 00 00");
  // Record 2, empty text: 34 bytes.
  EXPECT_EQ(esadecimale(b.substr(70, 34)), zeri(34));
}

TEST(FileSim, HeaderSlotsAndNamesSitAtTheirFields) {
  modello m;
  alloca_griglia(m, 0);
  m.punti[punto_scenario].testo = "Morsalo_Torvia";
  m.punti[punto_codici].testo = "R20417";
  ASSERT_EQ(marche_e_codici(m), 0);
  const std::string b = byte_file_sim(m);
  ASSERT_EQ(b.size(), 87u * 34 + 14 + 6);
  const size_t r85 = 85 * 34;
  EXPECT_EQ(b.substr(r85 + 16, 14), "Morsalo_Torvia");
  EXPECT_EQ(esadecimale(b.substr(r85 + 14, 2)), "0e 00");
  EXPECT_EQ(esadecimale(b.substr(r85 + 16 + 14, 2)), "62 02");          // 610
  EXPECT_EQ(esadecimale(b.substr(r85 + 30 + 14, 4)), "12 89 00 00");    // 35090
  const size_t r86 = r85 + 34 + 14;
  EXPECT_EQ(b.substr(r86 + 16, 6), "R20417");
  EXPECT_EQ(b.size(), r86 + 34 + 6);
}

TEST(FileSim, TextLengthLimit) {
  modello m;
  m.punti[80].testo = std::string(32767, 'x');
  EXPECT_EQ(byte_file_sim(m).size(), 87u * 34 + 32767);
  EXPECT_EQ(esadecimale(byte_file_sim(m).substr(80 * 34 + 14, 2)), "ff 7f");
  m.punti[80].testo += 'x';
  EXPECT_THROW(byte_file_sim(m), errore_esecuzione);
}

TEST(FileDat, CellLayout) {
  modello m;
  alloca_griglia(m, 0);  // cells 0..140
  cella& c = m.celle[2];
  c.tipo = 1;
  c.valore = 52;
  c.valore_2 = -2;
  c.valore_3 = 0x1234;
  c.valore_4 = 8;
  c.tempo = 250;
  c.preavviso = 1;
  c.montagna = 2;
  c.velocita = 30;
  c.pendenza = 100;
  c.aderenza = 255;
  m.celle[140].aderenza = 9;
  std::string b = byte_file_dat(m);
  ASSERT_EQ(b.size(), 15u * 141);
  EXPECT_EQ(esadecimale(b.substr(30, 15)), "01 34 00 fe ff 34 12 08 00 fa 01 02 1e 64 ff");
  EXPECT_EQ(esadecimale(b.substr(15 * 140)), zeri(14) + " 09");

  m.punti[punto_codici].testo = "R20417";
  m.punti[punto_scenario].testo = "Morsalo_Torvia";
  ASSERT_EQ(marche_e_codici(m), 0);
  b = byte_file_dat(m);
  // Cell 1: mark 5121, code 2475.
  EXPECT_EQ(esadecimale(b.substr(15, 5)), "00 01 14 ab 09");
}

// A plan filled the way the line compile fills it: two integer points, doubles
// up to lunghezza_estesa - 2, two empty points.
void riempi_profilo(modello& m, double (*x)(int32_t), double (*y)(int32_t)) {
  alloca_profilo(m);
  profilo_linea& p = m.profilo;
  imposta_punto(p, 0, 0, 0, variante_intero);
  imposta_punto(p, 0, 1, 0, variante_intero);
  imposta_punto(p, 1, 0, 0, variante_intero);
  imposta_punto(p, 1, 1, 1, variante_intero);
  for (int32_t i = 2; i <= p.limite - 2; ++i) {
    imposta_punto(p, i, 0, x(i), variante_doppio);
    imposta_punto(p, i, 1, y(i), variante_doppio);
  }
}

TEST(FileLinea, ElementLayout) {
  modello m;
  m.lunghezza_estesa = 6;
  riempi_profilo(
      m, [](int32_t i) { return i == 2 ? 1.5 : 0.25; }, [](int32_t i) { return i == 4 ? -2.0 : 0.0; });
  const std::string b = byte_file_linea(m.profilo);
  ASSERT_EQ(b.size(), 20u * 6 - 36);
  const std::string prima_meta =
      "02 00 00 00 "
      "02 00 00 00 "
      "05 00 00 00 00 00 00 00 f8 3f "
      "05 00 00 00 00 00 00 00 d0 3f "
      "05 00 00 00 00 00 00 00 d0 3f "
      "00 00 "
      "00 00";
  const std::string seconda_meta =
      "02 00 00 00 "
      "02 00 01 00 "
      "05 00 00 00 00 00 00 00 00 00 "
      "05 00 00 00 00 00 00 00 00 00 "
      "05 00 00 00 00 00 00 00 00 c0 "
      "00 00 "
      "00 00";
  EXPECT_EQ(esadecimale(b), prima_meta + " " + seconda_meta);
}

TEST(FileLinea, SizeOfARealLine) {
  modello m;
  alloca_griglia(m, 62000);
  riempi_profilo(m, [](int32_t i) { return i * 1.0; }, [](int32_t) { return 0.5; });
  EXPECT_EQ(byte_file_linea(m.profilo).size(), 1379964u);
}

TEST(FileLinea, RefusesWhatItCannotWrite) {
  modello m;
  m.lunghezza_estesa = 6;
  alloca_profilo(m);
  m.profilo.tipi[1][3] = 8;  // a string variant: never part of a plan
  EXPECT_THROW(byte_file_linea(m.profilo), errore_esecuzione);

  alloca_profilo(m);
  imposta_punto(m.profilo, 0, 0, 40000, variante_intero);  // beyond 16 bits
  EXPECT_THROW(byte_file_linea(m.profilo), errore_esecuzione);

  alloca_profilo(m);
  m.profilo.valori[1].pop_back();
  EXPECT_THROW(byte_file_linea(m.profilo), errore_esecuzione);

  EXPECT_EQ(byte_file_linea(profilo_linea{}), "");

  // Far into a plan longer than the stretches its types are counted in.
  m.lunghezza_estesa = 1000;
  alloca_profilo(m);
  m.profilo.tipi[0][700] = 8;
  EXPECT_THROW(byte_file_linea(m.profilo), errore_esecuzione);
}

fs::path cartella_di_prova(const char* nome) {
  fs::path d = fs::temp_directory_path() / ("scenario_test_" + std::string(nome));
  fs::remove_all(d);
  fs::create_directories(d);
  return d;
}

using prova::leggi_file;

void scrivi_file(const fs::path& p, const std::string& s) {
  std::ofstream f(p, std::ios::binary);
  f << s;
}

modello piccolo_modello(int32_t genera_linea) {
  modello m;
  m.nome_scenario = "Prova";
  m.codice_treno = "T1";
  m.genera_linea = genera_linea;
  alloca_griglia(m, 0);
  if (genera_linea != 0) {
    riempi_profilo(m, [](int32_t) { return 1.0; }, [](int32_t) { return 2.0; });
  }
  return m;
}

TEST(ScriviFileBinari, ReplacesLongerOlderFilesOnDisk) {
  fs::path d = cartella_di_prova("file_binari");
  const std::string vecchio(100000, 'z');
  scrivi_file(d / "Prova_linea.dat", vecchio);
  scrivi_file(d / "Prova_T1.sim", vecchio);
  scrivi_file(d / "Prova_T1.dat", vecchio);
  modello m = piccolo_modello(1);
  archivio_disco a(d);
  EXPECT_EQ(scrivi_file_binari(m, a),
            (std::vector<std::string>{"Prova_linea.dat", "Prova_T1.sim", "Prova_T1.dat"}));
  EXPECT_EQ(leggi_file(d / "Prova_linea.dat"), byte_file_linea(m.profilo));
  EXPECT_EQ(leggi_file(d / "Prova_T1.sim"), byte_file_sim(m));
  EXPECT_EQ(leggi_file(d / "Prova_T1.dat"), byte_file_dat(m));
  EXPECT_EQ(fs::file_size(d / "Prova_T1.sim"), 87u * 34);
  EXPECT_EQ(fs::file_size(d / "Prova_T1.dat"), 15u * 141);
  EXPECT_EQ(fs::file_size(d / "Prova_linea.dat"), 20u * 7000 - 36);
  // Nothing else left in the folder.
  EXPECT_EQ(std::distance(fs::directory_iterator(d), fs::directory_iterator()), 3);
  fs::remove_all(d);
}

// A plan far longer than one of the pieces the file is written in: every
// element where it belongs, on disk as in memory.
TEST(ScriviFileBinari, ALongLineFileComesOutWhole) {
  fs::path d = cartella_di_prova("file_binari_lunga");
  modello m = piccolo_modello(1);
  alloca_griglia(m, 250000);
  riempi_profilo(m, [](int32_t i) { return i * 0.5; }, [](int32_t i) { return -i * 0.25; });
  archivio_disco a(d);
  scrivi_file_binari(m, a);
  const std::string b = leggi_file(d / "Prova_linea.dat");
  EXPECT_EQ(b, byte_file_linea(m.profilo));
  const size_t punti = 257001;
  ASSERT_EQ(b.size(), 20 * punti - 56);
  EXPECT_EQ(file_binari(m).front().dimensione, b.size());
  // First coordinate of point 200000, then second coordinate of point 250000.
  const size_t x = 8 + (200000 - 2) * 10;
  const size_t y = (8 + (punti - 4) * 10 + 4) + 8 + (250000 - 2) * 10;
  double v;
  EXPECT_EQ(esadecimale(b.substr(x, 2)), "05 00");
  std::memcpy(&v, b.data() + x + 2, 8);
  EXPECT_EQ(v, 100000.0);
  EXPECT_EQ(esadecimale(b.substr(y, 2)), "05 00");
  std::memcpy(&v, b.data() + y + 2, 8);
  EXPECT_EQ(v, -62500.0);
  fs::remove_all(d);
}

TEST(ScriviFileBinari, WithoutLinePlanTheOldLineFileStays) {
  fs::path d = cartella_di_prova("file_binari_senza_linea");
  scrivi_file(d / "Prova_linea.dat", "older line");
  modello m = piccolo_modello(0);
  archivio_disco a(d);
  EXPECT_EQ(scrivi_file_binari(m, a), (std::vector<std::string>{"Prova_T1.sim", "Prova_T1.dat"}));
  EXPECT_EQ(leggi_file(d / "Prova_linea.dat"), "older line");
  EXPECT_TRUE(fs::exists(d / "Prova_T1.sim"));
  EXPECT_TRUE(fs::exists(d / "Prova_T1.dat"));
  fs::remove_all(d);
}

TEST(ScriviFileBinari, ALinePlanAskedForButMissingWritesNothing) {
  modello m = piccolo_modello(0);
  m.genera_linea = 1;
  archivio_memoria a;
  a.file["Prova_T1.sim"] = "old";
  EXPECT_THROW(scrivi_file_binari(m, a), errore_esecuzione);
  EXPECT_EQ(a.file.size(), 1u);
  EXPECT_EQ(a.file["Prova_T1.sim"], "old");
}

}  // namespace
