#include "core/memorizza_percorso.h"

#include "core/codici_gara.h"
#include "core/file_binari.h"
#include "core/memorizza_dati.h"
#include "core/passata_finale.h"

namespace {

// The code reported when the texts left no grid and recorded nothing: no grid
// means that no line length was read.
constexpr int32_t errore_senza_lunghezza = 26;

// The driver after the texts, without the files.
esito_compilazione completa_senza_file(modello& m) {
  esito_compilazione esito;
  if (!m.griglia_presente()) {
    if (m.numero_errore == 0) m.numero_errore = errore_senza_lunghezza;
    esito.errore = std::to_string(m.numero_errore);
    return esito;
  }
  passata_finale(m);
  esito.errore = marche_e_codici(m);
  return esito;
}

}  // namespace

esito_compilazione memorizza_percorso(modello& m, archivio& a, int32_t j) {
  esito_compilazione esito = compila_percorso(m, a, j);
  if (esito.errore.empty()) esito.file_scritti = scrivi_file_binari(m, a);
  return esito;
}

esito_compilazione compila_percorso(modello& m, archivio& a, int32_t j) {
  m.genera_linea = j;
  m.numero_errore = 0;
  m.punti.fill(punto{});
  // A grid or plan of an earlier compile must never be completed or written
  // for this one: they exist only once this compile has read a line length.
  m.celle.clear();
  m.profilo = profilo_linea{};
  m.lunghezza_estesa = 0;
  m.numero_celle = 0;
  memorizza_dati(m, a);
  return completa_senza_file(m);
}

esito_compilazione completa_percorso(modello& m, archivio& a) {
  esito_compilazione esito = completa_senza_file(m);
  if (esito.errore.empty()) esito.file_scritti = scrivi_file_binari(m, a);
  return esito;
}
