// The authors' tool against the least its files can cost, and the work of
// one round of the watch loop.
//
// The floor is the safe replacement every file of the tool is written by:
// the same bytes written to a temporary file of the same folder and renamed
// over an existing file of the same name, one file for each file the compile
// writes, measured in the same iterations as the compile. x_pavimento is the
// compile's time over the floor's.
//
// A round of the watch loop (giro) is the work after a save has settled:
// reading the two texts, compiling them, writing the three files and
// drawing the map. The settle time (30 ms) comes on top of it.

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "ambiente_bench.h"
#include "model/nomi_file.h"
#include "scenari_generati.h"
#include "scenario/compila.h"
#include "scenario/osserva.h"
#include "text/archivio.h"
#include "text/scrittura.h"

namespace {

namespace fs = std::filesystem;

// The texts of a scenario written into `cartella`; returns their paths.
std::pair<std::string, std::string> testi_su_disco(const fs::path& cartella, const modello& m,
                                                   const testi_scenario& t) {
  archivio_disco a(cartella);
  deposita_testi(m, a, t);
  return {(cartella / nome_testo_linea(m)).string(), (cartella / nome_testo_treno(m)).string()};
}

// The floor: each of `file` (its size) replaced safely in `cartella`, where a
// file of the same name already is.
double sostituzione_sicura(const fs::path& cartella, const std::vector<std::string>& file) {
  const auto inizio = orologio::now();
  for (size_t i = 0; i < file.size(); ++i) {
    const fs::path p = cartella / std::string("pavimento_").append(std::to_string(i)).append(".bin");
    fs::path provvisorio = p;
    provvisorio += ".part";
    FILE* f = std::fopen(provvisorio.c_str(), "wb");
    if (!f) fallisce("cannot open " + provvisorio.string());
    const bool ok = std::fwrite(file[i].data(), 1, file[i].size(), f) == file[i].size();
    if (std::fclose(f) != 0 || !ok) fallisce("cannot write " + provvisorio.string());
    fs::rename(provvisorio, p);
  }
  return secondi(inizio, orologio::now());
}

// `scenario compile` of a generated line of state.range(0) km, against the
// safe replacement of as many bytes in as many files.
void BM_compile_contro_sostituzione(benchmark::State& state) {
  const auto chilometri = static_cast<int32_t>(state.range(0));
  cartella_provvisoria cartella(std::string("compile_").append(std::to_string(chilometri)));
  const fs::path uscita = cartella.percorso() / "out";
  const fs::path pavimento = cartella.percorso() / "pavimento";
  fs::create_directories(pavimento);
  const auto [linea, treno] = testi_su_disco(cartella.percorso(), modello_generato(), testi_generati(chilometri));
  const std::vector<std::string> argomenti = {linea, treno, "-o", uscita.string()};

  std::vector<std::string> byte_file;
  double compila = 0, floor = 0;
  for (auto _ : state) {
    std::ostringstream out, err;
    const auto inizio = orologio::now();
    const int stato = comando_compile(argomenti, out, err);
    const auto fine = orologio::now();
    if (stato != 0) fallisce("scenario compile ended with " + std::to_string(stato) + ": " + err.str());
    if (byte_file.empty()) {
      for (const auto& f : fs::directory_iterator(uscita)) byte_file.emplace_back(fs::file_size(f.path()), '\x5a');
      sostituzione_sicura(pavimento, byte_file);  // the files to be replaced are there from now on
    }
    state.SetIterationTime(secondi(inizio, fine));
    compila += secondi(inizio, fine);
    floor += sostituzione_sicura(pavimento, byte_file);
  }
  const double n = static_cast<double>(state.iterations());
  size_t byte = 0;
  for (const std::string& b : byte_file) byte += b.size();
  state.counters["pavimento_ms"] = floor / n * 1e3;
  state.counters["x_pavimento"] = compila / floor;
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(byte));
}

double minimo_delle_ripetizioni(const std::vector<double>& v) { return *std::min_element(v.begin(), v.end()); }

BENCHMARK(BM_compile_contro_sostituzione)
    ->Arg(1000)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->ComputeStatistics("min", minimo_delle_ripetizioni);

// One round of the watch loop with the map: the built-in scenario (0) or a
// generated line of state.range(0) km.
void BM_giro_watch(benchmark::State& state) {
  const auto chilometri = static_cast<int32_t>(state.range(0));
  cartella_provvisoria cartella(std::string("watch_").append(std::to_string(chilometri)));
  const auto [linea, treno] = testi_su_disco(cartella.percorso(), modello_generato(),
                                             chilometri == 0 ? testi_incorporati() : testi_generati(chilometri));
  impostazioni_watch s;
  s.richiesta.percorso_linea = linea;
  s.richiesta.percorso_treno = treno;
  s.uscita = (cartella.percorso() / "out").string();
  s.mappa = (cartella.percorso() / "mappa.svg").string();
  fs::create_directories(s.uscita);
  for (auto _ : state) {
    std::ostringstream out;
    const esito_giro e = giro_watch(s, out);
    if (!e.compilato || e.fallito || e.file_scritti != 3 || !e.mappa_scritta) fallisce("the round failed: " + out.str());
  }
  state.SetLabel(chilometri == 0 ? std::string("built-in") : std::to_string(chilometri).append(" km"));
}

BENCHMARK(BM_giro_watch)
    ->Arg(0)
    ->Arg(1000)
    ->Unit(benchmark::kMillisecond)
    ->ComputeStatistics("min", minimo_delle_ripetizioni);

}  // namespace

BENCHMARK_MAIN();
