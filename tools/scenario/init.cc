#include "scenario/init.h"

#include <filesystem>
#include <memory>
#include <system_error>

#include "line/dati_linea.h"
#include "model/errore_esecuzione.h"
#include "model/modello.h"
#include "model/nomi_file.h"
#include "scenario/comando.h"
#include "scenario/percorsi.h"
#include "text/archivio.h"
#include "text/scrittura.h"
#include "train/dati_treno.h"

namespace fs = std::filesystem;

namespace {

int uso(std::ostream& err, const std::string& perche) { return uso_sbagliato("init", perche, err); }

int fallito(std::ostream& err, const std::string& perche) {
  err << "scenario init: " << perche << "\n";
  return 2;
}

std::string mostra(const fs::path& p) { return testo_percorso(p); }

struct opzioni_init {
  std::vector<std::string> cartelle;
  bool forza = false;
};

int esegui_init(const opzioni_init& o, std::ostream& out, std::ostream& err) {
  if (o.cartelle.size() != 1) return uso(err, o.cartelle.empty() ? "no folder given" : "one folder only");
  const bool forza = o.forza;
  const fs::path cartella = percorso_utf8(o.cartelle[0]);

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

}  // namespace

esecuzione_comando definisci_init(CLI::App& sub, flussi io) {
  auto o = std::make_shared<opzioni_init>();
  sub.description(
      "Writes the built-in line text and train text into DIR (created when missing):\n"
      "  Morsalo_Torvia_linea.txt     the line\n"
      "  Morsalo_Torvia_R20417-.txt   the train that runs over it\n"
      "Edit them, then compile them with 'scenario compile'.");
  sub.add_option("dir", o->cartelle, "the folder to write the texts into")->type_name("DIR");
  sub.add_flag("--force", o->forza, "replace files that exist (else nothing is written)");
  sub.footer("exit status: 0 written, 2 usage error or a file that cannot be written\n");
  return [o, io] { return esegui_init(*o, io.out, io.err); };
}

int comando_init(const std::vector<std::string>& argomenti, std::ostream& out, std::ostream& err) {
  return esegui_comando("init", argomenti, out, err);
}
