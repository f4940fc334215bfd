#include "scenario/osserva.h"

#include <gtest/gtest.h>

#include <fstream>
#include <regex>
#include <sstream>
#include <thread>

#include "tools/aiuti_prova.h"

#if defined(SCENARIO_EXE) && !defined(_WIN32)
#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>
extern char** environ;
#endif

namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

prova::uscita esegui(const std::string& nome, const std::vector<std::string>& argomenti) {
  return prova::esegui([&nome](const std::vector<std::string>& a, std::ostream& out,
                               std::ostream& err) { return esegui_comando(nome, a, out, err); },
                       argomenti);
}

std::string leggi(const fs::path& p) {
  std::ifstream f(p, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(f), {});
}

void scrivi(const fs::path& p, const std::string& s) { std::ofstream(p, std::ios::binary | std::ios::trunc) << s; }

// The built-in texts in a folder, and a watch of them into its "out".
struct banco_watch {
  prova::cartella_temporanea dir;
  fs::path linea, treno, uscita, mappa;
  std::string testo_linea;

  banco_watch() {
    EXPECT_EQ(esegui("init", {dir.percorso().string()}).stato, 0);
    linea = dir.percorso() / "Morsalo_Torvia_linea.txt";
    treno = dir.percorso() / "Morsalo_Torvia_R20417-.txt";
    uscita = dir.percorso() / "out";
    mappa = dir.percorso() / "mappa.svg";
    testo_linea = leggi(linea);
  }

  impostazioni_watch impostazioni() const {
    impostazioni_watch s;
    s.richiesta.percorso_linea = linea.string();
    s.richiesta.percorso_treno = treno.string();
    s.uscita = uscita.string();
    s.mappa = mappa.string();
    fs::create_directories(uscita);
    return s;
  }

  // The line text with its line length spoiled: error 26, no grid.
  std::string senza_lunghezza() const { return std::regex_replace(testo_linea, std::regex("lunghezza"), "lungh"); }
};

TEST(Watch, EachRoundPrintsItsVerdictAndKeepsTheLastGoodFiles) {
  banco_watch b;
  impostazioni_watch s = b.impostazioni();
  std::ostringstream out;
  esito_giro e = giro_watch(s, out);
  EXPECT_TRUE(e.compilato && !e.fallito && e.mappa_scritta);
  EXPECT_EQ(e.file_scritti, 3u);
  EXPECT_TRUE(std::regex_match(out.str(), std::regex("\\d\\d:\\d\\d:\\d\\d compiled, 0 errors, 0 warnings, 3 files and "
                                                     "the map written in \\d+ ms\n")))
      << out.str();
  const std::string sim = leggi(b.uscita / "Morsalo_Torvia_R20417.sim");

  // An error: the files stay, the map says so.
  scrivi(b.linea, b.senza_lunghezza());
  out.str("");
  e = giro_watch(s, out);
  EXPECT_TRUE(e.compilato && e.fallito && e.mappa_scritta);
  EXPECT_EQ(e.file_scritti, 0u);
  EXPECT_NE(out.str().find(" compiled, 1 error, "), std::string::npos) << out.str();
  EXPECT_NE(out.str().find("error 26"), std::string::npos) << out.str();
  EXPECT_EQ(leggi(b.uscita / "Morsalo_Torvia_R20417.sim"), sim);
  EXPECT_NE(leggi(b.mappa).find("id=\"compile-error\""), std::string::npos);

  // A text that cannot be read: said, nothing else done.
  fs::remove(b.linea);
  out.str("");
  e = giro_watch(s, out);
  EXPECT_FALSE(e.compilato);
  EXPECT_NE(out.str().find(" not compiled: cannot read "), std::string::npos) << out.str();

  // An error in a compile that leaves a grid: with --write-on-error its
  // files are written, and its map drawn with the error in the title.
  std::string con_errore = b.testo_linea;
  const size_t curve = con_errore.find("[curve]");
  ASSERT_NE(curve, std::string::npos);
  con_errore.insert(curve, "[segnali]\nsegnale, -5, 1, 1, 1, 0, 0, 1, 1, 1, 0, 0\n");
  scrivi(b.linea, con_errore);
  s.scrivi_con_errore = true;
  out.str("");
  e = giro_watch(s, out);
  EXPECT_TRUE(e.compilato) << out.str();
  if (e.fallito) {
    EXPECT_EQ(e.file_scritti, 3u) << out.str();
    EXPECT_NE(leggi(b.mappa).find("(compiled with an error)"), std::string::npos);
  }
}

