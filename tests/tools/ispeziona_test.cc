#include "scenario/ispeziona.h"

#include <gtest/gtest.h>

#include <optional>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "scenario/esame_file.h"
#include "scenario/stampa_esame.h"
#include "tools/json_prova.h"
#include "tools/file_di_prova.h"

namespace {

using prova::byte;

// What the tool prints as JSON is read back with nlohmann-json; a missing key
// or element throws, which fails the test that asked for it.
using json = nlohmann::json;


std::vector<std::string> righe(const std::string& testo) {
  std::vector<std::string> r;
  std::istringstream in(testo);
  for (std::string riga; std::getline(in, riga);) r.push_back(riga);
  return r;
}

// The lines of `testo` from the one equal to `prima`, as many as `attese` has.
std::vector<std::string> da_riga(const std::string& testo, const std::string& prima, size_t quante) {
  std::vector<std::string> r = righe(testo);
  for (size_t i = 0; i < r.size(); ++i) {
    if (r[i] == prima) return {r.begin() + static_cast<std::ptrdiff_t>(i),
                               r.begin() + static_cast<std::ptrdiff_t>(std::min(r.size(), i + quante))};
  }
  ADD_FAILURE() << "no line \"" << prima << "\" in\n" << testo;
  return {};
}

std::string testo_di(const std::string& nome, const std::string& contenuto) {
  esame_file e = esamina(nome, contenuto);
  EXPECT_EQ(e.errore, "");
  std::ostringstream out;
  stampa_testo(e, out);
  return out.str();
}

using prova::esecuzione;

esecuzione esegui(const std::vector<std::string>& argomenti) { return prova::esegui(ispeziona, argomenti); }

// ---- The point table ----------------------------------------------------------

TEST(Ispeziona, PointTableShowsHeaderSlotsStationsAndSigns) {
  std::string sim = prova::file_sim(prova::punti_di_prova());
  ASSERT_EQ(sim.size(), 87u * 34 + 15 + 12 + 26 + 20 + 5);
  std::string t = testo_di("M_T.sim", sim);
  std::vector<std::string> attese = {
      "M_T.sim: train scenario file, 3036 bytes, 87 records",
      "  progressiva_tre      from 0 m, figure 150400 m, direction 1",
      "  progressiva_due      from 0 m, figure 0 m, direction 0",
      "  progressiva_uno      from 0 m, figure 0 m, direction 0",
      "  (the text's progressives are stored reordered: by position, largest first,",
      "  into progressiva_tre, _due, _uno; when every position is 0, the first of the",
      "  text's uno, due, tre with a figure leads. A direction of 1 has added 100 m to",
      "  the figure: the text's",
      "  `progressiva ... uno, 0, 150300, 1` alone is progressiva_tre 0, 150400, 1.)",
      "  massa_frenata        105",
      "  lunghezza_percorso   62000 m",
      "  numero_vetture       4",
      "  sfondo_uno           3",
      "  sfondo_due           2",
      "  sfondo_tre           1",
      "  scenario name        \"aaaaaaaaaaaaaaaaaaaa\"",
      "  marca_sim            610",
      "  codice_st            31525",
      "  ripetizione_inizio   0 m",
      "  ripetizione_fine     60000 m",
      "  numero_codici        4",
      "  train code           \"aaaaa\"",
      "  sabbia               300",
      "  orologio             12:42:20",
      "stations: 2",
      "   1  kind 12  \"MORSALO / MORSK\"",
      "      at 0 m (0.000 km), extent -500 to 500 m, time 12:43:00, stop 1 s",
      "      opzione_1 1, opzione_2 0, opzione_3 0, opzione_4 0, intero 4 1 2 1 1",
      "   2  kind 24  \"Cal\xC3\xA8/ Kaltig\"",
      "      at 7800 m (7.800 km), extent 7700 to 7900 m, time none, no stop",
      "      opzione_1 0, opzione_2 0, opzione_3 0, opzione_4 0, intero 0 0 0 0 0",
      "sign texts: 1",
      "  80  \"(P.L.       )(Km. 140.791)\"",
  };
  EXPECT_EQ(righe(t), attese);
}

TEST(Ispeziona, PointTableWarnsOfWrongMarkCodeAndStrayRecords) {
  auto p = prova::punti_di_prova();
  p[punto_scenario].intero_1 = 0;
  p[punto_scenario].orario = 31524;
  p[40].sosta = 3;
  std::string t = testo_di("M_T.sim", prova::file_sim(p));
  std::vector<std::string> attese = {
      "other records:",
      "  40  sosta 3",
      "warning: marca_sim is 0, not the file mark 610",
      "warning: codice_st is 31524; the train code and scenario name of this file give 31525",
      "warning: record 40 is neither a station nor a sign text",
  };
  EXPECT_EQ(da_riga(t, "other records:", 5), attese);
}

// ---- The cell file --------------------------------------------------------------

TEST(Ispeziona, CellFileShowsObjectsMarksAndRuns) {
  std::string dat = prova::celle_di_prova();
  ASSERT_EQ(dat.size(), 13u * 15);
  ASSERT_EQ(dat.substr(16, 2), "\x01\x14");  // the file mark where readers look for it
  std::string t = testo_di("M_T.dat", dat);
  std::vector<std::string> attese = {
      "M_T.dat: train cell file, 195 bytes, 13 cells (0 to 600 m)",
      "  marca_dat            5121",
      "  codice_og            2473",
      "objects: 10",
      "  (cell k stands at k x 50 m; in brackets, the positions a text gives for what lands",
      "  in it, for a stop cell the end of the station's extent)",
      "  cell    2     100 m    0.100 km  (25-75 m)       segnale                left 5 1 0, right 2 1 0, sx 2, dx 2, rapp 0, tempo 250",
      "  cell    3     150 m    0.150 km  (76-124 m)      avviso_rallentamento   40 km/h",
      "  cell    4     200 m    0.200 km  (125-175 m)     inizio_rallentamento   40 km/h, d_v 5, f_tt 1",
      "  cell    5     250 m    0.250 km  (176-224 m)     fine_rallentamento     40 km/h, f_tt 1",
      "  cell    6     300 m    0.300 km  (225-275 m)     tabella_rallentamento  board 2",
      "  cell    7     350 m    0.350 km  (276-324 m)     indicatore_v_max       s 95 100 105, d 95 100 105, stripes s 0 d 0",
      "  cell    8     400 m    0.400 km  (325-375 m)     indicatore_v_max       s 70 75 75, d 70 75 75, stripes s 2 d 2",
      "  cell    9     450 m    0.450 km  (376-424 m)     cartello               sign text record 80",
      "  cell   10     500 m    0.500 km  (end 525-575 m) fermata                station record 1",
      "  cell   11     550 m    0.550 km  (476-524 m)     kind 9                 valore 7",
      "approach marks (preavviso):",
      "  cell   12     600 m: 81  warning code 1 (sx x 3 + dx = 8), or approach mark; no signal or stop cell "
      "where it points",
      "speed (velocita x 5):",
      "  cells    0-1          0 m to     100 m: 30 km/h",
      "  cells    2-12       100 m to     650 m: 100 km/h",
      "gradient (pendenza - 100):",
      "  cells    0-1          0 m to     100 m: 0 per mille",
      "  cells    2-12       100 m to     650 m: -4 per mille",
      "adhesion (aderenza):",
      "  cells    0-12         0 m to     650 m: 55",
      "mountain (montagna):",
      "  cells    0-12         0 m to     650 m: 0",
      "warning: 1 cells hold a kind that is never stored (the first, cell 11, kind 9)",
  };
  EXPECT_EQ(righe(t), attese);
}

TEST(Ispeziona, ValuesThatDoNotSplitAreShownRaw) {
  std::vector<cella> c(3);
  c[1].valore = 5121;
  c[2].tipo = segnale;
  c[2].valore = 123;  // not two digits
  c[2].valore_4 = 3;
  std::string t = testo_di("M_T.dat", prova::file_dat(c));
  EXPECT_EQ(da_riga(t, "objects: 1", 4)[3],
            "  cell    2     100 m    0.100 km  (25-75 m)       segnale                valore 123, valore_4 3");
}

// ---- The line profile -------------------------------------------------------------

TEST(Ispeziona, LineProfileShowsTypesExtentAndLength) {
  std::string linea = prova::linea_di_prova();
  ASSERT_EQ(linea.size(), 20u * 5 - 36);  // lunghezza_estesa 5
  std::string t = testo_di("M_linea.dat", linea);
  std::vector<std::string> attese = {
      "M_linea.dat: line profile file, 64 bytes, 6 points (0 to 5) for each coordinate",
      "  first coordinate:  0-1 16-bit integer, 2-3 double, 4-5 empty",
      "  second coordinate: 0-1 16-bit integer, 2-3 double, 4-5 empty",
      "  plan: 4 points with both coordinates",
      "  first coordinate from 0.0 to 3.0 m",
      "  second coordinate from 0.0 to 6.0 m",
      "  length along the plan: 7.0 m",
  };
  EXPECT_EQ(righe(t), attese);
}

// ---- Files that do not fit ----------------------------------------------------

TEST(Ispeziona, InputsThatDoNotFitTheirLayoutFailWithTheirReason) {
  std::string sim = prova::file_sim({});
  ASSERT_EQ(sim.size(), 87u * 34);
  std::string testo_lungo = sim;
  testo_lungo[14] = '\x88';  // record 0's text: 5000 bytes
  testo_lungo[15] = '\x13';
  std::string variante_3 = byte().i16(2).i16(0).i16(3).i16(0).b;

  struct caso {
    std::string nome;
    std::string contenuto;
    std::string errore;
  };
  const std::vector<caso> casi = {
      {"vuoto.sim", "", "the file is empty"},
      {"corto.sim", sim.substr(0, 100), "the file ends inside record 2, at field orario (offset 98 of 100 bytes)"},
      {"testo.sim", testo_lungo,
       "record 0: a text of 5000 bytes at offset 16 runs past the end of the file (2958 bytes)"},
      {"lungo.sim", sim + "xyz", "3 bytes follow the last of the 87 records"},
      {"vuoto.dat", "", "the file is empty"},
      {"Morsalo_Torvia_R20417.dat", std::string(20714, '\0'), "20714 bytes is not a whole number of 15-byte cells"},
      {"una.dat", std::string(15, '\0'), "15 bytes hold only cell 0; a cell file has at least cells 0 and 1"},
      {"vuoto_linea.dat", "", "the file is empty"},
      {"tipo_linea.dat", variante_3,
       "element 1 at offset 4 has variant type 3; a line profile holds only types 0, 2 and 5"},
      {"dispari_linea.dat", std::string(6, '\0'), "3 elements do not split into two equal halves, one for each coordinate"},
      {"doppio_linea.dat", std::string("\x05\x00\x01\x02\x03", 5),
       "the file ends inside element 0: its double needs 8 bytes at offset 2, 3 left"},
      {"mezzo_linea.dat", std::string(1, '\0'), "the file ends inside the type of element 0 (offset 0)"},
      {"enorme_linea.dat", std::string(2 * (2 * 1007001 + 1), '\0'),
       "more than 2014002 elements: longer than the plan of the longest line"},
      {"assente.sim", "", "cannot be read: No such file or directory"},
      {"cartella.dat", "", "is a folder, not a file"},
      {"note.txt", "testo", "not a name of a scenario file (it should end in .sim, .dat or _linea.dat)"},
  };
  prova::cartella_temporanea dir;
  for (const caso& c : casi) {
    std::string percorso = (dir.percorso() / c.nome).string();
    if (c.nome == "cartella.dat") {
      std::filesystem::create_directory(percorso);
    } else if (c.nome != "assente.sim") {
      dir.scrivi(c.nome, c.contenuto);
    }
    esecuzione r = esegui({percorso});
    EXPECT_EQ(r.stato, 2) << c.nome;
    EXPECT_EQ(r.err, percorso + ": " + c.errore + "\n") << c.nome;
    EXPECT_EQ(r.out, "") << c.nome;
  }
}

TEST(Ispeziona, ReadingStopsAtTheSizeLimit) {
  if (!std::filesystem::exists("/dev/zero")) GTEST_SKIP() << "no endless file to read here";
  auto r = leggi_file("/dev/zero");
  EXPECT_EQ(r.errore, "larger than 67108864 bytes: too large for a scenario file");
  EXPECT_EQ(r.dati, "");
}

TEST(Ispeziona, EveryFileIsReportedWhenOneFails) {
  prova::cartella_temporanea dir;
  std::string buono = dir.scrivi("M_linea.dat", prova::linea_di_prova());
  std::string guasto = dir.scrivi("M_T.dat", std::string(16, '\0'));
  esecuzione r = esegui({guasto, buono});
  EXPECT_EQ(r.stato, 2);
  EXPECT_EQ(r.err, guasto + ": 16 bytes is not a whole number of 15-byte cells\n");
  EXPECT_EQ(righe(r.out).at(0), buono + ": line profile file, 64 bytes, 6 points (0 to 5) for each coordinate");
}

TEST(Ispeziona, CommandLine) {
  esecuzione aiuto = esegui({"--help"});
  EXPECT_EQ(aiuto.stato, 0);
  EXPECT_EQ(aiuto.out.rfind("usage: scenario inspect FILE... [--json]\n", 0), 0u);

  const struct {
    std::vector<std::string> argomenti;
    std::string prima_riga;
  } sbagliati[] = {
      {{}, "scenario inspect: no file given"},
      {{"--json"}, "scenario inspect: no file given"},
      {{"--xml", "a.sim"}, "scenario inspect: The following argument was not expected: --xml"},
  };
  for (const auto& s : sbagliati) {
    esecuzione r = esegui(s.argomenti);
    EXPECT_EQ(r.stato, 2) << s.prima_riga;
    EXPECT_EQ(righe(r.err).at(0), s.prima_riga);
    EXPECT_EQ(r.out, "");
  }
}

// ---- JSON -------------------------------------------------------------------------

TEST(Ispeziona, JsonOutputIsOneValidObject) {
  auto p = prova::punti_di_prova();
  p[1].testo = std::string("Q\"\\\x01\xE8", 5);
  prova::cartella_temporanea dir;
  std::string sim = dir.scrivi("M_T.sim", prova::file_sim(p));
  std::string dat = dir.scrivi("M_T.dat", prova::celle_di_prova());
  std::string linea = dir.scrivi("M_linea.dat", prova::linea_di_prova());
  std::string guasto = dir.scrivi("G_T.dat", "x");
  esecuzione r = esegui({"--json", sim, dat, linea, guasto});
  EXPECT_EQ(r.stato, 2);
  EXPECT_EQ(r.err, guasto + ": 1 bytes is not a whole number of 15-byte cells\n");
  auto j = prova::leggi_json(r.out);
  ASSERT_TRUE(j.has_value()) << r.out;
  const json& file = j->at("files");
  ASSERT_EQ(file.size(), 4u);

  const json& s = file.at(0);
  EXPECT_EQ(s.at("file").get<std::string>(), sim);
  EXPECT_EQ(s.at("kind").get<std::string>(), "train scenario file");
  EXPECT_EQ(s.at("header").at("orologio").get<std::string>(), "12:42:20");
  EXPECT_EQ(s.at("header").at("sfondo_due").get<double>(), 2);
  EXPECT_EQ(s.at("header").at("progressiva_tre").at("figure_m").get<double>(), 150400);
  EXPECT_EQ(s.at("stations").at(0).at("testo").get<std::string>(), "Q\"\\\x01\xC3\xA8");
  EXPECT_EQ(s.at("stations").at(0).at("time").get<std::string>(), "12:43:00");
  EXPECT_EQ(s.at("stations").at(1).at("posizione").get<double>(), 7800);
  EXPECT_EQ(s.at("signs").at(0).at("record").get<double>(), 80);
  EXPECT_EQ(s.at("warnings").size(), 0u);

  const json& d = file.at(1);
  EXPECT_EQ(d.at("cells").get<double>(), 13);
  EXPECT_EQ(d.at("marca_dat").get<double>(), 5121);
  const json& segnale = d.at("objects").at(0);
  EXPECT_EQ(segnale.at("kind").get<std::string>(), "segnale");
  EXPECT_EQ(segnale.at("m").get<double>(), 100);
  EXPECT_EQ(segnale.at("km").get<double>(), 0.1);
  EXPECT_EQ(segnale.at("left").at(0).get<double>(), 5);
  EXPECT_EQ(segnale.at("right").at(0).get<double>(), 2);
  EXPECT_EQ(segnale.at("tempo").get<double>(), 250);
  // Cell 2 takes the positions 25 to 75 m of a text; the stop cell 10 the
  // extent ends 525 to 575 m.
  EXPECT_EQ(segnale.at("text_from_m").get<double>(), 25);
  EXPECT_EQ(segnale.at("text_to_m").get<double>(), 75);
  EXPECT_EQ(d.at("objects").at(8).at("kind").get<std::string>(), "fermata");
  EXPECT_EQ(d.at("objects").at(8).at("text_from_m").get<double>(), 525);
  EXPECT_EQ(d.at("preavviso").at(0).at("meaning").get<std::string>().rfind("warning code 1", 0), 0u);
  EXPECT_FALSE(s.at("header").at("progressives_note").get<std::string>().empty());
  EXPECT_EQ(d.at("objects").at(5).at("s").at(2).get<double>(), 105);
  EXPECT_EQ(d.at("pendenza").at(1).at("value").get<double>(), -4);
  EXPECT_EQ(d.at("velocita").at(1).at("to_m").get<double>(), 650);
  EXPECT_EQ(d.at("warnings").size(), 1u);

  const json& l = file.at(2);
  EXPECT_EQ(l.at("points").get<double>(), 6);
  EXPECT_EQ(l.at("length_m").get<double>(), 7);
  EXPECT_EQ(l.at("second_max").get<double>(), 6);
  EXPECT_EQ(l.at("first_coordinate_types").at(1).at("name").get<std::string>(), "double");

  EXPECT_EQ(file.at(3).at("error").get<std::string>(), guasto + ": 1 bytes is not a whole number of 15-byte cells");
}

// ---- The built-in scenario --------------------------------------------------------

TEST(Ispeziona, BuiltInScenarioCompiledInMemory) {
  modello m = prova::scenario_incorporato();
  ASSERT_EQ(m.numero_errore, 0);
  std::string t = testo_di("Morsalo_Torvia_R20417.sim", prova::file_sim(m.punti));
  EXPECT_EQ(da_riga(t, "stations: 12", 5)[4], "   2  kind 27  \"Bivio Ganzena/Ganzen\"");
  EXPECT_EQ(da_riga(t, "sign texts: 20", 2)[1], "  80  \"(PONTE SUL   )(FIUME VERSAL)\"");
  EXPECT_EQ(da_riga(t, "  orologio             12:42:20", 1).size(), 1u);

  EXPECT_EQ(t.find("warning:"), std::string::npos) << t;

  std::string c = testo_di("Morsalo_Torvia_R20417.dat", prova::file_dat(m.celle));
  EXPECT_EQ(c.find("warning:"), std::string::npos) << c;
  EXPECT_EQ(righe(c).at(0), "Morsalo_Torvia_R20417.dat: train cell file, 20715 bytes, 1381 cells (0 to 69000 m)");
  for (const std::string& riga : {
           std::string("  cell   15     750 m    0.750 km  (676-724 m)     indicatore_v_max       s 95 100 105, d 95 100 105, "
                       "stripes s 0 d 0"),
           std::string("  cell  190    9500 m    9.500 km  (9425-9475 m)   segnale                left 5 1 0, right 2 1 0, sx 2, "
                       "dx 2, rapp 0, tempo 250"),
           std::string("  cell 1024   51200 m   51.200 km  (51125-51175 m) indicatore_v_max       s 70 75 75, d 70 75 75, "
                       "stripes s 2 d 2"),
           std::string("  cell  188    9400 m: 81  warning code 1 of the signal in cell 190 (sx 2, dx 2), 100 m "
                       "before it"),
           std::string("  cell  225   11250 m: 81  approach mark 1 of the station stopping in cell 226, 1 cell "
                       "before it"),
           std::string("  cell  222   11100 m: 84  approach mark 4 of the station stopping in cell 226, 4 cells "
                       "before it"),
           std::string("  cells    0-13         0 m to     700 m: 30 km/h"),
           std::string("  cells  332-427    16600 m to   21400 m: -4 per mille"),
           std::string("  cells 1378-1380   68900 m to   69050 m: -100 per mille (pendenza 0)"),
       }) {
    EXPECT_EQ(da_riga(c, riga, 1).size(), 1u);
  }

  std::string l = testo_di("Morsalo_Torvia_linea.dat", prova::file_linea(m.profilo));
  EXPECT_EQ(righe(l).at(0),
            "Morsalo_Torvia_linea.dat: line profile file, 1379964 bytes, 69001 points (0 to 69000) for each "
            "coordinate");
  EXPECT_EQ(righe(l).at(1), "  first coordinate:  0-1 16-bit integer, 2-68998 double, 68999-69000 empty");
}

// ---- Damaged files ------------------------------------------------------------------

// Every cut and many random bytes of the small files: each either decodes or
// says why not, and what decodes prints as text and as JSON that parses.
TEST(Ispeziona, DamagedFilesFailGracefully) {
  const std::pair<std::string, std::string> file[] = {{"M_T.sim", prova::file_sim(prova::punti_di_prova())},
                                                      {"M_T.dat", prova::celle_di_prova()},
                                                      {"M_linea.dat", prova::linea_di_prova()}};
  std::mt19937 caso(20417);
  for (const auto& [nome, buono] : file) {
    std::vector<std::string> danni;
    for (size_t n = 0; n < buono.size(); ++n) danni.push_back(buono.substr(0, n));
    for (int k = 0; k < 300; ++k) {
      std::string d = buono;
      for (int volte = 1 + static_cast<int>(caso() % 4); volte > 0; --volte) {
        d[caso() % d.size()] = static_cast<char>(caso());
      }
      danni.push_back(d);
    }
    for (const std::string& d : danni) {
      esame_file e = esamina(nome, d);
      std::ostringstream testo, uscita_json;
      stampa_testo(e, testo);
      scrittore_json j(uscita_json);
      stampa_json(e, j);
      EXPECT_TRUE(prova::leggi_json(uscita_json.str()).has_value()) << uscita_json.str();
      // The point table has a fixed number of records: any cut shows.
      if (nome == "M_T.sim" && d.size() < buono.size()) {
        EXPECT_NE(e.errore, "") << "cut at " << d.size();
      }
      EXPECT_EQ(e.errore.empty(), !testo.str().empty());
    }
  }
}

}  // namespace
