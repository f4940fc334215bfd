#include "scenario/decompila.h"

#include <gtest/gtest.h>

#include "scenario/ricostruzione.h"
#include "tools/aiuti_prova.h"
#include "tools/file_di_prova.h"

namespace {

using namespace prova;

const std::string nome = "Prova";
const std::string codice = "T1";

std::string righe(const std::vector<std::string>& r) {
  std::string t;
  for (const std::string& x : r) t += x + "\r\n";
  return t;
}

// A line of 20 km with the records given, and a train text with its records.
std::string linea_con(const std::vector<std::string>& corpo,
                      const std::vector<std::string>& generale = {"progressiva chilometrica uno, 0, 0, 0"}) {
  std::vector<std::string> r = {"[generale]", "lunghezza percorso, 20000"};
  r.insert(r.end(), generale.begin(), generale.end());
  r.push_back("[corpo]");
  r.insert(r.end(), corpo.begin(), corpo.end());
  r.push_back("[fine]");
  return righe(r);
}

std::string treno_con(const std::vector<std::string>& corpo) {
  std::vector<std::string> r = {"[generale]", "numero vetture, 3", "velocita, 0, 100", "aderenza, 0, 60"};
  r.insert(r.end(), corpo.begin(), corpo.end());
  r.push_back("[fine]");
  return righe(r);
}

// The files of a compile that recorded no error.
scenario_binario compilato(const std::string& linea, const std::string& treno, bool con_linea = true) {
  compilazione_memoria c = compila_in_memoria(nome, codice, linea, treno, con_linea);
  EXPECT_EQ(c.errore, 0) << "the fixture must compile without error, at " << c.posizione_errore << " m";
  return c.file;
}

std::string elenco(const std::vector<std::string>& v) {
  std::string s;
  for (const std::string& x : v) s += "  " + x + "\n";
  return s;
}

TEST(Decompila, TheBuiltInScenarioComesBackAsItsOwnRecords) {
  const modello m = scenario_incorporato();
  scenario_binario s{m.punti, m.celle, m.profilo};
  const ricostruzione r = ricostruisci(s);
  ASSERT_TRUE(r.identico) << elenco(r.differenze);
  EXPECT_EQ(record_di(r.linea), record_di(testo_linea_incorporato()));
  EXPECT_EQ(record_di(r.treno), record_di(testo_treno_incorporato()));
  // Windows-1252 with CR LF: the station name with its e grave, no lone LF.
  EXPECT_NE(r.treno.find("Cal\xE8/ Kaltig\r\n"), std::string::npos);
  EXPECT_EQ(sostituisci(r.treno, "\r\n", "").find('\n'), std::string::npos);
}

// Each row is one inference: the scenario compiles without error, its
// decompiled texts compile to the same bytes, and, where given, the records
// of one kind come back as written.
struct caso {
  const char* nome;
  std::vector<std::string> linea;
  std::vector<std::string> treno;
  std::vector<std::string> generale = {"progressiva chilometrica uno, 0, 0, 0"};
  bool con_linea = true;
  // The decompiled records of this keyword, as "key: n n n".
  const char* chiave = nullptr;
  std::vector<std::string> attesi = {};
};

void PrintTo(const caso& c, std::ostream* os) { *os << c.nome; }

std::vector<std::string> di_chiave(const std::string& testo, const std::string& chiave) {
  std::vector<std::string> r;
  for (const record_ricostruito& q : record_di(testo)) {
    if (q.chiave != chiave) continue;
    std::string s = q.chiave + ":";
    for (int64_t n : q.numeri) s += " " + std::to_string(n);
    if (q.testo) s += " " + *q.testo;
    r.push_back(s);
  }
  return r;
}

class Inferenza : public ::testing::TestWithParam<caso> {};

TEST_P(Inferenza, CompilesBackToTheSameBytes) {
  const caso& c = GetParam();
  const scenario_binario s = compilato(linea_con(c.linea, c.generale), treno_con(c.treno), c.con_linea);
  if (HasFailure()) return;
  const ricostruzione r = ricostruisci(s);
  EXPECT_TRUE(r.identico) << elenco(r.differenze) << r.linea << r.treno;
  if (c.chiave) {
    std::vector<std::string> ottenuti = di_chiave(r.linea, c.chiave);
    if (ottenuti.empty()) ottenuti = di_chiave(r.treno, c.chiave);
    EXPECT_EQ(ottenuti, c.attesi);
  }
}

const caso casi[] = {
    {"EveryCurveClassAndSide",
     {"curvad1, 500, 300", "curvas1, 1000, 300", "curvad2, 1500, 300", "curvas2, 2000, 300", "curvad3, 2500, 300",
      "curvas3, 3000, 300", "curvad4, 3500, 300", "curvas4, 4000, 300", "curvad5, 4500, 300", "curvas5, 5000, 300",
      "curvad6, 5500, 300", "curvas6, 6000, 300"},
     {},
     {},
     true,
     "curvad3",
     {"curvad3: 2500 300"}},
    {"BackToBackCurves", {"curvad2, 1000, 300", "curvas3, 1300, 200"}, {}, {}, true, "curvas3", {"curvas3: 1300 200"}},
    // The second curve starts inside the first: it lays from where the
    // first ended.
    {"OverlappingCurves", {"curvad2, 1000, 300", "curvas3, 1100, 400"}, {}, {}, true, "curvas3", {"curvas3: 1300 200"}},
    {"CurveClippedAtThePlansEnd", {"curvad1, 19800, 10000"}, {}, {}, true, "curvad1", {"curvad1: 19800 7198"}},
    {"SlowdownAtAHalfCellWithBoardsAndDv", {}, {"rallentamento, 5025, 40, 300, 1, 1, 20"}},
    {"SlowdownStartThatHidesItsEnd", {}, {"rallentamento, 6000, 50, 10, 0, 0, 0"}, {}, true, "rallentamento",
     {"rallentamento: 6000 50 0 0 0 0"}},
    {"LitAndUnlitMountains", {"montagna, 2000, 3000, 1", "montagna, 5000, 6000, 12"}, {}, {}, true, "montagna",
     {"montagna: 2000 3000 1", "montagna: 5000 6000 12"}},
    {"MountainForcedToKind3", {"montagna, 2000, 3000, 1", "montagna, 3100, 4000, 12", "montagna, 9000, 9500, 2"}, {}},
    // A stretch of kind 2 close after a stretch of kind 1: only a far
    // stretch of kind 3 in between keeps its kind.
    {"MountainKeptByAStretchBetween",
     {"montagna, 500, 800, 3", "montagna, 5000, 6000, 1", "montagna, 200, 300, 3", "montagna, 6100, 7000, 2"},
     {}},
    {"ProgressivesTreFirst", {}, {}, {"progressiva chilometrica tre, 500, 1000, 1", "progressiva chilometrica due, 300, 50, 0",
                                      "progressiva chilometrica uno, 100, 2000, 1"}},
    {"ProgressivesDueFirst", {}, {}, {"progressiva chilometrica tre, 100, 1000, 0", "progressiva chilometrica due, 900, 50, 1",
                                      "progressiva chilometrica uno, 400, 2000, 1"}},
    {"ProgressivesUnoFirst", {}, {}, {"progressiva chilometrica tre, 100, 1000, 0", "progressiva chilometrica due, 200, 50, 1",
                                      "progressiva chilometrica uno, 400, 2000, 1"}},
    {"ProgressivesByFigureDue", {}, {}, {"progressiva chilometrica due, 0, 150000, 1"}},
    {"ProgressivesByFigureTre", {}, {}, {"progressiva chilometrica tre, 0, 150000, 0"}},
    {"ProgressivesTiedAtTheTop", {}, {}, {"progressiva chilometrica tre, 500, 1000, 1", "progressiva chilometrica due, 500, 50, 0"}},
    {"BothKindsOfAbbattimento", {}, {"abbattimento, 3000, 60", "abbattimento, 4000, 0"}, {}, true, "abbattimento",
     {"abbattimento: 3000 60", "abbattimento: 4000 0"}},
    // Both cells in front of the signal are taken, the nearer by a marker of
    // 250: the pass caps it at 180, the value the files then hold.
    {"AbbattimentoAbove180NextToASignalBeforeAWarningPoint",
     {},
     {"rallentamento, 6000, 40, 300, 0, 0, 0", "segnale, 4450, 1, 4, 1, 0, 0, 0, 0, 0, 0, 0", "abbattimento, 4450, 250",
      "abbattimento, 4400, 0"}},
    {"PassMarkerBesideARecord", {}, {"abbattimento, 5300, 180", "rallentamento, 5500, 40, 300, 0, 0, 0"}},
    {"StationOverASignal",
     {},
     {"segnale, 2950, 2, 4, 1, 0, 1, 2, 2, 1, 0, 250", "stazione, 2800, 12, 500, 0, 0, 0, 1, 1, 0, 4, 1, 1, 30, 12, 0, 0, A"}},
    // The stops of the train text are written over objects of the line text.
    {"StationOverAnIndicatorBoard",
     {"indicatori_vmax, 2950, 60, 70, 80, 1, 65, 75, 85, 2"},
     {"stazione, 2800, 12, 500, 0, 0, 0, 1, 1, 0, 4, 1, 1, 30, 12, 0, 0, A"}},
    {"StationOverASignBoard",
     {"cartello_indicatore, 2950, (SOTTO)", "cartello_indicatore, 5000, (VISTO)"},
     {"stazione, 2800, 12, 500, 0, 0, 0, 1, 1, 0, 4, 1, 1, 30, 12, 0, 0, A"}},
    {"StationsBeforeSignals",
     {},
     {"stazione, 0, 12, 1000, 1, 0, 0, 4, 1, 0, 2, 1, 1, 1, 12, 43, 0, PARTENZA",
      "stazione, 5000, 24, 700, 0, 0, 1, 0, 0, 0, 3, 1, 1, 30, 12, 49, 5, Fermata", "segnale, 5200, 2, 4, 1, 0, 0, 2, 2, 1, 0, 0",
      "stazione, 9000, 6, 400, 0, 1, 1, 0, 0, 0, 3, 1, 1, 30, 12, 59, 59, Bivio"},
     {},
     true,
     "stazione",
     {"stazione: 0 12 1000 1 0 0 4 1 0 2 1 1 1 12 43 0 PARTENZA",
      "stazione: 5000 24 700 0 0 1 0 0 0 3 1 1 30 12 49 5 Fermata",
      "stazione: 9000 6 400 0 0 0 0 0 0 3 1 1 30 12 59 59 Bivio"}},
    {"OverlappingWarningCodes",
     {},
     {"segnale, 2100, 2, 4, 1, 0, 0, 2, 2, 1, 0, 0", "segnale, 2000, 1, 4, 1, 0, 0, 0, 2, 1, 0, 0"}},
    {"SpeedAndAdhesionRecordsAtOnePosition",
     {},
     {"velocita, 1000, 80", "aderenza, 1000, 70", "velocita, 1000, 120", "velocita, 3000, 60"}},
    {"IndicatorAndSignBoards",
     {"indicatori_vmax, 725, 93, 100, 105, 2, 95, 101, 105, 1", "cartello_indicatore, 1500, (P.L.)(Km 1.5)",
      "cartello_indicatore, 900, (PONTE)"},
     {},
     {},
     true,
     "cartello_indicatore",
     {"cartello_indicatore: 1500 (P.L.)(Km 1.5)", "cartello_indicatore: 900 (PONTE)"}},
    {"ACompileWithoutTheLineProfile", {"curvad1, 500, 300", "pendenza, 1000, -5"}, {}, {}, false},
};

INSTANTIATE_TEST_SUITE_P(Tabella, Inferenza, ::testing::ValuesIn(casi),
                         [](const ::testing::TestParamInfo<caso>& i) { return std::string(i.param.nome); });

}  // namespace

