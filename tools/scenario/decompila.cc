#include "scenario/decompila.h"

#include <filesystem>
#include <memory>
#include <optional>

#include "model/errore_esecuzione.h"
#include "model/nomi_file.h"
#include "scenario/lettura_scenario.h"
#include "scenario/nomi_scenario.h"
#include "scenario/percorsi.h"
#include "text/archivio.h"
#include "text/codifica.h"

namespace fs = std::filesystem;

namespace {

struct opzioni_decompile {
  std::vector<std::string> ingressi;
  std::string uscita;
  std::string scenario;
  std::string codice;
  bool forza = false;
  bool con_uscita = false;
  bool con_scenario = false;
  bool con_codice = false;
};

int uso(std::ostream& err, const std::string& perche) { return uso_sbagliato("decompile", perche, err); }

int fallito(std::ostream& err, const std::string& perche) {
  err << "scenario decompile: " << perche << "\n";
  return 2;
}

int esegui_decompile(const opzioni_decompile& o, std::ostream& out, std::ostream& err);

}  // namespace

esecuzione_comando definisci_decompile(CLI::App& sub, flussi io) {
  auto o = std::make_shared<opzioni_decompile>();
  sub.description(
      "Writes the line text NAME_linea.txt and the train text NAME_CODE-.txt of a\n"
      "compiled scenario (its .sim, its .dat and, when there is one, its _linea.dat)\n"
      "into TEXTDIR, then compiles them in memory and compares the bytes.");
  sub.add_option("inputs", o->ingressi, "a folder, or N_T.sim N_T.dat [N_linea.dat]")->type_name("DIR|FILES");
  CLI::Option* uscita =
      sub.add_option("-o,--output", o->uscita, "the folder of the texts (made when missing)")->type_name("TEXTDIR");
  CLI::Option* scenario =
      sub.add_option("--scenario", o->scenario, "in a folder of several scenarios, the one to read")->type_name("NAME");
  CLI::Option* codice =
      sub.add_option("--train-code", o->codice, "in a folder of several trains, the one to read")->type_name("CODE");
  sub.add_flag("--force", o->forza, "replace texts that already exist");
  sub.footer(
      "exit status: 0 the texts compile to the same bytes (\"round trip: identical\"),\n"
      "1 they do not (every cell, record and plan point that differs is listed),\n"
      "2 usage error, or files missing, unreadable or not fitting their layout\n");
  return [o, io, uscita, scenario, codice] {
    o->con_uscita = uscita->count() > 0;
    o->con_scenario = scenario->count() > 0;
    o->con_codice = codice->count() > 0;
    return esegui_decompile(*o, io.out, io.err);
  };
}

int comando_decompile(const std::vector<std::string>& argomenti, std::ostream& out, std::ostream& err) {
  return esegui_comando("decompile", argomenti, out, err);
}

namespace {

int esegui_decompile(const opzioni_decompile& o, std::ostream& out, std::ostream& err) {
  if (!o.con_uscita) return uso(err, "no folder for the texts: give -o TEXTDIR");
  if (o.ingressi.empty()) return uso(err, "no folder or files given");
  const std::optional<std::string> uscita = o.uscita;
  const std::optional<std::string> scelta_scenario =
      o.con_scenario ? std::optional<std::string>(o.scenario) : std::nullopt;
  const std::optional<std::string> scelta_codice = o.con_codice ? std::optional<std::string>(o.codice) : std::nullopt;

  file_scenario f;
  const std::string problema = leggi_scenario(o.ingressi, scelta_scenario, scelta_codice, f);
  if (!problema.empty()) return fallito(err, problema);

  const ricostruzione r = ricostruisci(f.dati);
  modello m;
  m.nome_scenario = r.nome_scenario;
  m.codice_treno = r.codice_treno;
  const fs::path cartella = percorso_utf8(*uscita);
  std::error_code ec;
  if (fs::exists(cartella, ec) && !fs::is_directory(cartella, ec)) {
    return fallito(err, "cannot write into " + *uscita + ": it is not a folder");
  }
  // The names come from the files: they must make safe file names before
  // anything is written with them.
  const std::pair<const char*, const std::string*> nomi[] = {{"scenario name", &r.nome_scenario},
                                                             {"train code", &r.codice_treno}};
  for (const auto& [che, nome] : nomi) {
    std::string cp1252;
    const std::string perche = controlla_nome(cp1252_a_utf8(*nome), cp1252);
    if (!perche.empty()) {
      return fallito(err, f.sim + ": the " + che + " it holds cannot name a text: " + perche);
    }
  }
  archivio_disco disco(cartella);
  const std::pair<std::string, const std::string*> testi[] = {{nome_testo_linea(m), &r.linea},
                                                              {nome_testo_treno(m), &r.treno}};
  for (const auto& [nome, byte] : testi) {
    const fs::path p = disco.percorso(nome);
    if (fs::exists(fs::symlink_status(p, ec)) && !o.forza) {
      return fallito(err, testo_percorso(p) + " already exists; use --force to replace it");
    }
  }
  if (!fs::exists(cartella, ec)) {
    fs::create_directories(cartella, ec);
    if (ec) return fallito(err, "cannot create the folder " + *uscita + ": " + ec.message());
  }
  try {
    for (const auto& [nome, byte] : testi) {
      disco.scrivi(nome, *byte);
      out << "wrote " << testo_percorso(disco.percorso(nome)) << "\n";
    }
  } catch (const errore_esecuzione& e) {
    return fallito(err, e.what());
  }
  if (r.identico) {
    out << "round trip: identical\n";
    return 0;
  }
  out << "round trip: " << r.differenze.size() << " difference" << (r.differenze.size() == 1 ? "" : "s")
      << " between the files and the compile of these texts\n";
  for (const std::string& d : r.differenze) out << "  " << d << "\n";
  return 1;
}

}  // namespace
