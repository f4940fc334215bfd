#include "text/scrittura.h"

#include "model/errore_esecuzione.h"

std::string testo_da_elenco(const std::vector<std::string>& elenco) {
  std::string testo;
  for (size_t i = 0; i < elenco.size() && i < capienza_elenco; ++i) {
    if (elenco[i] == fine_elenco) return testo;
    testo += elenco[i];
    testo += "\r\n";
  }
  throw errore_esecuzione("a line list has no end marker within its 1001 entries");
}

void scrivi_elenco(archivio& a, const std::string& nome, const std::vector<std::string>& elenco) {
  a.scrivi(nome, testo_da_elenco(elenco));
}
