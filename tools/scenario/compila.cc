#include "scenario/compila.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <optional>
#include <system_error>

#include "core/memorizza_percorso.h"
#include "model/diagnostica.h"
#include "model/errore_esecuzione.h"
#include "model/modello.h"
#include "model/nomi_file.h"
#include "scenario/compilazione_autore.h"
#include "scenario/opzioni.h"
#include "scenario/percorsi.h"
#include "text/archivio.h"
#include "text/codifica_sorgente.h"

namespace fs = std::filesystem;

const char* const aiuto_compile =
    "usage: scenario compile LINE_TEXT TRAIN_TEXT -o OUTDIR [options]\n"
    "\n"
    "Compiles a line text and a train text into the binary scenario files, exactly\n"
    "as the builder does, and writes them into OUTDIR (created when missing):\n"
    "NAME_linea.dat (the line profile), NAME_CODE.sim and NAME_CODE.dat.\n"
    "The texts themselves are never changed.\n"
    "\n"
    "NAME and CODE come from the texts' names when they are NAME_linea.txt and\n"
    "NAME_CODE-.txt; otherwise give them with the options.\n"
    "\n"
    "options:\n"
    "  -o, --output OUTDIR   the folder to write the binary files into\n"
    "  --scenario NAME       the scenario name (overrides the file names)\n"
    "  --train-code CODE     the train code (overrides the train text's name)\n"
    "  --no-line-profile     neither compute nor write the line profile\n"
    "  --json                print the result as one JSON object\n"
    "  -h, --help            show this help\n"
    "\n"
    "exit status:\n"
    "  0  compiled without error\n"
    "  1  compiled, an error recorded (the files are written, as the builder does)\n"
    "  2  usage error, a text that cannot be read, or OUTDIR cannot be written\n"
    "  3  no binary file written (error 1250 or 1251, or no cell grid)\n";

namespace {

int uso(std::ostream& err, const std::string& perche) {
  err << "scenario compile: " << perche << "\n"
      << "usage: scenario compile LINE_TEXT TRAIN_TEXT -o OUTDIR [options]  (see 'scenario compile --help')\n";
  return 2;
}

int fallito(std::ostream& err, const std::string& perche) {
  err << "scenario compile: " << perche << "\n";
  return 2;
}

// Why the files were held back, in the author's words.
std::string motivo_trattenuti(const compilazione_autore& c) {
  if (c.m.numero_errore != 0) return "error " + std::to_string(c.m.numero_errore) + " recorded";
  const size_t n = c.avvisi.size();
  return std::to_string(n) + (n == 1 ? " warning" : " warnings") + " counted as errors (--strict)";
}

}  // namespace

