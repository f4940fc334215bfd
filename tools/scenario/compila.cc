#include "scenario/compila.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <optional>
#include <system_error>

#include "core/file_binari.h"
#include "core/memorizza_percorso.h"
#include "model/diagnostica.h"
#include "model/errore_esecuzione.h"
#include "model/modello.h"
#include "model/nomi_file.h"
#include "scenario/nomi_scenario.h"
#include "scenario/comando.h"
#include "scenario/rapporto.h"
#include "scenario/json.h"
#include "scenario/percorsi.h"
#include "text/archivio.h"
#include "text/codifica.h"

namespace fs = std::filesystem;

namespace {

const char* const piede_compile =
    "NAME and CODE come from the texts' names when they are NAME_linea.txt and\n"
    "NAME_CODE-.txt; otherwise give them with the options. The texts themselves\n"
    "are never changed.\n"
    "\n"
    "exit status:\n"
    "  0  compiled without error\n"
    "  1  compiled, an error recorded (the files are written, as the builder does)\n"
    "  2  usage error, a text that cannot be read, or OUTDIR cannot be written\n"
    "  3  no binary file written (error 1250 or 1251, or no cell grid)\n";

// The command line of compile.
struct opzioni_compile {
  std::vector<std::string> testi;
  std::string uscita;
  std::string scenario;
  std::string codice;
  bool senza_profilo = false;
  bool json = false;
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
  CLI::Option* scenario = sub.add_option("--scenario", o->scenario, "the scenario name (overrides the file names)")
                              ->type_name("NAME");
  CLI::Option* codice =
      sub.add_option("--train-code", o->codice, "the train code (overrides the train text's name)")->type_name("CODE");
  sub.add_flag("--no-line-profile", o->senza_profilo, "neither compute nor write the line profile");
  sub.add_flag("--json", o->json, "print the result as one JSON object");
  sub.footer(piede_compile);
  return [o, io, uscita, scenario, codice] {
    o->con_uscita = uscita->count() > 0;
    o->con_scenario = scenario->count() > 0;
    o->con_codice = codice->count() > 0;
    return esegui_compile(*o, io.out, io.err);
  };
}

int comando_compile(const std::vector<std::string>& argomenti, std::ostream& out, std::ostream& err) {
  return esegui_comando("compile", argomenti, out, err);
}

namespace {

// A source text larger than this is not a source text.
constexpr uintmax_t testo_massimo = 64u << 20;

int uso(std::ostream& err, const std::string& perche) { return uso_sbagliato("compile", perche, err); }

int fallito(std::ostream& err, const std::string& perche) {
  err << "scenario compile: " << perche << "\n";
  return 2;
}

// The whole of a source text, or why it cannot be read. A pipe or a device
// is read too, up to the size a text may have.
std::optional<std::string> leggi_sorgente(const std::string& percorso, std::string& perche) {
  const fs::path p = percorso_utf8(percorso);
  const std::string troppo = "cannot read " + percorso + ": larger than " +
                                    std::to_string(testo_massimo >> 20) + " MiB, too large for a source text";
  std::error_code ec;
  const fs::file_status s = fs::status(p, ec);
  if (fs::is_directory(s)) {
    perche = "cannot read " + percorso + ": it is a folder";
    return std::nullopt;
  }
  if (fs::is_regular_file(s) && fs::file_size(p, ec) > testo_massimo && !ec) {
    perche = troppo;
    return std::nullopt;
  }
  std::string dati;
  int numero = 0;
  switch (leggi_file_intero(p, testo_massimo, dati, numero)) {
    case esito_lettura::letto:
      return dati;
    case esito_lettura::troppo_grande:
      perche = troppo;
      return std::nullopt;
    default:
      perche = "cannot read " + percorso + ": " + std::strerror(numero);
      return std::nullopt;
  }
}

// A place as the three keys file, line and column, each null when not known.
void metti_luogo(json& j, const luogo_messaggio& l) {
  j["file"] = l.file.empty() ? json(nullptr) : json(l.file);
  j["line"] = l.riga > 0 ? json(l.riga) : json(nullptr);
  j["column"] = l.riga > 0 ? json(l.colonna) : json(nullptr);
}

json risultato_json(const modello& m, const esito_compilazione& esito, const messaggio_errore& errore,
                    const std::vector<messaggio_avviso>& avvisi) {
  json j;
  j["numero_errore"] = m.numero_errore;
  j["posizione_errore"] = m.posizione_errore;
  j["errore"] = esito.errore.empty() ? json(nullptr) : json(esito.errore);
  metti_luogo(j, errore.luogo);
  j["message"] = errore.codice != 0 ? json(riassunto_errore(errore)) : json(nullptr);
  j["files"] = json::array();
  for (const std::string& f : esito.file_scritti) j["files"].push_back(cp1252_a_utf8(f));
  j["warnings"] = json::array();
  for (const messaggio_avviso& a : avvisi) {
    json w;
    metti_luogo(w, a.luogo);
    w["message"] = riassunto_avviso(a);
    j["warnings"].push_back(std::move(w));
  }
  return j;
}

}  // namespace

namespace {

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
  const int32_t j = o.senza_profilo ? 0 : 1;

