#include "scenario/mappa.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <map>
#include <random>
#include <cctype>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include <tinyxml2.h>

#include "scenario/ispeziona.h"
#include "scenario/oggetti_mappa.h"
#include "text/codifica.h"
#include "core/memorizza_percorso.h"
#include "scenari_generati.h"
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

size_t occorrenze(const std::string& testo, const std::string& parte) {
  size_t n = 0;
  for (size_t i = testo.find(parte); i != std::string::npos; i = testo.find(parte, i + 1)) ++n;
  return n;
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
  // Markers that touch are drawn as one, whose description lists them all.
  size_t segnali = 0, cartelli = 0;
  for (const elemento_xml& e : d.elementi) {
    if (e.nome != "title") continue;
    segnali += occorrenze(e.testo, "segnale at ");
    cartelli += occorrenze(e.testo, "cartello at ");
  }
  EXPECT_EQ(segnali, 22u);
  EXPECT_EQ(cartelli, 20u);
  EXPECT_TRUE(std::any_of(d.elementi.begin(), d.elementi.end(), [](const elemento_xml& e) {
    return e.nome == "title" &&
           e.testo.find("cartello at 500 m (0.500 km): (PONTE SUL   )(FIUME VERSAL)") != std::string::npos;
  }));
  // The sign's text is a label of its own, its blanks run together.
  EXPECT_TRUE(ha_testo(d, "(PONTE SUL )(FIUME VERSAL)"));
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
  EXPECT_EQ(quanti(d, "g"), 5u);  // the station names, three charts and the distance axis
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
  EXPECT_EQ(r.err, "scenario map: cannot write " + uscita + ": No such file or directory\n");
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


// ---- The labels -------------------------------------------------------------------

struct scatola {
  double x, y, w, h;
};

std::vector<scatola> scatole_etichette(const documento_xml& d) {
  std::vector<scatola> v;
  for (const elemento_xml& e : d.elementi) {
    if (e.nome != "rect" || e.attributo("class") != "label-box") continue;
    v.push_back({std::stod(e.attributo("x")), std::stod(e.attributo("y")), std::stod(e.attributo("width")),
                 std::stod(e.attributo("height"))});
  }
  return v;
}

// Every pair of label boxes, compared: the first overlap found, or "".
std::string prima_sovrapposizione(const std::vector<scatola>& v) {
  for (size_t i = 0; i < v.size(); ++i) {
    for (size_t j = i + 1; j < v.size(); ++j) {
      const scatola& a = v[i];
      const scatola& b = v[j];
      if (a.x < b.x + b.w && b.x < a.x + a.w && a.y < b.y + b.h && b.y < a.y + a.h) {
        return "boxes " + std::to_string(i) + " and " + std::to_string(j) + " overlap";
      }
    }
  }
  return "";
}

// A generated line compiled once, and drawn from its model.
const modello& linea_generata(int32_t km) {
  static std::map<int32_t, modello> fatte;
  auto it = fatte.find(km);
  if (it != fatte.end()) return it->second;
  modello m = modello_generato();
  archivio_memoria a;
  deposita_testi(m, a, testi_generati(km));
  memorizza_percorso(m, a, 1);
  EXPECT_EQ(m.numero_errore, 0);
  return fatte.emplace(km, std::move(m)).first->second;
}

documento_xml disegno_di(const modello& m, const opzioni_disegno& o, size_t* omesse = nullptr) {
  const esito_disegno e = disegna_mappa(vista_scenario{m.punti, m.celle, &m.profilo}, o);
  if (omesse) *omesse = e.etichette_omesse;
  documento_xml d = lettore_xml::leggi(e.svg);
  EXPECT_EQ(d.errore, "");
  return d;
}

TEST(Mappa, LabelsNeverOverlapAndTheLeftOutAreCounted) {
  const modello incorporato = prova::scenario_incorporato();
  const struct {
    const char* caso;
    const modello& m;
    opzioni_disegno o;
  } casi[] = {
      {"built-in", incorporato, {}},
      {"built-in, 20 to 40 km", incorporato, {20000, 40000, ""}},
      {"900 km", linea_generata(900), {}},
      {"900 km, 300 to 330 km", linea_generata(900), {300000, 330000, ""}},
  };
  for (const auto& c : casi) {
    size_t omesse = 0;
    documento_xml d = disegno_di(c.m, c.o, &omesse);
    std::vector<scatola> v = scatole_etichette(d);
    EXPECT_GT(v.size(), 3u) << c.caso;
    EXPECT_EQ(prima_sovrapposizione(v), "") << c.caso;
    const elemento_xml* nota = con_id(d, "labels-left-out");
    EXPECT_EQ(nota != nullptr, omesse > 0) << c.caso;
    if (nota) {
      EXPECT_EQ(nota->testo.rfind(std::to_string(omesse) + " label", 0), 0u) << nota->testo;
    }
  }
  // The whole built-in line has room for every station name; 900 km has not
  // for every label.
  size_t omesse = 0;
  documento_xml d = disegno_di(incorporato, {}, &omesse);
  for (const std::string& n : nomi_stazioni(incorporato.punti)) EXPECT_TRUE(ha_testo(d, n)) << n;
  documento_xml lunga = disegno_di(linea_generata(900), {}, &omesse);
  EXPECT_GT(omesse, 0u);
  // Markers that would touch are drawn as one that counts them: none touch,
  // and none is lost.
  for (const documento_xml* x : {&d, &lunga}) {
    std::vector<std::pair<double, double>> centri;
    size_t contati = 0;
    for (size_t i = 0; i + 1 < x->elementi.size(); ++i) {
      const elemento_xml& e = x->elementi[i];
      if (e.nome != "circle" || e.attributo("fill") != "#c62828" || x->elementi[i + 1].nome != "title") continue;
      centri.emplace_back(std::stod(e.attributo("cx")), std::stod(e.attributo("cy")));
      const std::string& t = x->elementi[i + 1].testo;
      contati += t.rfind("segnale at ", 0) == 0 ? 1 : std::stoul(t);
    }
    for (size_t i = 1; i < centri.size(); ++i) {
      EXPECT_GE(std::hypot(centri[i].first - centri[i - 1].first, centri[i].second - centri[i - 1].second), 6.0);
    }
    EXPECT_EQ(contati, x == &d ? 22u : 360u);
  }
}

TEST(Mappa, PartOfTheLineIsDrawnAtItsOwnScale) {
  const modello m = prova::scenario_incorporato();
  documento_xml intera = disegno_di(m, {});
  documento_xml parte = disegno_di(m, {20000, 40000, ""});
  auto scala = [](const documento_xml& d) {
    for (size_t i = 0; i < d.elementi.size(); ++i) {
      if (d.elementi[i].attributo("id") == "scale") return d.elementi[i + 2].testo + "|" + d.elementi[i + 3].testo;
    }
    return std::string();
  };
  EXPECT_NE(scala(intera), scala(parte));
  EXPECT_TRUE(std::any_of(parte.elementi.begin(), parte.elementi.end(), [](const elemento_xml& e) {
    return e.nome == "text" && e.testo.find("; drawn from 20.000 km to 40.000 km") != std::string::npos;
  }));
  // The distance axis runs over the part only.
  std::vector<std::string> tacche;
  bool in_asse = false;
  for (const elemento_xml& e : parte.elementi) {
    if (e.nome == "g") in_asse = e.attributo("id") == "distance";
    if (in_asse && e.nome == "text" && e.testo != "km along the line") tacche.push_back(e.testo);
  }
  ASSERT_FALSE(tacche.empty());
  EXPECT_EQ(tacche.front(), "20");
  EXPECT_EQ(tacche.back(), "40");
  // Only the stations of the part are named.
  for (const stazione_mappa& st : stazioni_di(m.punti)) {
    const bool dentro = st.posizione >= 20000 && st.posizione <= 40000;
    EXPECT_EQ(ha_testo(parte, cp1252_a_utf8(st.p->testo)), dentro) << st.posizione;
  }

  // Through the command, and its usage errors.
  prova::cartella_temporanea dir;
  file_scenario f = file_incorporati();
  std::string sim = dir.scrivi("M_T.sim", f.sim);
  std::string dat = dir.scrivi("M_T.dat", f.dat);
  esecuzione r = esegui({sim, dat, "--from", "20", "--to", "40.5", "-o", "-"});
  EXPECT_EQ(r.stato, 0) << r.err;
  EXPECT_NE(r.out.find("drawn from 20.000 km to 40.500 km"), std::string::npos);
  const struct {
    std::vector<std::string> argomenti;
    std::string errore;
  } sbagliati[] = {
      {{"--from", "40", "--to", "20"}, "scenario map: --to 20 is not past --from 40"},
      {{"--from", "-1"}, "scenario map: --from and --to take kilometres from 0 to 1000000, not -1"},
      {{"--to", "x"}, "scenario map: Could not convert: --to = x"},
  };
  for (const auto& c : sbagliati) {
    std::vector<std::string> a = {sim, dat, "-o", "-"};
    a.insert(a.end(), c.argomenti.begin(), c.argomenti.end());
    esecuzione e = esegui(a);
    EXPECT_EQ(e.stato, 2);
    EXPECT_EQ(e.err.substr(0, e.err.find('\n')).substr(0, c.errore.size()), c.errore);
  }
}

TEST(Mappa, MapOfACompileWithAnErrorSaysSoAtTheTop) {
  const modello m = prova::scenario_incorporato();
  documento_xml buona = disegno_di(m, {});
  EXPECT_EQ(con_id(buona, "compile-error"), nullptr);
  documento_xml d = disegno_di(m, {std::nullopt, std::nullopt, "error 12 at 3400 m"});
  const elemento_xml* e = con_id(d, "compile-error");
  ASSERT_NE(e, nullptr);
  EXPECT_EQ(e->testo, "this compile recorded an error: error 12 at 3400 m");
  EXPECT_EQ(d.elementi[1].testo, "Morsalo_Torvia \xE2\x80\x94 train R20417 (compiled with an error)");
}

TEST(Mappa, SlowdownsDipTheSpeedProfile) {
  const modello m = prova::scenario_incorporato();
  documento_xml d = disegno_di(m, {});
  const elemento_xml* limite = nullptr;
  const elemento_xml* profilo = nullptr;
  size_t rallentamenti = 0;
  for (const elemento_xml& e : d.elementi) {
    if (e.nome == "path" && e.attributo("class") == "limit") limite = &e;
    if (e.nome == "path" && e.attributo("class") == "profile" && !profilo) profilo = &e;
    if (e.nome == "title" && e.testo.rfind("slowdown ", 0) == 0 && e.testo.find(" from ") != std::string::npos) {
      ++rallentamenti;
    }
  }
  ASSERT_TRUE(limite && profilo);
  EXPECT_NE(limite->attributo("d"), profilo->attributo("d"));
  EXPECT_EQ(rallentamenti, 2u);
}

}  // namespace
