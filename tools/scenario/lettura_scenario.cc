#include "scenario/lettura_scenario.h"

#include <algorithm>
#include <filesystem>
#include <map>

#include "scenario/decodifica.h"
#include "scenario/formato.h"
#include "scenario/percorsi.h"
#include "text/codifica.h"

namespace fs = std::filesystem;

namespace {

std::string nome_di(const std::string& percorso) { return testo_percorso(percorso_utf8(percorso).filename()); }

bool stesso_nome(const std::string& a, const std::string& b) { return minuscolo_cp1252(a) == minuscolo_cp1252(b); }

template <class T>
std::string leggi(const std::string& percorso, decodificato<T> (*decodifica)(std::string_view), T& dati) {
  const decodificato<std::string> byte = leggi_file(percorso_utf8(percorso));
  if (!byte.ok()) return percorso + ": " + byte.errore;
  decodificato<T> d = decodifica(byte.dati);
  if (!d.ok()) return percorso + ": " + d.errore;
  dati = std::move(d.dati);
  return "";
}

}  // namespace

std::string leggi_scenario(const std::vector<std::string>& ingressi, const std::optional<std::string>& scenario,
                           const std::optional<std::string>& codice, file_scenario& esito) {
  if (ingressi.empty()) return "no folder or files given";
  std::map<genere_file, std::vector<std::string>> per_genere;
  std::error_code ec;
  std::string dove = "among the files given";
  if (ingressi.size() == 1 && fs::is_directory(percorso_utf8(ingressi[0]), ec)) {
    dove = "in " + ingressi[0];
    fs::directory_iterator it(percorso_utf8(ingressi[0]), ec);
    if (ec) return ingressi[0] + ": cannot be read: " + ec.message();
    for (const fs::directory_entry& voce : it) {
      std::error_code ec2;
      if (!voce.is_regular_file(ec2)) continue;
      const auto g = genere_da_nome(testo_percorso(voce.path().filename()));
      if (g) per_genere[*g].push_back(testo_percorso(voce.path()));
    }
    for (auto& [g, v] : per_genere) std::sort(v.begin(), v.end());
  } else {
    for (const std::string& f : ingressi) {
      if (!fs::exists(percorso_utf8(f), ec)) return f + ": no such file or folder";
      const auto g = genere_da_nome(f);
      if (!g) return f + ": " + nome_non_di_scenario;
      per_genere[*g].push_back(f);
    }
  }
  // The train scenario file: the one there is, or the one named after the
  // names given.
  std::vector<std::string> sim = per_genere[genere_file::punti];
  if (scenario || codice) {
    std::erase_if(sim, [&](const std::string& f) {
      const std::string n = nome_di(f);
      const std::string base = n.substr(0, n.size() - 4);
      const size_t u = base.rfind('_');
      if (u == std::string::npos) return true;
      return (scenario && !stesso_nome(base.substr(0, u), *scenario)) ||
             (codice && !stesso_nome(base.substr(u + 1), *codice));
    });
  }
  if (sim.size() != 1) {
    return sim.empty() ? "no train scenario file (.sim) " + dove
                       : formato("%zu train scenario files (.sim) %s; give --scenario and --train-code to pick one",
                                 sim.size(), dove.c_str());
  }
  esito.sim = sim[0];
  if (std::string e = leggi(esito.sim, decodifica_punti, esito.dati.punti); !e.empty()) return e;

  const std::string radice = nome_di(esito.sim).substr(0, nome_di(esito.sim).size() - 4);
  const std::vector<std::string>& dat = per_genere[genere_file::celle];
  std::vector<std::string> celle;
  for (const std::string& f : dat) {
    if (stesso_nome(nome_di(f), radice + ".dat")) celle.push_back(f);
  }
  if (celle.empty() && dat.size() == 1 && !fs::is_directory(percorso_utf8(ingressi[0]), ec)) celle = dat;
  if (celle.size() != 1) {
    return dat.empty() ? "no train cell file (.dat) " + dove
                       : "no train cell file named " + radice + ".dat " + dove;
  }
  esito.dat = celle[0];
  if (std::string e = leggi(esito.dat, decodifica_celle, esito.dati.celle); !e.empty()) return e;

  const std::string nome_linea = cp1252_a_utf8(esito.dati.punti[punto_scenario].testo) + "_linea.dat";
  const std::vector<std::string>& linea = per_genere[genere_file::profilo];
  for (const std::string& f : linea) {
    if (stesso_nome(nome_di(f), nome_linea)) esito.linea = f;
  }
  if (esito.linea.empty() && linea.size() == 1 && !fs::is_directory(percorso_utf8(ingressi[0]), ec)) {
    esito.linea = linea[0];
  }
  if (esito.linea.empty() && !linea.empty()) {
    return formato("%zu line profile files (_linea.dat) %s and none of them named %s", linea.size(), dove.c_str(),
                   nome_linea.c_str());
  }
  if (!esito.linea.empty()) {
    profilo_linea p;
    if (std::string e = leggi(esito.linea, decodifica_profilo, p); !e.empty()) return e;
    esito.dati.profilo = std::move(p);
  }
  return "";
}
