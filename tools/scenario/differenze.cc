#include "scenario/differenze.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <filesystem>
#include <functional>
#include <map>
#include <memory>

#include "scenario/decodifica.h"
#include "scenario/formato.h"
#include "scenario/json.h"
#include "scenario/lettura_scenario.h"
#include "scenario/percorsi.h"
#include "text/codifica.h"

namespace fs = std::filesystem;

namespace {

std::string utf8(const std::string& cp1252) { return cp1252_a_utf8(cp1252); }

std::string n(int64_t v) { return std::to_string(v); }

// The header values, by the name an author knows them by.
std::vector<std::pair<std::string, std::string>> testata_di(const scenario_binario& s) {
  const tabella_punti& p = s.punti;
  const punto& tr = p[punto_treno];
  const punto& sc = p[punto_scenario];
  const punto& co = p[punto_codici];
  std::vector<std::pair<std::string, std::string>> v = {
      {"scenario name", utf8(sc.testo)},
      {"train code", utf8(co.testo)},
      {"line length (m)", n(tr.fine)},
      {"cells", n(static_cast<int64_t>(s.celle.size()))},
      {"cars", n(tr.posizione)},
      {"braked mass (%)", n(tr.inizio)},
      {"sand", n(co.intero_1)},
      {"clock", orologio_di(p)},
      {"background one", n(sc.inizio)},
      {"background two", n(sc.posizione)},
      {"background three", n(sc.fine)},
      {"signal repetition", formato("%d to %d m, %d codes", co.inizio, co.fine, co.posizione)},
      {"marca_sim", n(sc.intero_1)},
      {"codice_st", n(sc.orario)},
  };
  const char* nomi[3] = {"progressive 1", "progressive 2", "progressive 3"};
  for (int i = 0; i < 3; ++i) {
    const punto& q = p[static_cast<size_t>(progressiva_tre + i)];
    v.push_back({nomi[i], formato("at %d m, figure %d, flag %d", q.inizio, q.fine, q.posizione)});
  }
  if (s.celle.size() > 1) {
    v.push_back({"marca_dat", n(s.celle[1].valore)});
    v.push_back({"codice_og", n(s.celle[1].valore_2)});
  }
  return v;
}

std::vector<std::pair<std::string, std::string>> campi_stazione(const punto& p) {
  return {{"position (m)", n(p.posizione)}, {"kind", n(p.tipo)},          {"start (m)", n(p.inizio)},
          {"end (m)", n(p.fine)},           {"opzione_1", n(p.opzione_1)}, {"opzione_2", n(p.opzione_2)},
          {"opzione_3", n(p.opzione_3)},     {"opzione_4", n(p.opzione_4)}, {"intero_1", n(p.intero_1)},
          {"intero_2", n(p.intero_2)},       {"intero_3", n(p.intero_3)},   {"intero_4", n(p.intero_4)},
          {"intero_5", n(p.intero_5)},       {"stop (s)", n(p.sosta)},     {"time", ore_minuti_secondi(p.orario)}};
}

// The stations by name; the k-th of one name pairs with the k-th of it.
void confronta_stazioni(const scenario_binario& a, const scenario_binario& b, differenze_scenari& d) {
  auto elenco = [](const scenario_binario& s) {
    std::vector<std::pair<std::string, const punto*>> v;
    const ruoli_punti r = ruoli_di(s.punti);
    std::map<std::string, int> visti;
    for (int i = 1; i <= r.ultima_stazione; ++i) {
      const punto& p = s.punti[static_cast<size_t>(i)];
      const int k = visti[p.testo]++;
      std::string chiave = p.testo;
      if (k > 0) {
        chiave += '\n';
        chiave += std::to_string(k);
      }
      v.push_back({std::move(chiave), &p});
    }
    return v;
  };
  const auto ea = elenco(a);
  const auto eb = elenco(b);
  auto trova = [](const auto& e, const std::string& chiave) -> const punto* {
    for (const auto& [c, p] : e) {
      if (c == chiave) return p;
    }
    return nullptr;
  };
  for (const auto& [chiave, pa] : ea) {
    const punto* pb = trova(eb, chiave);
    differenza_stazione s{utf8(pa->testo), pb ? "changed" : "only in A", {}};
    if (pb) {
      const auto ca = campi_stazione(*pa);
      const auto cb = campi_stazione(*pb);
      for (size_t i = 0; i < ca.size(); ++i) {
        if (ca[i].second != cb[i].second) s.campi.push_back({ca[i].first, ca[i].second, cb[i].second});
      }
      if (s.campi.empty()) continue;
    }
    d.stazioni.push_back(std::move(s));
  }
  for (const auto& [chiave, pb] : eb) {
    if (!trova(ea, chiave)) d.stazioni.push_back({utf8(pb->testo), "only in B", {}});
  }
}

// An object in words, with the text its record stands for.
std::string oggetto_di(const scenario_binario& s, const cella& c) {
  std::string t = sintesi_cella(c);
  if ((c.tipo == cartello || c.tipo == fermata) && c.valore > 0 && c.valore < numero_punti) {
    t += " \"";
    t += utf8(s.punti[static_cast<size_t>(c.valore)].testo);
    t += '"';
  }
  return t;
}

void confronta_oggetti(const scenario_binario& a, const scenario_binario& b, differenze_scenari& d) {
  const std::vector<cella> ca = celle_senza_marche(a.celle);
  const std::vector<cella> cb = celle_senza_marche(b.celle);
  const size_t n = std::max(ca.size(), cb.size());
  for (size_t k = 0; k < n; ++k) {
    const cella vuota_cella{};
    const cella& x = k < ca.size() ? ca[k] : vuota_cella;
    const cella& y = k < cb.size() ? cb[k] : vuota_cella;
    const std::string ox = x.tipo == vuota ? "" : oggetto_di(a, x);
    const std::string oy = y.tipo == vuota ? "" : oggetto_di(b, y);
    if (x.tipo == y.tipo && ox == oy) continue;
    auto nome = [](uint8_t t) -> std::string {
      if (t == vuota) return "";
      const char* q = nome_tipo_cella(t);
      std::string r = "kind ";
      r += std::to_string(t);
      return q ? std::string(q) : r;
    };
    d.oggetti.push_back({static_cast<int64_t>(k), nome(x.tipo), nome(y.tipo), ox, oy});
  }
}

void confronta_profili(const scenario_binario& a, const scenario_binario& b, differenze_scenari& d) {
  const struct {
    const char* nome;
    uint8_t cella::*campo;
    int64_t (*valore)(uint8_t);
    const char* unita;
  } profili[] = {
      {"gradient", &cella::pendenza, [](uint8_t v) { return int64_t{v} - 100; }, "per mille"},
      {"speed", &cella::velocita, [](uint8_t v) { return 5 * int64_t{v}; }, "km/h"},
      {"adhesion", &cella::aderenza, [](uint8_t v) { return int64_t{v}; }, ""},
      {"mountain", &cella::montagna, [](uint8_t v) { return int64_t{v}; }, "kind"},
      {"warning code", &cella::preavviso, [](uint8_t v) { return int64_t{v}; }, ""},
  };
  const size_t n = std::min(a.celle.size(), b.celle.size());
  for (const auto& p : profili) {
    for (size_t k = 0; k < n; ++k) {
      const int64_t x = p.valore(a.celle[k].*p.campo);
      const int64_t y = p.valore(b.celle[k].*p.campo);
      if (x == y) continue;
      if (!d.profili.empty()) {
        differenza_profilo& u = d.profili.back();
        if (u.profilo == p.nome && u.ultima + 1 == static_cast<int64_t>(k) && u.a == x && u.b == y) {
          u.ultima = static_cast<int64_t>(k);
          continue;
        }
      }
      d.profili.push_back({p.nome, static_cast<int64_t>(k), static_cast<int64_t>(k), x, y, p.unita});
    }
  }
}

bool presente(const profilo_linea& p, int32_t m) {
  return p.tipi[0][m] != variante_vuota && p.tipi[1][m] != variante_vuota;
}

void confronta_piani(const scenario_binario& a, const scenario_binario& b, differenze_scenari& d) {
  if (!a.profilo && !b.profilo) return;
  differenza_piano p;
  p.in_a = a.profilo.has_value();
  p.in_b = b.profilo.has_value();
  p.punti_a = a.profilo ? a.profilo->limite + 1 : 0;
  p.punti_b = b.profilo ? b.profilo->limite + 1 : 0;
  bool diversi = p.in_a != p.in_b || p.punti_a != p.punti_b;
  if (a.profilo && b.profilo) {
    const profilo_linea& x = *a.profilo;
    const profilo_linea& y = *b.profilo;
    for (int32_t m = 0; m <= std::min(x.limite, y.limite); ++m) {
      for (int c = 0; c < 2; ++c) {
        if (x.tipi[c][m] != y.tipi[c][m] ||
            (x.tipi[c][m] != variante_vuota &&
             std::bit_cast<uint64_t>(x.valori[c][m]) != std::bit_cast<uint64_t>(y.valori[c][m]))) {
          diversi = true;
        }
      }
      if (!presente(x, m) || !presente(y, m)) continue;
      const double dist = std::hypot(x.valori[0][m] - y.valori[0][m], x.valori[1][m] - y.valori[1][m]);
      if (dist > p.distanza_massima || (std::isnan(dist) && p.al_punto < 0)) {
        p.distanza_massima = dist;
        p.al_punto = m;
      }
    }
  }
  if (diversi) d.piano = p;
}

std::string metri(int64_t cella) { return n(50 * cella); }

}  // namespace

