#include "scenario/servi.h"

#include <atomic>
#include <filesystem>
#include <memory>
#include <system_error>

#include "scenario/anteprima_http.h"
#include "scenario/osserva.h"
#include "scenario/percorsi.h"
#include "scenario/sorveglianza.h"
#include "scenario/stato_anteprima.h"

#ifdef _WIN32
#include <windows.h>
#include <shellapi.h>
#else
#include <spawn.h>
extern char** environ;
#endif

namespace fs = std::filesystem;

namespace {

const char* const descrizione_serve =
    "Runs the loop of 'watch' (a compile at the start and on every save of either\n"
    "text, the files written into OUTDIR by the kept-files rule) and serves a live\n"
    "preview for the browser: the map and profiles of the last good compile, whose\n"
    "objects show their record on hover, the diagnostics with their places, and a\n"
    "status line. The page follows every compile without being reloaded; after a\n"
    "failed one the last good map stays under a banner with the error. Without -o\n"
    "no file is written. Ctrl-C stops it.";

const char* const piede_serve =
    "The preview is for this machine: it listens on 127.0.0.1 unless --host says\n"
    "otherwise, answers only requests addressed to 127.0.0.1, localhost or [::1]\n"
    "(or the --host address) with its port, and serves its six resources alone:\n"
    "/, /app.js, /app.css, /map.svg, /diagnostics.json and /events.\n"
    "\n"
    "exit status:\n"
    "  0  stopped with Ctrl-C\n"
    "  2  usage error, OUTDIR cannot be made, or the address cannot be listened on\n";

struct opzioni_serve {
  opzioni_giro giro;
  std::string uscita;
  std::string host = "127.0.0.1";
  int porta = 8417;
  std::string editor = "vscode://file/{path}:{line}:{column}";
  bool apri = false;
  bool con_uscita = false;
};

bool di_questa_macchina(const std::string& h) {
  return h.rfind("127.", 0) == 0 || h == "::1";
}

// The default browser on `indirizzo`, without a shell in between.
void apri_browser(const std::string& indirizzo, std::ostream& err) {
#ifdef _WIN32
  const std::wstring w = percorso_utf8(indirizzo).wstring();
  const auto r = reinterpret_cast<intptr_t>(ShellExecuteW(nullptr, L"open", w.c_str(), nullptr, nullptr, SW_SHOWNORMAL));
  if (r <= 32) err << "scenario serve: cannot open the browser; open " << indirizzo << "\n";
#else
  std::string comando = "xdg-open";
  std::string copia = indirizzo;
  char* argv[] = {comando.data(), copia.data(), nullptr};
  pid_t pid = 0;
  if (posix_spawnp(&pid, "xdg-open", nullptr, nullptr, argv, environ) != 0) {
    err << "scenario serve: cannot open the browser (xdg-open); open " << indirizzo << "\n";
  }
#endif
}

int esegui_serve(const opzioni_serve& o, std::ostream& out, std::ostream& err) {
  auto uso = [&err](const std::string& perche) { return uso_sbagliato("serve", perche, err); };
  const std::vector<std::string>& testi = o.giro.testi;
  if (const std::optional<std::string> perche = testi_del_giro_sbagliati(o.giro, "served")) return uso(*perche);
  if (o.porta < 0 || o.porta > 65535) return uso("--port takes 0 to 65535, not " + std::to_string(o.porta));
  if (o.editor.find("{path}") == std::string::npos) return uso("--editor-url must hold {path}");
  impostazioni_watch s;
  if (const std::optional<std::string> perche = imposta_giro(o.giro, s)) return uso(*perche);
  std::error_code ec;
  if (o.con_uscita) {
    if (!prepara_uscita("serve", o.uscita, err)) return 2;
    s.uscita = o.uscita;
  }

  impostazioni_anteprima ia;
  ia.modello_editor = o.editor;
  ia.severo = o.giro.severo;
  for (const std::string& t : testi) {
    const std::u8string u = fs::absolute(percorso_utf8(t), ec).lexically_normal().generic_u8string();
    ia.percorsi[t] = std::string(u.begin(), u.end());
  }
  stato_anteprima stato(std::move(ia));
  opzioni_server_anteprima os;
  os.indirizzo = o.host;
  os.porta = static_cast<uint16_t>(o.porta);
  server_anteprima server(os, {[&stato](std::string_view q) { return stato.mappa(q); },
                               [&stato] { return stato.diagnostiche(); }});
  std::string perche;
  if (!server.avvia(perche)) {
    err << "scenario serve: " << perche << "\n";
    return 2;
  }
  // On a wildcard address the preview is opened through the loopback one,
  // which the Host check answers.
  const std::string nome_host = o.host == "0.0.0.0" ? "127.0.0.1"
                                : o.host == "::"    ? "[::1]"
                                : o.host.find(':') != std::string::npos ? "[" + o.host + "]"
                                                                        : o.host;
  const std::string indirizzo = "http://" + nome_host + ":" + std::to_string(server.porta()) + "/";
  out << "serving the preview at " << indirizzo << std::endl;
  if (!di_questa_macchina(o.host)) {
    err << "scenario serve: warning: listening on " << o.host
        << ": other machines can reach the preview and read the texts' diagnostics" << std::endl;
    if (o.host == "0.0.0.0" || o.host == "::") {
      // No request names a wildcard: only the loopback names pass the Host check.
      err << "scenario serve: note: requests are answered only when addressed to 127.0.0.1, localhost or [::1];"
             " give --host this machine's own address to be reached by it"
          << std::endl;
    }
  }
  s.dopo_giro = [&](compilazione_autore& c, const resoconto_giro& r) { server.pubblica(stato.registra(c, r)); };

  opzioni_sorveglianza w;
  w.file = {percorso_utf8(testi[0]), percorso_utf8(testi[1])};
  w.nomi = testi;
  std::atomic<bool> fermo{false};
  fermo_su_interruzione ctrl_c(fermo);
  if (o.apri) apri_browser(indirizzo, err);
  err << "watching " << testi[0] << " and " << testi[1] << "; Ctrl-C stops" << std::endl;
  sorveglia(w, [&] { giro_watch(s, out); }, fermo, err);
  server.ferma();
  err << "stopped" << std::endl;
  return 0;
}

}  // namespace

esecuzione_comando definisci_serve(CLI::App& sub, flussi io) {
  auto o = std::make_shared<opzioni_serve>();
  sub.description(descrizione_serve);
  sub.add_option("texts", o->giro.testi, "the line text, then the train text")->type_name("LINE_TEXT TRAIN_TEXT");
  CLI::Option* uscita =
      sub.add_option("-o,--output", o->uscita, "the folder to write the binary files into")->type_name("OUTDIR");
  sub.add_option("--port", o->porta, "the port (0: any free one, printed)")
      ->type_name("N")
      ->default_val(8417);
  sub.add_option("--host", o->host, "the address to listen on (127.0.0.1: this machine)")
      ->type_name("ADDR");
  sub.add_flag("--open", o->apri, "open the preview in the default browser");
  sub.add_option("--editor-url", o->editor,
                 "a message's editor link: {path} {line} {column}")
      ->type_name("TEMPLATE")
      ->default_val(o->editor);
  definisci_opzioni_giro(sub, o->giro);
  sub.footer(piede_serve);
  return [o, io, uscita] {
    o->con_uscita = uscita->count() > 0;
    return esegui_serve(*o, io.out, io.err);
  };
}
