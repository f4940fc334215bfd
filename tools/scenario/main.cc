// The authors' tool: compile your own texts, inspect compiled files, draw the line.
#include "scenario/comandi.h"

#ifdef _WIN32
#include <windows.h>
#include <shellapi.h>

#include <iostream>
#include <string>
#include <vector>

#include "scenario/console_windows.h"
#include "scenario/riga_cmd.h"

namespace {

// The tool works in UTF-8: its arguments are taken from the wide command
// line (the narrow one holds only what the system code page can).
std::vector<std::string> argomenti_larghi() {
  int argc = 0;
  wchar_t** larghi = CommandLineToArgvW(GetCommandLineW(), &argc);
  std::vector<std::string> argomenti;
  for (int i = 0; i < argc; ++i) {
    const int n = WideCharToMultiByte(CP_UTF8, 0, larghi[i], -1, nullptr, 0, nullptr, nullptr);
    std::string a(static_cast<size_t>(n > 0 ? n - 1 : 0), '\0');
    if (n > 1) WideCharToMultiByte(CP_UTF8, 0, larghi[i], -1, a.data(), n, nullptr, nullptr);
    argomenti.push_back(std::move(a));
  }
  LocalFree(larghi);
  return argomenti;
}

int esegui(std::vector<std::string> argomenti) {
  std::vector<char*> argv;
  for (std::string& a : argomenti) argv.push_back(a.data());
  argv.push_back(nullptr);
  return esegui_scenario(static_cast<int>(argomenti.size()), argv.data());
}

}  // namespace

int main() {
  // The console keeps its code page: the tool never changes it.
  console_autore console;
  std::vector<std::string> argomenti = argomenti_larghi();
  if (argomenti.empty()) argomenti.push_back("scenario");

  // Started by a double click: the window would close before the usage can
  // be read.
  if (argomenti.size() == 1 && console_propria()) {
    std::cout << "scenario is a command-line program: open cmd or PowerShell in this folder\n"
                 "and type the commands shown below.\n\n";
    const int stato = esegui({argomenti[0], "--help"});
    std::cout << "\npress any key to close" << std::flush;
    attendi_tasto();
    std::cout << "\n";
    return stato == 0 ? 2 : stato;
  }

  std::vector<std::string> parole(argomenti.begin() + 1, argomenti.end());
  const std::string perche = prepara_riga_cmd(parole);
  if (!perche.empty()) {
    std::cerr << "scenario: " << perche << "\n";
    return 2;
  }
  parole.insert(parole.begin(), argomenti[0]);
  return esegui(std::move(parole));
}
#else
int main(int argc, char** argv) { return esegui_scenario(argc, argv); }
#endif
