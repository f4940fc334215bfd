// The authors' tool: compile your own texts, inspect compiled files, draw the line.
#include "scenario/comandi.h"

#ifdef _WIN32
#include <windows.h>
#include <shellapi.h>

#include <string>
#include <vector>

// The tool works in UTF-8: its arguments are taken from the wide command
// line (the narrow one holds only what the system code page can), and the
// console is told that what the tool prints is UTF-8.
int main() {
  SetConsoleOutputCP(CP_UTF8);
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
  std::vector<char*> argv;
  for (std::string& a : argomenti) argv.push_back(a.data());
  argv.push_back(nullptr);
  return esegui_scenario(argc, argv.data());
}
#else
int main(int argc, char** argv) { return esegui_scenario(argc, argv); }
#endif
