#ifndef SCENARIO_TOOLS_LSP_DIAGNOSTICHE_H
#define SCENARIO_TOOLS_LSP_DIAGNOSTICHE_H

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "scenario/compilazione_autore.h"
#include "scenario/json.h"
#include "scenario/lsp_documenti.h"
#include "scenario/lsp_posizioni.h"

// The compile of a pair of texts for the editor, and what `check` would print
// for it as the editor's diagnostics.

// One edit that mends a diagnostic.
struct correzione_lsp {
  std::string titolo;
  intervallo_editor dove;
  std::string nuovo;
};

struct diagnostica_lsp {
  std::string percorso;  // the text it stands in
  json voce;             // the protocol's Diagnostic
  intervallo_editor dove;
  std::vector<correzione_lsp> correzioni;
};

// A text of the compile as the editor sees it.
struct testo_compilato {
  std::string percorso;  // empty: no such text (a line text checked alone)
  std::string utf8;      // what the compile's places count in
};

struct compilazione_lsp {
  coppia_testi coppia;
  // Null when the compile could not start (names, encoding) or failed.
  std::unique_ptr<compilazione_autore> c;
  testo_compilato linea, treno;
  std::vector<diagnostica_lsp> diagnostiche;
};

// Compiles the pair in memory: open texts from their buffers, the others
// from disk. A line text without its train text is compiled with an empty
// one, and only its own messages are kept; a train text without its line
// text is not compiled and gets one message naming the line text it needs.
// `uri_di` gives the URI of a path, for the places of the notes.
std::unique_ptr<compilazione_lsp> compila_coppia(const coppia_testi& coppia, const documenti_aperti& aperti,
                                                 unita_colonna u,
                                                 const std::function<std::string(const std::string&)>& uri_di);

// A position and a range as the protocol writes them.
json json_posizione(posizione_editor p);
json json_intervallo(const intervallo_editor& i);

// The text of the compile at `percorso` (and in `t` which of the two it is);
// null when it is neither.
const testo_compilato* testo_del_percorso(const compilazione_lsp& c, const std::string& percorso,
                                          testo_sorgente* t = nullptr);

// The diagnostics of one text, as the protocol's array.
json diagnostiche_del_testo(const compilazione_lsp& c, const std::string& percorso);

#endif
