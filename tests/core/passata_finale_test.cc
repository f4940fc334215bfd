#include "core/passata_finale.h"

#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <vector>

#include "model/modello.h"

namespace {

struct oggetto {
  int32_t cella;
  uint8_t tipo;
  int16_t valore;
};

oggetto S(int32_t k) { return {k, segnale, 52}; }
oggetto E(int32_t k) { return {k, fine_rallentamento, 60}; }
oggetto I(int32_t k, int16_t velocita) { return {k, inizio_rallentamento, velocita}; }
oggetto A(int32_t k) { return {k, avviso_rallentamento, 60}; }
oggetto X(int32_t k) { return {k, indicatore_v_max, 7}; }  // any occupied cell
oggetto F(int32_t k) { return {k, riempimento_montagna, 0}; }
oggetto M(int32_t k, int16_t valore = 180) { return {k, abbattimento, valore}; }

auto campi(const cella& c) {
  return std::tie(c.tipo, c.valore, c.valore_2, c.valore_3, c.valore_4, c.tempo, c.preavviso,
                  c.montagna, c.velocita, c.pendenza, c.aderenza);
}

std::string descrivi(const cella& c) {
  return "tipo " + std::to_string(c.tipo) + " valore " + std::to_string(c.valore) +
         " montagna " + std::to_string(c.montagna) + " velocita " + std::to_string(c.velocita);
}

// Cells 0..ultima; the line properties are set everywhere so that a marker
// that wiped them would show.
modello griglia(int32_t ultima, const std::vector<oggetto>& oggetti) {
  modello m;
  cella base;
  base.velocita = 20;
  base.pendenza = 100;
  base.aderenza = 3;
  m.celle.assign(static_cast<size_t>(ultima) + 1, base);
  m.numero_celle = ultima;
  for (const oggetto& o : oggetti) {
    cella& c = m.celle.at(static_cast<size_t>(o.cella));
    c.tipo = o.tipo;
    c.valore = o.valore;
    if (o.tipo == riempimento_montagna) c.montagna = 3;
  }
  return m;
}

struct caso {
  const char* nome;
  int32_t ultima;                 // numero_celle
  std::vector<oggetto> oggetti;   // the grid before the pass
  std::vector<oggetto> cambiati;  // the cells the pass changes, as they end
  int32_t errore = 0;
  int32_t posizione = 0;
};

void verifica(const caso& c) {
  SCOPED_TRACE(c.nome);
  modello m = griglia(c.ultima, c.oggetti);
  modello atteso = m;
  for (const oggetto& o : c.cambiati) {
    cella& a = atteso.celle.at(static_cast<size_t>(o.cella));
    a.tipo = o.tipo;
    a.valore = o.valore;
  }
  passata_finale(m);
  ASSERT_EQ(m.celle.size(), atteso.celle.size());
  for (size_t k = 0; k < m.celle.size(); ++k) {
    EXPECT_TRUE(campi(m.celle[k]) == campi(atteso.celle[k]))
        << "cell " << k << ": " << descrivi(m.celle[k]) << ", expected "
        << descrivi(atteso.celle[k]);
  }
  EXPECT_EQ(m.numero_errore, c.errore);
  EXPECT_EQ(m.posizione_errore, c.posizione);
}

TEST(PassataFinale, MarkersInFrontOfASlowdownStart) {
  // Fast slowdowns ending in the next cell: only the groups in front count.
  const caso casi[] = {
      {"start in cell 7: nothing in front", 60, {I(7, 120), E(8)}, {}},
      {"start in cell 8: group 5-7 only", 60, {I(8, 120), E(9)}, {M(3)}},
      {"start in cell 13: group 5-7 only", 60, {I(13, 120), E(14)}, {M(8)}},
      {"start in cell 14: two groups", 60, {I(14, 120), E(15)}, {M(9), M(3)}},
      {"start in cell 20: two groups", 60, {I(20, 120), E(21)}, {M(15), M(9)}},
      {"start in cell 21: three groups", 60, {I(21, 120), E(22)}, {M(16), M(10), M(3)}},
      {"nearest free cell of each group",
       60,
       {I(30, 120), E(31), X(25), X(24), X(19)},
       {M(23), M(18), M(12)}},
      {"a full group records 12 and the others are still placed",
       60,
       {I(30, 120), E(31), X(25), X(24), X(23)},
       {M(19), M(12)},
       12,
       1500},
      {"mountain fill is free and keeps its line properties",
       60,
       {I(30, 120), E(31), F(25)},
       {M(25), M(19), M(12)}},
  };
  for (const caso& c : casi) verifica(c);
}

TEST(PassataFinale, RepeatedMarkersInsideASlowSlowdown) {
  // Starts in cell 5: no markers in front.
  const caso casi[] = {
      {"end 7 cells after the start", 60, {I(5, 100), E(12)}, {}},
      {"end 8 cells after: marker in the cell before the end", 60, {I(5, 100), E(13)}, {M(12)}},
      {"end 20 cells after: 8 and 16 after the start", 60, {I(5, 100), E(25)}, {M(13), M(21)}},
      {"109 is slow", 60, {I(5, 109), E(25)}, {M(13), M(21)}},
      {"110 is not", 60, {I(5, 110), E(25)}, {}},
      {"occupied: one cell back, the next 8 from there",
       60,
       {I(5, 100), X(13), E(40)},
       {M(12), M(20), M(28), M(36)}},
      {"occupied and the cell before too: one cell on",
       60,
       {I(5, 100), X(12), X(13), E(28)},
       {M(14), M(22)}},
      {"three occupied: 13 at the middle one, no further marker",
       60,
       {I(5, 100), X(12), X(13), X(14), E(40)},
       {},
       13,
       650},
  };
  for (const caso& c : casi) verifica(c);
}

TEST(PassataFinale, MarkerInFrontOfTheFirstSignalAfterTheEnd) {
  const caso casi[] = {
      {"signal 3 cells after the end", 60, {I(5, 100), E(10), S(13)}, {M(12)}},
      {"signal 12 cells after the end", 60, {I(5, 100), E(10), S(22)}, {M(21)}},
      {"signal 13 cells after the end is too far", 60, {I(5, 100), E(10), S(23)}, {}},
      {"only the first signal", 60, {I(5, 100), E(10), S(13), S(16)}, {M(12)}},
      {"signal right after the end: marker before the end", 60, {I(5, 100), E(10), S(11)}, {M(9)}},
      {"cell in front occupied: the one before", 60, {I(5, 100), E(10), X(12), S(13)}, {M(11)}},
      {"both occupied: 13 at the end cell",
       60,
       {I(5, 100), E(10), X(11), X(12), S(13)},
       {},
       13,
       500},
      // A fast slowdown has no repeated markers, yet its end is still found,
      // so the search after it starts where it does for a slow one.
      {"fast slowdown: from its end", 60, {I(5, 120), E(10), S(13)}, {M(12)}},
      {"long fast slowdown: from its end", 60, {I(5, 150), E(30), S(33)}, {M(32)}},
  };
  for (const caso& c : casi) verifica(c);
}

TEST(PassataFinale, SearchesStopAtTheLastCell) {
  const caso casi[] = {
      {"slow slowdown without end: markers up to the last cell",
       30,
       {I(5, 100)},
       {M(13), M(21), M(29)}},
      {"fast slowdown without end", 30, {I(5, 120)}, {}},
      {"a cell past the grid is not free",
       29,
       {I(5, 100), X(28), X(29)},
       {M(13), M(21)},
       13,
       1450},
      {"signal in the last cell after an end near it", 20, {I(5, 120), E(18), S(20)}, {M(19)}},
      {"window clipped, signal in the last cell of a slowdown without end",
       30,
       {I(5, 120), S(30)},
       {M(29)}},
      {"start in the last visited cell", 20, {I(18, 120)}, {M(13), M(7)}},
      {"start past the last visited cell is passed over", 20, {I(19, 120)}, {}},
  };
  for (const caso& c : casi) verifica(c);
}

TEST(PassataFinale, SignalsBeforeAnAdvanceWarning) {
  const caso casi[] = {
      {"signals 2 and 15 cells before", 60, {A(30), S(28), S(15)}, {M(27), M(14)}},
      {"signal 20 cells before", 60, {A(40), S(20)}, {M(19)}},
      {"signal 21 cells before is too far", 60, {A(40), S(19)}, {}},
      {"warning in cell 3: no search", 60, {A(3), S(2)}, {}},
      {"warning in cell 4: the signal in cell 3", 60, {A(4), S(3)}, {M(2)}},
      {"a signal in cell 2 is never treated", 60, {A(6), S(2)}, {}},
      {"nearer cell occupied: the farther", 60, {A(30), X(27), S(28)}, {M(26)}},
      {"nearer cell a marker: a second one, the first untouched",
       60,
       {A(30), M(27, 200), S(28)},
       {M(26)}},
      {"both occupied, nearer a marker of 200: lowered to 180",
       60,
       {A(30), X(26), M(27, 200), S(28)},
       {M(27, 180)}},
      {"both occupied, nearer a marker of 100: stays", 60, {A(30), X(26), M(27, 100), S(28)}, {}},
      {"both occupied, farther a marker of 200: lowered",
       60,
       {A(30), M(26, 200), X(27), S(28)},
       {M(26, 180)}},
      {"both occupied: 11 at the signal", 60, {A(30), X(26), X(27), S(28)}, {}, 11, 1400},
  };
  for (const caso& c : casi) verifica(c);
}

TEST(PassataFinale, LaterVisitsSeeEarlierMarkersAndTheLastErrorWins) {
  const caso casi[] = {
      {"a warning's marker takes a start's group cell",
       60,
       {A(26), S(24), I(41, 60), E(46)},
       {M(23), M(36), M(30), M(22)}},
      {"11 then 12: 12 stays",
       60,
       {A(30), X(26), X(27), S(28), I(50, 120), E(51), X(45), X(44), X(43)},
       {M(39), M(32)},
       12,
       2500},
  };
  for (const caso& c : casi) verifica(c);
}

TEST(PassataFinale, NoGridNothingHappens) {
  modello m;
  passata_finale(m);
  EXPECT_FALSE(m.griglia_presente());
  EXPECT_EQ(m.numero_errore, 0);
}

TEST(Minimo, TheSmallerOfTheTwo) {
  EXPECT_EQ(minimo(180, 200), 180);
  EXPECT_EQ(minimo(180, 100), 100);
  EXPECT_EQ(minimo(180, -5), -5);
}

}  // namespace
