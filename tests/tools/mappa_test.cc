#include "scenario/mappa.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <limits>
#include <random>
#include <cctype>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include <tinyxml2.h>

#include "scenario/ispeziona.h"
#include "text/codifica.h"
#include "tools/file_di_prova.h"

namespace {

// ---- The drawings, read with a real XML parser -----------------------------

struct elemento_xml {
  std::string nome;
  std::vector<std::pair<std::string, std::string>> attributi;
  std::string testo;  // character data directly inside, references resolved

  std::string attributo(const std::string& a) const {
    for (const auto& [k, v] : attributi) {
      if (k == a) return v;
    }
    return "";
  }
};

struct documento_xml {
  std::string errore;  // empty when the document is well-formed
  std::vector<elemento_xml> elementi;  // in document order
};

struct lettore_xml {
  // The elements of a document in document order; `errore` names what keeps
  // the text from being well-formed XML.
  static documento_xml leggi(const std::string& t) {
    documento_xml d;
    tinyxml2::XMLDocument x(true, tinyxml2::COLLAPSE_WHITESPACE);
    x.Parse(t.data(), t.size());
    if (x.Error()) {
      d.errore = x.ErrorStr();
      return d;
    }
    // Whitespace is kept as written.
    tinyxml2::XMLDocument esatto(true, tinyxml2::PRESERVE_WHITESPACE);
    esatto.Parse(t.data(), t.size());
    aggiungi(esatto.RootElement(), d);
    return d;
  }

