#include "scenario/compila.h"

#include <filesystem>
#include <memory>
#include <optional>
#include <system_error>

#include "model/errore_esecuzione.h"
#include "model/nomi_file.h"
#include "scenario/comando.h"
#include "scenario/compilazione_autore.h"
#include "scenario/percorsi.h"
#include "text/archivio.h"
#include "text/codifica_sorgente.h"

namespace fs = std::filesystem;

namespace {

const char* const piede_compile =
    "NAME and CODE come from the texts' names when they are NAME_linea.txt and\n"
    "NAME_CODE-.txt; otherwise give them with the options. The texts themselves\n"
    "are never changed. A compile that records an error writes no file, so the\n"
    "files of an earlier compile stay in OUTDIR. UTF-8 and UTF-16 texts are\n"
    "converted to Windows-1252, which the simulator reads (--encoding).\n"
    "\n"
    "exit status:\n"
    "  0  compiled without error\n"
    "  1  compiled, an error recorded (or a warning, with --strict): no file is\n"
    "     written, unless --write-on-error asks for the builder's files\n"
    "  2  usage error, a text that cannot be read or converted, or OUTDIR cannot\n"
    "     be written\n"
    "  3  no binary file written (error 1250 or 1251, or no cell grid)\n";

// The command line of compile.
struct opzioni_compile {
  std::vector<std::string> testi;
  std::string uscita;
  std::string scenario;
  std::string codice;
  std::string codifica = "auto";
  bool senza_profilo = false;
  bool json = false;
  bool severo = false;
  bool scrivi_con_errore = false;
  bool con_uscita = false, con_scenario = false, con_codice = false;
};

int esegui_compile(const opzioni_compile& o, std::ostream& out, std::ostream& err);

}  // namespace

esecuzione_comando definisci_compile(CLI::App& sub, flussi io) {
  auto o = std::make_shared<opzioni_compile>();
  sub.description(
      "Compiles a line text and a train text into the binary scenario files, exactly\n"
      "as the builder does, and writes them into OUTDIR (created when missing):\n"
      "NAME_linea.dat (the line profile), NAME_CODE.sim and NAME_CODE.dat.");
  sub.add_option("texts", o->testi, "the line text, then the train text")->type_name("LINE_TEXT TRAIN_TEXT");
  CLI::Option* uscita = sub.add_option("-o,--output", o->uscita, "the folder to write the binary files into")
                            ->type_name("OUTDIR");
  const opzioni_nomi nomi = definisci_nomi_e_codifica(sub, o->scenario, o->codice, o->codifica);
  sub.add_flag("--no-line-profile", o->senza_profilo, "neither compute nor write the line profile");
  sub.add_flag("--strict", o->severo, "count warnings as errors: exit status 1, no file written");
  sub.add_flag("--write-on-error", o->scrivi_con_errore,
               "write the files even with an error, as the builder does");
  sub.add_flag("--json", o->json, "print the result as one JSON object");
  sub.footer(piede_compile);
  return [o, io, uscita, nomi] {
    o->con_uscita = uscita->count() > 0;
    o->con_scenario = nomi.scenario->count() > 0;
    o->con_codice = nomi.codice->count() > 0;
    return esegui_compile(*o, io.out, io.err);
  };
}

int comando_compile(const std::vector<std::string>& argomenti, std::ostream& out, std::ostream& err) {
  return esegui_comando("compile", argomenti, out, err);
}

namespace {

int uso(std::ostream& err, const std::string& perche) { return uso_sbagliato("compile", perche, err); }

int fallito(std::ostream& err, const std::string& perche) {
  err << "scenario compile: " << perche << "\n";
  return 2;
}

// Why the files were held back, in the author's words.
std::string motivo_trattenuti(const compilazione_autore& c) {
  if (c.m.numero_errore != 0) return "error " + std::to_string(c.m.numero_errore) + " recorded";
  const size_t n = c.avvisi.size();
  return n == 1 ? "1 warning counted as an error (--strict)"
                : std::to_string(n) + " warnings counted as errors (--strict)";
}

int esegui_compile(const opzioni_compile& o, std::ostream& out, std::ostream& err) {
  if (o.testi.size() != 2) {
    return uso(err, o.testi.size() < 2 ? "a line text and a train text are needed"
                                       : "only a line text and a train text are compiled");
  }
  if (!o.con_uscita) return uso(err, "no output folder given (-o OUTDIR)");
  auto opzione = [](bool data, const std::string& valore) {
    return data ? std::optional<std::string>(valore) : std::nullopt;
  };
  const bool json = o.json;
  const bool severo = o.severo;
  const bool scrivi_con_errore = o.scrivi_con_errore;

  richiesta_compilazione r;
  r.percorso_linea = o.testi[0];
  r.percorso_treno = o.testi[1];
  r.scenario = opzione(o.con_scenario, o.scenario);
  r.codice_treno = opzione(o.con_codice, o.codice);
  r.genera_linea = o.senza_profilo ? 0 : 1;
  const std::optional<codifica_richiesta> k = codifica_da_nome(o.codifica);
  if (!k) return uso(err, "unknown encoding '" + o.codifica + "' (auto, windows-1252 or utf-8)");
  r.codifica = *k;

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
  const std::string uscita = o.uscita;
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
  // unless the author asks for the partial ones. The files are replaced as a
  // whole set, or not at all.
  const bool fallita = c.m.numero_errore != 0 || (severo && !c.avvisi.empty());
  const bool trattenuti = fallita && !scrivi_con_errore && file_da_scrivere(c);
  std::vector<std::string> scritti;
  if (!trattenuti) {
    const std::string perche_scrittura = sostituisci_file_compilazione(c, disco, scritti);
    if (!perche_scrittura.empty()) return fallito(err, perche_scrittura);
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
  if (c.esito.errore != 0) return 3;
  return fallita ? 1 : 0;
}

}  // namespace
