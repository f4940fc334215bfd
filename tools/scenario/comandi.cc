#include "scenario/comandi.h"

#include <iostream>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "scenario/comando.h"
#include "scenario/compila.h"
#include "scenario/decompila.h"
#include "scenario/differenze.h"
#include "scenario/init.h"
#include "scenario/ispeziona.h"
#include "scenario/lsp.h"
#include "scenario/mappa.h"
#include "scenario/osserva.h"
#include "scenario/servi.h"
#include "scenario/spiega.h"
#include "scenario/verifica.h"
#include "versione.h"

namespace {

const voce_comando* voce_di(const std::string& nome) {
  for (const voce_comando& v : comandi_scenario()) {
    if (nome == v.nome) return &v;
  }
  return nullptr;
}

// The help of a subcommand: its usage line first, as the tool's messages
// show it, then what CLI11 knows of its arguments and options.
class formato_aiuto : public CLI::Formatter {
 public:
  std::string make_help(const CLI::App* app, std::string, CLI::AppFormatMode modo) const override {
    if (modo == CLI::AppFormatMode::Sub) return make_expanded(app);
    const voce_comando* v = voce_di(app->get_name());
    std::string s = "usage: scenario " + std::string(v ? v->uso : app->get_name().c_str()) + "\n\n";
    s += make_description(app);
    s += make_positionals(app);
    s += make_groups(app, modo);
    const std::string piede = make_footer(app);
    if (!piede.empty()) s += "\n" + piede;
    return s;
  }
};

std::string aiuto_generale() {
  std::string s =
      "usage: scenario <command> [arguments]\n"
      "\n"
      "The authors' tool: start from the built-in texts, compile your own, look\n"
      "into the compiled files.\n"
      "\n"
      "commands:\n";
  for (const voce_comando& v : comandi_scenario()) {
    std::string riga = "  " + std::string(v.nome);
    riga.resize(std::max<size_t>(riga.size() + 1, 18), ' ');
    s += riga + v.sintesi + "\n";
  }
  s += "  help [COMMAND]   show this help, or a command's\n"
       "  --version        print the tool's version\n"
       "\n"
       "Run 'scenario COMMAND --help' for the arguments and options of a command.\n";
  return s;
}

int uso_generale(std::ostream& err, const std::string& perche) {
  err << "scenario: " << perche << "\n\n" << aiuto_generale();
  return 2;
}

// The tool's command line: one CLI11 subcommand for each row of the table.
struct riga_di_comando {
  CLI::App app{"", "scenario"};
  std::vector<std::pair<CLI::App*, esecuzione_comando>> sotto;

  explicit riga_di_comando(flussi io) {
    auto formato = std::make_shared<formato_aiuto>();
    formato->column_width(24);
    app.formatter(formato);
    for (const voce_comando& v : comandi_scenario()) {
      CLI::App* s = app.add_subcommand(v.nome, v.sintesi);
      s->formatter(formato);
      sotto.emplace_back(s, v.definisci(*s, io));
    }
  }
};

// Parses and runs `scenario NAME argomenti...`; NAME is a known command.
int esegui_voce(const voce_comando& v, const std::vector<std::string>& argomenti, std::ostream& out,
                std::ostream& err) {
  riga_di_comando r({out, err});
  std::vector<std::string> parole = {v.nome};
  parole.insert(parole.end(), argomenti.begin(), argomenti.end());
  // CLI11 takes the words last first.
  std::vector<std::string> rovesciate(parole.rbegin(), parole.rend());
  CLI::App* sub = r.app.get_subcommand(v.nome);
  for (const std::string& a : argomenti) {
    if (a == "/?") {
      out << sub->help();
      return 0;
    }
  }
  try {
    r.app.parse(rovesciate);
  } catch (const CLI::CallForHelp&) {
    out << sub->help();
    return 0;
  } catch (const CLI::ParseError& e) {
    return uso_sbagliato(v.nome, e.what(), err);
  }
  for (auto& [s, esegui] : r.sotto) {
    if (s == sub) return esegui();
  }
  return 2;
}

std::string aiuto_di(const voce_comando& v) {
  riga_di_comando r({std::cout, std::cerr});
  return r.app.get_subcommand(v.nome)->help();
}

}  // namespace