  testo_autore linea{o.testi[0], {}};
  testo_autore treno{o.testi[1], {}};
  nomi_scenario nomi;
  const std::string perche_nomi = deriva_nomi(linea.percorso, treno.percorso, opzione(o.con_scenario, o.scenario),
                                              opzione(o.con_codice, o.codice), nomi);
  if (!perche_nomi.empty()) return uso(err, perche_nomi);

  // Both texts are read before anything else happens.
  std::string perche;
  for (testo_autore* t : {&linea, &treno}) {
    std::optional<std::string> byte = leggi_sorgente(t->percorso, perche);
    if (!byte) return fallito(err, perche);
    t->byte = std::move(*byte);
  }

  modello m;
  m.nome_scenario = nomi.nome_scenario;
  m.codice_treno = nomi.codice_treno;

  // The output folder, and every file the compile may write there, are looked
  // at before compiling: a refusal writes nothing.
  const fs::path cartella = percorso_utf8(o.uscita);
  std::error_code ec;
  const fs::file_status stato = fs::status(cartella, ec);
  if (fs::exists(stato) && !fs::is_directory(stato)) {
    return fallito(err, "cannot write into " + testo_percorso(cartella) + ": it is not a folder");
  }
  archivio_disco disco(cartella);
  for (const std::string& nome : {nome_file_linea(m), nome_file_sim(m), nome_file_dat(m)}) {
    const fs::path p = disco.percorso(nome);
    if (fs::is_directory(fs::status(p, ec))) return fallito(err, "cannot write " + testo_percorso(p) + ": it is a folder");
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

  // The compile works on private copies of the texts, in memory; the files
  // go straight to the folder through the builder's own writer, the line
  // profile in pieces as it is produced.
  archivio_memoria memoria;
  memoria.file[nome_testo_linea(m)] = linea.byte;
  memoria.file[nome_testo_treno(m)] = treno.byte;
  diagnostica traccia;
  m.traccia = &traccia;
  esito_compilazione esito;
  try {
    esito = compila_percorso(m, memoria, j);
  } catch (const errore_esecuzione& e) {
    err << "scenario compile: the compile failed after reading the texts: " << e.what() << "\n";
    return 3;
  }
  m.traccia = nullptr;

  try {
    if (esito.errore.empty()) esito.file_scritti = scrivi_file_binari(m, disco);
  } catch (const errore_esecuzione& e) {
    return fallito(err, e.what());
  }

  const messaggio_errore errore = errore_della_compilazione(m, traccia, esito, linea, treno);
  const std::vector<messaggio_avviso> avvisi = avvisi_della_compilazione(traccia, linea, treno);
  if (json) {
    out << testo_json(risultato_json(m, esito, errore, avvisi)) << "\n";
  } else {
    for (const messaggio_avviso& av : avvisi) err << testo_avviso_autore(av);
    err << testo_errore_autore(errore);
    for (const std::string& nome : esito.file_scritti) out << "wrote " << testo_percorso(disco.percorso(nome)) << "\n";
  }
  if (!esito.errore.empty()) return 3;
  return m.numero_errore != 0 ? 1 : 0;
}

}  // namespace
