#ifndef SCENARIO_TOOLS_OGGETTI_MAPPA_H
#define SCENARIO_TOOLS_OGGETTI_MAPPA_H

// What the map shows of the cells and the point table, gathered once, with
// the words of its tooltips and labels.

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "scenario/disegno_mappa.h"

struct oggetti_mappa {
  std::vector<int32_t> segnali;
  std::vector<std::array<int32_t, 2>> rallentamenti;  // start cell, end cell
  std::vector<int32_t> avvisi;
  std::vector<int32_t> cartelli;
  std::vector<int32_t> indicatori;
};
oggetti_mappa raccogli_oggetti(const std::vector<cella>& c);

struct stazione_mappa {
  int record;
  int32_t posizione;
  const punto* p;
};
std::vector<stazione_mappa> stazioni_di(const tabella_punti& punti);

// "segnale at 1250 m (1.250 km): left 5 1 0, ..."
std::string titolo_cella(const vista_scenario& s, int32_t k);
std::string titolo_stazione(const stazione_mappa& s);
// The text of the sign at cell k (UTF-8), or nothing when its cell names no
// sign text.
std::string testo_cartello(const vista_scenario& s, int32_t k);
std::string km(int64_t metri);

// Sizes of the drawing, in SVG user units.
namespace misure_mappa {
constexpr double larghezza_svg = 1600;
constexpr double sinistra = 70;     // left edge of the plan and of the charts
constexpr double larghezza = 1380;  // their width
constexpr double altezza_grafico = 110;
}  // namespace misure_mappa

// The metres of the line a drawing shows, and where they fall across it.
struct finestra_mappa {
  int64_t da = 0;
  int64_t a = 1;
  double x(double m) const {
    return misure_mappa::sinistra + (m - static_cast<double>(da)) / static_cast<double>(a - da) * misure_mappa::larghezza;
  }
  bool contiene(int64_t m) const { return m >= da && m <= a; }
};

#endif
