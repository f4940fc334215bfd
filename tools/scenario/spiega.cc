#include "scenario/spiega.h"

#include <cctype>
#include <sstream>
#include <memory>
#include <optional>

#include "model/errori.h"
#include "scenario/formato.h"
#include "scenario/comando.h"
#include "scenario/pagina_riferimento.h"
#include "scenario/spiega_avvisi.h"
#include "text/codifica.h"

namespace {

constexpr size_t larghezza = 78;

int uso(std::ostream& err, const std::string& perche) { return uso_sbagliato("explain", perche, err); }

struct opzioni_explain {
  std::vector<std::string> argomenti;
  std::optional<std::string> pagina;
};

bool tutto_cifre(const std::string& s) {
  if (s.empty() || s.size() > 9) return false;
  for (char c : s) {
    if (!std::isdigit(static_cast<unsigned char>(c))) return false;
  }
  return true;
}

std::string codici(const std::vector<int32_t>& c) {
  std::string s;
  for (int32_t x : c) s += (s.empty() ? "" : ", ") + std::to_string(x);
  return s;
}

// The records whose errors hold the code.
std::string record_con_errore(int32_t codice) {
  std::string s;
  for (const record_testo& r : record_dei_testi()) {
    for (int32_t c : r.errori) {
      if (c == codice) s += (s.empty() ? "" : ", ") + std::string(r.nome);
    }
  }
  return s;
}

const regola_lettura* regola_per_nome(const std::string& nome) {
  for (const regola_lettura& r : regole_di_lettura()) {
    if (minuscolo_cp1252(nome) == r.argomento) return &r;
  }
  return nullptr;
}

// Prints a topic; false when it is none.
bool spiega(const std::string& argomento, std::ostream& out) {
  if (tutto_cifre(argomento)) {
    if (spiega_errore(std::stoi(argomento), out)) return true;
    return spiega_avviso(argomento, out);
  }
  if (const regola_lettura* r = regola_per_nome(argomento)) {
    spiega_regola(*r, out);
    return true;
  }
  if (const record_testo* r = record_per_nome(argomento)) {
    spiega_record(*r, out);
    return true;
  }
  if (spiega_avviso(argomento, out)) return true;
  // A field as the compile would read it: every kind it names.
  const std::vector<const record_testo*> trovati = record_per_campo(argomento);
  for (size_t i = 0; i < trovati.size(); ++i) {
    if (i > 0) out << "\n";
    spiega_record(*trovati[i], out);
  }
  if (!trovati.empty()) return true;
  // A section header, with its brackets or without them (the command line
  // drops them): "[generale]" starts the reading, "[fine]" is the last field,
  // any other selects nothing.
  std::string nome = minuscolo_cp1252(argomento);
  const bool tra_parentesi = nome.size() > 2 && nome.front() == '[' && nome.back() == ']';
  if (tra_parentesi) nome = nome.substr(1, nome.size() - 2);
  bool nota = tra_parentesi;
  for (const intestazione_sezione& i : intestazioni_sezioni()) nota = nota || nome == i.nome;
  if (!nota) return false;
  spiega_regola(*regola_per_nome(nome == "generale" ? "[generale]" : nome == "fine" ? "last-field" : "sections"), out);
  return true;
}

}  // namespace

std::string a_capo(const std::string& testo, size_t larghezza_riga, const std::string& primo,
                   const std::string& rientro) {
  std::string fuori;
  std::string riga = primo;
  bool vuota = true;  // nothing but the indent on this line yet
  size_t i = 0;
  auto chiudi_riga = [&] {
    fuori += riga + "\n";
    riga = rientro;
    vuota = true;
  };
  while (i < testo.size()) {
    if (testo.compare(i, 2, "\n\n") == 0) {
      chiudi_riga();
      fuori += "\n";
      i += 2;
      continue;
    }
    if (testo[i] == ' ' || testo[i] == '\n') {
      ++i;
      continue;
    }
    size_t fine = testo.find_first_of(" \n", i);
    if (fine == std::string::npos) fine = testo.size();
    const std::string parola = testo.substr(i, fine - i);
    if (!vuota && riga.size() + 1 + parola.size() > larghezza_riga) chiudi_riga();
    riga += (vuota ? "" : " ") + parola;
    vuota = false;
    i = fine;
  }
  if (!vuota) fuori += riga + "\n";
  return fuori;
}

void spiega_record(const record_testo& r, std::ostream& out) {
  out << r.nome << ": " << nome_testo(r.testo) << ", " << r.dove << "\n";
  std::string regola = "the field contains " + citate(r.parole) + "; letter case " +
                       (r.maiuscole_contano ? "counts" : "is ignored") + ".";
  if (*r.regola) regola += std::string(" ") + r.regola;
  out << a_capo(regola, larghezza, "keyword: ", "  ");
  out << "values, in order:\n";
  for (size_t i = 0; i < r.valori.size(); ++i) {
    const valore_record& v = r.valori[i];
    std::string testa = v.nome;
    testa += *v.unita ? formato(" (%s, %s)", v.unita, v.larghezza) : formato(" (%s)", v.larghezza);
    if (*v.significato) testa += std::string(": ") + v.significato;
    out << a_capo(testa, larghezza, formato("  %2zu  ", i + 1), "        ");
    out << a_capo(std::string("stored unchanged: ") + v.intervallo, larghezza, "      ", "        ");
    out << a_capo(std::string("goes to: ") + v.memorizzato, larghezza, "      ", "        ");
  }
  out << a_capo(r.diventa, larghezza, "becomes: ", "  ");
  out << "errors: " << codici(r.errori) << "  (scenario explain CODE)\n";
  out << "example: " << r.esempio << "\n";
  if (*r.note) out << a_capo(r.note, larghezza, "note: ", "  ");
}

