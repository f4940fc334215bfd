#include "model/conversioni.h"

#include <cmath>
#include <string>

#include "model/errore_esecuzione.h"

namespace {

// std::nearbyint rounds in the current mode; nothing in the program changes it
// from round-to-nearest-even.
double arrotonda(double x, double minimo, double massimo, const char* nome) {
  double r = std::nearbyint(x);
  if (std::isnan(r) || r < minimo || r > massimo) {
    throw errore_esecuzione(std::string(nome) + ": value out of range");
  }
  return r;
}

}  // namespace

int32_t CLng(double x) {
  return static_cast<int32_t>(arrotonda(x, -2147483648.0, 2147483647.0, "CLng"));
}

int16_t CInt(double x) {
  return static_cast<int16_t>(arrotonda(x, -32768.0, 32767.0, "CInt"));
}

uint8_t CByte(double x) {
  return static_cast<uint8_t>(arrotonda(x, 0.0, 255.0, "CByte"));
}

int32_t somma(int32_t a, int32_t b) {
  int32_t r;
  if (__builtin_add_overflow(a, b, &r)) throw errore_esecuzione("overflow in an addition");
  return r;
}

int32_t differenza(int32_t a, int32_t b) {
  int32_t r;
  if (__builtin_sub_overflow(a, b, &r)) throw errore_esecuzione("overflow in a subtraction");
  return r;
}

int32_t prodotto(int32_t a, int32_t b) {
  int32_t r;
  if (__builtin_mul_overflow(a, b, &r)) throw errore_esecuzione("overflow in a multiplication");
  return r;
}
