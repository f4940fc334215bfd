// The language server as an editor meets it: the real program over pipes.
//
// BM_lsp_modifica: from a didChange (a line typed into the train text, or
// taken away) to the publishDiagnostics of both texts of the pair, for the built-in pair (0)
// and a generated line of state.range(0) km. The server compiles on every
// change, with no debounce: the figure is all the editor waits.
//
// BM_lsp_memoria: the server's resident memory (VmRSS of the child) after 10
// edits and after 1000.

#include <benchmark/benchmark.h>

#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>

#include "ambiente_bench.h"
#include "model/nomi_file.h"
#include "scenari_generati.h"
#include "scenario/json.h"
#include "text/archivio.h"
#include "text/codifica.h"
#include "text/scrittura.h"

namespace {

// `scenario lsp` started with its standard input and output on pipes.
class server_lsp {
 public:
  server_lsp() {
    int dentro[2], fuori[2];
    if (pipe(dentro) != 0 || pipe(fuori) != 0) fallisce("cannot make the pipes");
    pid_ = fork();
    if (pid_ < 0) fallisce("cannot start the server");
    if (pid_ == 0) {
      dup2(dentro[0], 0);
      dup2(fuori[1], 1);
      close(dentro[1]);
      close(fuori[0]);
      execl(SCENARIO_EXE, SCENARIO_EXE, "lsp", static_cast<char*>(nullptr));
      _exit(127);
    }
    close(dentro[0]);
    close(fuori[1]);
    scrivi_ = dentro[1];
    leggi_ = fuori[0];
  }
  ~server_lsp() {
    invia(json{{"jsonrpc", "2.0"}, {"id", 999999}, {"method", "shutdown"}});
    invia(json{{"jsonrpc", "2.0"}, {"method", "exit"}});
    close(scrivi_);
    close(leggi_);
    int stato = 0;
    waitpid(pid_, &stato, 0);
  }
  server_lsp(const server_lsp&) = delete;
  server_lsp& operator=(const server_lsp&) = delete;

  void invia(const json& j) {
    const std::string corpo = testo_json(j);
    const std::string m = "Content-Length: " + std::to_string(corpo.size()) + "\r\n\r\n" + corpo;
    size_t fatti = 0;
    while (fatti < m.size()) {
      const ssize_t n = write(scrivi_, m.data() + fatti, m.size() - fatti);
      if (n <= 0) fallisce("the server stopped reading");
      fatti += static_cast<size_t>(n);
    }
  }

  json ricevi() {
    std::string intestazione;
    while (intestazione.size() < 4 || intestazione.compare(intestazione.size() - 4, 4, "\r\n\r\n") != 0) {
      intestazione += byte();
    }
    const size_t k = intestazione.find(':');
    const size_t n = std::stoul(intestazione.substr(k + 1));
    std::string corpo;
    while (corpo.size() < n) corpo += byte();
    return json::parse(corpo);
  }

  // The resident memory of the server, in kB.
  long memoria_kb() const {
    std::ifstream f("/proc/" + std::to_string(pid_) + "/status");
    std::string riga;
    while (std::getline(f, riga)) {
      if (riga.rfind("VmRSS:", 0) == 0) return std::stol(riga.substr(6));
    }
    return -1;
  }

 private:
  char byte() {
    if (inizio_ == fine_) {
      const ssize_t n = read(leggi_, buffer_, sizeof buffer_);
      if (n <= 0) fallisce("the server ended");
      inizio_ = 0;
      fine_ = static_cast<size_t>(n);
    }
    return buffer_[inizio_++];
  }

  pid_t pid_ = -1;
  int scrivi_ = -1, leggi_ = -1;
  char buffer_[65536];
  size_t inizio_ = 0, fine_ = 0;
};

struct sessione {
  // Declared first, so that the folder goes only once the server has ended.
  cartella_provvisoria cartella;
  std::string uri_linea, uri_treno;
  server_lsp server;
  int64_t versione = 1;

