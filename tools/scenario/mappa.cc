#include "scenario/mappa.h"

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <map>

#include "model/errore_esecuzione.h"
#include "scenario/formato.h"
#include "scenario/percorsi.h"
#include "scenario/sistema_file.h"
#include "text/archivio.h"
#include "text/codifica.h"

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#endif

namespace fs = std::filesystem;

namespace {

const char* const descrizione_map =
    "Draws a compiled scenario as one SVG file that any browser opens: the plan of\n"
    "the line from the line profile file, with its stations, signals, slowdowns\n"
    "and boards and the texts of its signs, a kilometre scale, and below it the\n"
    "speed limit (dipping at each slowdown), the gradient and the adhesion along\n"
    "the line. A folder must hold the files of one scenario. Without a line\n"
    "profile file only the charts along the line are drawn. Labels never overlap:\n"
    "those that find no room are left out, and the drawing says how many.";

// ---- Finding and reading the files ----------------------------------------

std::string errore_uso(const std::string& testo) { return "scenario map: " + testo; }

// The files of a folder by kind, sorted by name.
std::map<genere_file, std::vector<std::string>> file_della_cartella(const fs::path& cartella, std::string& errore) {
  std::map<genere_file, std::vector<std::string>> per_genere;
  std::vector<fs::path> nomi;
  try {
    nomi = file_ordinari(cartella);
  } catch (const fs::filesystem_error& e) {
    errore = testo_percorso(cartella) + ": cannot be read: " + e.code().message();
    return per_genere;
  }
  for (const fs::path& nome : nomi) {
    auto g = genere_da_nome(testo_percorso(nome));
    if (g) per_genere[*g].push_back(testo_percorso(cartella / nome));
  }
  for (auto& [g, v] : per_genere) std::sort(v.begin(), v.end());
  return per_genere;
}

std::string nome_senza_estensione(const std::string& percorso) {
  return testo_percorso(percorso_utf8(percorso).replace_extension());
}

// The only candidate, or the one candidate that `preferito` picks; empty when
// there is none or the choice is not clear.
template <class F>
std::string scegli(const std::vector<std::string>& candidati, F preferito) {
  if (candidati.size() == 1) return candidati[0];
  std::string scelto;
  for (const std::string& c : candidati) {
    if (!preferito(c)) continue;
    if (!scelto.empty()) return {};
    scelto = c;
  }
  return scelto;
}

}  // namespace

vista_scenario vista_di(const scenario_decodificato& s) {
  return {s.punti, s.celle, s.profilo ? &*s.profilo : nullptr};
}

std::string parte_sbagliata(std::optional<double> da, std::optional<double> a) {
  for (std::optional<double> v : {da, a}) {
    if (v && !metri_del_chilometro(*v)) {
      return formato("--from and --to take kilometres from 0 to 1000000, not %g", *v);
    }
  }
  if (da && a && *a <= *da) return formato("--to %g is not past --from %g", *a, *da);
  return {};
}

std::string scrivi_mappa(const std::string& percorso, const std::string& svg) {
  // Through the same safe replacement as every file of the scenario: a
  // temporary file beside it, renamed over it.
  const fs::path p = percorso_utf8(percorso);
  const std::optional<std::string> nome = utf8_a_cp1252(testo_percorso(p.filename()));
  if (!nome || nome->empty()) {
    return "cannot write " + percorso + ": the file name must be written in Windows-1252 characters";
  }
  std::error_code ec;
  if (fs::is_directory(p, ec)) return "cannot write " + percorso + ": it is a folder";
  try {
    archivio_disco(p.parent_path().empty() ? fs::path(".") : p.parent_path()).scrivi(*nome, svg);
  } catch (const errore_esecuzione& e) {
    return e.what();
  }
  return {};
}

