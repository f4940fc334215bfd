#include "core/file_binari.h"

#include <algorithm>
#include <bit>
#include <cstdint>
#include <cstring>
#include <memory>
#include <string_view>

#include "model/conversioni.h"
#include "model/errore_esecuzione.h"
#include "model/nomi_file.h"

namespace {

// Fields are gathered in a small block and appended to the buffer in one go:
// the profile file reaches 20 MB, so no per-byte or stream writes.
class blocco {
 public:
  void byte(uint8_t v) {
    if (n_ == sizeof b_) throw errore_esecuzione("a binary record outgrew its write block");
    b_[n_++] = static_cast<char>(v);
  }
  void intero_16(uint16_t v) {
    byte(static_cast<uint8_t>(v));
    byte(static_cast<uint8_t>(v >> 8));
  }
  void intero_32(uint32_t v) {
    for (int i = 0; i < 32; i += 8) byte(static_cast<uint8_t>(v >> i));
  }
  void aggiungi_a(std::string& out) {
    out.append(b_, n_);
    n_ = 0;
  }

 private:
  char b_[32];  // the widest group between two appends is 18 bytes
  size_t n_ = 0;
};

void controlla_testo(const std::string& t, int record) {
  if (t.size() > lunghezza_testo_massima) {
    throw errore_esecuzione("the text of point record " + std::to_string(record) + " is " +
                            std::to_string(t.size()) + " bytes long; at most 32767 can be written");
  }
}

// The size of the line profile file, after checking every element: an
// element the file cannot hold throws before a byte is produced.
size_t dimensione_file_linea(const profilo_linea& p) {
  const size_t punti = static_cast<size_t>(p.limite) + 1;
  size_t dimensione = 0;
  for (int c = 0; c < 2; ++c) {
    if (p.valori[c].size() != punti || p.tipi[c].size() != punti) {
      throw errore_esecuzione("the line plan does not match its bound");
    }
    const uint8_t* tipi = p.tipi[c].data();
    const double* valori = p.valori[c].data();
    const auto quanti = [&](uint8_t tipo) { return static_cast<size_t>(std::count(tipi, tipi + punti, tipo)); };
    const size_t doppi = quanti(variante_doppio);
    const size_t interi = quanti(variante_intero);
    const size_t vuoti = quanti(variante_vuota);
    if (doppi + interi + vuoti != punti) {
      for (size_t i = 0; i < punti; ++i) {
        if (tipi[i] != variante_doppio && tipi[i] != variante_intero && tipi[i] != variante_vuota) {
          throw errore_esecuzione("the line plan holds an element of unknown type " +
                                  std::to_string(tipi[i]));
        }
      }
    }
    for (size_t i = 0, visti = 0; visti < interi; ++i) {
      if (tipi[i] != variante_intero) continue;
      CInt(valori[i]);  // throws when it does not fit 16 bits
      ++visti;
    }
    dimensione += 10 * doppi + 4 * interi + 2 * vuoti;
  }
  return dimensione;
}

// Stores a little-endian value at `o` and returns the place after it.
template <typename T>
char* metti(char* o, T v) {
  if constexpr (std::endian::native == std::endian::little) {
    std::memcpy(o, &v, sizeof v);
  } else {
    for (size_t i = 0; i < sizeof v; ++i) o[i] = static_cast<char>(static_cast<uint64_t>(v) >> (8 * i));
  }
  return o + sizeof v;
}

// The bytes of elements [da, a) of coordinate c, from `o` on; returns the
// place after them. The elements have been checked.
char* elementi_linea(const profilo_linea& p, int c, size_t da, size_t a, char* o) {
  const uint8_t* tipi = p.tipi[c].data();
  const double* valori = p.valori[c].data();
  for (size_t i = da; i < a; ++i) {
    const uint8_t t = tipi[i];
    if (t == variante_doppio) {
      o = metti<uint16_t>(o, variante_doppio);
      o = metti(o, std::bit_cast<uint64_t>(valori[i]));
    } else {
      o = metti<uint16_t>(o, t);
      if (t == variante_intero) o = metti(o, static_cast<uint16_t>(CInt(valori[i])));
    }
  }
  return o;
}

// The line profile file, handed over in pieces of a block small enough to
// stay in the cache between filling it and writing it out. The elements have
// been checked.
void produci_linea(const profilo_linea& p, const emettitore& emetti) {
  constexpr size_t capienza = size_t{1} << 18;  // 256 KB
  constexpr size_t elementi_per_blocco = capienza / 10;  // 10 bytes at most each
  const std::unique_ptr<char[]> blocco(new char[capienza]);
  const size_t punti = static_cast<size_t>(p.limite) + 1;
  for (int c = 0; c < 2; ++c) {
    for (size_t i = 0; i < punti; i += elementi_per_blocco) {
      const char* fine = elementi_linea(p, c, i, std::min(punti, i + elementi_per_blocco), blocco.get());
      emetti(std::string_view(blocco.get(), static_cast<size_t>(fine - blocco.get())));
    }
  }
}

}  // namespace

