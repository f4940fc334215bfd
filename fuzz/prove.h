#ifndef SCENARIO_FUZZ_PROVE_H
#define SCENARIO_FUZZ_PROVE_H

#include <cstddef>
#include <cstdint>

// The bodies of the fuzz targets, shared with the test that replays the
// inputs kept in fuzz/regressions. A recorded error code is a normal result;
// anything that escapes or breaks an invariant aborts.

// Reads the input as a source text with a script of field reads.
void prova_lettore(const uint8_t* dati, size_t quanti);

// Splits the input into a line text and a train text and runs the whole
// compile (texts, finishing pass, marks, files) in memory.
void prova_compilazione(const uint8_t* dati, size_t quanti);

// Splits the input into the three compiled files of a scenario (first byte:
// bit 0 for a line profile; then the sizes of the .sim and of the .dat in 32
// bits each; the files; the rest is the line profile), decodes them and, when
// they fit their layouts, decompiles them and compares them with themselves.
void prova_file_compilati(const uint8_t* dati, size_t quanti);

// Reads the input as what an editor sends the language server: framed
// messages, as many as it holds.
void prova_lsp_lettore(const uint8_t* dati, size_t quanti);

// Reads the input as framed messages and hands each to the language server,
// after an initialize: every text it names is put in a folder that does not
// exist, so that nothing of the disk is read.
void prova_lsp_servizio(const uint8_t* dati, size_t quanti);

#endif
