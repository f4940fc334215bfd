#include "prove.h"

#include <cstdlib>
#include <sstream>
#include <string>
#include <string_view>

#include "core/file_binari.h"
#include "core/memorizza_percorso.h"
#include "core/tracciati.h"
#include "scenario/differenze.h"
#include "scenario/ricostruzione.h"
#include "model/errore_esecuzione.h"
#include "model/nomi_file.h"
#include "text/lettore_campi.h"
#include "scenario/json.h"
#include "scenario/lsp_messaggi.h"
#include "scenario/lsp_servizio.h"

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

void prova_file_compilati(const uint8_t* dati, size_t quanti) {
  if (quanti == 0) return;
  const bool con_linea = (dati[0] & 1) != 0;
  size_t pos = 1;
  auto dimensione = [&] {
    size_t v = 0;
    for (int i = 0; i < 4 && pos < quanti; ++i, ++pos) v |= static_cast<size_t>(dati[pos]) << (8 * i);
    return v;
  };
  const size_t n_sim = dimensione();
  const size_t n_dat = dimensione();
  std::string_view resto(reinterpret_cast<const char*>(dati + pos), quanti - pos);
  auto prendi = [&resto](size_t n) {
    const std::string_view v = resto.substr(0, n);
    resto.remove_prefix(v.size());
    return v;
  };
  const std::string_view sim = prendi(n_sim);
  const std::string_view dat = prendi(n_dat);
  const std::string_view linea = resto;

  auto punti = decodifica_punti(sim);
  auto celle = decodifica_celle(dat);
  auto profilo = decodifica_profilo(linea);
  // A file that does not fit its layout says why; one that fits encodes
  // back to its own bytes.
  verifica(punti.ok() || !punti.errore.empty());
  if (celle.ok()) verifica(codifica_celle(celle.dati) == dat);
  if (profilo.ok()) verifica(byte_file_linea(profilo.dati) == linea);
  if (punti.ok()) {
    try {
      verifica(codifica_punti(punti.dati) == sim);
    } catch (const errore_esecuzione&) {
      // A text longer than a compile writes: the reader takes it, the writer does not.
    }
  }
  if (!punti.ok() || !celle.ok() || (con_linea && !profilo.ok())) return;

  scenario_binario s{punti.dati, celle.dati, std::nullopt};
  if (con_linea) s.profilo = profilo.dati;
  const ricostruzione r = ricostruisci(s);
  verifica(r.identico == r.differenze.empty());
  if (r.identico) {
    const compilazione_memoria c = compila_in_memoria(r.nome_scenario, r.codice_treno, r.linea, r.treno, con_linea);
    verifica(c.errore == 0 && confronta_binari(s, c.file).empty());
  }
  verifica(confronta_scenari(s, s).uguali());
}

void prova_lsp_lettore(const uint8_t* dati, size_t quanti) {
  std::istringstream in(std::string(reinterpret_cast<const char*>(dati), quanti));
  size_t corpi = 0;
  // Every message takes at least the bytes of its header: the input runs out.
  for (size_t giri = 0; giri <= quanti + 1; ++giri) {
    const lettura_messaggio m = leggi_messaggio(in);
    if (m.esito == esito_messaggio::fine) return;
    verifica(m.esito == esito_messaggio::scartato ? !m.perche.empty() && m.corpo.empty() : m.perche.empty());
    corpi += m.corpo.size();
    verifica(corpi <= quanti && m.corpo.size() <= corpo_massimo);
  }
  // More messages than bytes: the reader did not move on.
  verifica(false);
}

void prova_lsp_servizio(const uint8_t* dati, size_t quanti) {
  servizio_lsp s;
  size_t risposte = 0;
  s.invia = [&](const std::string& corpo) {
    // Every message the server sends is JSON-RPC.
    verifica(json::parse(corpo).contains("jsonrpc"));
    ++risposte;
  };
  gestisci_messaggio(s, R"({"jsonrpc":"2.0","id":0,"method":"initialize","params":{}})");
  std::istringstream in(std::string(reinterpret_cast<const char*>(dati), quanti));
  for (size_t giri = 0; giri <= quanti + 1 && !s.finito; ++giri) {
    lettura_messaggio m = leggi_messaggio(in);
    if (m.esito == esito_messaggio::fine) break;
    if (m.esito != esito_messaggio::letto) continue;
    json j = json::parse(m.corpo, nullptr, false);
    const json::json_pointer uri("/params/textDocument/uri");
    if (!j.is_discarded() && j.is_object() && j.contains(uri) && j[uri].is_string()) {
      std::string u = j[uri];
      j[uri] = "file:///scenario-fuzz-nowhere/" + u.substr(u.rfind('/') + 1);
      m.corpo = testo_json(j);
    }
    gestisci_messaggio(s, m.corpo);
  }
  verifica(risposte >= 1);
}
