#ifndef SCENARIO_TOOLS_RAPPORTO_H
#define SCENARIO_TOOLS_RAPPORTO_H

#include <cstdint>
#include <string>
#include <vector>

#include "core/memorizza_percorso.h"
#include "model/diagnostica.h"
#include "model/modello.h"

// What a compile tells its author, in the form compilers use:
//
//   FILE:LINE:COLUMN: error N at P m: description
//   the source line
//          ^
//   note: what more is known
//
// Texts here are UTF-8 unless they say otherwise.

// One source text of a compile as its author named it.
struct testo_autore {
  std::string percorso;  // as given on the command line; shown in messages
  std::string byte;      // its content, Windows-1252
};

// Where a message points: a file, a line and column in it (from 1), and that
// line's text. No file, or line 0, when it is not known.
struct luogo_messaggio {
  std::string file;
  int32_t riga = 0;
  int32_t colonna = 0;
  std::string sorgente;  // the whole source line, Windows-1252
};

struct messaggio_errore {
  int32_t codice = 0;  // 0 = no error
  bool con_posizione = false;
  int32_t posizione = 0;
  luogo_messaggio luogo;
  std::string descrizione;
  std::vector<std::string> note;
};

struct messaggio_avviso {
  luogo_messaggio luogo;
  std::string campo;  // the keyword field passed over, Windows-1252
};

// The error of a compile: the code that `esito` reports when no file was
// written ("1250", "1251", or the code that left no grid), otherwise the code
// the model recorded.
messaggio_errore errore_della_compilazione(const modello& m, const diagnostica& d,
                                           const esito_compilazione& esito,
                                           const testo_autore& linea, const testo_autore& treno);

// Keyword fields that matched no record, in the order read.
std::vector<messaggio_avviso> avvisi_della_compilazione(const diagnostica& d, const testo_autore& linea,
                                                        const testo_autore& treno);

// The printed forms, each line ended by a newline.
std::string testo_errore_autore(const messaggio_errore& e);
std::string testo_avviso_autore(const messaggio_avviso& a);

// The message of an error on one line, without its place: the description,
// then each note after "; ".
std::string riassunto_errore(const messaggio_errore& e);
// The message of a warning, without its place.
std::string riassunto_avviso(const messaggio_avviso& a);

#endif
