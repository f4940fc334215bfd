#include "core/tracciati.h"

#include <bit>

#include "model/errore_esecuzione.h"
#include "model/nomi_file.h"

namespace {

using std::to_string;

// Appends the fields of a record to a buffer, little-endian.
struct scrittore_record {
  std::string& out;

  template <class T>
  void operator()(const char*, const T& v) {
    using U = std::make_unsigned_t<T>;
    const auto u = static_cast<U>(v);
    for (size_t i = 0; i < sizeof(T); ++i) out += static_cast<char>(static_cast<uint64_t>(u) >> (8 * i));
  }
  void testo(const char* nome, const std::string& t) {
    (*this)(nome, static_cast<uint16_t>(t.size()));
    out += t;
  }
};

// Fills the fields of a record from a buffer, remembering the first field
// that does not fit.
struct lettore_record {
  std::string_view b;
  size_t pos = 0;
  int record = 0;
  std::string errore;

  bool basta(size_t n) const { return n <= b.size() - pos; }
  uint64_t intero(size_t larghezza) {
    uint64_t v = 0;
    for (size_t i = 0; i < larghezza; ++i) {
      v |= static_cast<uint64_t>(static_cast<unsigned char>(b[pos + i])) << (8 * i);
    }
    pos += larghezza;
    return v;
  }

  template <class T>
  void operator()(const char* nome, T& v) {
    if (!errore.empty()) return;
    if (!basta(sizeof(T))) {
      errore = "the file ends inside record " + to_string(record) + ", at field " + nome + " (offset " +
               to_string(pos) + " of " + to_string(b.size()) + " bytes)";
      return;
    }
    v = static_cast<T>(intero(sizeof(T)));
  }
  void testo(const char* nome, std::string& t) {
    uint16_t n = 0;
    (*this)(nome, n);
    if (!errore.empty()) return;
    if (!basta(n)) {
      errore = "record " + to_string(record) + ": a text of " + to_string(n) + " bytes at offset " + to_string(pos) +
               " runs past the end of the file (" + to_string(b.size()) + " bytes)";
      return;
    }
    t = std::string(b.substr(pos, n));
    pos += n;
  }
};

bool finisce_con(std::string_view s, std::string_view fine) {
  if (s.size() < fine.size()) return false;
  std::string_view coda = s.substr(s.size() - fine.size());
  for (size_t i = 0; i < fine.size(); ++i) {
    char c = coda[i];
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c + 32);
    if (c != fine[i]) return false;
  }
  return true;
}

const char* nome_variante(uint16_t tipo) {
  switch (tipo) {
    case variante_intero: return "16-bit integer";
    case variante_doppio: return "double";
    default: return "empty";
  }
}

}  // namespace

std::string codifica_punti(const std::array<punto, numero_punti>& punti) {
  size_t dimensione = 0;
  for (int r = 0; r < numero_punti; ++r) {
    const std::string& t = punti[static_cast<size_t>(r)].testo;
    if (t.size() > lunghezza_testo_massima) {
      throw errore_esecuzione("the text of point record " + to_string(r) + " is " + to_string(t.size()) +
                              " bytes long; at most 32767 can be written");
    }
    dimensione += byte_fissi_punto + t.size();
  }
  std::string out;
  out.reserve(dimensione);
  scrittore_record s{out};
  for (const punto& p : punti) tracciato_punto(p, s);
  return out;
}

std::string codifica_celle(const std::vector<cella>& celle) {
  std::string out;
  out.reserve(byte_per_cella * celle.size());
  scrittore_record s{out};
  for (const cella& c : celle) tracciato_cella(c, s);
  return out;
}

decodificato<tabella_punti> decodifica_punti(std::string_view byte) {
  decodificato<tabella_punti> r;
  if (byte.empty()) {
    r.errore = "the file is empty";
    return r;
  }
  lettore_record l{byte, 0, 0, {}};
  for (int k = 0; k < numero_punti; ++k) {
    l.record = k;
    tracciato_punto(r.dati[static_cast<size_t>(k)], l);
    if (!l.errore.empty()) {
      r.errore = l.errore;
      return r;
    }
  }
  if (l.pos < byte.size()) {
    r.errore = to_string(byte.size() - l.pos) + " bytes follow the last of the " + to_string(numero_punti) + " records";
  }
  return r;
}