TEST(Watch, UsageErrors) {
  const struct {
    std::vector<std::string> argomenti;
    std::string errore;
  } casi[] = {
      {{"a_linea.txt"}, "scenario watch: a line text and a train text are needed"},
      {{"a_linea.txt", "a_T-.txt"}, "scenario watch: no output folder given (-o OUTDIR)"},
      {{"a_linea.txt", "a_T-.txt", "-o", "x", "--encoding", "ebcdic"},
       "scenario watch: unknown encoding 'ebcdic' (auto, windows-1252 or utf-8)"},
      {{"a_linea.txt", "a_T-.txt", "-o", "x", "--map", "./a_T-.txt"},
       "scenario watch: --map ./a_T-.txt is the text a_T-.txt being watched"},
  };
  for (const auto& c : casi) {
    prova::uscita r = esegui("watch", c.argomenti);
    EXPECT_EQ(r.stato, 2) << c.errore;
    EXPECT_EQ(r.err.substr(0, r.err.find('\n')), c.errore);
  }
}

#if defined(SCENARIO_EXE) && !defined(_WIN32)
// The built program, watching; its output goes to files of the folder.
TEST(Watch, ProgramCompilesOnEverySaveAndStopsCleanlyOnCtrlC) {
  banco_watch b;
  const fs::path out = b.dir.percorso() / "watch.out", err = b.dir.percorso() / "watch.err";
  std::vector<std::string> a = {SCENARIO_EXE, "watch", b.linea.string(), b.treno.string(), "-o", b.uscita.string(),
                                "--map", b.mappa.string()};
  std::vector<char*> argv;
  for (std::string& s : a) argv.push_back(s.data());
  argv.push_back(nullptr);
  posix_spawn_file_actions_t azioni;
  posix_spawn_file_actions_init(&azioni);
  posix_spawn_file_actions_addopen(&azioni, 1, out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
  posix_spawn_file_actions_addopen(&azioni, 2, err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
  pid_t pid = 0;
  ASSERT_EQ(posix_spawn(&pid, argv[0], &azioni, nullptr, argv.data(), environ), 0);
  posix_spawn_file_actions_destroy(&azioni);

  auto verdetti = [&] {
    const std::string t = leggi(out);
    size_t n = 0;
    for (size_t i = t.find(" compiled, "); i != std::string::npos; i = t.find(" compiled, ", i + 1)) ++n;
    return n;
  };
  auto attendi = [&](size_t n) {
    for (auto fine = std::chrono::steady_clock::now() + 10s; std::chrono::steady_clock::now() < fine;) {
      if (verdetti() >= n) return true;
      std::this_thread::sleep_for(10ms);
    }
    return false;
  };
  ASSERT_TRUE(attendi(1)) << leggi(err);
  // Saved with an error, by a temporary file renamed over the text.
  scrivi(b.dir.percorso() / "tmp.swp", b.senza_lunghezza());
  fs::rename(b.dir.percorso() / "tmp.swp", b.linea);
  ASSERT_TRUE(attendi(2)) << leggi(err);
  // Mended, in place.
  scrivi(b.linea, b.testo_linea);
  ASSERT_TRUE(attendi(3)) << leggi(err);
  std::this_thread::sleep_for(200ms);
  EXPECT_EQ(verdetti(), 3u);

  kill(pid, SIGINT);
  int stato = -1;
  ASSERT_EQ(waitpid(pid, &stato, 0), pid);
  EXPECT_TRUE(WIFEXITED(stato));
  EXPECT_EQ(WEXITSTATUS(stato), 0);
  const std::string testo = leggi(out);
  EXPECT_TRUE(std::regex_search(testo, std::regex(" compiled, 1 error, \\d+ warnings?, no file written \\(the last good "
                                                   "files stay\\), the map drawn in \\d+ ms\n")))
      << testo;
  EXPECT_EQ(testo.rfind(" compiled, 0 errors, 0 warnings, 3 files and the map written"), testo.rfind(" compiled, "));
  EXPECT_EQ(leggi(err).substr(leggi(err).size() - 8), "stopped\n");
  EXPECT_EQ(leggi(b.mappa).find("compile-error"), std::string::npos);
  for (const fs::path& d : {b.uscita, b.dir.percorso()}) {
    for (const auto& f : fs::directory_iterator(d)) EXPECT_NE(f.path().extension(), ".part") << f.path();
  }
}
#endif

}  // namespace
