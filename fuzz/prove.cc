#include "prove.h"

#include <cstdlib>
#include <string>
#include <string_view>

#include "core/memorizza_percorso.h"
#include "model/errore_esecuzione.h"
#include "model/nomi_file.h"
#include "text/lettore_campi.h"

namespace {

void verifica(bool condizione) {
  if (!condizione) std::abort();
}

}  // namespace

void prova_lettore(const uint8_t* dati, size_t quanti) {
  std::string_view testo(reinterpret_cast<const char*>(dati), quanti);
  lettore_campi l(testo);
  size_t letture = 0;
  try {
    // Alternate text and number reads by the bytes of the text itself.
    while (!l.fine() && letture < 100000) {
      const unsigned char scelta = letture < quanti ? static_cast<unsigned char>(testo[letture]) : 0;
      if (scelta % 3 == 0) {
        const std::string campo = l.leggi_testo();
        verifica(campo.size() <= quanti);
      } else if (scelta % 3 == 1) {
        l.leggi_numero();
      } else {
        l.leggi_byte();
      }
      verifica(l.luogo().riga >= 1 && l.luogo().colonna >= 1);
      ++letture;
    }
  } catch (const errore_esecuzione&) {
    // A field that cannot be read is a normal outcome.
  }
}

void prova_compilazione(const uint8_t* dati, size_t quanti) {
  // First byte: bit 0 asks for the line plan. Then the line text, a NUL byte,
  // and the train text (missing when there is no NUL: that is a case too).
  if (quanti == 0) return;
  const int32_t j = dati[0] & 1;
  std::string_view resto(reinterpret_cast<const char*>(dati + 1), quanti - 1);
  const size_t separatore = resto.find('\0');

  modello m;
  m.nome_scenario = std::string("F");
  m.codice_treno = std::string("T");
  diagnostica d;
  if (dati[0] & 2) m.traccia = &d;
  archivio_memoria a;
  a.file[nome_testo_linea(m)] = std::string(resto.substr(0, separatore));
  if (separatore != std::string_view::npos) a.file[nome_testo_treno(m)] = std::string(resto.substr(separatore + 1));

  esito_compilazione esito;
  try {
    esito = memorizza_percorso(m, a, j);
  } catch (const errore_esecuzione&) {
    // Only a file that cannot be written may escape the driver, and memory never fails to write.
    std::abort();
  }
  // Every way through the compile leaves no line text behind.
  verifica(!a.esiste(nome_testo_linea(m)));
  if (esito.errore == 0) {
    verifica(m.griglia_presente());
    verifica(a.esiste(nome_file_sim(m)) && a.esiste(nome_file_dat(m)));
    verifica(a.file[nome_file_dat(m)].size() == 15 * (static_cast<size_t>(m.numero_celle) + 1));
    verifica(a.esiste(nome_file_linea(m)) == (j != 0));
  } else {
    verifica(!a.esiste(nome_file_sim(m)) && !a.esiste(nome_file_dat(m)));
  }
}
