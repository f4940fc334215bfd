#ifndef SCENARIO_TOOLS_COMPILAZIONE_AUTORE_H
#define SCENARIO_TOOLS_COMPILAZIONE_AUTORE_H

#include <cstdint>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "core/memorizza_percorso.h"
#include "model/diagnostica.h"
#include "model/modello.h"
#include "scenario/nomi_scenario.h"
#include "scenario/rapporto.h"
#include "text/archivio.h"
#include "text/codifica_sorgente.h"

// The compile of an author's two texts in memory, shared by `compile` and
// `check`: the texts are read and converted, compiled from private copies,
// and every diagnostic is gathered. Nothing is written to disk here.

struct richiesta_compilazione {
  std::string percorso_linea;  // UTF-8, as given
  std::string percorso_treno;
  std::optional<std::string> scenario;
  std::optional<std::string> codice_treno;
  int32_t genera_linea = 1;
  codifica_richiesta codifica = codifica_richiesta::automatica;
  // A text held in memory (an editor's buffer) in place of the file at its
  // path: its bytes, read as `codifica_dati` asks.
  std::optional<std::string> dati_linea, dati_treno;
  codifica_richiesta codifica_dati = codifica_richiesta::utf_8;
};

// How one text was read.
struct lettura_testo {
  codifica_letta codifica = codifica_letta::windows_1252;
  bool con_marca = false;
};

struct compilazione_autore {
  nomi_scenario nomi;
  testo_autore linea, treno;  // bytes as the compile reads them
  lettura_testo letta_linea, letta_treno;
  modello m;
  archivio_memoria memoria;  // the private copies of the texts
  diagnostica traccia;
  esito_compilazione esito;
  messaggio_errore errore;
  std::vector<messaggio_avviso> avvisi;
};

// Why a compile could not start: a usage error (the names) or a text that
// cannot be read or converted. Both end the command with status 2.
struct rifiuto_compilazione {
  bool uso = false;       // print the usage line after it
  std::string messaggio;  // without the command's name when it has a place
  bool con_luogo = false; // the message starts with FILE:LINE:COLUMN
  // With con_luogo: the text at fault (its path as given) and the place.
  std::string file;
  luogo_carattere luogo;
};

// Works out the names and reads both texts into `c`.
std::optional<rifiuto_compilazione> prepara_compilazione(const richiesta_compilazione& r, compilazione_autore& c);

// Compiles the texts read into `c`, in memory, and gathers the diagnostics.
// Returns false, with the failure's words, when the compile itself failed
// after reading the texts.
bool esegui_compilazione(compilazione_autore& c, int32_t genera_linea, std::string& perche);

// The compile left a grid and may write its files (no error code like 26,
// 1250 or 1251 in esito.errore).
bool file_da_scrivere(const compilazione_autore& c);

// Replaces the binary files of a compile that may write them in the folder of
// `disco`, as one set or not at all, each produced by the builder's own writer
// as it is written (the line profile in pieces). `scritti` gets the names of
// the files put in place; nothing for a compile that may not write. Returns
// an empty text, or why no file was replaced (the file, the cause, what to do).
std::string sostituisci_file_compilazione(const compilazione_autore& c, const archivio_disco& disco,
                                          std::vector<std::string>& scritti);

// The compile recorded an error (a code in the model, or files it could not
// write at all).
bool con_errore(const compilazione_autore& c);

// Prints the notes on the texts' encodings, the warnings and the error, in
// the order of the texts (the line text first), to `err`.
void stampa_diagnostiche(const compilazione_autore& c, std::ostream& err);

// The result as one JSON object. `scritti` are the files written (names in
// Windows-1252); without `con_file` the keys "files" and "kept" are left out.
std::string risultato_json(const compilazione_autore& c, bool con_file, const std::vector<std::string>& scritti);

// The note on a text that was converted, or nothing.
std::optional<std::string> nota_codifica(const lettura_testo& l);

#endif
