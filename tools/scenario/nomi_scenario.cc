#include "scenario/nomi_scenario.h"
#include "scenario/percorsi.h"
#include "scenario/sistema_file.h"

#include <filesystem>
#include <string_view>

#include "text/codifica.h"

namespace {

constexpr std::string_view coda_linea = "_linea.txt";
constexpr std::string_view coda_treno = "-.txt";

// The longest name one of the output files gets, with the suffix of the
// temporary file it is first written to, must fit the file system.
constexpr size_t nome_file_massimo = 255;
constexpr size_t aggiunte_massime = std::string_view("_.sim.part").size();

char minuscola(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

// Suffixes match in any letter case: Windows ignores it, and authors type
// ".TXT" as often as ".txt".
bool finisce_con(std::string_view s, std::string_view coda) {
  if (s.size() < coda.size()) return false;
  const std::string_view fine = s.substr(s.size() - coda.size());
  for (size_t i = 0; i < coda.size(); ++i) {
    if (minuscola(fine[i]) != minuscola(coda[i])) return false;
  }
  return true;
}

// The name of the file: as stored on disk on Windows, where the letter case
// typed may differ from it.
std::string nome_file(const std::string& percorso) { return nome_come_su_disco(percorso); }

// NAME of NAME_linea.txt.
std::optional<std::string> nome_da_linea(const std::string& percorso) {
  const std::string f = nome_file(percorso);
  if (!finisce_con(f, coda_linea) || f.size() == coda_linea.size()) return std::nullopt;
  return f.substr(0, f.size() - coda_linea.size());
}

// NAME_CODE of NAME_CODE-.txt.
std::optional<std::string> radice_treno(const std::string& percorso) {
  const std::string f = nome_file(percorso);
  if (!finisce_con(f, coda_treno)) return std::nullopt;
  return f.substr(0, f.size() - coda_treno.size());
}

// NAME and CODE split at the last underscore; both nonempty.
std::optional<nomi_scenario> dividi(const std::string& radice) {
  const size_t u = radice.rfind('_');
  if (u == std::string::npos || u == 0 || u + 1 == radice.size()) return std::nullopt;
  return nomi_scenario{radice.substr(0, u), radice.substr(u + 1)};
}

const char* const testi_scambiati =
    "the first text is a train text (it ends in \"-.txt\"); give the line text first";

std::string tra_virgolette(const std::string& s) { return "\"" + s + "\""; }

}  // namespace

std::string controlla_nome(const std::string& utf8, std::string& cp1252) {
  if (utf8.empty()) return "it is empty";
  const std::optional<std::string> byte = utf8_a_cp1252(utf8);
  if (!byte) return "it cannot be written in Windows-1252";
  for (char c : *byte) {
    const auto b = static_cast<unsigned char>(c);
    // The C0 controls, DEL, and the five bytes Windows-1252 leaves undefined
    // (they decode to C1 controls).
    if (b < 0x20 || b == 0x7F || b == 0x81 || b == 0x8D || b == 0x8F || b == 0x90 || b == 0x9D) {
      return "it holds a control character";
    }
    if (c == '/' || c == '\\') return "it holds a path separator";
    if (std::string_view(":*?\"<>|").find(c) != std::string_view::npos) {
      return std::string("it holds '") + c + "', which file names cannot hold";
    }
  }
  if (byte->find("..") != std::string::npos) return "it holds \"..\"";
  cp1252 = *byte;
  return {};
}

std::string deriva_nomi(const std::string& percorso_linea, const std::string& percorso_treno,
                        const std::optional<std::string>& scenario,
                        const std::optional<std::string>& codice, nomi_scenario& esito) {
  const std::optional<std::string> da_linea = nome_da_linea(percorso_linea);
  const std::optional<std::string> radice = radice_treno(percorso_treno);
  std::optional<nomi_scenario> da_treno = radice ? dividi(*radice) : std::nullopt;

  // A train text where the line text belongs.
  const bool primo_treno = !da_linea && radice_treno(percorso_linea).has_value();
  if (primo_treno && nome_da_linea(percorso_treno)) return testi_scambiati;

  std::string nome;
  if (scenario) {
    nome = *scenario;
    // The train text of this scenario is NAME_CODE-.txt, whatever CODE holds.
    const std::string prefisso = nome + "_";
    if (radice && radice->size() > prefisso.size() && radice->compare(0, prefisso.size(), prefisso) == 0) {
      da_treno = nomi_scenario{nome, radice->substr(prefisso.size())};
    }
  } else if (da_linea && da_treno && !stessi_nomi_file(*da_linea, da_treno->nome_scenario)) {
    return "the line text " + tra_virgolette(percorso_linea) + " names the scenario " +
           tra_virgolette(*da_linea) + " but the train text " + tra_virgolette(percorso_treno) +
           " names it " + tra_virgolette(da_treno->nome_scenario) +
           "; rename one of them or give --scenario NAME";
  } else if (da_linea) {
    nome = *da_linea;
  } else if (da_treno) {
    nome = da_treno->nome_scenario;
  } else if (primo_treno) {
    return testi_scambiati;
  } else {
    return "cannot tell the scenario name from the file names (expected NAME_linea.txt and "
           "NAME_CODE-.txt); give --scenario NAME and --train-code CODE";
  }

  std::string codice_treno;
  if (codice) {
    codice_treno = *codice;
  } else if (da_treno) {
    codice_treno = da_treno->codice_treno;
  } else {
    return "cannot tell the train code from the train text's name " + tra_virgolette(percorso_treno) +
           " (expected NAME_CODE-.txt); give --train-code CODE";
  }

  nomi_scenario n;
  std::string perche = controlla_nome(nome, n.nome_scenario);
  if (!perche.empty()) return "the scenario name " + tra_virgolette(nome) + " cannot be used: " + perche;
  perche = controlla_nome(codice_treno, n.codice_treno);
  if (!perche.empty()) return "the train code " + tra_virgolette(codice_treno) + " cannot be used: " + perche;
  if (nome.size() + codice_treno.size() + aggiunte_massime > nome_file_massimo) {
    return "the scenario name and train code are too long: the file names made from them would "
           "pass " + std::to_string(nome_file_massimo) + " bytes";
  }
  esito = std::move(n);
  return {};
}
