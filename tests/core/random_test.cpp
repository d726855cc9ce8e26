// The program-wide generator: uniform in [0, 1) and reproducible from a seed.
#include <gtest/gtest.h>

#include <vector>

#include "core/random.h"

namespace qlx {

TEST(Random, SeedRepeatsTheSequenceAndValuesStayBelowOne) {
  seedRandom(42);
  std::vector<double> first;
  for (int i = 0; i < 1000; ++i) first.push_back(rnd());
  seedRandom(42);
  int buckets[10] = {};
  for (int i = 0; i < 1000; ++i) {
    const double u = rnd();
    ASSERT_EQ(u, first[i]);
    ASSERT_GE(u, 0.0);
    ASSERT_LT(u, 1.0);
    ++buckets[static_cast<int>(u * 10)];
  }
  for (int b : buckets) EXPECT_GT(b, 50);  // every tenth of the range is reached
  seedRandom(43);
  EXPECT_NE(rnd(), first[0]);
}

}  // namespace qlx
