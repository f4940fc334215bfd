#ifndef SCENARIO_TOOLS_PIANO_MAPPA_H
#define SCENARIO_TOOLS_PIANO_MAPPA_H

// The geometry of the map: the plan of the line turned and scaled into
// drawing units, and the round steps of its scales.

#include <cstdint>
#include <optional>
#include <vector>

#include "model/modello.h"

struct p2 {
  double x = 0;
  double y = 0;
};

// The plan in drawing units, over the metres `da` to `a` of the line: turned
// so that this part runs from its first point to its last from left to right
// (the left of the direction of travel is up), scaled to fit `larghezza` by
// at most `altezza_massima`, the top-left corner of its extent at (0, 0).
class piano {
 public:
  static std::optional<piano> da(const profilo_linea& p, int64_t da, int64_t a, double larghezza,
                                 double altezza_massima);

  double altezza() const { return altezza_; }
  double scala() const { return scala_; }  // drawing units per metre

  // The point drawn for metre `m`: the present point at or before it (or the
  // first of the part).
  p2 a_metro(int64_t m) const;

  // The plan as polylines (a new one after each gap), without the points that
  // lie closer than `passo` to the last one kept.
  std::vector<std::vector<p2>> tratti(double passo) const;

 private:
  int64_t primo_metro_ = 0;  // the metre of punti_[0]
  std::vector<bool> presente_;
  std::vector<p2> punti_;
  std::vector<size_t> a_metro_;
  double scala_ = 1;
  double altezza_ = 0;
};

// A round step for an axis or a scale: the smallest of 1, 2, 5 × 10^k not
// below `minimo`.
double passo_tondo(double minimo);

#endif