differenze_scenari confronta_scenari(const scenario_binario& a, const scenario_binario& b) {
  differenze_scenari d;
  const auto ta = testata_di(a);
  const auto tb = testata_di(b);
  for (size_t i = 0; i < std::min(ta.size(), tb.size()); ++i) {
    if (ta[i].second != tb[i].second) d.testata.push_back({ta[i].first, ta[i].second, tb[i].second});
  }
  confronta_stazioni(a, b, d);
  confronta_oggetti(a, b, d);
  confronta_profili(a, b, d);
  confronta_piani(a, b, d);
  return d;
}

void stampa_differenze(const differenze_scenari& d, std::ostream& out) {
  const char* freccia = " \xE2\x86\x92 ";
  for (const valore_diverso& v : d.testata) out << "header: " << v.campo << ": " << v.a << freccia << v.b << "\n";
  for (const differenza_stazione& s : d.stazioni) {
    if (s.campi.empty()) {
      out << "station \"" << s.nome << "\": " << s.cambio << "\n";
      continue;
    }
    for (const valore_diverso& v : s.campi) {
      out << "station \"" << s.nome << "\": " << v.campo << " " << v.a << freccia << v.b << "\n";
    }
  }
  for (const differenza_oggetto& o : d.oggetti) {
    auto lato = [](const std::string& tipo, const std::string& valori) {
      if (tipo.empty()) return std::string("nothing");
      std::string r = tipo;
      if (!valori.empty()) {
        r += " (";
        r += valori;
        r += ')';
      }
      return r;
    };
    out << "cell " << o.cella << " (" << metri(o.cella) << " m): " << lato(o.tipo_a, o.a) << freccia
        << lato(o.tipo_b, o.b) << "\n";
  }
  for (const differenza_profilo& p : d.profili) {
    std::string unita;
    if (!p.unita.empty()) {
      unita = " ";
      unita += p.unita;
    }
    out << p.profilo << " from " << metri(p.prima) << " to " << metri(p.ultima) << " m: " << p.a << freccia << p.b
        << unita << "\n";
  }
  if (d.piano) {
    const differenza_piano& p = *d.piano;
    if (!p.in_a || !p.in_b) {
      out << "plan: " << (p.in_a ? "only in A" : "only in B") << "\n";
    } else {
      if (p.punti_a != p.punti_b) out << "plan: " << p.punti_a << " points" << freccia << p.punti_b << " points\n";
      out << formato("plan: largest distance %.3f m, at point %d\n", p.distanza_massima, p.al_punto);
    }
  }
  if (d.uguali()) out << "the two scenarios are the same\n";
}

