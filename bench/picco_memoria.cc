// The peak resident memory of a whole compile of a long line: generates the
// texts of a 1000 km line (or of the length given in km as the first
// argument), compiles them and writes the three files into a temporary
// folder, then reports the process's peak resident set. With "tool" as the
// second argument the texts are written to files and compiled by the
// authors' tool (`scenario compile`), whose limit is 32 MB. Exits with a
// failure status when the compile records an error or the peak passes its
// limit (64 MB for the builder's compile).

#include <sys/resource.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include <sstream>

#include "core/memorizza_percorso.h"
#include "model/nomi_file.h"
#include "scenario/compila.h"
#include "scenari_generati.h"
#include "text/archivio.h"

namespace {

namespace fs = std::filesystem;

constexpr double limite_mb = 64;
constexpr double limite_strumento_mb = 32;

double picco_mb() {
  rusage r{};
  getrusage(RUSAGE_SELF, &r);
  return static_cast<double>(r.ru_maxrss) / 1024;  // ru_maxrss is in KiB on Linux
}

}  // namespace

int main(int argc, char** argv) {
  const int32_t chilometri = argc > 1 ? std::atoi(argv[1]) : 1000;
  const testi_scenario testi = testi_generati(chilometri);
  const fs::path cartella = fs::temp_directory_path() / ("scenario_picco_" + std::to_string(::getpid()));
  fs::create_directories(cartella);

  if (argc > 2 && std::string(argv[2]) == "tool") {
    modello m = modello_generato();
    {
      archivio_disco a(cartella);
      deposita_testi(m, a, testi);
    }
    const double prima = picco_mb();
    std::ostringstream out, err;
    const int stato = comando_compile({(cartella / nome_testo_linea(m)).string(), (cartella / nome_testo_treno(m)).string(),
                                       "-o", (cartella / "out").string()},
                                      out, err);
    const double dopo = picco_mb();
    fs::remove_all(cartella);
    if (stato != 0) {
      std::fprintf(stderr, "picco_memoria: scenario compile of the %d km line ended with %d: %s\n", chilometri, stato,
                   err.str().c_str());
      return EXIT_FAILURE;
    }
    std::printf("%d km line, scenario compile: peak resident memory %.1f MB (%.1f MB before the compile; "
                "limit %.0f MB)\n",
                chilometri, dopo, prima, limite_strumento_mb);
    return dopo < limite_strumento_mb ? EXIT_SUCCESS : EXIT_FAILURE;
  }

  const double prima = picco_mb();
  modello m = modello_generato();
  esito_compilazione e;
  {
    archivio_disco a(cartella);
    deposita_testi(m, a, testi);
    e = memorizza_percorso(m, a, 1);
  }
  const double dopo = picco_mb();
  uintmax_t byte = 0;
  for (const std::string& nome : e.file_scritti) byte += fs::file_size(cartella / nome);
  fs::remove_all(cartella);

  if (e.errore != 0 || m.numero_errore != 0) {
    std::fprintf(stderr, "picco_memoria: the %d km line did not compile cleanly (error %d at %d m)\n", chilometri,
                 m.numero_errore, m.posizione_errore);
    return EXIT_FAILURE;
  }
  std::printf("%d km line, %ju bytes written: peak resident memory %.1f MB (%.1f MB before the compile; "
              "limit %.0f MB)\n",
              chilometri, byte, dopo, prima, limite_mb);
  return dopo < limite_mb ? EXIT_SUCCESS : EXIT_FAILURE;
}
