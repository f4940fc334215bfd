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
#include "scenario/nomi_scenario.h"
#include "scenario/opzioni.h"
#include "scenario/rapporto.h"
#include "scenario/json.h"
#include "scenario/percorsi.h"
#include "text/archivio.h"
#include "text/codifica.h"

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

// A source text larger than this is not a source text.
constexpr uintmax_t testo_massimo = 64u << 20;

int uso(std::ostream& err, const std::string& perche) {
  err << "scenario compile: " << perche << "\n"
      << "usage: scenario compile LINE_TEXT TRAIN_TEXT -o OUTDIR [options]  (see 'scenario compile --help')\n";
  return 2;
}

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

std::string json_intero_o_null(int32_t v, bool presente) { return presente ? std::to_string(v) : "null"; }

std::string json_stringa_o_null(const std::string& s, bool presente) {
  return presente ? stringa_json(s) : "null";
}

std::string json_luogo(const luogo_messaggio& l) {
  return "\"file\":" + json_stringa_o_null(l.file, !l.file.empty()) +
         ",\"line\":" + json_intero_o_null(l.riga, l.riga > 0) +
         ",\"column\":" + json_intero_o_null(l.colonna, l.riga > 0);
}

std::string json_note(const std::vector<nota_messaggio>& note) {
  std::string j = "\"notes\":[";
  for (size_t i = 0; i < note.size(); ++i) {
    if (i) j += ",";
    j += '{';
    j += json_luogo(note[i].luogo);
    j += ",\"message\":";
    j += stringa_json(note[i].testo);
    j += '}';
  }
  return j + "]";
}

std::string risultato_json(const modello& m, const esito_compilazione& esito, const messaggio_errore& errore,
                           const std::vector<messaggio_avviso>& avvisi) {
  std::string j = "{";
  j += "\"numero_errore\":" + std::to_string(m.numero_errore);
  j += ",\"posizione_errore\":" + std::to_string(m.posizione_errore);
  j += ",\"errore\":" + json_stringa_o_null(std::to_string(esito.errore), esito.errore != 0);
  j += ',';
  j += json_luogo(errore.luogo);
  j += ",\"message\":" + json_stringa_o_null(riassunto_errore(errore), errore.codice != 0);
  j += ',' + json_note(errore.note);
  j += ",\"files\":[";
  for (size_t i = 0; i < esito.file_scritti.size(); ++i) {
    if (i) j += ",";
    j += stringa_json(cp1252_a_utf8(esito.file_scritti[i]));
  }
  j += "],\"warnings\":[";
  for (size_t i = 0; i < avvisi.size(); ++i) {
    if (i) j += ",";
    j += '{';
    j += json_luogo(avvisi[i].luogo);
    j += ",\"message\":";
    j += stringa_json(riassunto_avviso(avvisi[i]));
    j += ",\"code\":" + stringa_json(avvisi[i].genere->codice);
    j += ',' + json_note(avvisi[i].note);
    j += '}';
  }
  j += "]}\n";
  return j;
}

}  // namespace

int comando_compile(const std::vector<std::string>& argomenti, std::ostream& out, std::ostream& err) {
  argomenti_comando a;
  const std::string sbaglio = leggi_argomenti(argomenti,
                                              {{"output", "o", true},
                                               {"scenario", nullptr, true},
                                               {"train-code", nullptr, true},
                                               {"no-line-profile", nullptr, false},
                                               {"json", nullptr, false}},
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
  const int32_t j = a.segnali.count("no-line-profile") ? 0 : 1;

  testo_autore linea{a.posizionali[0], {}};
  testo_autore treno{a.posizionali[1], {}};
  nomi_scenario nomi;
  const std::string perche_nomi =
      deriva_nomi(linea.percorso, treno.percorso, opzione("scenario"), opzione("train-code"), nomi);
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
  const fs::path cartella = percorso_utf8(*opzione("output"));
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

  // The compile works on private copies of the texts, in memory.
  archivio_memoria memoria;
  memoria.file[nome_testo_linea(m)] = linea.byte;
  memoria.file[nome_testo_treno(m)] = treno.byte;
  diagnostica traccia;
  m.traccia = &traccia;
  esito_compilazione esito;
  try {
    esito = memorizza_percorso(m, memoria, j);
  } catch (const errore_esecuzione& e) {
    err << "scenario compile: the compile failed after reading the texts: " << e.what() << "\n";
    return 3;
  }
  m.traccia = nullptr;

  try {
    for (const std::string& nome : esito.file_scritti) disco.scrivi(nome, memoria.file.at(nome));
  } catch (const errore_esecuzione& e) {
    return fallito(err, e.what());
  }

  const messaggio_errore errore = messaggio_dell_errore(m, traccia, esito, linea, treno);
  const std::vector<messaggio_avviso> avvisi = avvisi_della_compilazione(traccia, linea, treno);
  if (json) {
    out << risultato_json(m, esito, errore, avvisi);
  } else {
    for (const messaggio_avviso& av : avvisi) err << testo_avviso_autore(av);
    err << testo_errore_autore(errore);
    for (const std::string& nome : esito.file_scritti) out << "wrote " << testo_percorso(disco.percorso(nome)) << "\n";
  }
  if (esito.errore != 0) return 3;
  return m.numero_errore != 0 ? 1 : 0;
}
