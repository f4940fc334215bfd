#ifndef SCENARIO_RUN_AVVIO_H
#define SCENARIO_RUN_AVVIO_H

#include <string>

// The error report: shows " Errore n. " followed by the code and ends the
// program with a non-zero status.
[[noreturn]] void errore(const std::string& a);

// The whole build run: names, window, texts, documents, compile, end.
[[noreturn]] void costruzione_scenario();

#endif
