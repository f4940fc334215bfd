#ifndef SCENARIO_TOOLS_SPIEGA_H
#define SCENARIO_TOOLS_SPIEGA_H

#include <ostream>
#include <string>
#include <vector>

#include "scenario/comando.h"
#include "scenario/riferimento.h"

// `scenario explain [TOPIC...]`: what an error code, a keyword of the texts,
// a rule of reading them or a warning code means, from the reference tables.
// With no topic it lists the topics; `--page line|train|errors` prints a
// reference page in Markdown (the pages of doc/ are that output). Exit
// status: 0, or 2 on a usage error or a topic it does not know.
esecuzione_comando definisci_explain(CLI::App& sub, flussi io);

// The command run with the words after "explain".
int comando_explain(const std::vector<std::string>& argomenti, std::ostream& out, std::ostream& err);

// The entries as `explain` prints them, each line ended by a newline.
void spiega_record(const record_testo& r, std::ostream& out);
void spiega_regola(const regola_lettura& r, std::ostream& out);
// False when the code is not in the error table.
bool spiega_errore(int32_t codice, std::ostream& out);
void elenca_argomenti(std::ostream& out);

// `testo` broken into lines of at most `larghezza` characters, each starting
// with `rientro`; the first line starts with `primo` instead. "\n\n" in
// `testo` keeps a blank line between paragraphs.
std::string a_capo(const std::string& testo, size_t larghezza, const std::string& primo,
                   const std::string& rientro);

#endif