namespace {

struct opzioni_map {
  std::vector<std::string> ingressi;
  std::string uscita;
  bool con_uscita = false;
  std::optional<double> da, a;  // km
};

int esegui_map(const opzioni_map& o, std::ostream& out, std::ostream& err) {
  if (!o.con_uscita) return uso_sbagliato("map", "no output file: give -o MAP.svg", err);
  if (o.ingressi.empty()) return uso_sbagliato("map", "no folder or files given", err);
  if (const std::string perche = parte_sbagliata(o.da, o.a); !perche.empty()) return uso_sbagliato("map", perche, err);
  const std::vector<std::string>& ingressi = o.ingressi;
  const std::optional<std::string> uscita = o.uscita;

  // Which files to draw.
  std::map<genere_file, std::vector<std::string>> per_genere;
  bool da_cartella = false;
  std::error_code ec;
  if (ingressi.size() == 1 && fs::is_directory(percorso_utf8(ingressi[0]), ec)) {
    da_cartella = true;
    std::string errore;
    per_genere = file_della_cartella(percorso_utf8(ingressi[0]), errore);
    if (!errore.empty()) {
      err << errore << "\n";
      return 2;
    }
  } else {
    for (const std::string& f : ingressi) {
      auto g = genere_da_nome(f);
      if (!g) {
        err << errore_uso(f + ": " + nome_non_di_scenario) << "\n";
        return 2;
      }
      per_genere[*g].push_back(f);
    }
  }
  std::string dove = da_cartella ? "in " + ingressi[0] : std::string("among the files given");
  const std::vector<std::string>& sim = per_genere[genere_file::punti];
  const std::vector<std::string>& dat = per_genere[genere_file::celle];
  const std::vector<std::string>& linea = per_genere[genere_file::profilo];
  if (sim.size() != 1) {
    err << errore_uso(sim.empty() ? "no train scenario file (.sim) " + dove
                                  : formato("%zu train scenario files (.sim) %s; a drawing needs exactly one",
                                            sim.size(), dove.c_str()))
        << "\n";
    return 2;
  }

  scenario_decodificato s;
  auto leggi = [&err](const std::string& percorso, auto decodifica, auto& destinazione) {
    auto byte = leggi_file(percorso_utf8(percorso));
    if (!byte.ok()) {
      err << percorso << ": " << byte.errore << "\n";
      return false;
    }
    auto d = decodifica(byte.dati);
    if (!d.ok()) {
      err << percorso << ": " << d.errore << "\n";
      return false;
    }
    destinazione = std::move(d.dati);
    return true;
  };
  if (!leggi(sim[0], decodifica_punti, s.punti)) return 2;

  // With several candidates, the cell file is the one named like the .sim,
  // and the line profile the one named after the scenario the .sim holds.
  std::string file_celle = scegli(dat, [&](const std::string& f) {
    return nome_senza_estensione(f) == nome_senza_estensione(sim[0]);
  });
  if (file_celle.empty()) {
    err << errore_uso(dat.empty() ? "no train cell file (.dat) " + dove
                                  : formato("%zu train cell files (.dat) %s and none of them named like %s",
                                            dat.size(), dove.c_str(), sim[0].c_str()))
        << "\n";
    return 2;
  }
  std::string nome_linea = cp1252_a_utf8(s.punti[punto_scenario].testo) + "_linea.dat";
  std::string file_linea =
      scegli(linea, [&](const std::string& f) { return testo_percorso(percorso_utf8(f).filename()) == nome_linea; });
  if (linea.size() > 1 && file_linea.empty()) {
    err << errore_uso(formato("%zu line profile files (_linea.dat) %s and none of them named %s", linea.size(),
                              dove.c_str(), nome_linea.c_str()))
        << "\n";
    return 2;
  }
  if (!leggi(file_celle, decodifica_celle, s.celle)) return 2;
  if (!file_linea.empty()) {
    profilo_linea p;
    if (!leggi(file_linea, decodifica_profilo, p)) return 2;
    s.profilo = std::move(p);
  }

  opzioni_disegno disegno;
  if (o.da) disegno.da = metri_del_chilometro(*o.da);
  if (o.a) disegno.a = metri_del_chilometro(*o.a);
  const esito_disegno d = disegna_mappa(vista_di(s), disegno);
  if (*uscita == "-") {
#ifdef _WIN32
    _setmode(_fileno(stdout), _O_BINARY);  // the bytes of -o FILE, no CR added
#endif
    out << d.svg;
    return 0;
  }
  const std::string perche = scrivi_mappa(*uscita, d.svg);
  if (!perche.empty()) {
    err << "scenario map: " << perche << "\n";
    return 1;
  }
  return 0;
}

}  // namespace

esecuzione_comando definisci_map(CLI::App& sub, flussi io) {
  auto o = std::make_shared<opzioni_map>();
  sub.description(descrizione_map);
  sub.add_option("inputs", o->ingressi, "a folder, or N_T.sim N_T.dat [N_linea.dat]")
      ->type_name("DIR|FILES");
  CLI::Option* uscita =
      sub.add_option("-o,--output", o->uscita, "where to write the drawing (\"-\" for standard output)")
          ->type_name("FILE");
  CLI::Option* da = sub.add_option("--from", o->da, "draw the line from this kilometre on")->type_name("KM");
  CLI::Option* a = sub.add_option("--to", o->a, "draw the line up to this kilometre")->type_name("KM");
  sub.footer(
      "exit status: 0 when the drawing is written, 1 when it cannot be written, 2 on\n"
      "a usage error or when an input cannot be read or does not fit its layout\n");
  return [o, io, uscita, da, a] {
    o->con_uscita = uscita->count() > 0;
    if (da->count() == 0) o->da.reset();
    if (a->count() == 0) o->a.reset();
    return esegui_map(*o, io.out, io.err);
  };
}

int mappa(const std::vector<std::string>& argomenti, std::ostream& out, std::ostream& err) {
  return esegui_comando("map", argomenti, out, err);
}
