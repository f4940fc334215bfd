#include "model/modello.h"

#include <new>
#include <string>

#if defined(__linux__)
#include <sys/mman.h>
#endif

#include "model/conversioni.h"
#include "model/errore_esecuzione.h"

namespace {

constexpr size_t pagina_grande = size_t{2} << 20;

// Only a hint: nothing changes when the system does not take it.
void chiedi_pagine_grandi([[maybe_unused]] void* inizio, [[maybe_unused]] size_t byte) {
#if defined(__linux__) && defined(MADV_HUGEPAGE)
  madvise(inizio, byte, MADV_HUGEPAGE);
#endif
}

[[noreturn]] void fuori_tabella(const char* tabella, int64_t k) {
  throw errore_esecuzione(std::string("index ") + std::to_string(k) + " outside " + tabella);
}

}  // namespace

void* alloca_memoria_piano(size_t byte) {
  if (byte < pagina_grande) return ::operator new(byte);
  void* p = ::operator new(byte, std::align_val_t{pagina_grande});
  chiedi_pagine_grandi(p, byte);
  return p;
}

void libera_memoria_piano(void* p, size_t byte) noexcept {
  if (byte < pagina_grande) {
    ::operator delete(p, byte);
  } else {
    ::operator delete(p, byte, std::align_val_t{pagina_grande});
  }
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
