#include "scenario/osserva.h"

#include <atomic>
#include <chrono>
#include <ctime>
#include <filesystem>
#include <memory>
#include <sstream>
#include <system_error>

#include "model/errore_esecuzione.h"
#include "scenario/formato.h"
#include "scenario/mappa.h"
#include "scenario/percorsi.h"
#include "scenario/sorveglianza.h"
#include "text/archivio.h"
#include "text/codifica.h"
#include "text/codifica_sorgente.h"

namespace fs = std::filesystem;

namespace {

const char* const descrizione_watch =
    "Compiles the two texts at the start and again on every save of either, and\n"
    "shows each compile at once: a line with the time and the verdict, then its\n"
    "errors and warnings. The files are written into OUTDIR as compile writes them:\n"
    "a compile that records an error leaves the last good files in place (unless\n"
    "--write-on-error). With --map the drawing is redrawn after every compile, even\n"
    "one with an error, whose title then says so. Ctrl-C stops it.";

const char* const piede_watch =
    "Editors save in many ways (in place, truncating and writing, writing a\n"
    "temporary file and renaming it, deleting and creating): each save gives one\n"
    "compile, once the text has not changed for 30 ms. A text missing for a\n"
    "moment is said once and waited for.\n"
    "\n"
    "exit status:\n"
    "  0  stopped with Ctrl-C\n"
    "  2  usage error, or OUTDIR cannot be made\n";

struct opzioni_watch {
  opzioni_giro giro;
  std::string uscita, mappa;
  bool con_uscita = false, con_mappa = false;
};

int esegui_watch(const opzioni_watch& o, std::ostream& out, std::ostream& err);

}  // namespace

esito_giro giro_watch(const impostazioni_watch& s, std::ostream& out) {
  const auto inizio = std::chrono::steady_clock::now();
  std::ostringstream diagnostiche;
  esito_giro e;
  std::string verdetto;
  compilazione_autore c;
  std::string perche;
  if (const std::optional<rifiuto_compilazione> no = prepara_compilazione(s.richiesta, c)) {
    verdetto = "not compiled: " + no->messaggio;
  } else if (!esegui_compilazione(c, s.richiesta.genera_linea, perche)) {
    verdetto = "the compile failed after reading the texts: " + perche;
  } else {
    e.compilato = true;
    e.fallito = con_errore(c) || (s.severo && !c.avvisi.empty());
    const bool trattenuti = e.fallito && !s.scrivi_con_errore;
    archivio_disco disco(percorso_utf8(s.uscita));
    if (!trattenuti && !s.uscita.empty()) {
      // The files go in as one set, or none: a failure leaves the earlier set.
      std::vector<std::string> scritti;
      const std::string no = sostituisci_file_compilazione(c, disco, scritti);
      if (!no.empty()) diagnostiche << no << "\n";
      e.file_scritti = scritti.size();
    }
    if (s.mappa) {
      opzioni_disegno d;
      if (e.fallito) {
        d.errore_compilazione = c.errore.codice != 0 ? riassunto_errore(c.errore)
                                                     : quanti(c.avvisi.size(), "warning", "warnings") +
                                                           " counted as errors (--strict)";
      }
      std::string svg;
      if (c.m.celle.size() >= 2) {
        const vista_scenario v{c.m.punti, c.m.celle, c.m.profilo.allocato() ? &c.m.profilo : nullptr};
        svg = disegna_mappa(v, d).svg;
      } else {
        std::string nome = cp1252_a_utf8(c.m.nome_scenario);
        nome.append(" \xE2\x80\x94 train ").append(cp1252_a_utf8(c.m.codice_treno));
        svg = disegna_mappa_senza_griglia(nome, d.errore_compilazione.empty() ? "error " + std::to_string(c.esito.errore)
                                                                              : d.errore_compilazione)
                  .svg;
      }
      const std::string no_mappa = scrivi_mappa(*s.mappa, svg);
      if (no_mappa.empty()) {
        e.mappa_scritta = true;
      } else {
        diagnostiche << no_mappa << "\n";
      }
    }
    stampa_diagnostiche(c, diagnostiche);
    verdetto = "compiled, " + quanti(con_errore(c) ? 1 : 0, "error", "errors") + ", " +
               quanti(c.avvisi.size(), "warning", "warnings") + ", ";
    if (e.file_scritti > 0) {
      verdetto += quanti(e.file_scritti, "file", "files") + (e.mappa_scritta ? " and the map" : "") + " written";
    } else {
      verdetto += e.fallito ? "no file written (the last good files stay)" : "no file written";
      if (e.mappa_scritta) verdetto += ", the map drawn";
    }
  }
  const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - inizio);
  out << ora_locale() << " " << verdetto << " in " << ms.count() << " ms\n" << diagnostiche.str() << std::flush;
  if (s.dopo_giro) s.dopo_giro(c, {e, verdetto, ms});
  return e;
}

