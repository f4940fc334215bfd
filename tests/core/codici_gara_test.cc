#include "core/codici_gara.h"

#include <gtest/gtest.h>

#include <string>

#include "model/modello.h"

namespace {

struct codici {
  int32_t og;
  int32_t st;
};

codici calcola(const std::string& treno, const std::string& scenario) {
  modello m;
  m.punti[punto_codici].testo = treno;
  m.punti[punto_scenario].testo = scenario;
  return {codice_gara_og(m), codice_gara_st(m)};
}

TEST(CodiciGara, KnownValues) {
  struct caso {
    std::string treno;
    std::string scenario;
    codici atteso;
  };
  const caso casi[] = {
      {"R20417", "Morsalo_Torvia", {2475, 35090}},
      // Only the tail: its first 25 letters.
      {"", "", {2774, 35035}},
      // 25 letters a: 25 x 97 and 97 x (1 + ... + 25).
      {"aaaaa", std::string(20, 'a'), {2425, 31525}},
      // Past 25 bytes nothing counts.
      {"aaaaa", std::string(300, 'a'), {2425, 31525}},
      {"aaaaa", std::string(20, 'a') + "zzz", {2425, 31525}},
  };
  for (const caso& c : casi) {
    codici r = calcola(c.treno, c.scenario);
    EXPECT_EQ(r.og, c.atteso.og) << c.treno << " / " << c.scenario;
    EXPECT_EQ(r.st, c.atteso.st) << c.treno << " / " << c.scenario;
  }
}

TEST(CodiciGara, CaseDoesNotMatter) {
  codici a = calcola("R20417", "Morsalo_Torvia");
  codici b = calcola("r20417", "MORSALO_TORVIA");
  EXPECT_EQ(a.og, b.og);
  EXPECT_EQ(a.st, b.st);
  // Accented capitals too: E with grave (C8) is e with grave (E8).
  codici c = calcola("\xC8", "x");
  codici d = calcola("\xE8", "x");
  EXPECT_EQ(c.og, d.og);
  EXPECT_EQ(c.st, d.st);
}

TEST(CodiciGara, TrainCodeComesFirst) {
  codici prima = calcola("R20417", "Morsalo_Torvia");
  codici scambiati = calcola("Morsalo_Torvia", "R20417");
  // 20 bytes: the same bytes in another order, so only the weighted sum moves.
  EXPECT_EQ(prima.og, scambiati.og);
  EXPECT_EQ(scambiati.st, 31116);
  EXPECT_NE(prima.st, scambiati.st);
}

TEST(CodiciGara, AByteCountsWithItsWindows1252Value) {
  // "è" (E8 = 232) against "a" (97) in first place: 135 more in both sums.
  codici a = calcola("a", "bc");
  codici e = calcola("\xE8", "bc");
  EXPECT_EQ(e.og - a.og, 232 - 97);
  EXPECT_EQ(e.st - a.st, 232 - 97);
  // The largest byte in every place cannot overflow either code.
  codici massimo = calcola(std::string(25, '\xFF'), "");
  EXPECT_EQ(massimo.og, 6375);
  EXPECT_EQ(massimo.st, 82875);
}

TEST(CodiciGara, TheCodeTextIsLeftInRiga) {
  modello m;
  m.punti[punto_codici].testo = "R1";
  m.punti[punto_scenario].testo = "Ab";
  codice_gara_og(m);
  EXPECT_EQ(m.riga, "r1abvvuuttssrrqqppzzhhggffeedd");
  m.riga = "";
  codice_gara_st(m);
  EXPECT_EQ(m.riga, "r1abvvuuttssrrqqppzzhhggffeedd");
}

// A small model with a grid, named like the built-in scenario.
modello con_griglia() {
  modello m;
  alloca_griglia(m, 0);
  m.punti[punto_codici].testo = "R20417";
  m.punti[punto_scenario].testo = "Morsalo_Torvia";
  return m;
}

TEST(MarcheECodici, StampsMarksAndCodes) {
  modello m = con_griglia();
  EXPECT_EQ(marche_e_codici(m), 0);
  EXPECT_EQ(m.punti[punto_scenario].intero_1, 610);
  EXPECT_EQ(m.punti[punto_scenario].orario, 35090);
  EXPECT_EQ(m.celle[1].valore, 5121);
  EXPECT_EQ(m.celle[1].valore_2, 2475);
}

TEST(MarcheECodici, ATakenSlotIsNeverOverwritten) {
  struct caso {
    const char* nome;
    void (*occupa)(modello&);
    int32_t atteso;
  };
  const caso casi[] = {
      {"cell 1 valore", [](modello& m) { m.celle[1].valore = 7; }, 1250},
      {"marca_sim", [](modello& m) { m.punti[punto_scenario].intero_1 = -1; }, 1250},
      {"cell 1 valore_2", [](modello& m) { m.celle[1].valore_2 = 3; }, 1251},
      {"codice_st", [](modello& m) { m.punti[punto_scenario].orario = 9; }, 1251},
      // A mark slot wins over a code slot.
      {"both", [](modello& m) { m.celle[1].valore = 1; m.celle[1].valore_2 = 1; }, 1250},
  };
  for (const caso& c : casi) {
    modello m = con_griglia();
    c.occupa(m);
    modello prima = m;
    EXPECT_EQ(marche_e_codici(m), c.atteso) << c.nome;
    if (c.atteso == 1250) {
      // Nothing stamped at all.
      EXPECT_EQ(m.punti[punto_scenario].intero_1, prima.punti[punto_scenario].intero_1) << c.nome;
      EXPECT_EQ(m.celle[1].valore, prima.celle[1].valore) << c.nome;
    }
    // The codes are never stored over a taken slot.
    EXPECT_EQ(m.punti[punto_scenario].orario, prima.punti[punto_scenario].orario) << c.nome;
    EXPECT_EQ(m.celle[1].valore_2, prima.celle[1].valore_2) << c.nome;
  }
}

}  // namespace
