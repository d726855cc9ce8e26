// Ranking and inserting best times: ties rank below, a place holding 0 counts as 18000, large
// times are kept whole, and a level the table lacks is left alone.
#include <gtest/gtest.h>

#include <array>
#include <string>

#include "dialogs/best_times.h"
#include "persistence/user_store.h"

namespace qlx {
namespace {

// "P1".."P8": the name first put at place i.
std::string placeName(int i) {
  std::string name(1, 'P');  // not "P" + ..., which trips GCC 12's -Wrestrict
  return name += std::to_string(i);
}

class BestTimesTest : public ::testing::Test {
 protected:
  BestTimesTest() { scores.redim(kLevels); }

  // Fills level's list with times first, first + step, ... and names P1..P8.
  void fill(int level, int32_t first, int32_t step) {
    for (int i = 1; i <= kBestPlaces; ++i) {
      scores(level).times(i) = first + step * (i - 1);
      scores(level).names(i) = placeName(i);
    }
  }

  Array1<BestList> scores;
};

TEST_F(BestTimesTest, AnEqualTimeRanksBelowTheOneAlreadyThereAndTheLastFallsOut) {
  fill(1, 100, 100);  // 100, 200, ..., 800
  ASSERT_EQ(rankOfTime(scores, 1, 300), 4);
  insertBestTime(scores, 1, 300, "Tie");
  EXPECT_EQ(scores(1).times(4), 300);
  EXPECT_EQ(
      (std::array{scores(1).names(3), scores(1).names(4), scores(1).names(5), scores(1).names(8)}),
      (std::array<std::string, 4>{"P3", "Tie", "P4", "P7"}));

  fill(1, 100, 100);
  EXPECT_EQ(rankOfTime(scores, 1, 799), 8);
  EXPECT_EQ(rankOfTime(scores, 1, 800), kNoPlace);  // equal to place 8: nothing
}

TEST_F(BestTimesTest, APlaceHoldingZeroIsRewrittenTo18000WhenTheRankingReachesIt) {
  fill(1, 20000, 100);
  scores(1).times(1) = 0;
  EXPECT_EQ(rankOfTime(scores, 1, 17999), 1);
  EXPECT_EQ(scores(1).times(1), kUnsetBestTime);

  scores(1).times(1) = 0;
  EXPECT_EQ(rankOfTime(scores, 1, 18000), 2);  // not below 18000, so compared with place 2
  EXPECT_EQ(scores(1).times(1), kUnsetBestTime);

  // A zero the ranking never reaches stays.
  fill(1, 100, 100);
  scores(1).times(8) = 0;
  EXPECT_EQ(rankOfTime(scores, 1, 50), 1);
  EXPECT_EQ(scores(1).times(8), 0);
}

TEST_F(BestTimesTest, TimesAbove32767AreStoredWhole) {
  fill(1, 40000, 1000);  // a stored list with times beyond 16 bits
  ASSERT_EQ(rankOfTime(scores, 1, 35000), 1);
  insertBestTime(scores, 1, 35000, "Slow");
  EXPECT_EQ(scores(1).times(1), 35000);
  EXPECT_EQ(scores(1).times(2), 40000);
  ASSERT_EQ(rankOfTime(scores, 1, 70000), kNoPlace);
  EXPECT_EQ(rankOfTime(scores, 1, 45500), 8);
  insertBestTime(scores, 1, 45500, "Last");
  EXPECT_EQ(scores(1).times(8), 45500);
  EXPECT_EQ(scores(1).names(8), "Last");
}

TEST_F(BestTimesTest, ALevelOutsideTheTableRanksNothingAndChangesNothing) {
  fill(1, 0, 0);  // zeros that a ranking would rewrite
  fill(2, 0, 0);
  const Array1<BestList> before = scores;
  for (int level : {0, -1, 3, 32767}) {
    EXPECT_EQ(rankOfTime(scores, level, 1), kNoPlace) << level;
    insertBestTime(scores, level, 1, "Nobody");
  }
  for (int level = 1; level <= kLevels; ++level) {
    EXPECT_TRUE(scores(level).times == before(level).times) << level;
    EXPECT_TRUE(scores(level).names == before(level).names) << level;
  }

  Array1<BestList> none;
  EXPECT_EQ(rankOfTime(none, 1, 1), kNoPlace);
  insertBestTime(none, 1, 1, "Nobody");
  EXPECT_TRUE(none.empty());
}

}  // namespace
}  // namespace qlx
