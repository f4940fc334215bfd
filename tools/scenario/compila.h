#ifndef SCENARIO_TOOLS_COMPILA_H
#define SCENARIO_TOOLS_COMPILA_H

#include <ostream>
#include <string>
#include <vector>

#include "scenario/comando.h"

// `scenario compile LINE_TEXT TRAIN_TEXT -o OUTDIR [--scenario NAME]
// [--train-code CODE] [--no-line-profile] [--encoding ENC] [--strict]
// [--write-on-error] [--json]`: compiles an author's two texts exactly as the
// builder does and writes the binary files into OUTDIR. The texts are
// compiled from private copies in memory and never touched.
// Exit status:
//   0  compiled without error
//   1  compiled with an error recorded (or a warning, with --strict); no file
//      is written unless --write-on-error asks for the partial ones
//   2  usage error, or a text that cannot be read or converted, or an output
//      folder that cannot be written
//   3  no binary file written: a taken slot (1250, 1251) or no cell grid
esecuzione_comando definisci_compile(CLI::App& sub, flussi io);

// The command run with the words after "compile".
int comando_compile(const std::vector<std::string>& argomenti, std::ostream& out, std::ostream& err);

#endif
