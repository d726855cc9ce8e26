// The grid generator: what it makes keeps the rules and does not repeat itself, even as
// mirror images or turns.
#include "grid_test_patterns.h"

#include "generator.h"
#include "gridkit/rules.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <set>

namespace qlx::gridgen {
namespace {

using gridkit::Pattern;
using gridkit::test::goodGrid;
using gridkit::test::rowsToPattern;

TEST(GridGenerator, ShapeKeyIsTheSameForMirrorsAndTurnsOnly) {
  const Pattern p = rowsToPattern({"#..", "...", "..#", "##."});
  const Pattern mirrored = rowsToPattern({"..#", "...", "#..", ".##"});
  const Pattern upsideDown = rowsToPattern({"##.", "..#", "...", "#.."});
  const Pattern other = rowsToPattern({"#..", "...", "...", "##."});
  EXPECT_EQ(shapeKey(p), shapeKey(mirrored));
  EXPECT_EQ(shapeKey(p), shapeKey(upsideDown));
  EXPECT_NE(shapeKey(p), shapeKey(other));

  Pattern transposed = goodGrid();
  for (int r = 0; r < 9; ++r)
    for (int c = 0; c < 9; ++c)
      transposed.cells[static_cast<std::size_t>(c * 9 + r)] = goodGrid().white(r, c);
  EXPECT_EQ(shapeKey(goodGrid()), shapeKey(transposed));
}

TEST(GridGenerator, EverySizeWeShipGivesDistinctRuleKeepingGrids) {
  for (const int side : {11, 12, 13, 15}) {
    Options options;
    options.rows = options.cols = side;
    options.count = 6;
    options.seed = 42;
    const std::vector<Pattern> grids = generate(options, {});
    ASSERT_EQ(grids.size(), 6u) << side;
    std::set<std::string> keys;
    for (const Pattern& p : grids) {
      EXPECT_EQ(p.rows, side);
      EXPECT_THAT(gridkit::checkGridRules(p), ::testing::IsEmpty()) << gridkit::formatPattern(p);
      EXPECT_TRUE(looksPleasant(p, defaultMaxLongWords(side, side))) << gridkit::formatPattern(p);
      keys.insert(shapeKey(p));
    }
    EXPECT_EQ(keys.size(), grids.size()) << side;
  }
}

TEST(GridGenerator, SameSeedSameGridsAndAvoidedShapesStayOut) {
  Options options;
  options.rows = options.cols = 13;
  options.count = 3;
  options.seed = 7;
  const auto first = generate(options, {});
  EXPECT_EQ(generate(options, {}), first);
  ASSERT_EQ(first.size(), 3u);
  const auto avoiding = generate(options, {shapeKey(first[0])});
  for (const Pattern& p : avoiding) EXPECT_NE(shapeKey(p), shapeKey(first[0]));
}

TEST(GridGenerator, PleasantnessRefusesHeavyClumps) {
  // Keeps the rules' word lengths but has a 3x3 square of blocks.
  const Pattern clump =
      rowsToPattern({".........", ".#.#.#.#.", "...###...", ".#.###.#.", "...###...", ".#.#.#.#.",
                     ".........", ".#.#.#.#.", "........."});
  EXPECT_FALSE(looksPleasant(clump, 10));
}

}  // namespace
}  // namespace qlx::gridgen
