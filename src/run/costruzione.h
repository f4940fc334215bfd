#ifndef SCENARIO_RUN_COSTRUZIONE_H
#define SCENARIO_RUN_COSTRUZIONE_H

#include <string>

class archivio;
struct modello;

// The error report: shows " Errore n. " followed by the code and ends the
// program with a non-zero status.
[[noreturn]] void errore(const std::string& a);

// The text that the error report shows for a code.
std::string testo_errore(const std::string& a);

// Empty in the program. A test build sets it before the run starts to change
// what the compile reads: it is called with the model and the program's folder
// once the texts and documents are written, just before the compile.
extern void (*prima_della_compilazione)(modello& m, archivio& cartella);

// The whole build run: names, window, texts, documents, compile, end.
[[noreturn]] void costruzione_scenario();

#endif