namespace {

// The built-in scenario's three files in a folder of their own.
struct file_incorporati {
  cartella_temporanea d;
  std::string sim, dat, linea;
  file_incorporati() {
    const modello m = scenario_incorporato();
    sim = d.scrivi("in/Morsalo_Torvia_R20417.sim", byte_file_sim(m));
    dat = d.scrivi("in/Morsalo_Torvia_R20417.dat", byte_file_dat(m));
    linea = d.scrivi("in/Morsalo_Torvia_linea.dat", byte_file_linea(m.profilo));
  }
  std::string in() const { return d / "in"; }
  std::string out() const { return d / "out"; }
};

std::string leggi(const std::string& p) {
  std::ifstream f(p, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(f), {});
}

TEST(ComandoDecompile, WritesTheTextsAndReportsAnIdenticalRoundTrip) {
  file_incorporati f;
  const uscita u = esegui(comando_decompile, {f.in(), "-o", f.out()});
  EXPECT_EQ(u.stato, 0) << u.err;
  EXPECT_NE(u.out.find("round trip: identical\n"), std::string::npos) << u.out;
  EXPECT_EQ(record_di(leggi(f.out() + "/Morsalo_Torvia_linea.txt")), record_di(testo_linea_incorporato()));
  EXPECT_EQ(record_di(leggi(f.out() + "/Morsalo_Torvia_R20417-.txt")), record_di(testo_treno_incorporato()));

  // The texts are there now: nothing is replaced without --force.
  const uscita di_nuovo = esegui(comando_decompile, {f.in(), "-o", f.out()});
  EXPECT_EQ(di_nuovo.stato, 2);
  EXPECT_NE(di_nuovo.err.find("already exists; use --force"), std::string::npos) << di_nuovo.err;
  EXPECT_EQ(esegui(comando_decompile, {f.in(), "-o", f.out(), "--force"}).stato, 0);
}

TEST(ComandoDecompile, TheFileSetWithoutALineProfileIsACompileWithTheProfileOff) {
  file_incorporati f;
  const uscita u = esegui(comando_decompile, {f.sim, f.dat, "-o", f.out()});
  EXPECT_EQ(u.stato, 0) << u.err << u.out;
  // No curve records: there was no plan to find them in.
  EXPECT_EQ(leggi(f.out() + "/Morsalo_Torvia_linea.txt").find("curva"), std::string::npos);
}

TEST(ComandoDecompile, FilesEditedByHandGiveTheNearestTextsAndEveryDifference) {
  file_incorporati f;
  // An approach mark that nothing writes, in cell 200, and a plan point moved.
  std::string dat = leggi(f.dat);
  dat[200 * 15 + 10] = 99;
  scrivi_file(f.dat, dat);
  std::string linea = leggi(f.linea);
  linea[2 + 2 + 2 + 2 + 10 * 500 + 5] ^= 1;  // in the double of point 502 of the first coordinate
  scrivi_file(f.linea, linea);
  const uscita u = esegui(comando_decompile, {f.in(), "-o", f.out()});
  EXPECT_EQ(u.stato, 1) << u.err;
  EXPECT_NE(u.out.find("cell 200 (10000 m): preavviso 0, the files hold 99"), std::string::npos) << u.out;
  EXPECT_NE(u.out.find("plan point 502"), std::string::npos) << u.out;
  // The texts are written all the same.
  EXPECT_FALSE(leggi(f.out() + "/Morsalo_Torvia_R20417-.txt").empty());
}

TEST(ComandoDecompile, BadOrMissingInputIsAUsageFailure) {
  file_incorporati f;
  f.d.scrivi("rotto/Morsalo_Torvia_R20417.dat", std::string(16, '\0'));
  f.d.scrivi("rotto/Morsalo_Torvia_R20417.sim", leggi(f.sim));
  const struct {
    std::vector<std::string> argomenti;
    std::string messaggio;
  } casi[] = {
      {{f.in()}, "no folder for the texts: give -o TEXTDIR"},
      {{"-o", f.out()}, "no folder or files given"},
      {{f.sim, "-o", f.out()}, "no train cell file (.dat) among the files given"},
      {{f.d / "rotto", "-o", f.out()},
       prova::unisci(f.d / "rotto", "Morsalo_Torvia_R20417.dat") + ": 16 bytes is not a whole number of 15-byte cells"},
      {{f.d / "nessuna", "-o", f.out()}, f.d / "nessuna" + ": no such file or folder"},
      {{f.in(), "-o", f.out(), "--scenario", "Altro"}, "no train scenario file (.sim) in " + f.in()},
      {{f.in(), "-o", f.out(), "--bogus"}, "--bogus"},
  };
  // A scenario name that would write outside TEXTDIR.
  {
    modello m = scenario_incorporato();
    m.punti[punto_scenario].testo = "../fuori";
    f.d.scrivi("strano/Morsalo_Torvia_R20417.sim", byte_file_sim(m));
    f.d.scrivi("strano/Morsalo_Torvia_R20417.dat", byte_file_dat(m));
  }
  const uscita strano = esegui(comando_decompile, {f.d / "strano", "-o", f.out()});
  EXPECT_EQ(strano.stato, 2);
  EXPECT_NE(strano.err.find("the scenario name it holds cannot name a text"), std::string::npos) << strano.err;
  EXPECT_FALSE(fs::exists(f.d / "fuori_linea.txt"));
  for (const auto& c : casi) {
    const uscita u = esegui(comando_decompile, c.argomenti);
    EXPECT_EQ(u.stato, 2) << c.messaggio;
    EXPECT_NE(u.err.find(c.messaggio), std::string::npos) << u.err;
    EXPECT_FALSE(fs::exists(f.out() + "/Morsalo_Torvia_linea.txt"));
  }
}

}  // namespace
