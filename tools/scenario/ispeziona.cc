#include "scenario/ispeziona.h"

#include <memory>

#include "scenario/esame_file.h"
#include "scenario/stampa_esame.h"

namespace {

const char* const descrizione_inspect =
    "Prints the binary files of a compiled scenario as readable text. The kind of\n"
    "each file comes from the end of its name:\n"
    "  NAME_linea.dat   the line profile: points, element types, extent and\n"
    "                   length of the plan\n"
    "  NAME_TRAIN.dat   the cell file: file mark and code, objects, approach marks,\n"
    "                   speed, gradient, adhesion and mountain runs\n"
    "  NAME_TRAIN.sim   the point table: header slots, stations, sign texts";

struct opzioni_inspect {
  std::vector<std::string> file;
  bool json = false;
};

int esegui_inspect(const opzioni_inspect& o, std::ostream& out, std::ostream& err) {
  if (o.file.empty()) return uso_sbagliato("inspect", "no file given", err);
  const bool json = o.json;
  const std::vector<std::string>& file = o.file;
  int stato = 0;
  bool stampato = false;
  scrittore_json j(out);
  if (json) j.oggetto().chiave("files").lista();
  for (const std::string& f : file) {
    esame_file e = esamina_file(f);
    if (!e.errore.empty()) {
      err << e.errore << "\n";
      stato = 2;
    }
    if (json) {
      stampa_json(e, j);
    } else if (e.errore.empty()) {
      if (stampato) out << "\n";
      stampa_testo(e, out);
      stampato = true;
    }
  }
  if (json) {
    j.chiudi().chiudi();
    out << "\n";
  }
  return stato;
}

}  // namespace

esecuzione_comando definisci_inspect(CLI::App& sub, flussi io) {
  auto o = std::make_shared<opzioni_inspect>();
  sub.description(descrizione_inspect);
  sub.add_option("files", o->file, "the compiled files to show")->type_name("FILE...");
  sub.add_flag("--json", o->json, "print one JSON object: {\"files\": [...]}");
  sub.footer(
      "exit status: 0 when every file fits its layout, 2 on a usage error or when a\n"
      "file cannot be read or does not fit its layout\n");
  return [o, io] { return esegui_inspect(*o, io.out, io.err); };
}

int ispeziona(const std::vector<std::string>& argomenti, std::ostream& out, std::ostream& err) {
  return esegui_comando("inspect", argomenti, out, err);
}