  static void aggiungi(const tinyxml2::XMLElement* e, documento_xml& d) {
    for (; e; e = e->NextSiblingElement()) {
      elemento_xml el;
      el.nome = e->Name();
      for (const tinyxml2::XMLAttribute* a = e->FirstAttribute(); a; a = a->Next()) {
        el.attributi.emplace_back(a->Name(), a->Value());
      }
      for (const tinyxml2::XMLNode* n = e->FirstChild(); n; n = n->NextSibling()) {
        if (const tinyxml2::XMLText* t = n->ToText()) el.testo += t->Value();
      }
      d.elementi.push_back(std::move(el));
      aggiungi(e->FirstChildElement(), d);
    }
  }
};

// ---- Helpers ------------------------------------------------------------------

struct file_scenario {
  std::string sim, dat, linea;
};

// The built-in scenario's files, as the compile driver writes them.
file_scenario file_incorporati() {
  static const file_scenario f = [] {
    const modello m = prova::scenario_incorporato();
    return file_scenario{prova::file_sim(m.punti), prova::file_dat(m.celle), prova::file_linea(m.profilo)};
  }();
  return f;
}

// Decodes the files as the command does.
scenario_decodificato decodifica(const file_scenario& f, bool con_linea) {
  scenario_decodificato s;
  auto p = decodifica_punti(f.sim);
  auto c = decodifica_celle(f.dat);
  EXPECT_TRUE(p.ok() && c.ok());
  s.punti = p.dati;
  s.celle = c.dati;
  if (con_linea) {
    auto l = decodifica_profilo(f.linea);
    EXPECT_TRUE(l.ok());
    s.profilo = l.dati;
  }
  return s;
}

documento_xml disegno(const scenario_decodificato& s) {
  std::ostringstream out;
  disegna_mappa(s, out);
  documento_xml d = lettore_xml::leggi(out.str());
  EXPECT_EQ(d.errore, "");
  return d;
}

bool ha_testo(const documento_xml& d, const std::string& testo) {
  return std::any_of(d.elementi.begin(), d.elementi.end(),
                     [&](const elemento_xml& e) { return e.nome == "text" && e.testo == testo; });
}

size_t quanti(const documento_xml& d, const std::string& nome) {
  return static_cast<size_t>(
      std::count_if(d.elementi.begin(), d.elementi.end(), [&](const elemento_xml& e) { return e.nome == nome; }));
}

const elemento_xml* con_id(const documento_xml& d, const std::string& id) {
  for (const elemento_xml& e : d.elementi) {
    if (e.attributo("id") == id) return &e;
  }
  return nullptr;
}

std::vector<std::string> nomi_stazioni(const tabella_punti& p) {
  std::vector<std::string> n;
  for (int k = 1; k <= ruoli_di(p).ultima_stazione; ++k) n.push_back(cp1252_a_utf8(p[static_cast<size_t>(k)].testo));
  return n;
}

using prova::esecuzione;

esecuzione esegui(const std::vector<std::string>& argomenti) { return prova::esegui(mappa, argomenti); }

std::string leggi(const std::filesystem::path& p) {
  std::ifstream f(p, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(f), {});
}

// ---- The drawing ----------------------------------------------------------------

TEST(Mappa, BuiltInScenarioDrawsThePlanWithEveryStation) {
  scenario_decodificato s = decodifica(file_incorporati(), true);
  documento_xml d = disegno(s);
  ASSERT_FALSE(d.elementi.empty());
  const elemento_xml& svg = d.elementi[0];
  EXPECT_EQ(svg.nome, "svg");
  EXPECT_EQ(svg.attributo("xmlns"), "http://www.w3.org/2000/svg");
  EXPECT_EQ(svg.attributo("viewBox"), "0 0 1600.0 " + svg.attributo("height"));

  std::vector<std::string> nomi = nomi_stazioni(s.punti);
  ASSERT_EQ(nomi.size(), 12u);
  EXPECT_EQ(nomi[6], "Cal\xC3\xA8/ Kaltig");
  for (const std::string& n : nomi) EXPECT_TRUE(ha_testo(d, n)) << n;

  ASSERT_NE(con_id(d, "plan"), nullptr);
  ASSERT_NE(con_id(d, "scale"), nullptr);
  // The plan's 68999 points, thinned to what the width can show.
  size_t punti = 0;
  for (const elemento_xml& e : d.elementi) {
    if (e.nome == "polyline" && e.attributo("stroke") == "#333") {
      std::string p = e.attributo("points");
      punti += static_cast<size_t>(std::count(p.begin(), p.end(), ',')) ;
    }
  }
  EXPECT_GT(punti, 300u);
  EXPECT_LT(punti, 5000u);
  // 22 signals, 2 slowdowns, 20 signs and 10 indicator boards, each with its description.
  size_t segnali = 0, cartelli = 0;
  for (const elemento_xml& e : d.elementi) {
    if (e.nome == "title" && e.testo.rfind("segnale at ", 0) == 0) ++segnali;
    if (e.nome == "title" && e.testo.rfind("cartello at ", 0) == 0) ++cartelli;
  }
  EXPECT_EQ(segnali, 22u);
  EXPECT_EQ(cartelli, 20u);
  EXPECT_TRUE(std::any_of(d.elementi.begin(), d.elementi.end(), [](const elemento_xml& e) {
    return e.nome == "title" && e.testo == "cartello at 500 m (0.500 km): (PONTE SUL   )(FIUME VERSAL)";
  }));
  EXPECT_TRUE(ha_testo(d, "speed limit (km/h)"));
  EXPECT_TRUE(ha_testo(d, "gradient (per mille)"));
  EXPECT_TRUE(ha_testo(d, "adhesion"));
}

TEST(Mappa, WithoutLineProfileOnlyTheChartsAreDrawn) {
  scenario_decodificato s = decodifica(file_incorporati(), false);
  documento_xml d = disegno(s);
  EXPECT_EQ(con_id(d, "plan"), nullptr);
  EXPECT_EQ(con_id(d, "scale"), nullptr);
  EXPECT_NE(con_id(d, "distance"), nullptr);
  EXPECT_TRUE(ha_testo(d, "no line profile file: only the charts along the line"));
  EXPECT_EQ(quanti(d, "g"), 4u);  // three charts and the distance axis
  for (const std::string& n : nomi_stazioni(s.punti)) EXPECT_TRUE(ha_testo(d, n)) << n;
}

TEST(Mappa, TextsWithMarkupAndControlCharactersStayWellFormed) {
  const struct {
    std::string in;
    std::string out;
  } casi[] = {
      {"Roccafonda", "Roccafonda"},
      {"A&B <C> \"D\" 'E'", "A&amp;B &lt;C&gt; &quot;D&quot; &apos;E&apos;"},
      {"a\tb\nc\rd", "a\tb\nc\rd"},
      {std::string("x\x01y\x1Fz\x00", 6), "x\xEF\xBF\xBDy\xEF\xBF\xBDz\xEF\xBF\xBD"},
      {"Cal\xC3\xA8 \xE2\x82\xAC", "Cal\xC3\xA8 \xE2\x82\xAC"},
      {"Cal\xE8", "Cal\xEF\xBF\xBD"},
      {"\xEF\xBF\xBF", "\xEF\xBF\xBD"},
  };
  for (const auto& c : casi) EXPECT_EQ(testo_xml(c.in), c.out);

  scenario_decodificato s = decodifica(file_incorporati(), true);
  s.punti[1].testo = "A&B <C> \"D\" 'E' \x01\x81";
  s.punti[punto_scenario].testo = "<svg>";
  documento_xml d = disegno(s);
  EXPECT_TRUE(ha_testo(d, "A&B <C> \"D\" 'E' \xEF\xBF\xBD\xC2\x81"));
  EXPECT_EQ(d.elementi[1].nome, "title");
  EXPECT_EQ(d.elementi[1].testo, "<svg> \xE2\x80\x94 train R20417");
}

TEST(Mappa, PlanThatCannotBeDrawnLeavesTheCharts) {
  // Two points of the plan: (x0, y0) and (x1, y1), the first one empty or not.
  const struct {
    uint8_t primo;
    double x1, y1;
    bool disegnato;
  } casi[] = {
      {variante_vuota, 5, 5, true},           // a single point
      {variante_doppio, 1e308, 1e308, false},  // farther apart than a double can say
      {variante_vuota, 0, std::numeric_limits<double>::quiet_NaN(), false},
  };
  for (const auto& c : casi) {
    scenario_decodificato s = decodifica(file_incorporati(), false);
    profilo_linea p;
    p.limite = 1;
    p.tipi = {std::vector<uint8_t>{c.primo, variante_doppio}, std::vector<uint8_t>{c.primo, variante_doppio}};
    p.valori = {serie_coordinate{-1e308, c.x1}, serie_coordinate{-1e308, c.y1}};
    s.profilo = p;
    documento_xml d = disegno(s);
    EXPECT_EQ(con_id(d, "plan") != nullptr, c.disegnato) << c.x1;
    EXPECT_EQ(ha_testo(d, "the line profile cannot be drawn: only the charts along the line"), !c.disegnato);
  }
}

// Random bytes in the small files: whatever decodes draws well-formed.
TEST(Mappa, DamagedFilesStillDrawWellFormed) {
  const std::string buoni[3] = {prova::file_sim(prova::punti_di_prova()), prova::celle_di_prova(),
                                prova::linea_di_prova()};
  std::mt19937 caso(417);
  int disegnati = 0;
  for (int k = 0; k < 300; ++k) {
    std::string f[3] = {buoni[0], buoni[1], buoni[2]};
    for (int volte = 1 + static_cast<int>(caso() % 6); volte > 0; --volte) {
      std::string& d = f[caso() % 3];
      d[caso() % d.size()] = static_cast<char>(caso());
    }
    auto p = decodifica_punti(f[0]);
    auto c = decodifica_celle(f[1]);
    auto l = decodifica_profilo(f[2]);
    if (!p.ok() || !c.ok() || !l.ok()) continue;
    scenario_decodificato s{p.dati, c.dati, l.dati};
    std::ostringstream out;
    disegna_mappa(s, out);
    EXPECT_EQ(lettore_xml::leggi(out.str()).errore, "");
    ++disegnati;
  }
  EXPECT_GT(disegnati, 100);
}

// ---- The command ------------------------------------------------------------------

TEST(Mappa, FolderOrFilesGiveTheSameDrawing) {
  prova::cartella_temporanea dir;
  file_scenario f = file_incorporati();
  std::string sim = dir.scrivi("Morsalo_Torvia_R20417.sim", f.sim);
  std::string dat = dir.scrivi("Morsalo_Torvia_R20417.dat", f.dat);
  std::string linea = dir.scrivi("Morsalo_Torvia_linea.dat", f.linea);
  dir.scrivi("Morsalo_Torvia_R20417_note.txt", "passed over");
  std::filesystem::path uscita = dir.percorso() / "out" / "mappa.svg";
  std::filesystem::create_directory(uscita.parent_path());

  esecuzione r = esegui({dir.percorso().string(), "-o", uscita.string()});
  EXPECT_EQ(r.stato, 0) << r.err;
  EXPECT_EQ(r.err, "");
  std::string da_cartella = leggi(uscita);
  EXPECT_EQ(lettore_xml::leggi(da_cartella).errore, "");
  EXPECT_FALSE(std::filesystem::exists(uscita.string() + ".part"));

  r = esegui({linea, sim, dat, "--output", "-"});
  EXPECT_EQ(r.stato, 0) << r.err;
  EXPECT_EQ(r.out, da_cartella);

  r = esegui({sim, dat, "-o", "-"});
  EXPECT_EQ(r.stato, 0) << r.err;
  EXPECT_NE(r.out.find("no line profile file"), std::string::npos);
}

TEST(Mappa, FolderWithSeveralScenariosPicksByName) {
  prova::cartella_temporanea dir;
  file_scenario f = file_incorporati();
  dir.scrivi("Morsalo_Torvia_R20417.sim", f.sim);
  dir.scrivi("Morsalo_Torvia_R20417.dat", f.dat);
  dir.scrivi("Altra_X1.dat", "not a cell file");
  dir.scrivi("Morsalo_Torvia_linea.dat", f.linea);
  dir.scrivi("Altra_linea.dat", "not a profile");
  esecuzione r = esegui({dir.percorso().string(), "-o", "-"});
  EXPECT_EQ(r.stato, 0) << r.err;
  EXPECT_NE(r.out.find("id=\"plan\""), std::string::npos);
}

TEST(Mappa, UsageErrorsAndBadInputs) {
  prova::cartella_temporanea dir;
  file_scenario f = file_incorporati();
  std::string sim = dir.scrivi("M_T.sim", f.sim);
  std::string guasto = dir.scrivi("M_T.dat", std::string(16, '\0'));
  std::filesystem::path vuota = dir.percorso() / "vuota";
  std::filesystem::create_directory(vuota);
  std::filesystem::path doppia = dir.percorso() / "doppia";
  std::filesystem::create_directory(doppia);
  for (const char* n : {"A_T.sim", "B_T.sim", "A_T.dat"}) dir.scrivi("doppia/" + std::string(n), f.sim);
  std::string assente = (dir.percorso() / "assente.dat").string();
  std::string dati_altri = dir.scrivi("A_T.dat", f.dat);
  std::string dati_altri_2 = dir.scrivi("B_T.dat", f.dat);

  const struct {
    std::vector<std::string> argomenti;
    std::string errore;  // the first line of the error output
  } casi[] = {
      {{sim}, "scenario map: no output file: give -o MAP.svg"},
      {{"-o", "x.svg"}, "scenario map: no folder or files given"},
      {{sim, "-o"}, "scenario map: --output: 1 required FILE missing"},
      {{sim, "--colour", "-o", "x.svg"}, "scenario map: The following argument was not expected: --colour"},
      {{sim, "note.txt", "-o", "x.svg"},
       "scenario map: note.txt: not a name of a scenario file (it should end in .sim, .dat or _linea.dat)"},
      {{vuota.string(), "-o", "x.svg"}, "scenario map: no train scenario file (.sim) in " + vuota.string()},
      {{doppia.string(), "-o", "x.svg"},
       "scenario map: 2 train scenario files (.sim) in " + doppia.string() + "; a drawing needs exactly one"},
      {{sim, "-o", "x.svg"}, "scenario map: no train cell file (.dat) among the files given"},
      {{sim, dati_altri, dati_altri_2, "-o", "x.svg"},
       "scenario map: 2 train cell files (.dat) among the files given and none of them named like " + sim},
      {{sim, guasto, "-o", "x.svg"}, guasto + ": 16 bytes is not a whole number of 15-byte cells"},
      {{sim, assente, "-o", "x.svg"}, assente + ": cannot be read: No such file or directory"},
  };
  for (const auto& c : casi) {
    esecuzione r = esegui(c.argomenti);
    EXPECT_EQ(r.stato, 2) << c.errore;
    EXPECT_EQ(r.err.substr(0, r.err.find('\n')), c.errore);
    EXPECT_EQ(r.out, "");
  }
  EXPECT_FALSE(std::filesystem::exists("x.svg"));

  esecuzione aiuto = esegui({"--help"});
  EXPECT_EQ(aiuto.stato, 0);
  EXPECT_EQ(aiuto.out.rfind("usage: scenario map DIR|FILES -o MAP.svg\n", 0), 0u);
}

TEST(Mappa, UnwritableOutputIsReported) {
  prova::cartella_temporanea dir;
  file_scenario f = file_incorporati();
  std::string sim = dir.scrivi("M_T.sim", f.sim);
  std::string dat = dir.scrivi("M_T.dat", f.dat);
  std::string uscita = (dir.percorso() / "manca" / "m.svg").string();
  esecuzione r = esegui({sim, dat, "-o", uscita});
  EXPECT_EQ(r.stato, 1);
  EXPECT_EQ(r.err, uscita + ": cannot be written\n");
}

// ---- The files the compile driver writes ---------------------------------------

TEST(Mappa, FilesWrittenByTheCompileDriver) {
  const file_scenario f = file_incorporati();
  prova::cartella_temporanea dir;
  const std::string percorsi[] = {dir.scrivi("Morsalo_Torvia_R20417.sim", f.sim),
                                  dir.scrivi("Morsalo_Torvia_R20417.dat", f.dat),
                                  dir.scrivi("Morsalo_Torvia_linea.dat", f.linea)};
  for (const std::string& n : percorsi) {
    std::ostringstream out, err;
    EXPECT_EQ(ispeziona({n}, out, err), 0) << n;
    EXPECT_EQ(err.str(), "");
    EXPECT_EQ(out.str().find("warning:"), std::string::npos) << out.str();
  }
  esecuzione r = esegui({dir.percorso().string(), "-o", "-"});
  ASSERT_EQ(r.stato, 0) << r.err;
  documento_xml d = lettore_xml::leggi(r.out);
  EXPECT_EQ(d.errore, "");
  auto p = decodifica_punti(f.sim);
  ASSERT_TRUE(p.ok());
  std::vector<std::string> stazioni = nomi_stazioni(p.dati);
  EXPECT_EQ(stazioni.size(), 12u);
  for (const std::string& n : stazioni) EXPECT_TRUE(ha_testo(d, n)) << n;
}

}  // namespace