std::string byte_file_linea(const profilo_linea& p) {
  if (!p.allocato()) return "";
  std::string out;
  out.reserve(dimensione_file_linea(p));
  produci_linea(p, [&out](std::string_view pezzo) { out.append(pezzo); });
  return out;
}

std::string byte_file_sim(const modello& m) {
  size_t dimensione = 0;
  for (int r = 0; r < numero_punti; ++r) {
    controlla_testo(m.punti[r].testo, r);
    dimensione += 34 + m.punti[r].testo.size();
  }
  std::string out;
  out.reserve(dimensione);
  blocco b;
  for (const punto& q : m.punti) {
    b.byte(q.tipo);
    b.intero_32(static_cast<uint32_t>(q.inizio));
    b.intero_32(static_cast<uint32_t>(q.fine));
    b.intero_32(static_cast<uint32_t>(q.posizione));
    b.byte(q.opzione_1);
    b.intero_16(static_cast<uint16_t>(q.testo.size()));
    b.aggiungi_a(out);
    out += q.testo;
    b.intero_16(static_cast<uint16_t>(q.intero_1));
    b.intero_16(static_cast<uint16_t>(q.intero_2));
    b.intero_16(static_cast<uint16_t>(q.intero_3));
    b.intero_16(static_cast<uint16_t>(q.intero_4));
    b.intero_16(static_cast<uint16_t>(q.intero_5));
    b.byte(q.opzione_2);
    b.byte(q.sosta);
    b.byte(q.opzione_3);
    b.byte(q.opzione_4);
    b.intero_32(static_cast<uint32_t>(q.orario));
    b.aggiungi_a(out);
  }
  return out;
}

std::string byte_file_dat(const modello& m) {
  std::string out;
  out.reserve(15 * m.celle.size());
  blocco b;
  for (const cella& c : m.celle) {
    b.byte(c.tipo);
    b.intero_16(static_cast<uint16_t>(c.valore));
    b.intero_16(static_cast<uint16_t>(c.valore_2));
    b.intero_16(static_cast<uint16_t>(c.valore_3));
    b.intero_16(static_cast<uint16_t>(c.valore_4));
    b.byte(c.tempo);
    b.byte(c.preavviso);
    b.byte(c.montagna);
    b.byte(c.velocita);
    b.byte(c.pendenza);
    b.byte(c.aderenza);
    b.aggiungi_a(out);
  }
  return out;
}

std::vector<std::string> scrivi_file_binari(const modello& m, archivio& a) {
  std::vector<std::string> scritti;
  if (m.genera_linea != 0) {
    const std::string nome = nome_file_linea(m);
    // Without a plan the file would come out empty, which a reader would take
    // for a line of no length.
    if (!m.profilo.allocato()) {
      throw errore_esecuzione("cannot write " + nome + ": the line plan was not computed");
    }
    // Checked whole before the file is touched; then written as it is produced.
    const size_t dimensione = dimensione_file_linea(m.profilo);
    a.scrivi_a_pezzi(nome, dimensione, [&m](const emettitore& emetti) { produci_linea(m.profilo, emetti); });
    scritti.push_back(nome);
  }
  const std::string sim = nome_file_sim(m);
  a.scrivi(sim, byte_file_sim(m));
  scritti.push_back(sim);
  const std::string dat = nome_file_dat(m);
  a.scrivi(dat, byte_file_dat(m));
  scritti.push_back(dat);
  return scritti;
}