json differenze_json(const differenze_scenari& d) {
  auto valori = [](const std::vector<valore_diverso>& v) {
    json l = json::array();
    for (const valore_diverso& x : v) l.push_back({{"field", x.campo}, {"a", x.a}, {"b", x.b}});
    return l;
  };
  json j = {{"same", d.uguali()}, {"header", valori(d.testata)}};
  json stazioni = json::array();
  for (const differenza_stazione& s : d.stazioni) {
    stazioni.push_back({{"name", s.nome}, {"change", s.cambio}, {"fields", valori(s.campi)}});
  }
  j["stations"] = std::move(stazioni);
  json oggetti = json::array();
  for (const differenza_oggetto& o : d.oggetti) {
    oggetti.push_back({{"cell", o.cella},
                       {"position_m", 50 * o.cella},
                       {"kind_a", o.tipo_a},
                       {"kind_b", o.tipo_b},
                       {"a", o.a},
                       {"b", o.b}});
  }
  j["objects"] = std::move(oggetti);
  json profili = json::array();
  for (const differenza_profilo& p : d.profili) {
    profili.push_back({{"profile", p.profilo},
                       {"from_m", 50 * p.prima},
                       {"to_m", 50 * p.ultima},
                       {"a", p.a},
                       {"b", p.b},
                       {"unit", p.unita}});
  }
  j["profiles"] = std::move(profili);
  if (d.piano) {
    const differenza_piano& p = *d.piano;
    j["plan"] = {{"in_a", p.in_a},
                 {"in_b", p.in_b},
                 {"points_a", p.punti_a},
                 {"points_b", p.punti_b},
                 {"largest_distance_m", std::isfinite(p.distanza_massima) ? json(p.distanza_massima) : json()},
                 {"at_point", p.al_punto}};
  } else {
    j["plan"] = nullptr;  // the plans do not differ
  }
  return j;
}

