// The core helpers: the 1-based array (indices outside 1..size fail loudly instead of touching
// memory), the two conversions of fractions, and the generator (uniform in [0, 1), reproducible
// from a seed).
#include <gtest/gtest.h>

#include <vector>

#include "core/array1.h"
#include "core/numeric.h"
#include "core/random.h"

namespace qlx {

TEST(Array1, IndexesFromOneAndChecksBothEnds) {
  Array1<int> a(3);
  a(1) = 10;
  a(3) = 30;
  EXPECT_EQ(a.data()[2], 30);
  EXPECT_THROW(a(0), std::out_of_range);
  EXPECT_THROW(a(4), std::out_of_range);
  a.redim(5);  // a re-dimension clears, like a fresh array
  EXPECT_EQ(a(1), 0);
  EXPECT_EQ(a(5), 0);
  EXPECT_THROW(Array1<int>()(1), std::out_of_range);
}

TEST(Numeric, RoundSendsHalvesToTheEvenNeighbour) {
  EXPECT_EQ(roundHalfEven(1.5), 2);
  EXPECT_EQ(roundHalfEven(42.5), 42);  // the strip top of a 12-row grid with 21 letters
  EXPECT_EQ(roundHalfEven(-0.5), 0);
  EXPECT_EQ(intFloor(-0.25), -1);
  EXPECT_EQ(intFloor(2.99), 2);
}

TEST(Random, SeedRepeatsTheSequenceAndValuesStayBelowOne) {
  Random random(42);
  std::vector<double> first;
  for (int i = 0; i < 1000; ++i) first.push_back(random.next());
  random.seed(42);
  int buckets[10] = {};
  for (int i = 0; i < 1000; ++i) {
    const double u = random.next();
    ASSERT_EQ(u, first[i]);
    ASSERT_GE(u, 0.0);
    ASSERT_LT(u, 1.0);
    ++buckets[static_cast<int>(u * 10)];
  }
  for (int b : buckets) EXPECT_GT(b, 50);  // every tenth of the range is reached
  EXPECT_NE(Random(43).next(), first[0]);
}

}  // namespace qlx
