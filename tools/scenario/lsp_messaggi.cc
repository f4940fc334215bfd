#include "scenario/lsp_messaggi.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string_view>

namespace {

// A header line longer than this is no header an editor writes.
constexpr size_t riga_massima = 4096;
// Nor are more lines than this.
constexpr int righe_massime = 64;

enum class esito_riga { letta, troppo_lunga, fine };

// One header line without its line end (CR LF, or a lone LF). A line too
// long is read to its end and dropped.
esito_riga leggi_riga(std::istream& in, std::string& riga, bool& letto_qualcosa) {
  riga.clear();
  bool lunga = false;
  for (;;) {
    const int c = in.get();
    if (c == std::char_traits<char>::eof()) return esito_riga::fine;
    letto_qualcosa = true;
    if (c == '\n') break;
    if (riga.size() < riga_massima) {
      riga.push_back(static_cast<char>(c));
    } else {
      lunga = true;
    }
  }
  if (!riga.empty() && riga.back() == '\r') riga.pop_back();
  return lunga ? esito_riga::troppo_lunga : esito_riga::letta;
}

bool stesso_nome(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    auto m = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; };
    if (m(a[i]) != m(b[i])) return false;
  }
  return true;
}

std::string_view senza_spazi(std::string_view s) {
  while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
  while (!s.empty() && (s.back() == ' ' || s.back() == '\t')) s.remove_suffix(1);
  return s;
}

// The value of Content-Length: decimal digits only. Values past any size
// are kept at the largest, which is refused as too large.
std::optional<uint64_t> lunghezza(std::string_view v) {
  v = senza_spazi(v);
  if (v.empty()) return std::nullopt;
  uint64_t n = 0;
  for (char c : v) {
    if (c < '0' || c > '9') return std::nullopt;
    n = n > (UINT64_MAX - 9) / 10 ? UINT64_MAX : n * 10 + static_cast<uint64_t>(c - '0');
  }
  return n;
}

// Reads and drops n bytes; false when the input ends first.
bool salta(std::istream& in, uint64_t n) {
  std::array<char, 65536> pezzo;
  while (n > 0) {
    const auto parte = static_cast<std::streamsize>(n < pezzo.size() ? n : pezzo.size());
    in.read(pezzo.data(), parte);
    if (in.gcount() != parte) return false;
    n -= static_cast<uint64_t>(parte);
  }
  return true;
}

}  // namespace

lettura_messaggio leggi_messaggio(std::istream& in) {
  lettura_messaggio l;
  std::optional<uint64_t> lunghezza_corpo;
  bool lunghezza_sbagliata = false;
  bool letto_qualcosa = false;
  bool malformato = false;
  std::string perche;
  std::string riga;
  int righe = 0;
  for (;;) {
    const esito_riga e = leggi_riga(in, riga, letto_qualcosa);
    if (e == esito_riga::fine) {
      l.esito = esito_messaggio::fine;
      if (letto_qualcosa) l.perche = "the input ended inside a message header";
      return l;
    }
    if (e == esito_riga::letta && riga.empty()) {
      // Blank lines before a header are no header at all.
      if (righe == 0 && !malformato) continue;
      break;
    }
    ++righe;
    if (e == esito_riga::troppo_lunga) {
      malformato = true;
      perche = "a header line longer than " + std::to_string(riga_massima) + " bytes";
      continue;
    }
    if (righe > righe_massime) {
      malformato = true;
      perche = "more than " + std::to_string(righe_massime) + " header lines";
      continue;
    }
    const size_t due_punti = riga.find(':');
    if (due_punti == std::string::npos) {
      malformato = true;
      perche = "a header line without ':'";
      continue;
    }
    if (stesso_nome(senza_spazi(std::string_view(riga).substr(0, due_punti)), "Content-Length")) {
      lunghezza_corpo = lunghezza(std::string_view(riga).substr(due_punti + 1));
      if (!lunghezza_corpo) lunghezza_sbagliata = true;
    }
  }
  if (malformato || lunghezza_sbagliata || !lunghezza_corpo) {
    l.esito = esito_messaggio::scartato;
    l.perche = malformato            ? "malformed header (" + perche + "); the message is passed over"
               : lunghezza_sbagliata ? std::string("a Content-Length that is not a number; the message is passed over")
                                     : std::string("a header without Content-Length; the message is passed over");
    return l;
  }
  if (*lunghezza_corpo > corpo_massimo) {
    l.perche = "a Content-Length of " + std::to_string(*lunghezza_corpo) + " bytes, above the limit of " +
               std::to_string(corpo_massimo >> 20) + " MiB; the message is passed over";
    if (!salta(in, *lunghezza_corpo)) {
      l.esito = esito_messaggio::fine;
      l.perche += ", and the input ended inside it";
      return l;
    }
    l.esito = esito_messaggio::scartato;
    return l;
  }
  const auto n = static_cast<size_t>(*lunghezza_corpo);
  // Read in pieces: a length that the input does not hold costs no more
  // memory than the bytes that came.
  constexpr size_t pezzo = 1 << 20;
  while (l.corpo.size() < n) {
    const size_t prima = l.corpo.size();
    const size_t parte = n - prima < pezzo ? n - prima : pezzo;
    l.corpo.resize(prima + parte);
    in.read(l.corpo.data() + prima, static_cast<std::streamsize>(parte));
    const auto letti = static_cast<size_t>(in.gcount());
    if (letti != parte) {
      l.corpo.clear();
      l.esito = esito_messaggio::fine;
      l.perche = "the input ended after " + std::to_string(prima + letti) + " of the " + std::to_string(n) +
                 " bytes of a message";
      return l;
    }
  }
  l.esito = esito_messaggio::letto;
  return l;
}

void scrivi_messaggio(std::ostream& out, const std::string& corpo) {
  out << "Content-Length: " << corpo.size() << "\r\n\r\n" << corpo;
  out.flush();
}
