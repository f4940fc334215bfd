#include "documents/tabella.h"

#include <gtest/gtest.h>

#include "model/errore_esecuzione.h"

namespace {

TEST(Tabella, RowsAreBarsAroundCellsOfExactWidth) {
  const tabella t({3, 1});
  EXPECT_EQ(t.riga({" 1 ", "x"}), " | 1 |x|");
  EXPECT_EQ(t.vuota(), " |   | |");
  EXPECT_EQ(t.righello(), " |___|_|");
  EXPECT_EQ(t.bianca(0), "   ");
  // A cell of another width, or another number of cells, would shift the columns.
  EXPECT_THROW(t.riga({"1", "x"}), errore_esecuzione);
  EXPECT_THROW(t.riga({" 1  ", "x"}), errore_esecuzione);
  EXPECT_THROW(t.riga({" 1 "}), errore_esecuzione);
  EXPECT_THROW(t.bianca(2), errore_esecuzione);
}

TEST(Tabella, AlignmentRefusesTextLongerThanItsPlace) {
  EXPECT_EQ(a_destra("30", 4), "  30");
  EXPECT_EQ(a_sinistra("ULSA", 9), "ULSA     ");
  EXPECT_EQ(a_destra("", 2), "  ");
  EXPECT_EQ(a_destra("1234", 4), "1234");
  EXPECT_THROW(a_destra("12345", 4), errore_esecuzione);
  EXPECT_THROW(a_sinistra("12345", 4), errore_esecuzione);
}

TEST(Tabella, PositionsInACellCountFromOne) {
  struct caso {
    size_t posizione;
    const char* testo;
    const char* cella;
  };
  const caso casi[] = {
      {1, "ab", "ab    "},
      {2, "12", " 12   "},
      {5, "ab", "    ab"},  // up to the last place
      {6, "a", "     a"},
      {7, "", "      "},  // nothing written just past the end
  };
  for (const caso& c : casi) {
    std::string cella(6, ' ');
    scrivi_in(cella, c.posizione, c.testo);
    EXPECT_EQ(cella, c.cella) << c.posizione;
  }
  const caso fuori[] = {{0, "a", ""}, {6, "ab", ""}, {7, "a", ""}, {8, "", ""}, {1, "abcdefg", ""}};
  for (const caso& c : fuori) {
    std::string cella(6, ' ');
    EXPECT_THROW(scrivi_in(cella, c.posizione, c.testo), errore_esecuzione) << c.posizione;
    EXPECT_EQ(cella, "      ");
  }
}

}  // namespace