opzioni_nomi definisci_nomi_e_codifica(CLI::App& sub, std::string& scenario, std::string& codice,
                                       std::string& codifica) {
  opzioni_nomi o{};
  o.scenario = sub.add_option("--scenario", scenario, "the scenario name (overrides the file names)")->type_name("NAME");
  o.codice = sub.add_option("--train-code", codice, "the train code (overrides the train text's name)")->type_name("CODE");
  sub.add_option("--encoding", codifica, "auto (the default), windows-1252 or utf-8")->type_name("ENC");
  return o;
}

int uso_sbagliato(const std::string& nome, const std::string& perche, std::ostream& err) {
  const voce_comando* v = voce_di(nome);
  err << "scenario " << nome << ": " << perche << "\n";
  if (v) err << "usage: scenario " << v->uso << "  (see 'scenario " << nome << " --help')\n";
  return 2;
}

const std::vector<voce_comando>& comandi_scenario() {
  static const std::vector<voce_comando> voci = {
      {"init", "write a starter's line and train texts into DIR", "init DIR [--example NAME] [--force]",
       definisci_init},
      {"compile", "compile a line text and a train text into the binary files",
       "compile LINE_TEXT TRAIN_TEXT -o OUTDIR [options]", definisci_compile},
      {"check", "compile two texts in memory and report every error and warning",
       "check LINE_TEXT TRAIN_TEXT [options]", definisci_check},
      {"watch", "compile again on every save of the texts, and redraw the map",
       "watch LINE_TEXT TRAIN_TEXT -o OUTDIR [--map FILE.svg] [options]", definisci_watch},
      {"serve", "watch the texts and show each compile live in the browser",
       "serve LINE_TEXT TRAIN_TEXT [-o OUTDIR] [--port N] [options]", definisci_serve},
      {"inspect", "show what a compiled .sim, .dat or _linea.dat holds", "inspect FILE... [--json]",
       definisci_inspect},
      {"map", "draw the line, its objects and its profiles as SVG", "map DIR|FILES -o MAP.svg", definisci_map},
      {"explain", "what an error code, a keyword or a rule of the texts means", "explain [TOPIC...]",
       definisci_explain},
      {"decompile", "write line and train texts that compile to the same files",
       "decompile DIR|FILES -o TEXTDIR [options]", definisci_decompile},
      {"diff", "show what differs between two compiled scenarios", "diff A B [--json]", definisci_diff},
      {"lsp", "a language server for editors, on standard input and output", "lsp", definisci_lsp},
  };
  return voci;
}

int esegui_comando(const std::string& nome, const std::vector<std::string>& argomenti, std::ostream& out,
                   std::ostream& err) {
  const voce_comando* v = voce_di(nome);
  if (!v) return uso_generale(err, "unknown command '" + nome + "'");
  return esegui_voce(*v, argomenti, out, err);
}

int esegui_scenario(int argc, char** argv) { return esegui_scenario(argc, argv, std::cout, std::cerr); }

int esegui_scenario(int argc, char** argv, std::ostream& out, std::ostream& err) {
  if (argc < 2) return uso_generale(err, "no command given");
  const std::string comando = argv[1];
  const std::vector<std::string> argomenti(argv + 2, argv + argc);

  // "/?" is how cmd asks a program for its help.
  if (comando == "--help" || comando == "-h" || comando == "/?") {
    out << aiuto_generale();
    return 0;
  }
  if (comando == "--version") {
    out << "scenario " << versione_progetto << '\n';
    return 0;
  }
  if (comando == "help") {
    if (argomenti.empty() || argomenti[0] == "help") {
      if (argomenti.size() > 1) return uso_generale(err, "help takes one command at most");
      out << aiuto_generale();
      return 0;
    }
    if (argomenti.size() > 1) return uso_generale(err, "help takes one command at most");
    const voce_comando* v = voce_di(argomenti[0]);
    if (!v) return uso_generale(err, "unknown command '" + argomenti[0] + "'");
    out << aiuto_di(*v);
    return 0;
  }
  return esegui_comando(comando, argomenti, out, err);
}
