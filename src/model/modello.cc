#include "model/modello.h"

#include <string>
#include <utility>

#include "model/conversioni.h"
#include "model/errore_esecuzione.h"

namespace {

[[noreturn]] void fuori_tabella(const char* tabella, int64_t k) {
  throw errore_esecuzione(std::string("index ") + std::to_string(k) + " outside " + tabella);
}

}  // namespace

void metti_testo(punto& p, std::string testo) {
  if (testo.size() > lunghezza_testo_massima) {
    throw errore_esecuzione("a text of " + std::to_string(testo.size()) +
                            " bytes; a record holds at most 32767");
  }
  p.testo = std::move(testo);
}

cella& cella_di(modello& m, int64_t k) {
  if (k < 0 || k >= static_cast<int64_t>(m.celle.size())) fuori_tabella("the cell grid", k);
  return m.celle[static_cast<size_t>(k)];
}

const cella& cella_di(const modello& m, int64_t k) {
  if (k < 0 || k >= static_cast<int64_t>(m.celle.size())) fuori_tabella("the cell grid", k);
  return m.celle[static_cast<size_t>(k)];
}

punto& punto_di(modello& m, int64_t k) {
  if (k < 0 || k >= numero_punti) fuori_tabella("the point table", k);
  return m.punti[static_cast<size_t>(k)];
}

int32_t cella_della_posizione(int32_t p) { return CLng(p / 50.0 + 1); }

void alloca_griglia(modello& m, int32_t lunghezza) {
  m.lunghezza_estesa = somma(lunghezza, 7000);
  m.numero_celle = CLng(m.lunghezza_estesa / 50.0);
  m.celle.assign(static_cast<size_t>(m.numero_celle) + 1, cella{});
}

void alloca_profilo(modello& m) {
  profilo_linea& p = m.profilo;
  p.limite = m.lunghezza_estesa;
  for (int c = 0; c < 2; ++c) {
    const auto n = static_cast<size_t>(p.limite) + 1;
    // Every element empty: the types say so; the values are left unset.
    p.tipi[c].assign(n, variante_vuota);
    p.valori[c] = serie_coordinate();
    p.valori[c].resize(n);
  }
}

const char* nome_tipo_cella(uint8_t tipo) {
  switch (tipo) {
    case vuota: return "vuota";
    case segnale: return "segnale";
    case fine_rallentamento: return "fine_rallentamento";
    case inizio_rallentamento: return "inizio_rallentamento";
    case avviso_rallentamento: return "avviso_rallentamento";
    case tabella_rallentamento: return "tabella_rallentamento";
    case indicatore_v_max: return "indicatore_v_max";
    case fermata: return "fermata";
    case riempimento_montagna: return "riempimento_montagna";
    case abbattimento: return "abbattimento";
    case abbattimento_zero: return "abbattimento_zero";
    case cartello: return "cartello";
    default: return nullptr;
  }
}
