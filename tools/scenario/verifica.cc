#include "scenario/verifica.h"

#include <memory>
#include <optional>

#include "scenario/compilazione_autore.h"

namespace {

const char* const piede_check =
    "exit status:\n"
    "  0  no error (warnings allowed, unless --strict)\n"
    "  1  an error recorded, or a warning with --strict\n"
    "  2  usage error, or a text that cannot be read or converted\n";

struct opzioni_check {
  std::vector<std::string> testi;
  std::string scenario;
  std::string codice;
  std::string codifica = "auto";
  bool severo = false;
  bool json = false;
  bool con_scenario = false, con_codice = false;
};

int uso(std::ostream& err, const std::string& perche) { return uso_sbagliato("check", perche, err); }

int esegui_check(const opzioni_check& o, std::ostream& out, std::ostream& err) {
  if (o.testi.size() != 2) {
    return uso(err, o.testi.size() < 2 ? "a line text and a train text are needed"
                                       : "only a line text and a train text are checked");
  }
  richiesta_compilazione r;
  r.percorso_linea = o.testi[0];
  r.percorso_treno = o.testi[1];
  if (o.con_scenario) r.scenario = o.scenario;
  if (o.con_codice) r.codice_treno = o.codice;
  const std::optional<codifica_richiesta> k = codifica_da_nome(o.codifica);
  if (!k) return uso(err, "unknown encoding '" + o.codifica + "' (auto, windows-1252 or utf-8)");
  r.codifica = *k;

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
  if (o.json) {
    out << risultato_json(c, false, {});
  } else {
    stampa_diagnostiche(c, err);
  }
  if (con_errore(c)) return 1;
  return o.severo && !c.avvisi.empty() ? 1 : 0;
}

}  // namespace

esecuzione_comando definisci_check(CLI::App& sub, flussi io) {
  auto o = std::make_shared<opzioni_check>();
  sub.description(
      "Compiles a line text and a train text in memory, exactly as 'compile' does,\n"
      "and writes nothing. Prints the error the compile records, if any, and every\n"
      "warning (values that change when stored, keywords decided by letters,\n"
      "objects silently replaced, timetable slips, format traps), in text order.");
  sub.add_option("texts", o->testi, "the line text, then the train text")->type_name("LINE_TEXT TRAIN_TEXT");
  const opzioni_nomi nomi = definisci_nomi_e_codifica(sub, o->scenario, o->codice, o->codifica);
  sub.add_flag("--strict", o->severo, "count warnings as errors");
  sub.add_flag("--json", o->json, "print the result as one JSON object");
  sub.footer(piede_check);
  return [o, io, nomi] {
    o->con_scenario = nomi.scenario->count() > 0;
    o->con_codice = nomi.codice->count() > 0;
    return esegui_check(*o, io.out, io.err);
  };
}

int comando_check(const std::vector<std::string>& argomenti, std::ostream& out, std::ostream& err) {
  return esegui_comando("check", argomenti, out, err);
}
