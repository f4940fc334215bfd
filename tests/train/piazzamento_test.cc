#include "train/piazzamento.h"

#include <gtest/gtest.h>

#include <array>
#include <climits>
#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "model/errore_esecuzione.h"
#include "model/modello.h"

namespace {

// Cells that differ from an empty one, by index, with their nonzero fields.
using celle_scritte = std::map<int32_t, std::string>;

std::string descrivi(const cella& c) {
  std::string s;
  auto campo = [&s](const char* nome, int v) {
    if (v == 0) return;
    if (!s.empty()) s += ' ';
    s += nome;
    s += '=';
    s += std::to_string(v);
  };
  campo("tipo", c.tipo);
  campo("valore", c.valore);
  campo("valore_2", c.valore_2);
  campo("valore_3", c.valore_3);
  campo("valore_4", c.valore_4);
  campo("tempo", c.tempo);
  campo("preavviso", c.preavviso);
  campo("montagna", c.montagna);
  campo("velocita", c.velocita);
  campo("pendenza", c.pendenza);
  campo("aderenza", c.aderenza);
  return s;
}

celle_scritte scritte(const modello& m) {
  celle_scritte r;
  for (size_t k = 0; k < m.celle.size(); ++k) {
    std::string d = descrivi(m.celle[k]);
    if (!d.empty()) r[static_cast<int32_t>(k)] = d;
  }
  return r;
}

// The grid of the built-in 62 km line: cells 0 to 1380, all empty.
modello griglia(const std::vector<std::pair<int32_t, cella>>& occupate = {}) {
  modello m;
  alloca_griglia(m, 62000);
  for (const auto& [k, c] : occupate) m.celle.at(static_cast<size_t>(k)) = c;
  return m;
}

cella di_tipo(uint8_t tipo) {
  cella c;
  c.tipo = tipo;
  return c;
}

// posizione, sx, s1, s2, s3, rapp, dx, d1, d2, d3, tempo
using segnale_scritto = std::array<int32_t, 11>;

// Places a signal from a copy of its values; returns the caller's tempo after
// the call.
int32_t metti_segnale(modello& m, segnale_scritto s) {
  memo_segnale(m, s[0], s[1], s[2], s[3], s[4], s[5], s[6], s[7], s[8], s[9], s[10]);
  return s[10];
}

// x, v, l, f_tt, f_ta, d_v
using rallentamento_scritto = std::array<int32_t, 6>;

void metti_rallentamento(modello& m, rallentamento_scritto r) {
  const rallentamento_scritto prima = r;
  memo_rallentamento(m, r[0], r[1], r[2], r[3], r[4], r[5]);
  EXPECT_EQ(r, prima) << "the arguments must not change";
}

TEST(MemoSegnale, PlacesTheSignalAndItsWarningCodes) {
  struct caso {
    const char* nome;
    segnale_scritto segnale;
    celle_scritte atteso;
  };
  const caso casi[] = {
      {"held signal at 9450",
       {9450, 2, 5, 1, 0, 0, 2, 2, 1, 0, 250},
       {{190, "tipo=1 valore=52 valore_2=11 valore_4=8 tempo=250"},
        {188, "preavviso=81"},
        {186, "preavviso=82"},
        {184, "preavviso=83"},
        {182, "preavviso=84"}}},
      {"signal at 5500",
       {5500, 1, 5, 0, 0, 0, 0, 3, 0, 0, 0},
       {{111, "tipo=1 valore=53 valore_4=3"},
        {109, "preavviso=31"},
        {107, "preavviso=32"},
        {105, "preavviso=33"},
        {103, "preavviso=34"}}},
      {"rapp in the tens, third pair",
       {50250, 1, 4, 1, 1, 7, 1, 1, 1, 1, 0},
       {{1006, "tipo=1 valore=41 valore_2=11 valore_3=11 valore_4=74"},
        {1004, "preavviso=41"},
        {1002, "preavviso=42"},
        {1000, "preavviso=43"},
        {998, "preavviso=44"}}},
      // A position between two cell bounds rounds halves to even: 75 m -> 2.5 -> 2.
      {"position 75 m", {75, 1, 5, 0, 0, 0, 0, 3, 0, 0, 0}, {{2, "tipo=1 valore=53 valore_4=3"}, {0, "preavviso=31"}}},
      // The warning cells before cell 0 do not exist and are dropped.
      {"at 350 m all four fit", {350, 1, 5, 0, 0, 0, 0, 3, 0, 0, 0},
       {{8, "tipo=1 valore=53 valore_4=3"},
        {6, "preavviso=31"},
        {4, "preavviso=32"},
        {2, "preavviso=33"},
        {0, "preavviso=34"}}},
      {"at 300 m the farthest is dropped", {300, 1, 5, 0, 0, 0, 0, 3, 0, 0, 0},
       {{7, "tipo=1 valore=53 valore_4=3"}, {5, "preavviso=31"}, {3, "preavviso=32"}, {1, "preavviso=33"}}},
      {"at 100 m only the nearest", {100, 1, 5, 0, 0, 0, 0, 3, 0, 0, 0},
       {{3, "tipo=1 valore=53 valore_4=3"}, {1, "preavviso=31"}}},
      {"at 0 m none", {0, 1, 5, 0, 0, 0, 0, 3, 0, 0, 0}, {{1, "tipo=1 valore=53 valore_4=3"}}},
      // 16-bit fields keep the low 16 bits, byte fields the low 8 bits.
      {"low bits", {9450, 9, 4000, -1, 0, 0, 0, 0, 0, 0, 0},
       {{190, "tipo=1 valore=-25536 valore_2=-10 valore_4=27"},
        {188, "preavviso=15"},
        {186, "preavviso=16"},
        {184, "preavviso=17"},
        {182, "preavviso=18"}}},
  };
  for (const caso& c : casi) {
    SCOPED_TRACE(c.nome);
    modello m = griglia();
    m.numero_errore = 2;  // an earlier error stays
    m.posizione_errore = -1;
    metti_segnale(m, c.segnale);
    EXPECT_EQ(scritte(m), c.atteso);
    EXPECT_EQ(m.numero_errore, 2);
    EXPECT_EQ(m.posizione_errore, -1);
  }
}

TEST(MemoSegnale, HoldTime) {
  struct caso {
    int32_t sx, tempo;
    int32_t tempo_dopo;  // the caller's variable
    int cella_tempo;
  };
  const caso casi[] = {
      {2, 50, 101, 101}, {2, 1, 101, 101},  {2, 100, 101, 101}, {2, 0, 0, 0},     {2, 101, 101, 101},
      {2, 250, 250, 250}, {2, 300, 300, 44}, {2, -5, -5, 251},   {1, 250, 250, 0}, {1, 50, 101, 0},
  };
  for (const caso& c : casi) {
    SCOPED_TRACE("sx " + std::to_string(c.sx) + " tempo " + std::to_string(c.tempo));
    modello m = griglia();
    EXPECT_EQ(metti_segnale(m, {9450, c.sx, 5, 1, 0, 0, 0, 0, 0, 0, c.tempo}), c.tempo_dopo);
    EXPECT_EQ(m.celle[190].tipo, segnale);
    EXPECT_EQ(m.celle[190].tempo, c.cella_tempo);
  }
}

TEST(MemoSegnale, OnlyAFreeCellTakesTheSignal) {
  // Mountain fill is free: the signal replaces it, the stretch fields stay.
  cella montagna;
  montagna.tipo = riempimento_montagna;
  montagna.montagna = 1;
  montagna.velocita = 20;
  modello m = griglia({{21, montagna}});
  metti_segnale(m, {1000, 2, 3, 0, 0, 0, 2, 2, 0, 0, 0});
  EXPECT_EQ(m.numero_errore, 0);
  EXPECT_EQ(m.celle[21].tipo, segnale);
  EXPECT_EQ(m.celle[21].montagna, 1);
  EXPECT_EQ(m.celle[21].velocita, 20);

  // Every other object refuses it, and nothing is written, not even the
  // warning codes or the caller's tempo.
  for (uint8_t tipo : {segnale, fine_rallentamento, tabella_rallentamento, indicatore_v_max, fermata, abbattimento,
                       abbattimento_zero, cartello}) {
    SCOPED_TRACE(static_cast<int>(tipo));
    modello r = griglia({{21, di_tipo(tipo)}});
    r.posizione_errore = -1;
    const celle_scritte prima = scritte(r);
    EXPECT_EQ(metti_segnale(r, {1000, 2, 3, 0, 0, 0, 2, 2, 0, 0, 50}), 50);
    EXPECT_EQ(r.numero_errore, 16);
    EXPECT_EQ(r.posizione_errore, -1);
    EXPECT_EQ(scritte(r), prima);
  }
}

TEST(MemoSegnale, WarningCodesIgnoreWhatTheCellHolds) {
  // Two signals 100 m apart: the second one's codes land on the first signal's
  // cell and replace the first one's codes where they meet.
  modello m = griglia();
  metti_segnale(m, {1000, 1, 5, 0, 0, 0, 0, 3, 0, 0, 0});
  metti_segnale(m, {1100, 2, 3, 0, 0, 0, 2, 2, 0, 0, 0});
  EXPECT_EQ(m.numero_errore, 0);
  EXPECT_EQ(scritte(m), (celle_scritte{{23, "tipo=1 valore=32 valore_4=8"},
                                       {21, "tipo=1 valore=53 valore_4=3 preavviso=81"},
                                       {19, "preavviso=82"},
                                       {17, "preavviso=83"},
                                       {15, "preavviso=84"},
                                       {13, "preavviso=34"}}));
}

// A value that overflows fails where it is formed, in the order of the
// fields: the cell keeps what was written before it, its kind 1 first of all.
TEST(MemoSegnale, ARunTimeFailureLeavesWhatWasWrittenBeforeIt) {
  struct caso {
    const char* nome;
    segnale_scritto segnale;
    celle_scritte atteso;
  };
  const caso casi[] = {
      {"rapp x 10 overflows", {9450, 2, 0, 0, 0, 300000000, 0, 0, 0, 0, 0}, {{190, "tipo=1"}}},
      {"s1 x 10 overflows", {9450, 2, 300000000, 0, 0, 0, 0, 0, 0, 0, 0}, {{190, "tipo=1 valore_4=6"}}},
      {"s3 x 10 + d3 overflows",
       {9450, 2, 1, 2, 214748364, 0, 0, 3, 4, 8, 0},
       {{190, "tipo=1 valore=13 valore_2=24 valore_4=6"}}},
      // The hold time is stored; the first warning code overflows.
      {"warning code overflows",
       {9450, 100000000, 0, 0, 0, 0, 0, 0, 0, 0, 0},
       {{190, "tipo=1 valore_4=-23808"}}},
      {"cell before the grid", {-200, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0}, {}},
      {"cell beyond the grid", {69000, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0}, {}},
  };
  for (const caso& c : casi) {
    SCOPED_TRACE(c.nome);
    modello m = griglia();
    EXPECT_THROW(metti_segnale(m, c.segnale), errore_esecuzione);
    EXPECT_EQ(scritte(m), c.atteso);
  }
}

// The advance warning of a slowdown at 4500 m: cell 67; its boards 66 to 63.
const celle_scritte rallentamento_4500 = {
    {63, "tipo=5 valore=4"}, {64, "tipo=5 valore=3"},   {65, "tipo=5 valore=2"}, {66, "tipo=5 valore=1"},
    {67, "tipo=4 valore=40"}, {91, "tipo=3 valore=40"}, {93, "tipo=2 valore=40"},
};

TEST(MemoRallentamento, PlacesStartEndWarningAndBoards) {
  struct caso {
    const char* nome;
    rallentamento_scritto rallentamento;
    celle_scritte atteso;
  };
  const caso casi[] = {
      {"built-in at 4500", {4500, 40, 100, 0, 1, 0}, rallentamento_4500},
      {"built-in at 18000",
       {18000, 30, 150, 1, 1, 0},
       {{333, "tipo=5 valore=4"},
        {334, "tipo=5 valore=3"},
        {335, "tipo=5 valore=2"},
        {336, "tipo=5 valore=1"},
        {337, "tipo=4 valore=30"},
        {361, "tipo=3 valore=30 valore_3=1"},
        {364, "tipo=2 valore=30 valore_3=1"}}},
      {"no boards without f_ta",
       {4500, 40, 100, 0, 0, 0},
       {{67, "tipo=4 valore=40"}, {91, "tipo=3 valore=40"}, {93, "tipo=2 valore=40"}}},
      {"d_v on every cell, the boards' own numbers",
       {4500, 40, 100, 0, 1, 7},
       {{63, "tipo=5 valore=4 valore_2=4"},
        {64, "tipo=5 valore=3 valore_2=3"},
        {65, "tipo=5 valore=2 valore_2=2"},
        {66, "tipo=5 valore=1 valore_2=1"},
        {67, "tipo=4 valore=40 valore_2=7"},
        {91, "tipo=3 valore=40 valore_2=7"},
        {93, "tipo=2 valore=40 valore_2=7"}}},
      // Within the first 1500 m there is no advance warning, so no boards.
      {"at 1500 no warning", {1500, 40, 100, 0, 1, 0}, {{31, "tipo=3 valore=40"}, {33, "tipo=2 valore=40"}}},
      {"at 1550 warning and boards",
       {1550, 40, 100, 0, 1, 0},
       {{4, "tipo=5 valore=4"},
        {5, "tipo=5 valore=3"},
        {6, "tipo=5 valore=2"},
        {7, "tipo=5 valore=1"},
        {8, "tipo=4 valore=40"},
        {32, "tipo=3 valore=40"},
        {34, "tipo=2 valore=40"}}},
      // 2075 m: the warning is cell 18 (18.5 rounds to even); the boards stand
      // on the four cells before it, not on it.
      {"at 2075 boards before the warning",
       {2075, 40, 100, 0, 1, 0},
       {{14, "tipo=5 valore=4"},
        {15, "tipo=5 valore=3"},
        {16, "tipo=5 valore=2"},
        {17, "tipo=5 valore=1"},
        {18, "tipo=4 valore=40"},
        {42, "tipo=3 valore=40"},
        {44, "tipo=2 valore=40"}}},
      {"start and end in one cell: the start wins",
       {4500, 40, 10, 1, 0, 0},
       {{67, "tipo=4 valore=40"}, {91, "tipo=3 valore=40 valore_3=1"}}},
      {"end on the last cell of the grid",
       {68900, 40, 50, 0, 0, 0},
       {{1355, "tipo=4 valore=40"}, {1379, "tipo=3 valore=40"}, {1380, "tipo=2 valore=40"}}},
      {"low 16 bits",
       {4500, 70000, 100, 65537, 0, -1},
       {{67, "tipo=4 valore=4464 valore_2=-1"},
        {91, "tipo=3 valore=4464 valore_2=-1 valore_3=1"},
        {93, "tipo=2 valore=4464 valore_2=-1 valore_3=1"}}},
  };
  for (const caso& c : casi) {
    SCOPED_TRACE(c.nome);
    modello m = griglia();
    m.numero_errore = 2;  // an earlier error stays
    m.posizione_errore = -1;
    metti_rallentamento(m, c.rallentamento);
    EXPECT_EQ(scritte(m), c.atteso);
    EXPECT_EQ(m.numero_errore, 2);
    EXPECT_EQ(m.posizione_errore, -1);
  }
}

TEST(MemoRallentamento, MountainFillIsFree) {
  cella montagna;
  montagna.tipo = riempimento_montagna;
  montagna.montagna = 1;
  std::vector<std::pair<int32_t, cella>> occupate;
  for (int32_t k : {63, 64, 65, 66, 67, 91, 93}) occupate.push_back({k, montagna});
  modello m = griglia(occupate);
  metti_rallentamento(m, {4500, 40, 100, 0, 1, 0});
  EXPECT_EQ(m.numero_errore, 0);
  celle_scritte atteso = rallentamento_4500;
  for (auto& [k, d] : atteso) d += " montagna=1";
  EXPECT_EQ(scritte(m), atteso);
}

TEST(MemoRallentamento, RefusalsAndWhatTheyLeave) {
  const cella cartello_ = di_tipo(cartello);
  struct caso {
    const char* nome;
    rallentamento_scritto rallentamento;
    std::vector<std::pair<int32_t, cella>> occupate;
    int32_t errore;
    celle_scritte atteso;  // besides the cells taken beforehand
  };
  const caso casi[] = {
      {"warning cell taken", {4500, 40, 100, 0, 1, 0}, {{67, cartello_}}, 17, {}},
      {"warning cell before start cell", {4500, 40, 100, 0, 1, 0}, {{67, cartello_}, {91, cartello_}}, 17, {}},
      {"start cell taken", {4500, 40, 100, 0, 1, 0}, {{91, di_tipo(segnale)}}, 18, {}},
      {"end cell taken", {4500, 40, 100, 0, 1, 0}, {{93, di_tipo(indicatore_v_max)}}, 19, {}},
      {"a board cell taken",
       {4500, 40, 100, 0, 1, 0},
       {{64, di_tipo(fermata)}},
       20,
       {{67, "tipo=4 valore=40"}, {91, "tipo=3 valore=40"}, {93, "tipo=2 valore=40"}}},
      {"the farthest board cell taken",
       {4500, 40, 100, 0, 1, 0},
       {{63, di_tipo(fine_rallentamento)}},
       20,
       {{67, "tipo=4 valore=40"}, {91, "tipo=3 valore=40"}, {93, "tipo=2 valore=40"}}},
      // At 1500 m there is no warning cell to collide with.
      {"no warning cell at 1500",
       {1500, 40, 100, 0, 1, 0},
       {{7, cartello_}},
       0,
       {{31, "tipo=3 valore=40"}, {33, "tipo=2 valore=40"}}},
      {"board cells not needed without f_ta",
       {4500, 40, 100, 0, 0, 0},
       {{64, cartello_}},
       0,
       {{67, "tipo=4 valore=40"}, {91, "tipo=3 valore=40"}, {93, "tipo=2 valore=40"}}},
      // The end cell must lie in the grid, 0 to 1380; this comes before any
      // collision test.
      {"end beyond the grid", {68900, 40, 100, 0, 1, 0}, {}, 15, {}},
      {"end beyond the grid, warning taken", {68900, 40, 100, 0, 1, 0}, {{1355, cartello_}}, 15, {}},
      {"end before the grid", {100, 40, -200, 0, 1, 0}, {}, 15, {}},
  };
  for (const caso& c : casi) {
    SCOPED_TRACE(c.nome);
    modello m = griglia(c.occupate);
    m.posizione_errore = -1;
    celle_scritte atteso = scritte(m);
    atteso.insert(c.atteso.begin(), c.atteso.end());
    metti_rallentamento(m, c.rallentamento);
    EXPECT_EQ(m.numero_errore, c.errore);
    EXPECT_EQ(m.posizione_errore, -1);
    EXPECT_EQ(scritte(m), atteso);
  }
}

TEST(MemoRallentamento, RunTimeFailuresWriteNothing) {
  const rallentamento_scritto casi[] = {
      {2000, 40, INT32_MAX, 0, 1, 0},  // x + l overflows
      {-200, 40, 300, 0, 0, 0},        // start cell before the grid
  };
  for (const rallentamento_scritto& r : casi) {
    SCOPED_TRACE(r[0]);
    modello m = griglia();
    EXPECT_THROW(metti_rallentamento(m, r), errore_esecuzione);
    EXPECT_EQ(scritte(m), celle_scritte{});
    EXPECT_EQ(m.numero_errore, 0);
  }
}

}  // namespace
