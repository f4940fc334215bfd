#ifndef SCENARIO_CORE_TRACCIATI_H
#define SCENARIO_CORE_TRACCIATI_H

// The record layouts of the three binary files of a scenario, each described
// once and used both to write and to read: packed, little-endian, no header,
// no padding. A layout is a function that hands every field of a record, in
// file order, to a visitor; the writer appends the field's bytes, the reader
// fills the field from them. The reader trusts nothing: every read is
// bounds-checked, and bytes that do not fit the layout give a message saying
// where (offset) and what was expected, never a crash.

#include <array>
#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "model/conversioni.h"
#include "model/modello.h"

// ---- The layouts ------------------------------------------------------------

// A cell of the train cell file: 15 bytes.
template <class C, class V>
void tracciato_cella(C& c, V& v) {
  v("tipo", c.tipo);
  v("valore", c.valore);
  v("valore_2", c.valore_2);
  v("valore_3", c.valore_3);
  v("valore_4", c.valore_4);
  v("tempo", c.tempo);
  v("preavviso", c.preavviso);
  v("montagna", c.montagna);
  v("velocita", c.velocita);
  v("pendenza", c.pendenza);
  v("aderenza", c.aderenza);
}
constexpr int byte_per_cella = 15;

// A record of the point table in the train scenario file: 34 bytes and its
// text, whose length comes first as a 16-bit count.
template <class P, class V>
void tracciato_punto(P& p, V& v) {
  v("tipo", p.tipo);
  v("inizio", p.inizio);
  v("fine", p.fine);
  v("posizione", p.posizione);
  v("opzione_1", p.opzione_1);
  v.testo("testo", p.testo);
  v("intero_1", p.intero_1);
  v("intero_2", p.intero_2);
  v("intero_3", p.intero_3);
  v("intero_4", p.intero_4);
  v("intero_5", p.intero_5);
  v("opzione_2", p.opzione_2);
  v("sosta", p.sosta);
  v("opzione_3", p.opzione_3);
  v("opzione_4", p.opzione_4);
  v("orario", p.orario);
}
constexpr int byte_fissi_punto = 34;

// An element of the line profile file: its variant type in 16 bits, then
// nothing (empty), a 16-bit integer or an IEEE double. The file holds every
// element of the first coordinate, then every element of the second.
constexpr size_t byte_tipo_variante = 2;
// The bytes after the type; nothing for a type the file cannot hold.
constexpr std::optional<size_t> byte_valore_variante(uint16_t tipo) {
  switch (tipo) {
    case variante_vuota: return 0;
    case variante_intero: return 2;
    case variante_doppio: return 8;
    default: return std::nullopt;
  }
}
constexpr size_t byte_massimi_elemento = byte_tipo_variante + 8;

// The longest line (1000000 m, extended by 7000 m) has 1007001 plan points.
constexpr size_t massimo_punti_profilo = 1007001;

// Stores element (tipo, v) at `o`; returns the place after it. The type is one
// the file holds; an integer that does not fit 16 bits throws
// errore_esecuzione. Inline: the profile file has two million of them.
template <class T>
char* metti_le(char* o, T x) {
  if constexpr (std::endian::native == std::endian::little) {
    std::memcpy(o, &x, sizeof x);
  } else {
    for (size_t i = 0; i < sizeof x; ++i) o[i] = static_cast<char>(static_cast<uint64_t>(x) >> (8 * i));
  }
  return o + sizeof x;
}
inline char* codifica_elemento(char* o, uint8_t tipo, double v) {
  o = metti_le(o, static_cast<uint16_t>(tipo));
  if (tipo == variante_doppio) return metti_le(o, std::bit_cast<uint64_t>(v));
  if (tipo == variante_intero) return metti_le(o, static_cast<uint16_t>(CInt(v)));
  return o;
}

// ---- Reading ----------------------------------------------------------------

// The decoded content of a file, or what keeps the bytes from fitting the
// layout (the message names no file; the caller puts the name in front).
template <class T>
struct decodificato {
  T dati{};
  std::string errore;
  bool ok() const { return errore.empty(); }
};

using tabella_punti = std::array<punto, numero_punti>;

decodificato<tabella_punti> decodifica_punti(std::string_view byte);
decodificato<std::vector<cella>> decodifica_celle(std::string_view byte);
// The plan's upper bound is half the number of elements, less one.
decodificato<profilo_linea> decodifica_profilo(std::string_view byte);

// ---- Writing ----------------------------------------------------------------

// The bytes of the point table; a text longer than 32767 bytes throws
// errore_esecuzione.
std::string codifica_punti(const std::array<punto, numero_punti>& punti);
std::string codifica_celle(const std::vector<cella>& celle);

// ---- The names --------------------------------------------------------------

// The three kinds of binary file, told apart by the end of the name.
enum class genere_file {
  punti,    // NAME_TRAIN.sim: the 87 records of the point table
  celle,    // NAME_TRAIN.dat: the cell grid, 15 bytes a cell
  profilo,  // NAME_linea.dat: the line plan as variants
};

// "_linea.dat" is the line profile, any other ".dat" the cell file, ".sim" the
// point table; letter case is ignored. Nothing for any other name.
std::optional<genere_file> genere_da_nome(std::string_view nome);
const char* descrizione_genere(genere_file g);
// What is wrong with a name that genere_da_nome does not know.
constexpr const char* nome_non_di_scenario =
    "not a name of a scenario file (it should end in .sim, .dat or _linea.dat)";

#endif
