#ifndef SCENARIO_TESTS_TOOLS_AIUTI_PROVA_H
#define SCENARIO_TESTS_TOOLS_AIUTI_PROVA_H

// Helpers of the tool's tests: a private folder on disk, whole-file reads and
// writes, the built-in texts with edits, and subcommands run into strings.

#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <sstream>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "file_prova.h"
#include "line/dati_linea.h"
#include "scenario/percorsi.h"
#include "text/scrittura.h"
#include "train/dati_treno.h"

namespace prova {

namespace fs = std::filesystem;

// A fresh folder under the system's temporary folder, removed at the end.
class cartella_temporanea {
 public:
  cartella_temporanea() {
    std::random_device caso;
    for (;;) {
      percorso_ = fs::temp_directory_path() / ("scenario_tools_" + std::to_string(caso()) + std::to_string(caso()));
      if (fs::create_directory(percorso_)) break;
    }
  }
  ~cartella_temporanea() {
    std::error_code ec;
    fs::remove_all(percorso_, ec);
  }
  cartella_temporanea(const cartella_temporanea&) = delete;
  cartella_temporanea& operator=(const cartella_temporanea&) = delete;

  const fs::path& percorso() const { return percorso_; }
  std::string operator/(const std::string& nome) const { return (percorso_ / nome).string(); }

  // Writes a file of the folder (and the folders on its way); returns its path.
  std::string scrivi(const std::string& nome, const std::string& contenuto) const {
    const fs::path p = percorso_ / nome;
    fs::create_directories(p.parent_path());
    std::ofstream(p, std::ios::binary) << contenuto;
    return p.string();
  }

 private:
  fs::path percorso_;
};

// A path joined as the tool joins it: with the system's separator.
inline std::string unisci(const std::string& cartella, const std::string& nome) {
  return testo_percorso(percorso_utf8(cartella) / percorso_utf8(nome));
}

inline void scrivi_file(const fs::path& p, const std::string& byte) {
  std::ofstream f(p, std::ios::binary | std::ios::trunc);
  f << byte;
}

inline std::string testo_linea_incorporato() { return testo_da_elenco(elenco_linea()); }
inline std::string testo_treno_incorporato() { return testo_da_elenco(elenco_treno()); }

// `testo` with each `da` replaced by its `a`; every `da` must occur.
using modifiche = std::vector<std::pair<std::string, std::string>>;
inline std::string modificato(std::string testo, const modifiche& m) {
  for (const auto& [da, a] : m) {
    const size_t p = testo.find(da);
    if (p == std::string::npos) throw std::logic_error("fixture edit not found: " + da);
    testo.replace(p, da.size(), a);
  }
  return testo;
}

// Every occurrence of `da` in `s` replaced by `a`.
inline std::string sostituisci(std::string s, const std::string& da, const std::string& a) {
  for (size_t p = s.find(da); p != std::string::npos; p = s.find(da, p + a.size())) s.replace(p, da.size(), a);
  return s;
}

struct uscita {
  int stato = -1;
  std::string out;
  std::string err;
};

// Runs a subcommand function on the arguments after its name.
template <typename F>
uscita esegui(F comando, const std::vector<std::string>& argomenti) {
  std::ostringstream out, err;
  uscita u;
  u.stato = comando(argomenti, out, err);
  u.out = out.str();
  u.err = err.str();
  return u;
}

}  // namespace prova

#endif
