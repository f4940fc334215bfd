#ifndef SCENARIO_MODEL_CONVERSIONI_H
#define SCENARIO_MODEL_CONVERSIONI_H

#include <cstdint>

// Conversions of a real value to an integer: nearest integer, halves to the
// even neighbour (2.5 -> 2, 3.5 -> 4). A result outside the target range, or a
// value that is not a number, throws errore_esecuzione.
int32_t CLng(double x);
int16_t CInt(double x);
uint8_t CByte(double x);

// Checked 32-bit arithmetic: an overflow throws errore_esecuzione.
int32_t somma(int32_t a, int32_t b);
int32_t differenza(int32_t a, int32_t b);
int32_t prodotto(int32_t a, int32_t b);

// A 32-bit value stored into a narrower field keeps its low bits.
inline int16_t bassi_16(int32_t x) { return static_cast<int16_t>(static_cast<uint16_t>(x)); }
inline uint8_t bassi_8(int32_t x) { return static_cast<uint8_t>(x); }

#endif
