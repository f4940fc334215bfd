#ifndef SCENARIO_TOOLS_RIGA_CMD_H
#define SCENARIO_TOOLS_RIGA_CMD_H

#include <string>
#include <vector>

// The words of a command line typed in cmd.exe or PowerShell (UTF-8, the
// program's name left out), made into what the commands expect. Windows hands
// a program its command line whole, and programs expand patterns themselves:
//   - a word that holds '"' is refused: in `-o "C:\out\"` the backslash before
//     the closing quote keeps the quote, and the word becomes `C:\out"` (with
//     every word after it, when more follow);
//   - a word with '*' or '?' that is not an option, nor the value of -o, is
//     replaced by the files it matches, sorted (on Windows only: elsewhere the
//     shell has done it); a pattern that matches nothing is refused;
//   - "/?" is left for the commands, which take it as --help.
// Returns an empty text, or why the command line cannot be run.
std::string prepara_riga_cmd(std::vector<std::string>& parole);

#endif
