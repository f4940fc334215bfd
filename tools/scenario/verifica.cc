#include "scenario/verifica.h"

#include <optional>

#include "scenario/compilazione_autore.h"
#include "scenario/opzioni.h"

const char* const aiuto_check =
    "usage: scenario check LINE_TEXT TRAIN_TEXT [options]\n"
    "\n"
    "Compiles a line text and a train text in memory, exactly as 'compile' does,\n"
    "and writes nothing. Prints the error the compile records, if any, and every\n"
    "warning: values that change when stored, keywords decided by letters,\n"
    "objects silently replaced, timetable slips and format traps.\n"
    "\n"
    "options:\n"
    "  --scenario NAME       the scenario name (overrides the file names)\n"
    "  --train-code CODE     the train code (overrides the train text's name)\n"
    "  --encoding ENC        how the texts are encoded: auto (the default),\n"
    "                        windows-1252 or utf-8\n"
    "  --strict              count warnings as errors\n"
    "  --json                print the result as one JSON object\n"
    "  -h, --help            show this help\n"
    "\n"
    "exit status:\n"
    "  0  no error (warnings allowed, unless --strict)\n"
    "  1  an error recorded, or a warning with --strict\n"
    "  2  usage error, or a text that cannot be read or converted\n";

namespace {

int uso(std::ostream& err, const std::string& perche) {
  err << "scenario check: " << perche << "\n"
      << "usage: scenario check LINE_TEXT TRAIN_TEXT [options]  (see 'scenario check --help')\n";
  return 2;
}

}  // namespace

int comando_check(const std::vector<std::string>& argomenti, std::ostream& out, std::ostream& err) {
  argomenti_comando a;
  const std::string sbaglio = leggi_argomenti(argomenti,
                                              {{"scenario", nullptr, true},
                                               {"train-code", nullptr, true},
                                               {"encoding", nullptr, true},
                                               {"strict", nullptr, false},
                                               {"json", nullptr, false}},
                                              a);
  if (!sbaglio.empty()) return uso(err, sbaglio);
  if (a.aiuto) {
    out << aiuto_check;
    return 0;
  }
  if (a.posizionali.size() != 2) {
    return uso(err, a.posizionali.size() < 2 ? "a line text and a train text are needed"
                                             : "only a line text and a train text are checked");
  }
  auto opzione = [&](const char* nome) -> std::optional<std::string> {
    auto it = a.valori.find(nome);
    return it == a.valori.end() ? std::nullopt : std::optional<std::string>(it->second);
  };
  richiesta_compilazione r;
  r.percorso_linea = a.posizionali[0];
  r.percorso_treno = a.posizionali[1];
  r.scenario = opzione("scenario");
  r.codice_treno = opzione("train-code");
  if (const std::optional<std::string> c = opzione("encoding")) {
    const std::optional<codifica_richiesta> k = codifica_da_nome(*c);
    if (!k) return uso(err, "unknown encoding '" + *c + "' (auto, windows-1252 or utf-8)");
    r.codifica = *k;
  }

  compilazione_autore c;
  if (const std::optional<rifiuto_compilazione> no = prepara_compilazione(r, c)) {
    if (no->uso) return uso(err, no->messaggio);
    err << (no->con_luogo ? "" : "scenario check: ") << no->messaggio << "\n";
    return 2;
  }
  // The plan is computed too, so that curves are read as the builder reads them.
  std::string perche;
  if (!esegui_compilazione(c, 1, perche)) {
    err << "scenario check: the compile failed after reading the texts: " << perche << "\n";
    return 1;
  }
  if (a.segnali.count("json")) {
    out << risultato_json(c, false, {});
  } else {
    stampa_diagnostiche(c, err);
  }
  if (con_errore(c)) return 1;
  return a.segnali.count("strict") && !c.avvisi.empty() ? 1 : 0;
}