namespace {

// A folder, or a train scenario file with its cell file and line profile
// beside it.
std::string leggi_lato(const std::string& ingresso, file_scenario& f) {
  std::error_code ec;
  const fs::path p = percorso_utf8(ingresso);
  if (fs::is_directory(p, ec)) return leggi_scenario({ingresso}, std::nullopt, std::nullopt, f);
  if (!fs::exists(p, ec)) return ingresso + ": no such file or folder";
  if (genere_da_nome(ingresso) != genere_file::punti) {
    return ingresso + ": give a folder or a train scenario file (.sim)";
  }
  const std::string nome = testo_percorso(p.filename());
  const std::string radice = nome.substr(0, nome.size() - 4);
  const size_t u = radice.rfind('_');
  if (u == std::string::npos) return ingresso + ": not named SCENARIO_TRAIN.sim";
  const fs::path cartella = p.has_parent_path() ? p.parent_path() : fs::path(".");
  return leggi_scenario({testo_percorso(cartella)}, radice.substr(0, u), radice.substr(u + 1), f);
}

}  // namespace

namespace {

struct opzioni_diff {
  std::vector<std::string> scenari;
  bool json = false;
};

int esegui_diff(const opzioni_diff& o, std::ostream& out, std::ostream& err) {
  if (o.scenari.size() != 2) return uso_sbagliato("diff", "give two scenarios, A and B", err);
  file_scenario fa, fb;
  for (auto [ingresso, f] : {std::pair{&o.scenari[0], &fa}, std::pair{&o.scenari[1], &fb}}) {
    const std::string problema = leggi_lato(*ingresso, *f);
    if (!problema.empty()) {
      err << "scenario diff: " << problema << "\n";
      return 2;
    }
  }
  const differenze_scenari d = confronta_scenari(fa.dati, fb.dati);
  if (o.json) {
    out << testo_json(differenze_json(d)) << "\n";
  } else {
    stampa_differenze(d, out);
  }
  return d.uguali() ? 0 : 1;
}

}  // namespace

esecuzione_comando definisci_diff(CLI::App& sub, flussi io) {
  auto o = std::make_shared<opzioni_diff>();
  sub.description(
      "Shows what differs between two compiled scenarios, each a folder or a train\n"
      "scenario file (.sim) with its .dat and _linea.dat beside it: header values\n"
      "by name, stations by name and field, cell objects by kind and position,\n"
      "profiles as changed runs, and the largest distance between the two plans.");
  sub.add_option("scenarios", o->scenari, "the two scenarios")->type_name("A B");
  sub.add_flag("--json", o->json, "print the differences as one JSON object");
  sub.footer("exit status: 0 the two are the same, 1 they differ, 2 usage error or bad input\n");
  return [o, io] { return esegui_diff(*o, io.out, io.err); };
}

int comando_diff(const std::vector<std::string>& argomenti, std::ostream& out, std::ostream& err) {
  return esegui_comando("diff", argomenti, out, err);
}
