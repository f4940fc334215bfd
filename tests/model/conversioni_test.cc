#include "model/conversioni.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "model/errore_esecuzione.h"

namespace {

struct caso {
  double x;
  int64_t atteso;  // ignored when it fails
  bool fallisce;
};

TEST(Conversioni, CLngRoundsHalfToEvenAndFailsOutsideRange) {
  const caso casi[] = {
      {2.5, 2, false},   {3.5, 4, false},   {-2.5, -2, false}, {0.5, 0, false},
      {1.5, 2, false},   {-0.5, 0, false},  {-1.5, -2, false}, {1380.5, 1380, false},
      {2.4999, 2, false}, {2.5001, 3, false},
      {2147483647.0, 2147483647, false}, {2147483647.4, 2147483647, false},
      {2147483647.5, 0, true},            {-2147483648.0, -2147483648LL, false},
      {-2147483648.5, -2147483648LL, false},  // the even neighbour is in range
      {-2147483649.0, 0, true},           {1e300, 0, true},
      {std::numeric_limits<double>::quiet_NaN(), 0, true},
  };
  for (const caso& c : casi) {
    SCOPED_TRACE(c.x);
    if (c.fallisce) {
      EXPECT_THROW(CLng(c.x), errore_esecuzione);
    } else {
      EXPECT_EQ(CLng(c.x), c.atteso);
    }
  }
}

TEST(Conversioni, CIntAndCByteRangeEdges) {
  const caso intero[] = {
      {32767.0, 32767, false}, {32767.4, 32767, false}, {32767.5, 0, true},
      {-32768.0, -32768, false}, {-32768.5, -32768, false}, {-32769.0, 0, true},
      {2.5, 2, false}, {3.5, 4, false},
  };
  for (const caso& c : intero) {
    SCOPED_TRACE(c.x);
    if (c.fallisce) {
      EXPECT_THROW(CInt(c.x), errore_esecuzione);
    } else {
      EXPECT_EQ(CInt(c.x), c.atteso);
    }
  }
  const caso byte[] = {
      {0.0, 0, false}, {-0.5, 0, false}, {-0.6, 0, true}, {255.0, 255, false},
      {255.5, 0, true}, {254.5, 254, false}, {-1.0, 0, true}, {6.0, 6, false},
  };
  for (const caso& c : byte) {
    SCOPED_TRACE(c.x);
    if (c.fallisce) {
      EXPECT_THROW(CByte(c.x), errore_esecuzione);
    } else {
      EXPECT_EQ(CByte(c.x), c.atteso);
    }
  }
}

TEST(Conversioni, CheckedArithmeticFailsOnOverflow) {
  EXPECT_EQ(somma(2147483000, 647), 2147483647);
  EXPECT_THROW(somma(2147483647, 1), errore_esecuzione);
  EXPECT_THROW(differenza(-2147483647 - 1, 1), errore_esecuzione);
  EXPECT_EQ(prodotto(46340, 46340), 2147395600);
  EXPECT_THROW(prodotto(46341, 46341), errore_esecuzione);
  // Narrow stores keep the low bits of the 32-bit value.
  EXPECT_EQ(bassi_16(65536 + 5), 5);
  EXPECT_EQ(bassi_16(40000), -25536);
  EXPECT_EQ(bassi_8(96 + 256), 96);
  EXPECT_EQ(bassi_8(-1), 255);
}

}  // namespace
