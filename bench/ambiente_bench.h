#ifndef SCENARIO_BENCH_AMBIENTE_BENCH_H
#define SCENARIO_BENCH_AMBIENTE_BENCH_H

// What every benchmark program needs around its measurements: a clock, a
// way to give up, and a folder of its own.

#include <chrono>
#include <filesystem>
#include <string>

using orologio = std::chrono::steady_clock;

// Seconds from `da` to `a`.
double secondi(orologio::time_point da, orologio::time_point a);

// Prints "PROGRAM: perche" on standard error and ends the program: a
// benchmark whose work went wrong has nothing to measure.
[[noreturn]] void fallisce(const std::string& perche);

// A folder of its own under the system's temporary folder, gone at the end.
class cartella_provvisoria {
 public:
  explicit cartella_provvisoria(const std::string& nome);
  ~cartella_provvisoria();
  cartella_provvisoria(const cartella_provvisoria&) = delete;
  cartella_provvisoria& operator=(const cartella_provvisoria&) = delete;
  const std::filesystem::path& percorso() const { return percorso_; }

 private:
  std::filesystem::path percorso_;
};

#endif
