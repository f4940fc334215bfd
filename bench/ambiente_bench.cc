#include "ambiente_bench.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>

#include <unistd.h>

namespace fs = std::filesystem;

double secondi(orologio::time_point da, orologio::time_point a) {
  return std::chrono::duration<double>(a - da).count();
}

void fallisce(const std::string& perche) {
  std::fprintf(stderr, "%s: %s\n", program_invocation_short_name, perche.c_str());
  std::exit(EXIT_FAILURE);
}

cartella_provvisoria::cartella_provvisoria(const std::string& nome) {
  percorso_ = fs::temp_directory_path() / ("scenario_bench_" + nome + "_" + std::to_string(::getpid()));
  fs::remove_all(percorso_);
  fs::create_directories(percorso_);
}

cartella_provvisoria::~cartella_provvisoria() {
  std::error_code ec;
  fs::remove_all(percorso_, ec);
}
