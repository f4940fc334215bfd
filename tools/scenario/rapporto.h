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
//   FILE:LINE:COLUMN: note: what more is known
//
// Everything here formats what the compile recorded in its trace (the
// records with their places, the origin of each cell's object, the cause of
// the error); nothing reads the texts again. Texts are UTF-8 unless they say
// otherwise.

// One source text of a compile as its author named it.
struct testo_autore {
  std::string percorso;  // as given on the command line; shown in messages
  std::string byte;      // its content, Windows-1252 (for the compile, not read here)
};

// Where a message points: a file, a line and column in it (from 1), and that
// line's text. No file, or line 0, when it is not known.
struct luogo_messaggio {
  std::string file;
  int32_t riga = 0;
  int32_t colonna = 0;
  std::string sorgente;  // the whole source line, Windows-1252
};

struct nota_messaggio {
  luogo_messaggio luogo;  // no file when the note has no place of its own
  std::string testo;
};

struct messaggio_errore {
  int32_t codice = 0;  // 0 = no error
  bool con_posizione = false;
  int32_t posizione = 0;
  luogo_messaggio luogo;
  std::string descrizione;
  std::vector<nota_messaggio> note;
};

// The kinds of warning, each with a stable code for scripts and other
// commands.
struct genere_avviso {
  const char* codice;       // lower_case_underscore, never renamed
  const char* descrizione;  // one line, for people
};
extern const genere_avviso avviso_record_sconosciuto;
// Every kind, in a fixed order.
const std::vector<const genere_avviso*>& generi_avviso();

struct messaggio_avviso {
  const genere_avviso* genere = &avviso_record_sconosciuto;
  luogo_messaggio luogo;
  std::string campo;  // the field the warning is about, Windows-1252
  std::string seguito;  // what the message says after the quoted field
  std::vector<nota_messaggio> note;
  // Texts that could replace the field, when the warning asks for one edit
  // that is plain (a keyword's spelling, a curve's side, a rounded value).
  std::vector<std::string> sostituzioni;
};

// The error of a compile, from the error value the core returns and the
// cause it recorded.
messaggio_errore messaggio_dell_errore(const modello& m, const diagnostica& d, const esito_compilazione& esito,
                                       const testo_autore& linea, const testo_autore& treno);

// Where a recorded place stands, as a message shows it: the text's file as
// the author named it, line and column, and that line of the text.
luogo_messaggio luogo_del_messaggio(const diagnostica& d, const testo_autore& linea, const testo_autore& treno,
                                    const luogo_sorgente& s);

// The warnings of a compile, in the order read.
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
