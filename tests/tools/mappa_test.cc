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

#include "scenario/ispeziona.h"
#include "text/codifica.h"
#include "tools/file_di_prova.h"

namespace {

// ---- A strict reader of well-formed XML, to check the drawings --------------

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

class lettore_xml {
 public:
  static documento_xml leggi(std::string_view t) {
    lettore_xml l(t);
    l.documento();
    return std::move(l.d_);
  }

 private:
  explicit lettore_xml(std::string_view t) : t_(t) {}

  bool fallisci(const std::string& perche) {
    if (d_.errore.empty()) d_.errore = perche + " at byte " + std::to_string(i_);
    return false;
  }
  bool fine() const { return i_ >= t_.size(); }
  bool inizia(std::string_view s) const { return t_.substr(i_, s.size()) == s; }
  void spazi() {
    while (!fine() && std::string_view(" \t\r\n").find(t_[i_]) != std::string_view::npos) ++i_;
  }

  // Every character must be one that XML allows: valid UTF-8, no control
  // characters but tab and the line ends.
  bool caratteri() {
    for (size_t k = 0; k < t_.size(); k = i_) {
      i_ = k;
      auto c = static_cast<unsigned char>(t_[k]);
      size_t n = c < 0x80 ? 1 : (c >> 5) == 6 ? 2 : (c >> 4) == 14 ? 3 : (c >> 3) == 30 ? 4 : 0;
      if (n == 0 || k + n > t_.size()) return fallisci("not UTF-8");
      for (size_t j = 1; j < n; ++j) {
        if ((static_cast<unsigned char>(t_[k + j]) & 0xC0) != 0x80) return fallisci("not UTF-8");
      }
      if (c < 0x20 && c != '\t' && c != '\n' && c != '\r') return fallisci("control character");
      if (t_.substr(k, 3) == "\xEF\xBF\xBE" || t_.substr(k, 3) == "\xEF\xBF\xBF") return fallisci("not a character");
      i_ = k + n;
    }
    return true;
  }

  bool nome(std::string& n) {
    auto primo = [](char c) { return std::isalpha(static_cast<unsigned char>(c)) || c == '_' || c == ':'; };
    auto altro = [&](char c) {
      return primo(c) || std::isdigit(static_cast<unsigned char>(c)) || c == '-' || c == '.';
    };
    if (fine() || !primo(t_[i_])) return fallisci("a name expected");
    size_t da = i_;
    while (!fine() && altro(t_[i_])) ++i_;
    n = std::string(t_.substr(da, i_ - da));
    return true;
  }

  // Character data up to `fine_dati`, with the references resolved.
  bool dati(char fine_dati, std::string& out) {
    while (!fine() && t_[i_] != fine_dati) {
      char c = t_[i_];
      if (c == '<') return fallisci("'<' in data");
      if (c != '&') {
        out += c;
        ++i_;
        continue;
      }
      size_t pv = t_.find(';', i_);
      if (pv == std::string_view::npos) return fallisci("unterminated reference");
      std::string_view r = t_.substr(i_ + 1, pv - i_ - 1);
      if (r == "amp") {
        out += '&';
      } else if (r == "lt") {
        out += '<';
      } else if (r == "gt") {
        out += '>';
      } else if (r == "quot") {
        out += '"';
      } else if (r == "apos") {
        out += '\'';
      } else {
        return fallisci("unknown reference &" + std::string(r) + ";");
      }
      i_ = pv + 1;
    }
    return true;
  }

  bool etichetta_apertura(std::vector<size_t>& aperti) {
    ++i_;
    elemento_xml e;
    if (!nome(e.nome)) return false;
    while (true) {
      size_t prima = i_;
      spazi();
      if (inizia("/>") || inizia(">")) break;
      if (i_ == prima) return fallisci("a blank expected before an attribute");
      std::string a, v;
      if (!nome(a)) return false;
      spazi();
      if (!inizia("=")) return fallisci("'=' expected");
      ++i_;
      spazi();
      if (fine() || (t_[i_] != '"' && t_[i_] != '\'')) return fallisci("a quoted value expected");
      char virgolette = t_[i_++];
      if (!dati(virgolette, v)) return false;
      if (fine()) return fallisci("unterminated value");
      ++i_;
      if (std::any_of(e.attributi.begin(), e.attributi.end(), [&](const auto& x) { return x.first == a; })) {
        return fallisci("attribute " + a + " twice");
      }
      e.attributi.emplace_back(a, v);
    }
    bool vuoto = inizia("/>");
    i_ += vuoto ? 2 : 1;
    d_.elementi.push_back(std::move(e));
    if (!vuoto) aperti.push_back(d_.elementi.size() - 1);
    return true;
  }

  void documento() {
    if (!caratteri()) return;
    i_ = 0;
    if (inizia("<?xml")) {
      size_t f = t_.find("?>");
      if (f == std::string_view::npos) return (void)fallisci("unterminated declaration");
      i_ = f + 2;
    }
    std::vector<size_t> aperti;
    bool radice = false;
    while (!fine()) {
      if (inizia("<!--")) {
        size_t f = t_.find("-->", i_ + 4);
        if (f == std::string_view::npos) return (void)fallisci("unterminated comment");
        i_ = f + 3;
      } else if (inizia("</")) {
        i_ += 2;
        std::string n;
        if (!nome(n)) return;
        spazi();
        if (!inizia(">")) return (void)fallisci("'>' expected");
        ++i_;
        if (aperti.empty() || d_.elementi[aperti.back()].nome != n) return (void)fallisci("</" + n + "> unbalanced");
        aperti.pop_back();
      } else if (inizia("<")) {
        if (aperti.empty() && radice) return (void)fallisci("a second root element");
        radice = true;
        if (!etichetta_apertura(aperti)) return;
      } else {
        std::string testo;
        if (!dati('<', testo)) return;
        if (aperti.empty()) {
          if (testo.find_first_not_of(" \t\r\n") != std::string::npos) return (void)fallisci("text outside the root");
        } else {
          d_.elementi[aperti.back()].testo += testo;
        }
      }
    }
    if (!aperti.empty()) return (void)fallisci("<" + d_.elementi[aperti.back()].nome + "> not closed");
    if (!radice) fallisci("no root element");
  }

  std::string_view t_;
  size_t i_ = 0;
  documento_xml d_;
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
      {{sim, "-o"}, "scenario map: -o needs a file name"},
      {{sim, "--colour", "-o", "x.svg"}, "scenario map: unknown option --colour"},
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
  EXPECT_EQ(aiuto.out.rfind("usage: scenario map FOLDER -o MAP.svg\n", 0), 0u);
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