void spiega_regola(const regola_lettura& r, std::ostream& out) {
  out << r.titolo << "\n";
  out << a_capo(r.testo, larghezza, "  ", "  ");
}

bool spiega_errore(int32_t codice, std::ostream& out) {
  const voce_errore* v = cerca_errore(codice);
  if (!v) return false;
  out << "error " << codice << ": " << v->descrizione << "\n";
  const rimedio_errore* r = cerca_rimedio(codice);
  if (r) out << "raised by: " << r->dove << "\n";
  out << (v->ha_posizione ? "position: the error comes with a position in metres\n"
                          : "position: none\n");
  const std::string record = record_con_errore(codice);
  if (!record.empty()) out << "records: " << record << "\n";
  if (r) out << a_capo(r->rimedio, larghezza, "what to change: ", "  ");
  return true;
}

void elenca_argomenti(std::ostream& out) {
  out << "Topics of 'scenario explain TOPIC':\n";
  std::string regole;
  for (const regola_lettura& r : regole_di_lettura()) regole += std::string(regole.empty() ? "" : ", ") + r.argomento;
  out << a_capo(regole, larghezza, "  reading the texts: ", "    ");
  const struct {
    testo_di testo;
    bool generale;
    const char* titolo;
  } gruppi[] = {{testo_di::linea, true, "line text, general section: "},
                {testo_di::linea, false, "line text, body: "},
                {testo_di::treno, false, "train text: "}};
  for (const auto& g : gruppi) {
    std::string nomi;
    for (const record_testo& r : record_dei_testi()) {
      const bool generale = std::string(r.dove).rfind("general", 0) == 0;
      if (r.testo != g.testo || generale != g.generale) continue;
      nomi += std::string(nomi.empty() ? "" : ", ") + r.nome;
    }
    out << a_capo(nomi, larghezza, std::string("  ") + g.titolo, "    ");
  }
  int quante = 0;
  const voce_errore* e = tabella_errori(&quante);
  std::string numeri;
  for (int i = 0; i < quante; ++i) numeri += (i ? ", " : "") + std::to_string(e[i].codice);
  out << a_capo(numeri, larghezza, "  error codes: ", "    ");
  elenca_avvisi(out);
}

namespace {

int esegui_explain(const opzioni_explain& o, std::ostream& out, std::ostream& err) {
  if (o.pagina) {
    const std::string& quale = *o.pagina;
    if (!o.argomenti.empty()) return uso(err, "--page takes no topic");
    if (quale == "line" || quale == "train") {
      out << pagina_riferimento(quale == "line" ? testo_di::linea : testo_di::treno);
    } else if (quale == "errors") {
      out << pagina_errori();
    } else {
      return uso(err, "--page is 'line', 'train' or 'errors', not '" + quale + "'");
    }
    return 0;
  }
  if (o.argomenti.empty()) {
    elenca_argomenti(out);
    return 0;
  }
  int stato = 0;
  bool stampato = false;
  for (const std::string& argomento : o.argomenti) {
    std::ostringstream voce;
    if (!spiega(argomento, voce)) {
      err << "scenario explain: no topic '" << argomento << "'; 'scenario explain' lists the topics\n";
      stato = 2;
      continue;
    }
    if (stampato) out << "\n";
    out << voce.str();
    stampato = true;
  }
  return stato;
}

}  // namespace

esecuzione_comando definisci_explain(CLI::App& sub, flussi io) {
  auto o = std::make_shared<opzioni_explain>();
  sub.description(
      "Explains a topic of the two source texts, from the tables of the reference:\n"
      "  an error code       scenario explain 16\n"
      "  a record's keyword  scenario explain segnale  (or a field naming it: curvas6)\n"
      "  a rule of reading   scenario explain comments (or a header: segnali)\n"
      "  a warning code      scenario explain record_sconosciuto\n"
      "With no topic, lists the topics.");
  sub.add_option("topics", o->argomenti, "error codes, keywords or rules to explain")->type_name("TOPIC...");
  sub.add_option("--page", o->pagina, "print a reference page of doc/ in Markdown")->type_name("line|train|errors");
  sub.footer("exit status: 0 done, 2 usage error or a topic not known (the known ones\nare still printed)\n");
  return [o, io] { return esegui_explain(*o, io.out, io.err); };
}

int comando_explain(const std::vector<std::string>& argomenti, std::ostream& out, std::ostream& err) {
  return esegui_comando("explain", argomenti, out, err);
}
