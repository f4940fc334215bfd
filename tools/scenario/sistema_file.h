#ifndef SCENARIO_TOOLS_SISTEMA_FILE_H
#define SCENARIO_TOOLS_SISTEMA_FILE_H

#include <filesystem>
#include <string>
#include <vector>

// File names as the system sees them. Windows ignores letter case in names
// but keeps the case a file was created with; elsewhere a name is its bytes.

// The last part of `percorso` (UTF-8): on Windows, the name of the file as
// stored on disk (its real letter case) when the file is there; otherwise the
// name as given.
std::string nome_come_su_disco(const std::string& percorso);

// Whether two file names (UTF-8) name the same file in one folder: ignoring
// letter case on Windows, byte for byte elsewhere.
bool stessi_nomi_file(const std::string& a, const std::string& b);

// The path to hand the system: on Windows a long absolute path gets the
// prefix that lifts the 260-character limit; elsewhere the path itself.
std::filesystem::path percorso_per_sistema(const std::filesystem::path& p);

// The names of the ordinary files of a folder (no folders), in the order the
// system gives them, at any length of the folder's path. Throws
// std::filesystem::filesystem_error when the folder cannot be read.
std::vector<std::filesystem::path> file_ordinari(const std::filesystem::path& cartella);

// The files that a pattern with '*' or '?' in its last part matches (UTF-8),
// with the pattern's folder as given, sorted by name; "." and ".." are left
// out. Empty when nothing matches. Windows only: elsewhere the shell expands
// patterns, and this gives the pattern itself.
std::vector<std::string> espandi_modello(const std::string& modello);

#endif
