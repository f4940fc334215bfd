#include "scenario/lsp_posizioni.h"

#include <algorithm>

namespace {

// The length of the UTF-8 sequence that starts with byte b; a byte that
// starts none counts as one character of its own.
size_t lunghezza_sequenza(unsigned char b) {
  if (b >= 0xF0 && b <= 0xF4) return 4;
  if (b >= 0xE0) return b <= 0xEF ? 3 : 1;
  if (b >= 0xC2) return 2;
  return 1;
}

// The character at i: its bytes, never past the text's end.
size_t passo(std::string_view t, size_t i) {
  size_t n = lunghezza_sequenza(static_cast<unsigned char>(t[i]));
  n = std::min(n, t.size() - i);
  for (size_t k = 1; k < n; ++k) {
    if ((static_cast<unsigned char>(t[i + k]) & 0xC0) != 0x80) return k;
  }
  return n;
}

size_t unita(size_t byte_carattere, unita_colonna u) {
  if (u == unita_colonna::utf_8) return byte_carattere;
  return byte_carattere == 4 ? 2 : 1;
}

bool fine_riga(char c) { return c == '\n' || c == '\r'; }

// The offset where line `riga` (from 0) starts; the text's size past its end.
size_t inizio_riga(std::string_view t, int32_t riga) {
  size_t i = 0;
  for (int32_t r = 0; r < riga; ++r) {
    while (i < t.size() && !fine_riga(t[i])) ++i;
    if (i >= t.size()) return t.size();
    i += t[i] == '\r' && i + 1 < t.size() && t[i + 1] == '\n' ? 2 : 1;
  }
  return i;
}

}  // namespace

size_t offset_della_posizione(std::string_view testo, posizione_editor p, unita_colonna u) {
  size_t i = inizio_riga(testo, std::max(p.riga, 0));
  size_t contate = 0;
  const size_t volute = static_cast<size_t>(std::max(p.colonna, 0));
  while (i < testo.size() && !fine_riga(testo[i])) {
    const size_t n = passo(testo, i);
    if (contate + unita(n, u) > volute) break;
    contate += unita(n, u);
    i += n;
  }
  return i;
}

posizione_editor posizione_dell_offset(std::string_view testo, size_t offset, unita_colonna u) {
  offset = std::min(offset, testo.size());
  posizione_editor p;
  size_t i = 0;
  while (i < offset) {
    if (testo[i] == '\r' || testo[i] == '\n') {
      const size_t n = testo[i] == '\r' && i + 1 < testo.size() && testo[i + 1] == '\n' ? 2 : 1;
      if (i + n > offset) break;  // inside a CR LF: the end of that line
      i += n;
      ++p.riga;
      p.colonna = 0;
      continue;
    }
    const size_t n = passo(testo, i);
    if (i + n > offset) break;
    p.colonna += static_cast<int32_t>(unita(n, u));
    i += n;
  }
  return p;
}

posizione_editor posizione_del_carattere(std::string_view testo, int32_t riga, int32_t colonna, unita_colonna u) {
  posizione_editor p{std::max(riga - 1, 0), 0};
  size_t i = inizio_riga(testo, p.riga);
  for (int32_t c = 1; c < colonna && i < testo.size() && !fine_riga(testo[i]); ++c) {
    const size_t n = passo(testo, i);
    p.colonna += static_cast<int32_t>(unita(n, u));
    i += n;
  }
  return p;
}

void carattere_della_posizione(std::string_view testo, posizione_editor p, unita_colonna u, int32_t& riga,
                               int32_t& colonna) {
  riga = std::max(p.riga, 0) + 1;
  colonna = 1;
  const size_t fino = offset_della_posizione(testo, p, u);
  for (size_t i = inizio_riga(testo, std::max(p.riga, 0)); i < fino; i += passo(testo, i)) ++colonna;
}

void sostituisci_intervallo(std::string& testo, intervallo_editor i, std::string_view nuovo, unita_colonna u) {
  size_t a = offset_della_posizione(testo, i.inizio, u);
  size_t b = offset_della_posizione(testo, i.fine, u);
  if (b < a) std::swap(a, b);
  testo.replace(a, b - a, nuovo);
}
