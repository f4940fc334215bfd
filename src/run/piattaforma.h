#ifndef SCENARIO_RUN_PIATTAFORMA_H
#define SCENARIO_RUN_PIATTAFORMA_H

#include <filesystem>
#include <string>
#include <vector>

// What the build run needs from the system it runs on. One implementation per
// system, chosen at build time: the Windows window and message box, or the
// console.

// The folder that holds the program's executable.
std::filesystem::path cartella_programma();

// Shows the window with "Attendere" and paints it before the work starts.
void mostra_finestra();

// Shows a message and waits until it is acknowledged.
void mostra_messaggio(const std::string& testo);

// Tells where a run that ended well wrote its files, named in the order
// written. The Windows window says nothing more; the console lists them.
void mostra_esito(const std::filesystem::path& cartella, const std::vector<std::string>& file);

// Ends the program at once with the given exit status.
[[noreturn]] void termina(int stato);

#endif
