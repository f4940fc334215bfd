#include "model/errori.h"

#include <iterator>

namespace {

const voce_errore tabella[] = {
    {1, false, "the line length is below 0 or greater than 1000000 m"},
    {2, false, "a kilometre progressive's position or figure is not a multiple of 50"},
    {3, false, "the start of the signal repetition is not a multiple of 50"},
    {4, false, "the end of the signal repetition is not a multiple of 50"},
    {5, false, "the signal repetition key holds neither \"4\" nor \"9\""},
    {6, true, "a sign falls on an occupied cell"},
    {7, true, "an \"abbattimento\" item falls on an occupied cell"},
    {8, true, "a station position is not a multiple of 50"},
    {9, true, "a station length is not a multiple of 100"},
    {10, false, "the point table is full: the stations reach the sign texts"},
    {11, true, "no free cell for the speed marker in front of a signal before a slowdown warning"},
    {12, true, "no free cell for a speed marker in front of a slowdown start"},
    {13, true, "no free cell for a speed marker inside or after a slowdown"},
    {15, true, "an item lies beyond the end of the cell grid"},
    {16, true, "a signal falls on an occupied cell"},
    {17, true, "the advance-warning cell of a slowdown is occupied"},
    {18, true, "the start cell of a slowdown is occupied"},
    {19, true, "the end cell of a slowdown is occupied"},
    {20, true, "one of the four board cells before a slowdown warning is occupied"},
    {21, true, "a maximum-speed indicator falls on an occupied cell"},
    {22, true, "a station begins less than 350 m after the end of the station before it"},
    {24, false, "a station ends at or before 100 m: its stop cell would be cell 1 or lower"},
    {25, false, "run-time failure while reading the texts (missing text, bad or too large number, "
                "text ended inside a record, index outside a table)"},
    {26, false, "the line text gives no line length"},
    {27, true, "more than 80 sign texts"},
    {28, true, "more than 80 mountain stretches"},
    {101, false, "the line text does not exist"},
    {102, false, "the line text ends before a field holding \"[generale]\""},
    {103, false, "a curve keyword holds no class digit 1 to 6, or the line plan would pass "
                 "1000000 points"},
    {1250, false, "a file mark slot was already taken before the marks were stamped"},
    {1251, false, "an integrity code slot was already taken before the codes were stored"},
};

}  // namespace

const voce_errore* cerca_errore(int32_t codice) {
  for (const voce_errore& v : tabella) {
    if (v.codice == codice) return &v;
  }
  return nullptr;
}

const char* descrizione_errore(int32_t codice) {
  const voce_errore* v = cerca_errore(codice);
  return v ? v->descrizione : "unknown error";
}

const voce_errore* tabella_errori(int* quante) {
  *quante = static_cast<int>(std::size(tabella));
  return tabella;
}
