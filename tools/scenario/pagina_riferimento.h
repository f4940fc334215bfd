#ifndef SCENARIO_TOOLS_PAGINA_RIFERIMENTO_H
#define SCENARIO_TOOLS_PAGINA_RIFERIMENTO_H

#include <string>

#include "scenario/riferimento.h"

// The reference pages of doc/ in Markdown, made from the reference tables:
// one page per source text, and the page of the error codes.
std::string pagina_riferimento(testo_di testo);
std::string pagina_errori();

// The file names of the pages in doc/.
const char* nome_pagina(testo_di testo);
inline const char* nome_pagina_errori() { return "codici_errore.md"; }

#endif
