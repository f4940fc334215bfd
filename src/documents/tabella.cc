#include "documents/tabella.h"

#include <utility>

#include "model/errore_esecuzione.h"

namespace {

[[noreturn]] void non_entra(std::string_view testo, size_t larghezza) {
  throw errore_esecuzione("\"" + std::string(testo) + "\" does not fit a table cell of " +
                          std::to_string(larghezza) + " characters");
}

}  // namespace

tabella::tabella(std::vector<size_t> larghezze) : larghezze_(std::move(larghezze)) {}

size_t tabella::larghezza(size_t colonna) const {
  if (colonna >= larghezze_.size()) {
    throw errore_esecuzione("a table has no column " + std::to_string(colonna));
  }
  return larghezze_[colonna];
}

std::string tabella::bianca(size_t colonna) const { return std::string(larghezza(colonna), ' '); }

std::string tabella::riga(const std::vector<std::string>& celle) const {
  if (celle.size() != larghezze_.size()) {
    throw errore_esecuzione("a table row of " + std::to_string(celle.size()) +
                            " cells in a table of " + std::to_string(larghezze_.size()));
  }
  std::string r = " |";
  for (size_t i = 0; i < celle.size(); ++i) {
    if (celle[i].size() != larghezze_[i]) non_entra(celle[i], larghezze_[i]);
    r += celle[i];
    r += '|';
  }
  return r;
}

std::string tabella::vuota() const {
  std::vector<std::string> celle;
  for (size_t w : larghezze_) celle.emplace_back(w, ' ');
  return riga(celle);
}

std::string tabella::righello() const {
  std::vector<std::string> celle;
  for (size_t w : larghezze_) celle.emplace_back(w, '_');
  return riga(celle);
}

std::string a_destra(std::string_view testo, size_t larghezza) {
  if (testo.size() > larghezza) non_entra(testo, larghezza);
  return std::string(larghezza - testo.size(), ' ') + std::string(testo);
}

std::string a_sinistra(std::string_view testo, size_t larghezza) {
  if (testo.size() > larghezza) non_entra(testo, larghezza);
  return std::string(testo) + std::string(larghezza - testo.size(), ' ');
}

void scrivi_in(std::string& cella, size_t posizione, std::string_view testo) {
  if (posizione == 0 || posizione - 1 > cella.size() || testo.size() > cella.size() - (posizione - 1)) {
    throw errore_esecuzione("\"" + std::string(testo) + "\" at position " +
                            std::to_string(posizione) + " does not fit a table cell of " +
                            std::to_string(cella.size()) + " characters");
  }
  cella.replace(posizione - 1, testo.size(), testo);
}
