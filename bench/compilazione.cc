// How long the compile takes, and how it compares with the least that writing
// its files can cost.
//
// Every benchmark reports, besides its own time, the "floor": the time of one
// buffered write of as many bytes as the compile writes, to a new file of the
// same temporary folder, measured in the same iterations. x_pavimento is the
// compile's time over the floor's: 1 would mean that the compile costs no
// more than writing its bytes.
//
// The floor's file of the previous iteration is removed before the clock
// starts, so that the floor is the least the bytes can cost: overwriting it
// instead would make the file system write the older copy out first (ext4
// does, for a file truncated while its data is still in memory), a cost the
// compile never pays, since it moves its older files aside and removes them.

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "ambiente_bench.h"
#include "core/memorizza_percorso.h"
#include "line/dati_linea.h"
#include "model/nomi_file.h"
#include "scenari_generati.h"
#include "text/archivio.h"
#include "text/scrittura.h"
#include "train/dati_treno.h"

namespace {

namespace fs = std::filesystem;

// The floor: `byte` written to a new file of the folder with one buffered write.
double scrivi_pavimento(const fs::path& cartella, const std::string& byte) {
  const fs::path p = cartella / "pavimento.bin";
  fs::remove(p);
  const auto inizio = orologio::now();
  FILE* f = std::fopen(p.c_str(), "wb");
  if (!f) fallisce("cannot open " + p.string());
  const bool ok = std::fwrite(byte.data(), 1, byte.size(), f) == byte.size();
  if (std::fclose(f) != 0 || !ok) fallisce("cannot write " + p.string());
  return secondi(inizio, orologio::now());
}

void controlla(const modello& m, const esito_compilazione& e, const char* cosa) {
  if (e.errore != 0 || m.numero_errore != 0) {
    fallisce(std::string(cosa) + " did not compile cleanly: error " +
             std::to_string(e.errore != 0 ? e.errore : m.numero_errore) + " at " +
             std::to_string(m.posizione_errore) + " m");
  }
  if (e.file_scritti.size() != 3) fallisce(std::string(cosa) + " did not write its three files");
}

// Compile time against floor time, over all iterations.
struct confronto {
  double compilazione = 0;
  double pavimento = 0;

  void riporta(benchmark::State& state, size_t byte) const {
    const double n = static_cast<double>(state.iterations());
    state.counters["pavimento_ms"] = pavimento / n * 1e3;
    state.counters["x_pavimento"] = compilazione / pavimento;
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(byte));
  }
};

// (a) The built-in scenario, compiled in memory: texts in, binary files out.
void BM_scenario_incorporato_in_memoria(benchmark::State& state) {
  const auto incorporato = [] {
    modello m;
    m.nome_scenario = "Morsalo_Torvia";
    m.codice_treno = "R20417";
    return m;
  };
  archivio_memoria testi;
  scrivi_elenco(testi, nome_testo_linea(incorporato()), elenco_linea());
  scrivi_elenco(testi, nome_testo_treno(incorporato()), elenco_treno());
  cartella_provvisoria cartella("incorporato");

  size_t byte = 0;
  std::string pavimento;
  confronto c;
  for (auto _ : state) {
    archivio_memoria a = testi;
    modello m = incorporato();
    const auto inizio = orologio::now();
    const esito_compilazione e = memorizza_percorso(m, a, 1);
    const auto fine = orologio::now();
    benchmark::DoNotOptimize(a.file);
    controlla(m, e, "the built-in scenario");
    if (byte == 0) {
      for (const std::string& nome : e.file_scritti) byte += a.file[nome].size();
      pavimento.assign(byte, '\x5a');
    }
    state.SetIterationTime(secondi(inizio, fine));
    c.compilazione += secondi(inizio, fine);
    c.pavimento += scrivi_pavimento(cartella.percorso(), pavimento);
  }
  c.riporta(state, byte);
}

// With repetitions, the least of them too: on a shared machine the others
// also measure the neighbours.
double minimo_delle_ripetizioni(const std::vector<double>& v) { return *std::min_element(v.begin(), v.end()); }

BENCHMARK(BM_scenario_incorporato_in_memoria)
    ->UseManualTime()
    ->Unit(benchmark::kMicrosecond)
    ->ComputeStatistics("min", minimo_delle_ripetizioni);

// (b) A generated line of state.range(0) km: compile and write the three files
// to a folder on disk.
void BM_compila_e_scrivi_su_disco(benchmark::State& state) {
  const auto chilometri = static_cast<int32_t>(state.range(0));
  const testi_scenario testi = testi_generati(chilometri);
  cartella_provvisoria cartella(std::to_string(chilometri) + "km");
  archivio_disco a(cartella.percorso());

  size_t byte = 0;
  std::string pavimento;
  confronto c;
  for (auto _ : state) {
    modello m = modello_generato();
    deposita_testi(m, a, testi);
    const auto inizio = orologio::now();
    const esito_compilazione e = memorizza_percorso(m, a, 1);
    const auto fine = orologio::now();
    controlla(m, e, (std::to_string(chilometri) + " km line").c_str());
    if (byte == 0) {
      for (const std::string& nome : e.file_scritti) byte += fs::file_size(a.percorso(nome));
      pavimento.assign(byte, '\x5a');
    }
    state.SetIterationTime(secondi(inizio, fine));
    c.compilazione += secondi(inizio, fine);
    c.pavimento += scrivi_pavimento(cartella.percorso(), pavimento);
  }
  c.riporta(state, byte);
  // Metres of the extended line: the plan has one point per metre.
  state.SetComplexityN(static_cast<int64_t>(chilometri) * 1000 + 7000);
  state.counters["ns_per_metro"] = benchmark::Counter(
      c.compilazione * 1e9 / (static_cast<double>(chilometri) * 1000 + 7000), benchmark::Counter::kAvgIterations);
}
BENCHMARK(BM_compila_e_scrivi_su_disco)
    ->Arg(62)
    ->Arg(250)
    ->Arg(1000)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Complexity(benchmark::oN)
    ->ComputeStatistics("min", minimo_delle_ripetizioni);

}  // namespace

BENCHMARK_MAIN();