int comando_compile(const std::vector<std::string>& argomenti, std::ostream& out, std::ostream& err) {
  argomenti_comando a;
  const std::string sbaglio = leggi_argomenti(argomenti,
                                              {{"output", "o", true},
                                               {"scenario", nullptr, true},
                                               {"train-code", nullptr, true},
                                               {"no-line-profile", nullptr, false},
                                               {"json", nullptr, false},
                                               {"strict", nullptr, false},
                                               {"write-on-error", nullptr, false},
                                               {"encoding", nullptr, true}},
                                              a);
  if (!sbaglio.empty()) return uso(err, sbaglio);
  if (a.aiuto) {
    out << aiuto_compile;
    return 0;
  }
  if (a.posizionali.size() != 2) {
    return uso(err, a.posizionali.size() < 2 ? "a line text and a train text are needed"
                                             : "only a line text and a train text are compiled");
  }
  if (!a.valori.count("output")) return uso(err, "no output folder given (-o OUTDIR)");
  auto opzione = [&](const char* nome) -> std::optional<std::string> {
    auto it = a.valori.find(nome);
    return it == a.valori.end() ? std::nullopt : std::optional<std::string>(it->second);
  };
  const bool json = a.segnali.count("json") != 0;
  const bool severo = a.segnali.count("strict") != 0;
  const bool scrivi_con_errore = a.segnali.count("write-on-error") != 0;

  richiesta_compilazione r;
  r.percorso_linea = a.posizionali[0];
  r.percorso_treno = a.posizionali[1];
  r.scenario = opzione("scenario");
  r.codice_treno = opzione("train-code");
  r.genera_linea = a.segnali.count("no-line-profile") ? 0 : 1;
  if (const std::optional<std::string> c = opzione("encoding")) {
    const std::optional<codifica_richiesta> k = codifica_da_nome(*c);
    if (!k) return uso(err, "unknown encoding '" + *c + "' (auto, windows-1252 or utf-8)");
    r.codifica = *k;
  }

  compilazione_autore c;
  if (const std::optional<rifiuto_compilazione> no = prepara_compilazione(r, c)) {
    if (no->uso) return uso(err, no->messaggio);
    if (no->con_luogo) {
      err << no->messaggio << "\n";
      return 2;
    }
    return fallito(err, no->messaggio);
  }
  const testo_autore& linea = c.linea;
  const testo_autore& treno = c.treno;

  // The output folder, and every file the compile may write there, are looked
  // at before compiling: a refusal writes nothing.
  const std::string uscita = *opzione("output");
  const fs::path cartella = percorso_utf8(uscita);
  std::error_code ec;
  const fs::file_status stato = fs::status(cartella, ec);
  if (fs::exists(stato) && !fs::is_directory(stato)) {
    return fallito(err, "cannot write into " + testo_percorso(cartella) + ": it is not a folder");
  }
  archivio_disco disco(cartella);
  bool precedenti = false;
  for (const std::string& nome : {nome_file_linea(c.m), nome_file_sim(c.m), nome_file_dat(c.m)}) {
    const fs::path p = disco.percorso(nome);
    const fs::file_status s = fs::status(p, ec);
    if (fs::is_directory(s)) return fallito(err, "cannot write " + testo_percorso(p) + ": it is a folder");
    precedenti = precedenti || fs::exists(s);
    for (const testo_autore* t : {&linea, &treno}) {
      if (fs::equivalent(p, percorso_utf8(t->percorso), ec)) {
        return fallito(err, "cannot write " + testo_percorso(p) + ": it is the text " + t->percorso + " being compiled");
      }
    }
  }

  if (!fs::exists(stato)) {
    fs::create_directories(cartella, ec);
    if (ec) return fallito(err, "cannot create the folder " + testo_percorso(cartella) + ": " + ec.message());
  }

  // The compile works on private copies of the texts, in memory.
  std::string perche;
  if (!esegui_compilazione(c, r.genera_linea, perche)) {
    err << "scenario compile: the compile failed after reading the texts: " << perche << "\n";
    return 3;
  }

  // A compile that recorded an error leaves the last good files in place,
  // unless the author asks for the partial ones.
  const bool fallita = c.m.numero_errore != 0 || (severo && !c.avvisi.empty());
  const bool trattenuti = fallita && !scrivi_con_errore && !c.esito.file_scritti.empty();
  std::vector<std::string> scritti;
  if (!trattenuti && !c.esito.file_scritti.empty()) {
    try {
      for (const std::string& nome : c.esito.file_scritti) {
        disco.scrivi(nome, c.memoria.file.at(nome));
        scritti.push_back(nome);
      }
    } catch (const errore_esecuzione& e) {
      return fallito(err, e.what());
    }
  }

  if (json) {
    out << risultato_json(c, true, scritti);
  } else {
    stampa_diagnostiche(c, err);
    for (const std::string& nome : scritti) out << "wrote " << testo_percorso(disco.percorso(nome)) << "\n";
    if (trattenuti) {
      err << "no file written: " << motivo_trattenuti(c) << "; "
          << (precedenti ? "the files in " + uscita + " are those of an earlier compile"
                         : uscita + " holds no files of an earlier compile")
          << "\n";
    }
  }
  if (!c.esito.errore.empty()) return 3;
  return fallita ? 1 : 0;
}
