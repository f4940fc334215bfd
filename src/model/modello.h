#ifndef SCENARIO_MODEL_MODELLO_H
#define SCENARIO_MODEL_MODELLO_H

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <new>
#include <string>
#include <type_traits>
#include <utility>
#include <vector>

#include "model/diagnostica.h"

// The compiled scenario: everything a compile fills and the binary files hold.
// Field order and widths are those of the files.

// Object kinds of a cell.
enum tipo_cella : uint8_t {
  vuota = 0,
  segnale = 1,
  fine_rallentamento = 2,
  inizio_rallentamento = 3,
  avviso_rallentamento = 4,
  tabella_rallentamento = 5,
  indicatore_v_max = 6,
  fermata = 10,
  riempimento_montagna = 11,
  abbattimento = 12,
  abbattimento_zero = 13,
  cartello = 14,
};

// One cell stands for 50 m of line.
struct cella {
  uint8_t tipo = 0;
  int16_t valore = 0;
  int16_t valore_2 = 0;
  int16_t valore_3 = 0;
  int16_t valore_4 = 0;
  uint8_t tempo = 0;
  // The last five describe the stretch of line, whatever object the cell holds.
  uint8_t preavviso = 0;
  uint8_t montagna = 0;
  uint8_t velocita = 0;
  uint8_t pendenza = 0;
  uint8_t aderenza = 0;
};

// A record of the point table: a station, a sign text or a header slot.
// `testo` holds Windows-1252 bytes.
struct punto {
  uint8_t tipo = 0;
  int32_t inizio = 0;
  int32_t fine = 0;
  int32_t posizione = 0;
  uint8_t opzione_1 = 0;
  std::string testo;
  int16_t intero_1 = 0;
  int16_t intero_2 = 0;
  int16_t intero_3 = 0;
  int16_t intero_4 = 0;
  int16_t intero_5 = 0;
  uint8_t opzione_2 = 0;
  uint8_t sosta = 0;
  uint8_t opzione_3 = 0;
  uint8_t opzione_4 = 0;
  int32_t orario = 0;
};

// The longest text a record can hold: its length is written in 16 bits.
constexpr size_t lunghezza_testo_massima = 32767;

// Stores a record's text; a longer one than the file can hold throws
// errore_esecuzione.
void metti_testo(punto& p, std::string testo);

// Records of the point table with a fixed role.
constexpr int numero_punti = 87;
constexpr int primo_cartello = 80;  // sign texts fill downward from here
constexpr int progressiva_tre = 81;
constexpr int progressiva_due = 82;
constexpr int progressiva_uno = 83;
constexpr int punto_treno = 84;     // inizio massa_frenata, fine lunghezza_percorso, posizione numero_vetture
constexpr int punto_scenario = 85;  // sfondi, scenario name, marca_sim, codice_st
constexpr int punto_codici = 86;    // signal repetition, train code, sabbia, orologio

// Variant types of a plan element, as written to the line profile file.
enum tipo_variante : uint8_t {
  variante_vuota = 0,
  variante_intero = 2,   // 16-bit integer
  variante_doppio = 5,   // IEEE double
};

// The allocator of the coordinates: elements made without a value when none
// is given (resize(n) leaves them as `new T` would). The compile writes the
// plan's megabytes whole right after making them, so filling them with zeros
// first would only double the writing.
template <typename T>
struct allocatore_piano {
  using value_type = T;

  allocatore_piano() noexcept = default;
  template <typename U>
  allocatore_piano(const allocatore_piano<U>&) noexcept {}

  T* allocate(size_t n) { return std::allocator<T>().allocate(n); }
  void deallocate(T* p, size_t n) noexcept { std::allocator<T>().deallocate(p, n); }

  template <typename U>
  void construct(U* p) noexcept(std::is_nothrow_default_constructible_v<U>) {
    ::new (static_cast<void*>(p)) U;
  }
  template <typename U, typename... A>
  void construct(U* p, A&&... a) {
    ::new (static_cast<void*>(p)) U(std::forward<A>(a)...);
  }
};

template <typename T, typename U>
bool operator==(const allocatore_piano<T>&, const allocatore_piano<U>&) noexcept {
  return true;
}

// The coordinates of the plan, one element per metre.
using serie_coordinate = std::vector<double, allocatore_piano<double>>;

// The line plan: for each metre 0..limite of the extended line, two
// coordinates, each with the variant type the file needs. Stored coordinate by
// coordinate, which is also the order of the file. The value of an empty
// element is not defined and never read.
struct profilo_linea {
  int32_t limite = -1;  // upper bound of the first index; -1 = not allocated
  std::array<serie_coordinate, 2> valori;
  std::array<std::vector<uint8_t>, 2> tipi;

  bool allocato() const { return limite >= 0; }
};

struct modello {
  std::string nome_scenario;  // Windows-1252 bytes
  std::string codice_treno;   // Windows-1252 bytes
  std::string riga;           // the field last read
  int32_t genera_linea = 0;
  int32_t lunghezza_estesa = 0;
  int32_t numero_celle = 0;
  int32_t numero_montagne = 0;
  std::array<int32_t, 81> montagne_inizio{};
  std::array<int32_t, 81> montagne_fine{};
  int32_t numero_errore = 0;
  int32_t posizione_errore = 0;

  std::vector<cella> celle;  // 0..numero_celle once the line length is read
  std::array<punto, numero_punti> punti{};
  profilo_linea profilo;

  // Where the texts' records came from, when someone asks; not part of the files.
  diagnostica* traccia = nullptr;

  bool griglia_presente() const { return !celle.empty(); }
};

// Checked access: an index outside the array throws errore_esecuzione.
cella& cella_di(modello& m, int64_t k);
const cella& cella_di(const modello& m, int64_t k);
punto& punto_di(modello& m, int64_t k);

// The name of a cell kind ("segnale", "cartello", ...); nullptr for a code
// that is never stored.
const char* nome_tipo_cella(uint8_t tipo);

// A cell is free when it is empty or only mountain fill.
inline bool libera(const cella& c) { return c.tipo == vuota || c.tipo == riempimento_montagna; }

// The cell of a position p: CLng(p / 50 + 1).
int32_t cella_della_posizione(int32_t p);

// The grid 0..numero_celle for a line of `lunghezza` metres (all zero), and the
// derived bounds.
void alloca_griglia(modello& m, int32_t lunghezza);
// The plan 0..lunghezza_estesa by 0..1, every element empty (its value unset).
void alloca_profilo(modello& m);

// Sets one plan element.
inline void imposta_punto(profilo_linea& p, int32_t metro, int coordinata, double v, uint8_t tipo) {
  p.valori[coordinata][metro] = v;
  p.tipi[coordinata][metro] = tipo;
}

#endif