  explicit sessione(int32_t chilometri) : cartella("lsp_" + std::to_string(chilometri)) {
    const modello m = modello_generato();
    const testi_scenario t = chilometri == 0 ? testi_incorporati() : testi_generati(chilometri);
    archivio_disco a(cartella.percorso());
    deposita_testi(m, a, t);
    uri_linea = "file://" + (cartella.percorso() / nome_testo_linea(m)).string();
    uri_treno = "file://" + (cartella.percorso() / nome_testo_treno(m)).string();
    server.invia(json{{"jsonrpc", "2.0"}, {"id", 1}, {"method", "initialize"}, {"params", {{"capabilities", json::object()}}}});
    attendi([](const json& j) { return j.value("id", 0) == 1; });
    server.invia(json{{"jsonrpc", "2.0"}, {"method", "initialized"}, {"params", json::object()}});
    const size_t fine = t.treno.rfind("[fine]");
    if (fine == std::string::npos) fallisce("the train text has no [fine]");
    for (size_t i = 0; i < fine; ++i) ultima_riga += t.treno[i] == '\n' ? 1 : 0;
    apri(uri_linea, t.linea);
    apri(uri_treno, t.treno);
    // The opening of the train text sends the messages of both texts.
    pubblicate(uri_treno, 1);
  }
  void apri(const std::string& uri, const std::string& cp1252) {
    server.invia(json{{"jsonrpc", "2.0"},
                      {"method", "textDocument/didOpen"},
                      {"params", {{"textDocument", {{"uri", uri}, {"languageId", "scenario"}, {"version", 1},
                                                    {"text", cp1252_a_utf8(cp1252)}}}}}});
  }

  template <class F>
  json attendi(F condizione) {
    for (;;) {
      json j = server.ricevi();
      if (condizione(j)) return j;
    }
  }

  // Both texts' diagnostics after the change to version v of `uri`, with
  // no error among them; the number of fields on `uri` that match no record.
  size_t pubblicate(const std::string& uri, int64_t v) {
    bool questo = false, altro = false;
    size_t avvisi = 0;
    while (!questo || !altro) {
      json j = server.ricevi();
      if (j.value("method", "") != "textDocument/publishDiagnostics") continue;
      const json& p = j["params"];
      for (const json& d : p["diagnostics"]) {
        if (d.value("severity", 0) == 1) fallisce("an error in the benchmark's texts: " + testo_json(d));
      }
      if (p["uri"] == uri && p.value("version", int64_t{0}) == v) {
        questo = true;
        for (const json& d : p["diagnostics"]) avvisi += d.value("code", json(0)) == "record_sconosciuto" ? 1 : 0;
      }
      if (p["uri"] != uri) altro = true;
    }
    return avvisi;
  }

  // A line with a misspelt keyword typed before the train text's "[fine]",
  // or taken away again: every change is a compile whose
  // warnings differ from the last one's.
  void modifica() {
    ++versione;
    const bool aggiungi = versione % 2 == 0;
    json cambio{{"range", {{"start", {{"line", ultima_riga}, {"character", 0}}},
                           {"end", {{"line", aggiungi ? ultima_riga : ultima_riga + 1}, {"character", 0}}}}},
                {"text", aggiungi ? "segnal\r\n" : ""}};
    server.invia(json{{"jsonrpc", "2.0"},
                      {"method", "textDocument/didChange"},
                      {"params", {{"textDocument", {{"uri", uri_treno}, {"version", versione}}},
                                  {"contentChanges", json::array({cambio})}}}});
    if ((pubblicate(uri_treno, versione) > 0) != aggiungi) fallisce("the change was not compiled");
  }
  int32_t ultima_riga = 0;
};

void BM_lsp_modifica(benchmark::State& state) {
  const auto chilometri = static_cast<int32_t>(state.range(0));
  sessione s(chilometri);
  for (auto _ : state) s.modifica();
  state.SetLabel(chilometri == 0 ? std::string("built-in pair") : std::to_string(chilometri) + " km");
}

BENCHMARK(BM_lsp_modifica)->Arg(0)->Arg(1000)->Unit(benchmark::kMillisecond);

void BM_lsp_memoria(benchmark::State& state) {
  for (auto _ : state) {
    sessione s(0);
    for (int i = 0; i < 10; ++i) s.modifica();
    const long dopo_10 = s.server.memoria_kb();
    for (int i = 10; i < 1000; ++i) s.modifica();
    const long dopo_1000 = s.server.memoria_kb();
    state.counters["rss_10_kB"] = static_cast<double>(dopo_10);
    state.counters["rss_1000_kB"] = static_cast<double>(dopo_1000);
    state.counters["crescita_kB"] = static_cast<double>(dopo_1000 - dopo_10);
  }
}

BENCHMARK(BM_lsp_memoria)->Iterations(1)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