void definisci_opzioni_giro(CLI::App& sub, opzioni_giro& o) {
  o.nomi = definisci_nomi_e_codifica(sub, o.scenario, o.codice, o.codifica);
  sub.add_flag("--strict", o.severo, "count warnings as errors: no file written");
  sub.add_flag("--write-on-error", o.scrivi_con_errore, "write the files even with an error, as the builder does");
}

std::optional<std::string> testi_del_giro_sbagliati(const opzioni_giro& o, const char* fatto) {
  if (o.testi.size() < 2) return "a line text and a train text are needed";
  if (o.testi.size() > 2) return std::string("only a line text and a train text are ") + fatto;
  return std::nullopt;
}

std::optional<std::string> imposta_giro(const opzioni_giro& o, impostazioni_watch& s) {
  if (o.testi.size() != 2) return testi_del_giro_sbagliati(o, "taken");
  s.richiesta.percorso_linea = o.testi[0];
  s.richiesta.percorso_treno = o.testi[1];
  if (o.nomi.scenario && o.nomi.scenario->count() > 0) s.richiesta.scenario = o.scenario;
  if (o.nomi.codice && o.nomi.codice->count() > 0) s.richiesta.codice_treno = o.codice;
  const std::optional<codifica_richiesta> k = codifica_da_nome(o.codifica);
  if (!k) return "unknown encoding '" + o.codifica + "' (auto, windows-1252 or utf-8)";
  s.richiesta.codifica = *k;
  s.severo = o.severo;
  s.scrivi_con_errore = o.scrivi_con_errore;
  // The names are checked once: a usage error ends the command before it
  // starts watching.
  nomi_scenario nomi;
  const std::string perche = deriva_nomi(s.richiesta.percorso_linea, s.richiesta.percorso_treno,
                                         s.richiesta.scenario, s.richiesta.codice_treno, nomi);
  if (!perche.empty()) return perche;
  return std::nullopt;
}

bool prepara_uscita(const char* comando, const std::string& uscita, std::ostream& err) {
  std::error_code ec;
  const fs::path cartella = percorso_utf8(uscita);
  if (fs::exists(cartella, ec) && !fs::is_directory(cartella, ec)) {
    err << "scenario " << comando << ": cannot write into " << uscita << ": it is not a folder\n";
    return false;
  }
  fs::create_directories(cartella, ec);
  if (ec) {
    err << "scenario " << comando << ": cannot create the folder " << uscita << ": " << ec.message() << "\n";
    return false;
  }
  return true;
}

esecuzione_comando definisci_watch(CLI::App& sub, flussi io) {
  auto o = std::make_shared<opzioni_watch>();
  sub.description(descrizione_watch);
  sub.add_option("texts", o->giro.testi, "the line text, then the train text")->type_name("LINE_TEXT TRAIN_TEXT");
  CLI::Option* uscita =
      sub.add_option("-o,--output", o->uscita, "the folder to write the binary files into")->type_name("OUTDIR");
  CLI::Option* mappa =
      sub.add_option("--map", o->mappa, "redraw this SVG map after every compile")->type_name("FILE.svg");
  definisci_opzioni_giro(sub, o->giro);
  sub.footer(piede_watch);
  return [o, io, uscita, mappa] {
    o->con_uscita = uscita->count() > 0;
    o->con_mappa = mappa->count() > 0;
    return esegui_watch(*o, io.out, io.err);
  };
}

namespace {

int esegui_watch(const opzioni_watch& o, std::ostream& out, std::ostream& err) {
  auto uso = [&err](const std::string& perche) { return uso_sbagliato("watch", perche, err); };
  const std::vector<std::string>& testi = o.giro.testi;
  if (const std::optional<std::string> perche = testi_del_giro_sbagliati(o.giro, "watched")) return uso(*perche);
  if (!o.con_uscita) return uso("no output folder given (-o OUTDIR)");
  impostazioni_watch s;
  if (const std::optional<std::string> perche = imposta_giro(o.giro, s)) return uso(*perche);
  s.uscita = o.uscita;
  if (o.con_mappa) s.mappa = o.mappa;
  // The map must never take the place of a text it is drawn from.
  std::error_code ec;
  if (o.con_mappa) {
    for (const std::string& t : testi) {
      const fs::path m = fs::absolute(percorso_utf8(o.mappa), ec).lexically_normal();
      if (m == fs::absolute(percorso_utf8(t), ec).lexically_normal() ||
          fs::equivalent(percorso_utf8(o.mappa), percorso_utf8(t), ec)) {
        return uso("--map " + o.mappa + " is the text " + t + " being watched");
      }
    }
  }
  if (!prepara_uscita("watch", o.uscita, err)) return 2;

  opzioni_sorveglianza w;
  w.file = {percorso_utf8(testi[0]), percorso_utf8(testi[1])};
  w.nomi = testi;
  std::atomic<bool> fermo{false};
  fermo_su_interruzione ctrl_c(fermo);
  err << "watching " << testi[0] << " and " << testi[1] << "; Ctrl-C stops" << std::endl;
  sorveglia(w, [&] { giro_watch(s, out); }, fermo, err);
  err << "stopped" << std::endl;
  return 0;
}

}  // namespace
