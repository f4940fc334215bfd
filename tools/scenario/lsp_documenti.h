#ifndef SCENARIO_TOOLS_LSP_DOCUMENTI_H
#define SCENARIO_TOOLS_LSP_DOCUMENTI_H

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

// The texts the editor holds open, and the pairs they make. A document's
// text is the editor's buffer (UTF-8); its path is the file the URI names.

struct documento_aperto {
  std::string uri;
  std::string percorso;  // UTF-8, with '/' between its parts
  std::string testo;
  int64_t versione = 0;
};

// The open documents, by URI.
using documenti_aperti = std::map<std::string, documento_aperto>;

// The path of a file: URI ("file:///home/a/x.txt", "file:///c%3A/a/x.txt");
// nothing for another scheme.
std::optional<std::string> percorso_dell_uri(const std::string& uri);
// The file: URI of a path as percorso_dell_uri gives it.
std::string uri_del_percorso(const std::string& percorso);

enum class genere_testo : uint8_t { nessuno, linea, treno };

// NAME_linea.txt is a line text, NAME_CODE-.txt a train text (any letter case
// in the suffixes).
genere_testo genere_del_file(const std::string& percorso);

// The folder of a path, with its last separator ("" for a bare name), and
// the name after it.
std::string cartella_del_percorso(const std::string& percorso);
std::string nome_del_percorso(const std::string& percorso);

// The two texts compiled together. The line text of a train text
// NAME_CODE-.txt is NAME_linea.txt in its folder (NAME split at CODE's
// underscore, the last one); the train text of a line text NAME_linea.txt
// is the first by name of the NAME_CODE-.txt beside it, on disk or open.
// `linea` or `treno` is empty when that half is missing.
struct coppia_testi {
  std::string linea;
  std::string treno;
};

coppia_testi coppia_del_file(const std::string& percorso, const documenti_aperti& aperti);

// The document open at that path, if any.
const documento_aperto* aperto_al_percorso(const documenti_aperti& aperti, const std::string& percorso);

#endif
