#include "core/file_binari.h"

#include <algorithm>
#include <cstdint>
#include <memory>
#include <string_view>

#include "core/tracciati.h"
#include "model/conversioni.h"
#include "model/errore_esecuzione.h"
#include "model/nomi_file.h"

namespace {

// How many of the types t[0..n) are each of the three the file holds. The
// counts of a stretch of at most 255 elements fit a byte, so that each stretch
// is counted sixteen or more types at a time.
struct conti_tipi {
  size_t doppi = 0, interi = 0, vuoti = 0;
};
conti_tipi conta_tipi(const uint8_t* t, size_t n) {
  conti_tipi c;
  for (size_t i = 0; i < n;) {
    const size_t fine = std::min(n, i + 255);
    uint8_t d = 0, k = 0, v = 0;
    for (; i < fine; ++i) {
      d = static_cast<uint8_t>(d + (t[i] == variante_doppio));
      k = static_cast<uint8_t>(k + (t[i] == variante_intero));
      v = static_cast<uint8_t>(v + (t[i] == variante_vuota));
    }
    c.doppi += d;
    c.interi += k;
    c.vuoti += v;
  }
  return c;
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
    const auto [doppi, interi, vuoti] = conta_tipi(tipi, punti);
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
    const auto larghezza = [](uint16_t tipo) { return byte_tipo_variante + *byte_valore_variante(tipo); };
    dimensione += larghezza(variante_doppio) * doppi + larghezza(variante_intero) * interi +
                  larghezza(variante_vuota) * vuoti;
  }
  return dimensione;
}

// The bytes of elements [da, a) of coordinate c, from `o` on; returns the
// place after them. The elements have been checked.
char* elementi_linea(const profilo_linea& p, int c, size_t da, size_t a, char* o) {
  const uint8_t* tipi = p.tipi[c].data();
  const double* valori = p.valori[c].data();
  for (size_t i = da; i < a; ++i) o = codifica_elemento(o, tipi[i], valori[i]);
  return o;
}

// The line profile file, handed over in pieces of a block small enough to
// stay in the cache between filling it and writing it out. The elements have
// been checked.
void produci_linea(const profilo_linea& p, const emettitore& emetti) {
  constexpr size_t capienza = size_t{1} << 18;  // 256 KB
  constexpr size_t elementi_per_blocco = capienza / byte_massimi_elemento;
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

std::string byte_file_sim(const modello& m) { return codifica_punti(m.punti); }

std::string byte_file_dat(const modello& m) { return codifica_celle(m.celle); }

std::vector<file_binario> file_binari(const modello& m) {
  std::vector<file_binario> file;
  if (m.genera_linea != 0) {
    const std::string nome = nome_file_linea(m);
    // Without a plan the file would come out empty, which a reader would take
    // for a line of no length.
    if (!m.profilo.allocato()) {
      throw errore_esecuzione("cannot write " + nome + ": the line plan was not computed");
    }
    // Checked whole before the file is touched; then written as it is produced.
    const size_t dimensione = dimensione_file_linea(m.profilo);
    file.push_back({nome, dimensione, [&m](const emettitore& emetti) { produci_linea(m.profilo, emetti); }});
  }
  auto intero = [](std::string byte) {
    auto b = std::make_shared<const std::string>(std::move(byte));
    return [b](const emettitore& emetti) { emetti(*b); };
  };
  std::string sim = byte_file_sim(m);
  const size_t dimensione_sim = sim.size();
  file.push_back({nome_file_sim(m), dimensione_sim, intero(std::move(sim))});
  std::string dat = byte_file_dat(m);
  const size_t dimensione_dat = dat.size();
  file.push_back({nome_file_dat(m), dimensione_dat, intero(std::move(dat))});
  return file;
}

std::vector<std::string> scrivi_file_binari(const modello& m, archivio& a) {
  std::vector<std::string> scritti;
  for (const file_binario& f : file_binari(m)) {
    a.scrivi_a_pezzi(f.nome, f.dimensione, f.produci);
    scritti.push_back(f.nome);
  }
  return scritti;
}
