#include "scenario/riga_cmd.h"

#include "scenario/sistema_file.h"

namespace {

bool e_opzione(const std::string& s) { return !s.empty() && s[0] == '-'; }

// Options whose value is a file to write, never a pattern to expand.
bool prende_uscita(const std::string& s) { return s == "-o" || s == "--output"; }

std::string trappola(const std::string& parola) {
  return "the argument '" + parola +
         "' holds a quote mark. In cmd and PowerShell a backslash just before a closing quote "
         "keeps the quote: \"C:\\out\\\" reaches the program as C:\\out\". Leave the last "
         "backslash out (\"C:\\out\") or double it (\"C:\\out\\\\\").";
}

}  // namespace

std::string prepara_riga_cmd(std::vector<std::string>& parole) {
  for (const std::string& p : parole) {
    if (p.find('"') != std::string::npos) return trappola(p);
  }
  std::vector<std::string> esito;
  for (size_t i = 0; i < parole.size(); ++i) {
    const std::string& p = parole[i];
    const bool valore_di_uscita = i > 0 && prende_uscita(parole[i - 1]);
    if (i == 0 || p == "/?" || e_opzione(p) || valore_di_uscita || p.find_first_of("*?") == std::string::npos) {
      esito.push_back(p);
      continue;
    }
    const std::vector<std::string> trovati = espandi_modello(p);
    if (trovati.empty()) return "no file matches " + p;
    esito.insert(esito.end(), trovati.begin(), trovati.end());
  }
  parole = std::move(esito);
  return {};
}
