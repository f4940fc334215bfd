#ifndef SCENARIO_TESTS_TOOLS_GENERATORE_SCENARI_H
#define SCENARIO_TESTS_TOOLS_GENERATORE_SCENARI_H

// Random scenarios for the round-trip property: a line text and a train text
// with every kind of record, drawn from one seed. Most of them compile without
// error; the caller throws away those that do not.

#include <algorithm>
#include <cstdint>
#include <random>
#include <set>
#include <string>
#include <vector>

namespace prova {

struct scenario_casuale {
  std::string linea;
  std::string treno;
  bool con_linea = true;
};

class generatore_scenari {
 public:
  explicit generatore_scenari(uint32_t seme) : caso_(seme) {}

  scenario_casuale genera() {
    occupate_.clear();
    fermate_.clear();
    scenario_casuale s;
    s.con_linea = tra(0, 5) != 0;
    lunghezza_ = tra(4000, 40000);
    celle_ = static_cast<int>(std::lround((lunghezza_ + 7000) / 50.0));
    // Records stay well inside the grid: the range test of each kind passes.
    ultima_ = celle_ - 20;
    s.linea = linea();
    s.treno = treno();
    return s;
  }

 private:
  int tra(int a, int b) { return std::uniform_int_distribution<int>(a, b)(caso_); }
  bool moneta(int su = 2) { return tra(1, su) == 1; }
  std::string n(int64_t v) { return std::to_string(v); }

  // A free cell among a..b, taken; -1 when none turned up.
  int prendi_cella(int a, int b) {
    for (int prova = 0; prova < 20; ++prova) {
      const int k = tra(a, b);
      if (occupate_.insert(k).second) return k;
    }
    return -1;
  }

