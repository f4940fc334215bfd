#ifndef SCENARIO_TOOLS_OSSERVA_H
#define SCENARIO_TOOLS_OSSERVA_H

// `scenario watch LINE_TEXT TRAIN_TEXT -o OUTDIR [--map FILE.svg] [--encoding ENC]
// [--strict] [--write-on-error]`: compiles at the start and on every save of
// either text, prints each compile's verdict and diagnostics, writes the
// files by the kept-files rule and redraws the map, until Ctrl-C.

#include <chrono>
#include <functional>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "scenario/comando.h"
#include "scenario/compilazione_autore.h"

struct esito_giro;
// What a round tells whoever follows it besides the console (the preview).
struct resoconto_giro {
  const esito_giro& esito;
  std::string verdetto;  // as the round's line says it, without the time
  std::chrono::milliseconds durata{0};
};

struct impostazioni_watch {
  richiesta_compilazione richiesta;
  std::string uscita;                 // OUTDIR, UTF-8; empty: no file written
  std::optional<std::string> mappa;   // FILE.svg, UTF-8
  bool severo = false;
  bool scrivi_con_errore = false;
  // Called at the end of each round, after its line is printed, with its
  // compile (which it may take: the round is done with it).
  std::function<void(compilazione_autore& c, const resoconto_giro& r)> dopo_giro;
};

// What one round did.
struct esito_giro {
  bool compilato = false;  // the texts were read and compiled
  bool fallito = false;    // an error recorded (or a warning, with --strict)
  size_t file_scritti = 0;
  bool mappa_scritta = false;
};

// One round of the loop: reads and compiles the texts, writes the files by
// the kept-files rule, draws the map; prints to `out` a line with the time,
// the verdict and the time it took, then the diagnostics.
esito_giro giro_watch(const impostazioni_watch& s, std::ostream& out);

// The options of a round that watch and serve share, as given.
struct opzioni_giro {
  std::vector<std::string> testi;  // the line text, then the train text
  std::string scenario, codice;
  std::string codifica = "auto";
  bool severo = false, scrivi_con_errore = false;
  opzioni_nomi nomi{};  // given or not, once parsed
};

// Adds --scenario, --train-code, --encoding, --strict and --write-on-error.
void definisci_opzioni_giro(CLI::App& sub, opzioni_giro& o);

// The usage error of a command given other than two texts, or nothing.
// `fatto` says what the command does with them ("watched", "served").
std::optional<std::string> testi_del_giro_sbagliati(const opzioni_giro& o, const char* fatto);

// The round's request and rules from the shared options (two texts given);
// the words of a usage error, or nothing.
std::optional<std::string> imposta_giro(const opzioni_giro& o, impostazioni_watch& s);

// OUTDIR, made when it is not there; false, with the reason said after
// "scenario COMMAND: ", when it cannot be.
bool prepara_uscita(const char* comando, const std::string& uscita, std::ostream& err);

esecuzione_comando definisci_watch(CLI::App& sub, flussi io);

#endif
