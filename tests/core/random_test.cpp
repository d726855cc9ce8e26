// The game's generator: uniform in [0, 1) and reproducible from a seed.
#include <gtest/gtest.h>

#include <vector>

#include "core/random.h"

namespace qlx {

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
