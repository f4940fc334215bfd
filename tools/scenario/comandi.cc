#include "scenario/comandi.h"

#include <iostream>
#include <string>
#include <vector>

#include "scenario/compila.h"
#include "scenario/decompila.h"
#include "scenario/differenze.h"
#include "scenario/init.h"
#include "scenario/ispeziona.h"
#include "scenario/mappa.h"

const char* const aiuto_scenario =
    "usage: scenario <command> [arguments]\n"
    "\n"
    "The authors' tool: start from the built-in texts, compile your own, look\n"
    "into the compiled files.\n"
    "\n"
    "commands:\n"
    "  init DIR [--force]                  write the built-in line and train texts into DIR\n"
    "  compile LINE TRAIN -o OUTDIR [...]  compile a line text and a train text into the\n"
    "                                      binary scenario files\n"
    "  inspect FILE... [--json]            show what a compiled .sim, .dat or _linea.dat holds\n"
    "  map DIR|FILES -o MAP.svg            draw the line, its objects and its profiles\n"
    "  decompile DIR|FILES -o TEXTDIR      write texts that compile to the same files\n"
    "  diff A B [--json]                   what differs between two compiled scenarios\n"
    "  help [COMMAND]                      show this help, or a command's\n"
    "\n"
    "Run 'scenario COMMAND --help' for the arguments and options of a command.\n";

namespace {

int uso(std::ostream& err, const std::string& perche) {
  err << "scenario: " << perche << "\n\n" << aiuto_scenario;
  return 2;
}

}  // namespace

int esegui_scenario(int argc, char** argv) { return esegui_scenario(argc, argv, std::cout, std::cerr); }

int esegui_scenario(int argc, char** argv, std::ostream& out, std::ostream& err) {
  if (argc < 2) return uso(err, "no command given");
  const std::string comando = argv[1];
  const std::vector<std::string> argomenti(argv + 2, argv + argc);

  if (comando == "--help" || comando == "-h") {
    out << aiuto_scenario;
    return 0;
  }
  if (comando == "help") {
    if (argomenti.empty()) {
      out << aiuto_scenario;
      return 0;
    }
    if (argomenti.size() > 1) return uso(err, "help takes one command at most");
    const std::string& di = argomenti[0];
    if (di == "init") {
      out << aiuto_init;
      return 0;
    }
    if (di == "compile") {
      out << aiuto_compile;
      return 0;
    }
    if (di == "inspect" || di == "map") {
      // The command prints its own help.
      char aiuto[] = "--help";
      char* argv_aiuto[] = {argv[0], argv[2], aiuto, nullptr};
      return esegui_scenario(3, argv_aiuto, out, err);
    }
    if (di == "decompile") {
      out << aiuto_decompile;
      return 0;
    }
    if (di == "diff") {
      out << aiuto_diff;
      return 0;
    }
    if (di == "help") {
      out << aiuto_scenario;
      return 0;
    }
    return uso(err, "unknown command '" + di + "'");
  }
  if (comando == "init") return comando_init(argomenti, out, err);
  if (comando == "compile") return comando_compile(argomenti, out, err);
  if (comando == "inspect") return ispeziona(argomenti, out, err);
  if (comando == "map") return mappa(argomenti, out, err);
  if (comando == "decompile") return comando_decompile(argomenti, out, err);
  if (comando == "diff") return comando_diff(argomenti, out, err);
  return uso(err, "unknown command '" + comando + "'");
}