decodificato<std::vector<cella>> decodifica_celle(std::string_view byte) {
  decodificato<std::vector<cella>> r;
  if (byte.empty()) {
    r.errore = "the file is empty";
    return r;
  }
  if (byte.size() % byte_per_cella != 0) {
    r.errore = to_string(byte.size()) + " bytes is not a whole number of " + to_string(byte_per_cella) + "-byte cells";
    return r;
  }
  const size_t n = byte.size() / byte_per_cella;
  if (n < 2) {
    r.errore = to_string(byte.size()) + " bytes hold only cell 0; a cell file has at least cells 0 and 1";
    return r;
  }
  r.dati.resize(n);
  lettore_record l{byte, 0, 0, {}};
  for (cella& c : r.dati) tracciato_cella(c, l);
  return r;
}

decodificato<profilo_linea> decodifica_profilo(std::string_view byte) {
  decodificato<profilo_linea> r;
  if (byte.empty()) {
    r.errore = "the file is empty";
    return r;
  }
  std::vector<uint8_t> tipi;
  std::vector<double> valori;
  lettore_record l{byte, 0, 0, {}};
  while (l.pos < byte.size()) {
    const size_t e = tipi.size();
    if (e == 2 * massimo_punti_profilo) {
      r.errore = "more than " + to_string(e) + " elements: longer than the plan of the longest line";
      return r;
    }
    if (!l.basta(byte_tipo_variante)) {
      r.errore = "the file ends inside the type of element " + to_string(e) + " (offset " + to_string(l.pos) + ")";
      return r;
    }
    const size_t dove = l.pos;
    const auto tipo = static_cast<uint16_t>(l.intero(byte_tipo_variante));
    const std::optional<size_t> larghezza = byte_valore_variante(tipo);
    if (!larghezza) {
      r.errore = "element " + to_string(e) + " at offset " + to_string(dove) + " has variant type " + to_string(tipo) +
                 "; a line profile holds only types 0, 2 and 5";
      return r;
    }
    if (!l.basta(*larghezza)) {
      r.errore = "the file ends inside element " + to_string(e) + ": its " + nome_variante(tipo) + " needs " +
                 to_string(*larghezza) + " bytes at offset " + to_string(l.pos) + ", " +
                 to_string(byte.size() - l.pos) + " left";
      return r;
    }
    const uint64_t bit = l.intero(*larghezza);
    double v = 0;
    if (tipo == variante_intero) v = static_cast<double>(static_cast<int16_t>(bit));
    if (tipo == variante_doppio) v = std::bit_cast<double>(bit);
    tipi.push_back(static_cast<uint8_t>(tipo));
    valori.push_back(v);
  }
  if (tipi.size() % 2 != 0) {
    r.errore = to_string(tipi.size()) + " elements do not split into two equal halves, one for each coordinate";
    return r;
  }
  const size_t n = tipi.size() / 2;
  profilo_linea& p = r.dati;
  p.limite = static_cast<int32_t>(n) - 1;
  for (int c = 0; c < 2; ++c) {
    const auto da = static_cast<std::ptrdiff_t>(static_cast<size_t>(c) * n);
    const auto a = static_cast<std::ptrdiff_t>(static_cast<size_t>(c + 1) * n);
    p.tipi[c].assign(tipi.begin() + da, tipi.begin() + a);
    p.valori[c].assign(valori.begin() + da, valori.begin() + a);
  }
  return r;
}

std::optional<genere_file> genere_da_nome(std::string_view nome) {
  if (finisce_con(nome, coda_file_linea)) return genere_file::profilo;
  if (finisce_con(nome, estensione_dat)) return genere_file::celle;
  if (finisce_con(nome, estensione_sim)) return genere_file::punti;
  return std::nullopt;
}

const char* descrizione_genere(genere_file g) {
  switch (g) {
    case genere_file::punti: return "train scenario file";
    case genere_file::celle: return "train cell file";
    case genere_file::profilo: return "line profile file";
  }
  return "";
}
