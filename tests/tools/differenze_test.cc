#include "scenario/differenze.h"

#include <gtest/gtest.h>

#include "core/file_binari.h"
#include "tools/aiuti_prova.h"
#include "tools/json_prova.h"

namespace {

using namespace prova;

scenario_binario compila(const std::string& linea, const std::string& treno) {
  const compilazione_memoria c = compila_in_memoria("Morsalo_Torvia", "R20417", linea, treno, true);
  EXPECT_EQ(c.errore, 0);
  return c.file;
}

const scenario_binario& incorporato() {
  static const scenario_binario s = compila(testo_linea_incorporato(), testo_treno_incorporato());
  return s;
}

std::string testo(const differenze_scenari& d) {
  std::ostringstream o;
  stampa_differenze(d, o);
  return o.str();
}

// One edit of each kind of the built-in texts, and every line the diff must
// show for it, in an author's terms.
struct modifica {
  const char* nome;
  modifiche linea;
  modifiche treno;
  std::vector<std::string> righe;
};

class Differenze : public ::testing::TestWithParam<modifica> {};

void PrintTo(const modifica& m, std::ostream* os) { *os << m.nome; }

TEST_P(Differenze, ShowEachEditInAnAuthorsTerms) {
  const modifica& m = GetParam();
  const scenario_binario b =
      compila(modificato(testo_linea_incorporato(), m.linea), modificato(testo_treno_incorporato(), m.treno));
  const differenze_scenari d = confronta_scenari(incorporato(), b);
  EXPECT_FALSE(d.uguali());
  const std::string t = testo(d);
  for (const std::string& r : m.righe) EXPECT_NE(t.find(r + "\n"), std::string::npos) << r << "\nin:\n" << t;
}

const modifica modifiche_casi[] = {
    {"HeaderValue", {}, {{"sabbia,    300", "sabbia,    250"}}, {"header: sand: 300 \xE2\x86\x92 250"}},
    {"Clock", {}, {{"orologio,    12              42", "orologio,    13              42"}}, {"header: clock: 12:42:20 \xE2\x86\x92 13:42:20"}},
    {"StationTime", {}, {{"12,49, 0, Pradella", "12,50, 5, Pradella"}},
     {"station \"Pradella / Pradl\": time 12:49:00 \xE2\x86\x92 12:50:05"}},
    {"StationRemoved", {}, {{"stazione,    1600, 27,  200,  0, 0, 0,  0,0,0,  0,0,0,    0,   0, 0, 0, Bivio Ganzena/Ganzen\r\n", ""}},
     {"station \"Bivio Ganzena/Ganzen\": only in A"}},
    {"SignalValues", {}, {{"segnale,    5500,   1, 5, 0,", "segnale,    5500,   1, 4, 0,"}},
     {"cell 111 (5550 m): segnale (left 5 0 0, right 3 0 0, sx 1, dx 0, rapp 0, tempo 0) \xE2\x86\x92 segnale (left 4 0 0, "
      "right 3 0 0, sx 1, dx 0, rapp 0, tempo 0)"}},
    {"SignText", {{"(P.L.       )(Km. 140.791)", "(P.L.       )(Km. 140.792)"}}, {},
     {"cell 192 (9600 m): cartello (sign text record 77 \"(P.L.       )(Km. 140.791)\") \xE2\x86\x92 cartello (sign text "
      "record 77 \"(P.L.       )(Km. 140.792)\")"}},
    {"Gradient", {{"pendenza,  16600,   -4", "pendenza,  16550,   -5"}}, {},
     {"gradient from 16550 to 16550 m: 0 \xE2\x86\x92 -5 per mille", "gradient from 16600 to 21350 m: -4 \xE2\x86\x92 -5 per mille"}},
    {"Speed", {}, {{"velocita,   31800,   135", "velocita,   31800,   140"}}, {"speed from 31800 to 39100 m: 135 \xE2\x86\x92 140 km/h"}},
    {"Plan", {{"curvad4,  16300,  900", "curvad4,  16300,  950"}}, {}, {"plan: largest distance 2345.002 m, at point 68998"}},
};

INSTANTIATE_TEST_SUITE_P(Incorporato, Differenze, ::testing::ValuesIn(modifiche_casi),
                         [](const ::testing::TestParamInfo<modifica>& i) { return std::string(i.param.nome); });

TEST(Differenze, TheSameScenarioHasNoDifference) {
  const differenze_scenari d = confronta_scenari(incorporato(), incorporato());
  EXPECT_TRUE(d.uguali());
  EXPECT_EQ(testo(d), "the two scenarios are the same\n");
}

TEST(ComandoDiff, ExitStatusesAndJson) {
  cartella_temporanea d;
  auto scrivi = [&](const std::string& cartella, const scenario_binario& s) {
    modello q;
    q.punti = s.punti;
    q.celle = s.celle;
    d.scrivi(cartella + "/Morsalo_Torvia_R20417.sim", byte_file_sim(q));
    d.scrivi(cartella + "/Morsalo_Torvia_R20417.dat", byte_file_dat(q));
    if (s.profilo) d.scrivi(cartella + "/Morsalo_Torvia_linea.dat", byte_file_linea(*s.profilo));
  };
  scrivi("a", incorporato());
  scrivi("b", compila(testo_linea_incorporato(), modificato(testo_treno_incorporato(), {{"sabbia,    300", "sabbia,    250"}})));
  scenario_binario senza_piano = incorporato();
  senza_piano.profilo.reset();
  scrivi("c", senza_piano);

  EXPECT_EQ(esegui(comando_diff, {d / "a", d / "a"}).stato, 0);
  // A train scenario file stands for its set.
  EXPECT_EQ(esegui(comando_diff, {d / "a", d / "a/Morsalo_Torvia_R20417.sim"}).stato, 0);

  const uscita u = esegui(comando_diff, {d / "a", d / "b", "--json"});
  EXPECT_EQ(u.stato, 1);
  const auto j = leggi_json(u.out);
  ASSERT_TRUE(j) << u.out;
  EXPECT_EQ((*j)["same"], false);
  EXPECT_EQ((*j)["header"][0], nlohmann::json({{"field", "sand"}, {"a", "300"}, {"b", "250"}}));
  EXPECT_EQ((*j)["stations"], nlohmann::json::array());
  EXPECT_EQ((*j)["objects"], nlohmann::json::array());
  EXPECT_TRUE((*j)["plan"].is_null());
  ASSERT_TRUE((*j)["profiles"].is_array());

  const uscita senza = esegui(comando_diff, {d / "a", d / "c"});
  EXPECT_EQ(senza.stato, 1);
  EXPECT_NE(senza.out.find("plan: only in A\n"), std::string::npos) << senza.out;

  d.scrivi("rotta/Morsalo_Torvia_R20417.sim", "xyz");
  const struct {
    std::vector<std::string> argomenti;
    std::string messaggio;
  } cattivi[] = {
      {{d / "a"}, "give two scenarios, A and B"},
      {{d / "a", d / "manca"}, d / "manca" + ": no such file or folder"},
      {{d / "a", d / "rotta"}, "the file ends inside record 0"},
      {{d / "a", d / "a/Morsalo_Torvia_R20417.dat"}, "give a folder or a train scenario file (.sim)"},
  };
  for (const auto& c : cattivi) {
    const uscita e = esegui(comando_diff, c.argomenti);
    EXPECT_EQ(e.stato, 2) << c.messaggio;
    EXPECT_NE(e.err.find(c.messaggio), std::string::npos) << e.err;
  }
}

}  // namespace
