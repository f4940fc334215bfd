#ifndef SCENARIO_TOOLS_RICOSTRUZIONE_H
#define SCENARIO_TOOLS_RICOSTRUZIONE_H

// From the compiled files of a scenario back to a line text and a train text
// whose compile gives the same bytes: every record is inferred from what the
// files hold, and the project's own compile, run in memory, is the judge of
// every choice that the bytes alone leave open (record order, the markers of
// the finishing pass).

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "core/tracciati.h"
#include "model/modello.h"

// The decoded files of one scenario; without a line profile the compile it
// came from had the line profile off.
struct scenario_binario {
  tabella_punti punti{};
  std::vector<cella> celle;
  std::optional<profilo_linea> profilo;
};

// One record of a text: its keyword, its numbers and, last, a free text (a
// station name, a sign text).
struct record_ricostruito {
  std::string chiave;
  std::vector<int64_t> numeri;
  std::optional<std::string> testo;
  bool operator==(const record_ricostruito&) const = default;
};

// A section: its header ("[segnali]") and its records. A header alone, with
// no record, is written too.
struct sezione_testo {
  std::string intestazione;
  std::string commento;  // one hyphen comment line after the header; no comma
  std::vector<record_ricostruito> record;
};

struct testo_ricostruito {
  std::vector<sezione_testo> sezioni;  // the first is "[generale]"
};

// The bytes of a text: Windows-1252, CR LF, a comment line first, columns
// aligned within each section, "[fine]" last.
std::string scrivi_testo(const testo_ricostruito& t);

// Reads a text back into its records (keyword, numbers, final text), every
// field without its blanks; comment lines, section headers and everything
// before "[generale]" are left out. For comparing texts record by record.
std::vector<record_ricostruito> record_di(const std::string& testo);

// What decompile found.
struct ricostruzione {
  std::string nome_scenario;  // Windows-1252, from the point table
  std::string codice_treno;
  std::string linea;  // the two texts' bytes
  std::string treno;
  bool identico = false;
  // Every cell, record and plan point whose bytes the texts' compile does
  // not reproduce, and why when the compile stopped; empty when identical.
  std::vector<std::string> differenze;
};

// The texts, and how near their compile comes to the files.
ricostruzione ricostruisci(const scenario_binario& s);

// The bytes of the compile of two texts, run in memory with the line profile
// on or off; `errore` is the code the compile recorded (0 when none).
struct compilazione_memoria {
  int32_t errore = 0;
  int32_t posizione_errore = 0;
  bool scritto = false;  // false when no file was written
  scenario_binario file;
};
compilazione_memoria compila_in_memoria(const std::string& nome_scenario, const std::string& codice_treno,
                                        const std::string& linea, const std::string& treno, bool con_linea);

// The differences between the stored files and a compile's, one line each:
// "cell 12 (550 m): preavviso 81, the files hold 0".
std::vector<std::string> confronta_binari(const scenario_binario& atteso, const scenario_binario& ottenuto);

// ---- The inference, by text ---------------------------------------------------

// The choices that the bytes alone leave open, tried in turn.
struct scelte_ricostruzione {
  bool stazioni_dopo_segnali = false;
  // A stop cell that keeps a signal's values stands over a signal (only
  // with the stations after the signals).
  bool segnali_sotto_fermate = false;
  // Speed markers written as records, by cell: kind 12 (with its value) or 13.
  std::vector<std::pair<int32_t, cella>> abbattimenti;
};

testo_ricostruito testo_linea_di(const scenario_binario& s, std::vector<std::string>& dubbi);
testo_ricostruito testo_treno_di(const scenario_binario& s, const scelte_ricostruzione& scelte,
                                 std::vector<std::string>& dubbi);

// What a stop cell (kind 10) was written over, from what the stop leaves of
// it: everything but the kind and valore. A hold time, or a signal's warning
// codes beyond the stop's own approach marks, tell a signal; other values an
// indicator board.
enum class sotto_fermata { niente, segnale, indicatore };
sotto_fermata oggetto_sotto_fermata(const std::vector<cella>& c, int64_t k);

// The grid without the file marks of cell 1.
std::vector<cella> celle_senza_marche(const std::vector<cella>& celle);

#endif
