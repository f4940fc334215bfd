#ifndef SCENARIO_TOOLS_LSP_INFORMAZIONI_H
#define SCENARIO_TOOLS_LSP_INFORMAZIONI_H

#include <optional>
#include <string>

#include "scenario/json.h"
#include "scenario/lsp_diagnostiche.h"
#include "scenario/lsp_posizioni.h"

// What the editor shows of a compiled text beyond its messages: a field's
// meaning on hover, the outline of the text, and the keywords to complete.
// All of it is read from the compile's record of the text and from the
// reference tables.

// The hover at `p` in the text at `percorso` (Markdown); nothing where no
// field stands.
std::optional<json> hover_del_campo(const compilazione_lsp& c, const std::string& percorso, posizione_editor p,
                                    unita_colonna u);

// The text's sections, each with the stations, signals, slowdowns, speed
// changes, curves and signs under it (DocumentSymbol[]).
json schema_del_testo(const compilazione_lsp& c, const std::string& percorso, unita_colonna u);

// The keywords of the text at a record's start, each with a snippet of its
// values (CompletionItem[]); an empty list elsewhere in a line. `testo` is
// the document's buffer.
json completamenti(const std::string& testo, bool treno, posizione_editor p, unita_colonna u);

#endif
