#include "core/codici_gara.h"

#include "text/codifica.h"

namespace {

// Only this many bytes of the code text count.
constexpr size_t caratteri_contati = 25;

unsigned valore_byte(char c) { return static_cast<unsigned char>(c); }

}  // namespace

std::string testo_codice(const modello& m) {
  return minuscolo_cp1252(m.punti[punto_codici].testo + m.punti[punto_scenario].testo) +
         coda_codice;
}

int16_t codice_gara_og(modello& m) {
  m.riga = testo_codice(m);
  int32_t somma = 0;
  // The tail alone is 26 bytes, so the text always has 25.
  for (size_t i = 0; i < caratteri_contati; ++i) somma += valore_byte(m.riga[i]);
  return static_cast<int16_t>(somma);
}

int32_t codice_gara_st(modello& m) {
  m.riga = testo_codice(m);
  int32_t somma = 0;
  for (size_t i = 0; i < caratteri_contati; ++i) {
    somma += static_cast<int32_t>((i + 1) * valore_byte(m.riga[i]));
  }
  return somma;
}

int32_t marche_e_codici(modello& m) {
  punto& scenario = punto_di(m, punto_scenario);
  cella& testata = cella_di(m, 1);
  if (scenario.intero_1 != 0 || testata.valore != 0) return 1250;
  scenario.intero_1 = marca_sim;
  testata.valore = marca_dat;
  if (scenario.orario != 0 || testata.valore_2 != 0) return 1251;
  scenario.orario = codice_gara_st(m);
  testata.valore_2 = codice_gara_og(m);
  return 0;
}
