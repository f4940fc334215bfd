#include "scenario/decompila.h"

#include <filesystem>

#include "model/errore_esecuzione.h"
#include "model/nomi_file.h"
#include "scenario/lettura_scenario.h"
#include "scenario/opzioni.h"
#include "scenario/percorsi.h"
#include "text/archivio.h"
#include "text/codifica.h"

namespace fs = std::filesystem;

const char* const aiuto_decompile =
    "usage: scenario decompile DIR|FILES -o TEXTDIR [--scenario NAME] [--train-code CODE] [--force]\n"
    "\n"
    "Writes the line text NAME_linea.txt and the train text NAME_CODE-.txt of a\n"
    "compiled scenario (its .sim, its .dat and, when there is one, its _linea.dat)\n"
    "into TEXTDIR, then compiles them in memory and compares the bytes.\n"
    "\n"
    "options:\n"
    "  -o, --output TEXTDIR  the folder of the texts (made when missing)\n"
    "  --scenario NAME       in a folder of several scenarios, the one to read\n"
    "  --train-code CODE     in a folder of several trains, the one to read\n"
    "  --force               replace texts that already exist\n"
    "\n"
    "exit status: 0 the texts compile to the same bytes (\"round trip: identical\"),\n"
    "1 they do not (every cell, record and plan point that differs is listed),\n"
    "2 usage error, or files missing, unreadable or not fitting their layout.\n";

namespace {

int uso(std::ostream& err, const std::string& perche) {
  err << "scenario decompile: " << perche << "\n"
      << "usage: scenario decompile DIR|FILES -o TEXTDIR [--scenario NAME] [--train-code CODE] [--force]\n";
  return 2;
}

int fallito(std::ostream& err, const std::string& perche) {
  err << "scenario decompile: " << perche << "\n";
  return 2;
}

std::optional<std::string> valore(const argomenti_comando& a, const char* nome) {
  auto it = a.valori.find(nome);
  if (it == a.valori.end()) return std::nullopt;
  return it->second;
}

}  // namespace

int comando_decompile(const std::vector<std::string>& argomenti, std::ostream& out, std::ostream& err) {
  argomenti_comando a;
  const std::string errore = leggi_argomenti(
      argomenti, {{"output", "o", true}, {"scenario", nullptr, true}, {"train-code", nullptr, true}, {"force", nullptr, false}},
      a);
  if (!errore.empty()) return uso(err, errore);
  if (a.aiuto) {
    out << aiuto_decompile;
    return 0;
  }
  const std::optional<std::string> uscita = valore(a, "output");
  if (!uscita) return uso(err, "no folder for the texts: give -o TEXTDIR");
  if (a.posizionali.empty()) return uso(err, "no folder or files given");

  file_scenario f;
  const std::string problema = leggi_scenario(a.posizionali, valore(a, "scenario"), valore(a, "train-code"), f);
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
  archivio_disco disco(cartella);
  const std::pair<std::string, const std::string*> testi[] = {{nome_testo_linea(m), &r.linea},
                                                              {nome_testo_treno(m), &r.treno}};
  for (const auto& [nome, byte] : testi) {
    const fs::path p = disco.percorso(nome);
    if (fs::exists(fs::symlink_status(p, ec)) && a.segnali.count("force") == 0) {
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
