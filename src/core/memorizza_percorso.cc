#include "core/memorizza_percorso.h"

#include "core/codici_gara.h"
#include "core/file_binari.h"
#include "core/memorizza_dati.h"
#include "core/passata_finale.h"
#include "model/errori.h"

namespace {

// The code reported when the texts left no grid and recorded nothing: no grid
// means that no line length was read.
constexpr int32_t errore_senza_lunghezza = 26;

// The driver after the texts, without the files.
esito_compilazione completa_senza_file(modello& m) {
  esito_compilazione esito;
  if (!m.griglia_presente()) {
    if (m.numero_errore == 0) m.numero_errore = errore_senza_lunghezza;
    esito.errore = m.numero_errore;
    return esito;
  }
  passata_finale(m);
  esito.errore = marche_e_codici(m);
  if (esito.errore != 0) {
    // The cell file keeps its mark and code in cell 1: an object there is
    // the likely cause.
    diagnostica* d = m.traccia;
    if (d && m.celle[1].tipo != vuota) {
      annota_errore(d, {origine_di(*d, 1), nessuno});
      aggiungi_nota(d, {genere_nota::cella_occupata, {origine_di(*d, 1), nessuno}, 1, m.celle[1].tipo, nullptr});
    } else if (d) {
      annota_errore(d, {});
    }
  }
  return esito;
}

}  // namespace

esito_compilazione memorizza_percorso(modello& m, archivio& a, int32_t j) {
  esito_compilazione esito = compila_percorso(m, a, j);
  if (esito.errore == 0) esito.file_scritti = scrivi_file_binari(m, a);
  return esito;
}

esito_compilazione compila_percorso(modello& m, archivio& a, int32_t j) {
  if (m.traccia) *m.traccia = diagnostica{};
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
  if (esito.errore == 0) esito.file_scritti = scrivi_file_binari(m, a);
  return esito;
}

errore_compilazione errore_della_compilazione(const modello& m, const esito_compilazione& esito) {
  errore_compilazione e;
  e.senza_file = esito.errore != 0;
  e.codice = e.senza_file ? esito.errore : m.numero_errore;
  if (e.codice == 0) return e;
  const voce_errore* voce = cerca_errore(e.codice);
  // A code that stopped the compile before its files and is not the texts'
  // own (1250, 1251) has no position.
  e.con_posizione = voce && voce->ha_posizione && e.codice == m.numero_errore;
  e.posizione = m.posizione_errore;
  if (m.traccia) e.causa = m.traccia->errore.campo;
  return e;
}
