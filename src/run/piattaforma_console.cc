// The console form of the build run, for systems without the Windows window.
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <filesystem>
#include <iostream>
#include <string_view>

#include "run/avvio.h"
#include "run/piattaforma.h"
#include "versione.h"

namespace fs = std::filesystem;

fs::path cartella_programma() {
  std::error_code ec;
  fs::path exe = fs::read_symlink("/proc/self/exe", ec);
  if (ec) exe = fs::current_path() / "scenario_builder";
  return exe.parent_path();
}

void mostra_finestra() { std::cout << "Attendere" << std::endl; }

void mostra_messaggio(const std::string& testo) { std::cerr << testo << std::endl; }

void termina(int stato) {
  std::cout.flush();
  std::cerr.flush();
  std::exit(stato);
}

int main(int argc, char** argv) {
  // The console run takes no arguments; --version is its only exception,
  // and it writes nothing.
  if (argc == 2 && std::string_view(argv[1]) == "--version") {
    std::cout << "scenario_builder " << versione_progetto << '\n';
    return 0;
  }
  // A file-size limit must make a write fail with its reason, not kill the
  // program before it can say which file it was writing.
  std::signal(SIGXFSZ, SIG_IGN);
  try {
    costruzione_scenario();
  } catch (const std::exception& e) {
    // Whatever the run's own steps do not report ends it here, with its reason.
    mostra_messaggio(e.what());
    termina(1);
  }
}
