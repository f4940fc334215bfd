#include "scenario/init.h"

#include <filesystem>
#include <system_error>

#include "line/dati_linea.h"
#include "model/errore_esecuzione.h"
#include "model/modello.h"
#include "model/nomi_file.h"
#include "scenario/opzioni.h"
#include "scenario/percorsi.h"
#include "text/archivio.h"
#include "text/scrittura.h"
#include "train/dati_treno.h"

namespace fs = std::filesystem;

const char* const aiuto_init =
    "usage: scenario init DIR [--force]\n"
    "\n"
    "Writes the built-in line text and train text into DIR (created when missing):\n"
    "  Morsalo_Torvia_linea.txt     the line\n"
    "  Morsalo_Torvia_R20417-.txt   the train that runs over it\n"
    "Edit them, then compile them with 'scenario compile'.\n"
    "\n"
    "options:\n"
    "  --force     replace files that already exist (otherwise nothing is written)\n"
    "  -h, --help  show this help\n";

namespace {

int uso(std::ostream& err, const std::string& perche) {
  err << "scenario init: " << perche << "\n"
      << "usage: scenario init DIR [--force]  (see 'scenario init --help')\n";
  return 2;
}

int fallito(std::ostream& err, const std::string& perche) {
  err << "scenario init: " << perche << "\n";
  return 2;
}

std::string mostra(const fs::path& p) { return testo_percorso(p); }

}  // namespace

int comando_init(const std::vector<std::string>& argomenti, std::ostream& out, std::ostream& err) {
  argomenti_comando a;
  const std::string errore = leggi_argomenti(argomenti, {{"force", nullptr, false}}, a);
  if (!errore.empty()) return uso(err, errore);
  if (a.aiuto) {
    out << aiuto_init;
    return 0;
  }
  if (a.posizionali.size() != 1) return uso(err, a.posizionali.empty() ? "no folder given" : "one folder only");
  const bool forza = a.segnali.count("force") != 0;
  const fs::path cartella = percorso_utf8(a.posizionali[0]);

  modello m;
  m.nome_scenario = "Morsalo_Torvia";
  m.codice_treno = "R20417";
  const struct {
    std::string nome;
    std::string byte;
  } testi[] = {{nome_testo_linea(m), testo_da_elenco(elenco_linea())},
               {nome_testo_treno(m), testo_da_elenco(elenco_treno())}};

  std::error_code ec;
  const fs::file_status stato = fs::status(cartella, ec);
  if (fs::exists(stato) && !fs::is_directory(stato)) {
    return fallito(err, "cannot write into " + mostra(cartella) + ": it is not a folder");
  }
  // Every file is looked at before the first is written: a refusal writes nothing.
  archivio_disco disco(cartella);
  for (const auto& t : testi) {
    const fs::path p = disco.percorso(t.nome);
    const fs::file_status s = fs::symlink_status(p, ec);
    if (!fs::exists(s)) continue;
    if (fs::is_directory(fs::status(p, ec))) return fallito(err, "cannot write " + mostra(p) + ": it is a folder");
    if (!forza) return fallito(err, mostra(p) + " already exists; use --force to replace it");
  }
  if (!fs::exists(stato)) {
    fs::create_directories(cartella, ec);
    if (ec) return fallito(err, "cannot create the folder " + mostra(cartella) + ": " + ec.message());
  }
  try {
    for (const auto& t : testi) {
      disco.scrivi(t.nome, t.byte);
      out << "wrote " << mostra(disco.percorso(t.nome)) << "\n";
    }
  } catch (const errore_esecuzione& e) {
    return fallito(err, e.what());
  }
  return 0;
}
