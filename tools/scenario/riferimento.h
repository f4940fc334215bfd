#ifndef SCENARIO_TOOLS_RIFERIMENTO_H
#define SCENARIO_TOOLS_RIFERIMENTO_H

// The reference of the two source texts as data: how a text is read, every
// record kind with its values, and what to change for each error code.
// `scenario explain` prints from these tables, the pages of doc/ are made
// from them, and an editor's hovers and completion can read them too.

#include <cstdint>
#include <string>
#include <vector>

enum class testo_di { linea, treno };

// The file a text is, in words: "line text" or "train text".
const char* nome_testo(testo_di t);

// One value of a record, in the order the text gives them.
struct valore_record {
  const char* nome;         // "posizione"
  const char* unita;        // "m", "km/h", "s", or "" for a plain number
  const char* larghezza;    // what it is read into: "long", "integer", "byte" or "text"
  const char* intervallo;   // the values that reach the compiled files unchanged
  const char* memorizzato;  // where it ends up: a cell field, a point-table slot, or "not stored"
  const char* significato;  // what it does
};

struct record_testo {
  const char* nome;  // the keyword as the built-in texts write it: "segnale"
  testo_di testo;
  const char* dove;  // where in the text it is recognised
  // The words the keyword field must hold, anywhere and in any order.
  std::vector<const char*> parole;
  bool maiuscole_contano;  // true: the words must match letter for letter
  const char* regola;      // more on the keyword rule; may be ""
  std::vector<valore_record> valori;
  const char* diventa;  // what the record becomes in the compiled files
  std::vector<int32_t> errori;
  const char* esempio;  // one line as an author would write it
  const char* note;     // anything else an author must know; may be ""
};

// One rule of how a text is read.
struct regola_lettura {
  const char* argomento;  // the topic of `scenario explain`: "comments"
  const char* titolo;
  const char* testo;  // paragraphs separated by "\n\n"
};

// What an error code asks the author to change.
struct rimedio_errore {
  int32_t codice;
  const char* dove;     // which text or step raises it
  const char* rimedio;  // what to change in the text
};

// A section header of the built-in texts, without its brackets.
struct intestazione_sezione {
  const char* nome;  // "segnali" for "[segnali]"
  testo_di testo;
};

// The headers of the built-in texts, in their order: the line text's, then
// the train text's ("generale" and "fine" in both).
const std::vector<intestazione_sezione>& intestazioni_sezioni();

// Every record kind: the line text's general keys and body records, then the
// train text's records, in the order the compile tests them.
const std::vector<record_testo>& record_dei_testi();

// The rules of reading a text, in the order a reader needs them.
const std::vector<regola_lettura>& regole_di_lettura();

// One entry for every code of the error table, in the same order.
const std::vector<rimedio_errore>& rimedi_errori();

// nullptr when a code has no entry.
const rimedio_errore* cerca_rimedio(int32_t codice);

// The record kinds whose keyword rule a field satisfies, as the compile would
// test it (letter case as the kind's rule says). A curve keyword needs no
// class digit here: "curva" alone names the kind.
std::vector<const record_testo*> record_per_campo(const std::string& campo);

// The record kind of that keyword name (letter case ignored); nullptr if none.
const record_testo* record_per_nome(const std::string& nome);

#endif
