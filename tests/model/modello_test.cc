#include "model/modello.h"

#include <gtest/gtest.h>

#include "model/errore_esecuzione.h"
#include "model/errori.h"

namespace {

TEST(Modello, GridBoundsFollowTheLineLength) {
  struct caso {
    int32_t lunghezza;
    int32_t estesa;
    int32_t celle;
  };
  const caso casi[] = {
      {62000, 69000, 1380},
      {62025, 69025, 1380},  // 1380.5 rounds to the even 1380
      {62075, 69075, 1382},  // 1381.5 rounds to the even 1382
      {0, 7000, 140},
      {1000000, 1007000, 20140},
  };
  for (const caso& c : casi) {
    modello m;
    alloca_griglia(m, c.lunghezza);
    EXPECT_EQ(m.lunghezza_estesa, c.estesa);
    EXPECT_EQ(m.numero_celle, c.celle);
    EXPECT_EQ(m.celle.size(), static_cast<size_t>(c.celle) + 1);
  }
}

TEST(Modello, CheckedAccessRefusesIndexesOutsideTheArrays) {
  modello m;
  EXPECT_THROW(cella_di(m, 0), errore_esecuzione);  // no grid yet
  alloca_griglia(m, 62000);
  EXPECT_NO_THROW(cella_di(m, 0));
  EXPECT_NO_THROW(cella_di(m, 1380));
  EXPECT_THROW(cella_di(m, 1381), errore_esecuzione);
  EXPECT_THROW(cella_di(m, -1), errore_esecuzione);
  EXPECT_NO_THROW(punto_di(m, 86));
  EXPECT_THROW(punto_di(m, 87), errore_esecuzione);
  EXPECT_THROW(punto_di(m, -1), errore_esecuzione);
}

TEST(Modello, CellOfAPosition) {
  EXPECT_EQ(cella_della_posizione(0), 1);
  EXPECT_EQ(cella_della_posizione(450), 10);
  EXPECT_EQ(cella_della_posizione(9450), 190);
  EXPECT_EQ(cella_della_posizione(25), 2);   // 1.5 -> 2
  EXPECT_EQ(cella_della_posizione(75), 2);   // 2.5 -> 2
  EXPECT_EQ(cella_della_posizione(-75), 0);  // -0.5 -> 0
}

TEST(Modello, EveryCodeHasOneDescription) {
  int quante = 0;
  const voce_errore* t = tabella_errori(&quante);
  for (int i = 0; i < quante; ++i) {
    EXPECT_NE(std::string(t[i].descrizione), "");
    if (i > 0) {
      EXPECT_LT(t[i - 1].codice, t[i].codice);
    }
  }
  EXPECT_EQ(cerca_errore(14), nullptr);
  EXPECT_EQ(cerca_errore(23), nullptr);
  ASSERT_NE(cerca_errore(1251), nullptr);
  EXPECT_TRUE(cerca_errore(15)->ha_posizione);
}

}  // namespace