  std::string testo() {
    static const char lettere[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZ abcdefghij0123456789().-/\xE8\xE0";
    std::string t;
    const int l = tra(1, 20);
    for (int i = 0; i < l; ++i) t += lettere[tra(0, static_cast<int>(sizeof lettere) - 2)];
    while (!t.empty() && t.back() == ' ') t.pop_back();
    while (!t.empty() && t.front() == ' ') t.erase(t.begin());
    return t.empty() ? "X" : t;
  }

  std::string linea() {
    std::vector<std::string> r = {"[generale]", "lunghezza percorso, " + n(lunghezza_)};
    const char* nomi[3] = {"uno", "due", "tre"};
    for (const char* nome : nomi) {
      if (moneta()) {
        r.push_back(std::string("progressiva chilometrica ") + nome + ", " + n(50 * tra(0, 4) * (moneta() ? 1 : 0)) +
                    ", " + n(50 * tra(0, 4000)) + ", " + n(tra(0, 1)));
      }
    }
    r.push_back("sfondo uno, " + n(tra(0, 3)));
    r.push_back("sfondo tre, " + n(tra(0, 3)));
    if (moneta()) {
      r.push_back(std::string("ripetizione segnali ") + (moneta() ? "4" : "9") + " codici, " + n(50 * tra(0, 10)) + ", " +
                  n(50 * tra(0, 400)));
    }
    r.push_back("[curve]");
    int metro = tra(0, 500);
    const int curve = tra(0, 12);
    for (int i = 0; i < curve && (metro + 100) / 50 < celle_; ++i) {
      const int lunga = tra(1, 1500);
      r.push_back(std::string("curva") + (moneta() ? "s" : "d") + n(tra(1, 6)) + ", " + n(metro) + ", " + n(lunga));
      // Now and then back to back, overlapping, or past the plan's end.
      const int scelta = tra(0, 5);
      metro += scelta == 0 ? lunga : scelta == 1 ? lunga / 2 : lunga + tra(1, 3000);
      if (scelta == 2 && moneta(4)) metro = lunghezza_ + 6000;
    }
    r.push_back("[pendenze]");
    int p = 0;
    for (int i = 0; i < tra(0, 8); ++i) {
      r.push_back("pendenza, " + n(p) + ", " + n(tra(-30, 30)));
      p += tra(0, 4000);
      if (p > 50 * ultima_) break;
    }
    r.push_back("[montagne]");
    int cella = tra(2, 40);
    for (int i = 0; i < tra(0, 6); ++i) {
      const int fine = cella + tra(1, 60);
      if (fine > ultima_) break;
      r.push_back("montagna, " + n(50 * cella + tra(-24, 24)) + ", " + n(50 * (fine + 1) + tra(-24, 24)) + ", " +
                  n(tra(1, 3) + (moneta() ? 10 : 0)));
      cella = fine + tra(2, 60);
    }
    r.push_back("[cartelli]");
    for (int i = 0; i < tra(0, 4); ++i) {
      const int k = prendi_cella(2, ultima_);
      if (k < 0) continue;
      std::string q = "indicatori_vmax, " + n(50 * (k - 1) + tra(-24, 24));
      for (int j = 0; j < 8; ++j) q += ", " + n(j % 4 == 3 ? tra(0, 3) : 5 * tra(6, 30) + tra(0, 4));
      r.push_back(q);
    }
    r.push_back("[indicazioni]");
    for (int i = 0; i < tra(0, 6); ++i) {
      const int k = prendi_cella(2, ultima_);
      if (k < 0) continue;
      r.push_back("cartello_indicatore, " + n(50 * (k - 1)) + ", " + testo());
    }
    r.push_back("[fine]");
    return righe(r);
  }

  std::string treno() {
    std::vector<std::string> r = {"[generale]", "numero vetture, " + n(tra(1, 12)),
                                  "percentuale massa frenata, " + n(tra(50, 150)), "sabbia, " + n(tra(0, 500)),
                                  "orologio, " + n(tra(0, 23)) + ", " + n(tra(0, 59)) + ", " + n(tra(0, 59))};
    for (const char* chiave : {"aderenza", "velocita"}) {
      int p = 0;
      for (int i = 0; i < tra(1, 8); ++i) {
        r.push_back(std::string(chiave) + ", " + n(p) + ", " + n(std::string(chiave) == "velocita" ? 5 * tra(0, 36) : tra(0, 100)));
        p += moneta(5) ? 0 : tra(50, 5000);
        if (p > 50 * ultima_) break;
      }
    }
    // Stations one after the other along the line; their records come first,
    // as the built-in train has them, or after the signals.
    std::vector<std::string> stazioni = {"[stazioni]"};
    const bool stazioni_dopo = moneta(3);
    std::swap(r, stazioni);
    int x = 50 * tra(0, 20);
    const int tipi[] = {5, 6, 7, 8, 11, 12, 24, 27, 30};
    for (int i = 0; i < tra(0, 5); ++i) {
      const int tipo = tipi[tra(0, 8)];
      const int l = 100 * tra(1, 14);
      const int fine = x + l + 150;
      if (fine / 50 + 2 > ultima_) break;
      const int fermata = static_cast<int>(std::lround(static_cast<double>(fine) / 50 - 1));
      if (occupate_.count(fermata) || occupate_.count(fermata - 1) || occupate_.count(fermata + 1)) break;
      for (int k = fermata - 8; k <= fermata + 2; ++k) occupate_.insert(k);
      fermate_.push_back(fermata);
      const int orario = tra(0, 86399);
      r.push_back("stazione, " + n(x) + ", " + n(tipo) + ", " + n(l) + ", " + n(tra(0, 1)) + ", " + n(tra(0, 1)) + ", " +
                  n(tra(0, 1)) + ", " + n(tra(0, 4)) + ", " + n(tra(0, 1)) + ", " + n(tra(0, 1)) + ", " + n(tra(0, 4)) +
                  ", " + n(tra(0, 1)) + ", " + n(tra(0, 1)) + ", " + n(tra(0, 60)) + ", " + n(orario / 3600) + ", " +
                  n(orario / 60 % 60) + ", " + n(orario % 60) + ", " + testo());
      x = fine + l + 50 * tra(8, 80);
    }
    std::swap(r, stazioni);
    if (!stazioni_dopo) r.insert(r.end(), stazioni.begin(), stazioni.end());
    r.push_back("[rallentamenti]");
    for (int i = 0; i < tra(0, 3); ++i) {
      const int a = tra(3, ultima_ - 30);
      const int lunga = tra(0, 1200);
      const int fine = a + lunga / 50 + 1;
      // The start, the end and the warning with its boards on free cells.
      bool libere = fine < ultima_;
      for (int k : {a, a - 1, a + 1, fine, fine + 1, a - 24, a - 25, a - 26, a - 27, a - 28}) {
        if (occupate_.count(k)) libere = false;
      }
      for (int k = a - 20; k <= fine + 13 && libere; ++k) {
        if (occupate_.count(k)) libere = false;
      }
      if (!libere) continue;
      for (int k = a - 28; k <= fine + 13; ++k) occupate_.insert(k);
      const int xx = 50 * (a - 1) + (moneta() ? 0 : tra(-24, 24));
      r.push_back("rallentamento, " + n(xx) + ", " + n(5 * tra(2, 30)) + ", " + n(lunga) + ", " + n(tra(0, 1)) + ", " +
                  n(tra(0, 1)) + ", " + n(moneta() ? 0 : tra(1, 40)));
    }
    r.push_back("[segnali]");
    for (int i = 0; i < tra(0, 10); ++i) {
      int k = prendi_cella(10, ultima_);
      if (k < 0 || occupate_.count(k - 1) || occupate_.count(k - 2)) continue;
      // Now and then a signal that a stop, written after it, covers.
      if (stazioni_dopo && !fermate_.empty() && moneta(3)) k = fermate_[static_cast<size_t>(tra(0, static_cast<int>(fermate_.size()) - 1))];
      const int sx = tra(0, 2);
      r.push_back("segnale, " + n(50 * (k - 1) + tra(-24, 24)) + ", " + n(sx) + ", " + n(tra(0, 9)) + ", " +
                  n(tra(0, 9)) + ", " + n(tra(0, 9)) + ", " + n(tra(0, 3)) + ", " + n(tra(0, 2)) + ", " + n(tra(0, 9)) +
                  ", " + n(tra(0, 9)) + ", " + n(tra(0, 9)) + ", " + n(moneta() ? 0 : tra(1, 300)));
    }
    if (stazioni_dopo) r.insert(r.end(), stazioni.begin(), stazioni.end());
    r.push_back("[abbattimenti]");
    for (int i = 0; i < tra(0, 3); ++i) {
      const int k = prendi_cella(3, ultima_);
      if (k < 0) continue;
      r.push_back("abbattimento, " + n(50 * k) + ", " + n(moneta(3) ? 0 : tra(1, 250)));
    }
    r.push_back("[fine]");
    return righe(r);
  }

  static std::string righe(const std::vector<std::string>& r) {
    std::string t;
    for (const std::string& x : r) t += x + "\r\n";
    return t;
  }

  std::mt19937 caso_;
  int lunghezza_ = 0;
  int celle_ = 0;
  int ultima_ = 0;
  std::set<int> occupate_;
  std::vector<int> fermate_;  // the stop cells of the stations drawn
};

}  // namespace prova

#endif
