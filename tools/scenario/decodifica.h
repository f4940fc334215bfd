#ifndef SCENARIO_TOOLS_DECODIFICA_H
#define SCENARIO_TOOLS_DECODIFICA_H

// Reading the binary files of a compiled scenario from disk, and the small
// interpretations of cell values that the dump, the map, decompile and diff
// share. The layouts themselves are in core/tracciati.h.

#include <array>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/tracciati.h"
#include "model/modello.h"

// The largest file the tool reads; the longest line's profile is about 20 MB.
constexpr std::uintmax_t massimo_byte_file = 64u << 20;

// The whole content of a file, or why it cannot be had ("is a folder, not a
// file", "cannot be read: No such file or directory", ...).
decodificato<std::string> leggi_file(const std::filesystem::path& percorso);

// ---- Interpretation of the values -----------------------------------------


// A signal's three value pairs hold the left value in the tens and the right
// one in the units; valore_4 packs rapp × 10 + sx × 3 + dx. `valido` is false
// when a value does not split that way (negative, or above 99).
struct aspetti_segnale {
  std::array<int, 3> sinistra{};
  std::array<int, 3> destra{};
  int rapp = 0, sx = 0, dx = 0;
  bool valido = false;
};
aspetti_segnale aspetti_di(const cella& c);

// A maximum-speed indicator packs, for each of its three figures, 100 × (side
// s figure / 5) + (side d figure / 5), and its stripes as s × 10 + d. `valido`
// is false when a packed value does not split that way.
struct figure_indicatore {
  std::array<int, 3> lato_s{};
  std::array<int, 3> lato_d{};
  int strisce_s = 0, strisce_d = 0;
  bool valido = false;
};
figure_indicatore figure_di(const cella& c);

// The values of a cell's object in words ("left 5 1 0, right 2 1 0, sx 2, dx 2,
// rapp 0, tempo 250"); empty for an empty cell without values.
std::string sintesi_cella(const cella& c);

// A stretch of consecutive cells with the same value of one field.
struct tratta {
  int32_t prima = 0;   // first cell
  int32_t ultima = 0;  // last cell
  int valore = 0;
};
std::vector<tratta> tratte(const std::vector<cella>& celle, uint8_t cella::*campo);

constexpr int metri_per_cella = 50;

// Seconds as h:mm:ss with two-digit minutes and seconds ("12:43:00",
// "-0:00:05"); hours are not limited to a day.
std::string ore_minuti_secondi(int64_t secondi);

// The clock of the header: three free 16-bit values shown as hh:mm:ss.
std::string orologio_di(const tabella_punti& p);

// The integrity code the train scenario file should carry for its own train
// code and scenario name.
int32_t codice_st_atteso(const tabella_punti& p);

// Which records of the point table are stations (from 1 upward) and which are
// sign texts (from 80 downward); anything else in records 0 to 80 that is not
// empty is "altro".
struct ruoli_punti {
  int ultima_stazione = 0;       // stations are records 1 to ultima_stazione
  int cartello_piu_basso = 81;   // sign texts are records cartello_piu_basso to 80
  std::vector<int> altri;
};
bool punto_vuoto(const punto& p);
ruoli_punti ruoli_di(const tabella_punti& p);

// Extent and length of the plan, over the points whose two coordinates are
// both present and finite.
struct estensione_piano {
  int32_t punti_presenti = 0;
  std::array<double, 2> minimo{};
  std::array<double, 2> massimo{};
  double lunghezza = 0;   // sum of the steps between consecutive present points
  int32_t non_finiti = 0;  // elements holding an infinity or a NaN
};
estensione_piano estensione_di(const profilo_linea& p);

// Runs of element types along one coordinate of the plan.
struct tratta_tipi {
  int32_t primo = 0;
  int32_t ultimo = 0;
  uint8_t tipo = 0;
};
std::vector<tratta_tipi> tratte_tipi(const profilo_linea& p, int coordinata);
const char* nome_variante(uint8_t tipo);

#endif
