// The grid rules: a good grid passes, and each rule broken on its own is reported, with
// the place, while its boundary cases still pass.
#include "grid_test_patterns.h"

#include "gridkit/rules.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace qlx::gridkit {
namespace {

using test::goodGrid;
using test::rowsToPattern;
using test::withCell;
using ::testing::AllOf;
using ::testing::Contains;
using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::IsEmpty;
using ::testing::Not;

Pattern allWhite(int rows, int cols) {
  Pattern p;
  p.rows = rows;
  p.cols = cols;
  p.cells.assign(static_cast<std::size_t>(rows * cols), 1);
  return p;
}

// A pattern of the given size whose first `blocks` cells are blocks.
Pattern withBlocks(int rows, int cols, int blocks) {
  Pattern p = allWhite(rows, cols);
  for (int i = 0; i < blocks; ++i) p.cells[static_cast<std::size_t>(i)] = 0;
  return p;
}

TEST(GridRules, GoodGridBreaksNone) {
  EXPECT_THAT(checkGridRules(goodGrid()), IsEmpty());
  const GridStats s = gridStats(goodGrid());
  EXPECT_EQ(s.cells, 81);
  EXPECT_EQ(s.blocks, 26);
  EXPECT_EQ(s.whites, 55);
  EXPECT_EQ(s.checked, 21);
  EXPECT_EQ(s.longestWord, 9);
}

TEST(GridRules, OneCellOffTheHalfTurnIsAsymmetric) {
  // Blocking row 5, column 1 alone keeps every other rule.
  const auto broken = checkGridRules(withCell(goodGrid(), 4, 0, false));
  EXPECT_THAT(broken, ElementsAre(AllOf(HasSubstr("turned upside down"), HasSubstr("row 5, column 1"),
                                        HasSubstr("row 5, column 9"))));
}

TEST(GridRules, MirrorSymmetryIsNotEnough) {
  // Symmetric left-right but not under a half turn.
  const Pattern p = rowsToPattern({"#...#", ".....", "....."});
  EXPECT_THAT(checkGridRules(p), Contains(HasSubstr("upside down")));
}

TEST(GridRules, SeparateAreasAreDisconnected) {
  const Pattern p = rowsToPattern({"...#...", "...#...", "...#...", "#######", "...#...", "...#...", "...#..."});
  const auto broken = checkGridRules(p);
  EXPECT_THAT(broken, Contains(AllOf(HasSubstr("not all connected"), HasSubstr("row 1, column 5"))));
  EXPECT_THAT(broken, Not(Contains(HasSubstr("upside down"))));
  EXPECT_THAT(broken, Not(Contains(HasSubstr("exactly 2"))));
}

TEST(GridRules, TwoLetterRunsAcrossAndDown) {
  const auto across = checkGridRules(rowsToPattern({"#...#", "##.##", "#..##"}));
  EXPECT_THAT(across, Contains(AllOf(HasSubstr("exactly 2"), HasSubstr("across in row 3, columns 2-3"))));
  const auto down = checkGridRules(rowsToPattern({"#.#", "#.#", "#.#", "##.", "##."}));
  EXPECT_THAT(down, Contains(AllOf(HasSubstr("exactly 2"), HasSubstr("down in column 3, rows 4-5"))));
  // Several are counted, and the first named.
  const auto many = checkGridRules(rowsToPattern({"..#..", "#####", "..#.."}));
  EXPECT_THAT(many, Contains(AllOf(HasSubstr("4 cases"), HasSubstr("row 1, columns 1-2"))));
}

TEST(GridRules, RunsUpToThirteenAreWordsFourteenIsTooLong) {
  EXPECT_THAT(checkGridRules(allWhite(1, 13)), Not(Contains(HasSubstr("longer than"))));
  EXPECT_THAT(checkGridRules(allWhite(1, 14)),
              Contains(AllOf(HasSubstr("longer than 13"), HasSubstr("14 cells across in row 1, columns 1-14"))));
  EXPECT_THAT(checkGridRules(allWhite(14, 1)), Contains(HasSubstr("down in column 1, rows 1-14")));
}

TEST(GridRules, CellInNoWordOfThree) {
  // Row 2, column 1 lies in an across run of 1 and a down run of 2.
  const Pattern p = rowsToPattern({"....", ".###", "####"});
  EXPECT_THAT(checkGridRules(p), Contains(AllOf(HasSubstr("no word of 3"), HasSubstr("row 2, column 1"))));
  // A lone letter between blocks is fine when its other direction makes a word.
  EXPECT_THAT(checkGridRules(goodGrid()), Not(Contains(HasSubstr("no word of 3"))));
}

TEST(GridRules, BlockShareBoundsAreInclusive) {
  auto blockRule = [](const Pattern &p) {
    for (const std::string &b : checkGridRules(p))
      if (b.find("blocks are") != std::string::npos) return b;
    return std::string();
  };
  EXPECT_EQ(blockRule(withBlocks(5, 5, 7)), "");  // 28%
  EXPECT_NE(blockRule(withBlocks(5, 5, 6)), "");  // 24%
  EXPECT_EQ(blockRule(withBlocks(5, 10, 19)), ""); // 38%
  EXPECT_THAT(blockRule(withBlocks(5, 10, 20)), AllOf(HasSubstr("40.0%"), HasSubstr("20 of 50")));
  EXPECT_THAT(blockRule(allWhite(3, 5)), HasSubstr("0.0%"));
}

TEST(GridRules, CheckedShareOfWhiteCells) {
  // Every cell crossed both ways: 100% checked.
  EXPECT_THAT(checkGridRules(rowsToPattern({"...", "...", "..."})),
              Contains(AllOf(HasSubstr("both an across and a down word"), HasSubstr("100.0%"))));
  // Combs: long across words, lone letters down, so nothing is checked.
  const Pattern comb = rowsToPattern({".....", "#####", ".....", "#####", "....."});
  EXPECT_THAT(checkGridRules(comb), Contains(HasSubstr("0.0% of the white cells (0 of 15)")));
  EXPECT_THAT(checkGridRules(goodGrid()), Not(Contains(HasSubstr("both an across"))));
}

TEST(GridRules, TwoHundredFiftySixCellsDoNotFitTheGame) {
  EXPECT_THAT(checkGridRules(allWhite(16, 16)), Contains(HasSubstr("16 x 16 = 256 cells")));
  EXPECT_THAT(checkGridRules(allWhite(15, 17)), Not(Contains(HasSubstr("fewer than 256"))));
}

TEST(GridRules, NoWhiteCellOrNoCells) {
  EXPECT_THAT(checkGridRules(withBlocks(3, 3, 9)), ElementsAre(HasSubstr("no white cell")));
  EXPECT_THAT(checkGridRules(Pattern{}), ElementsAre(HasSubstr("no cells")));
  Pattern inconsistent = allWhite(3, 3);
  inconsistent.cells.pop_back();
  EXPECT_THAT(checkGridRules(inconsistent), ElementsAre(HasSubstr("no cells")));
}

TEST(GridRuns, FindsMaximalRunsOfTwoOrMore) {
  const auto runs = findRuns(rowsToPattern({"..#.", "#...", "...#"}));
  // Across: row 1 columns 1-2, row 2 columns 2-4, row 3 columns 1-3.
  int across = 0, down = 0;
  for (const gridkit::Run &r : runs) (r.across ? across : down)++;
  EXPECT_EQ(across, 3);
  EXPECT_EQ(down, 3); // column 2 rows 1-3, column 3 rows 2-3, column 4 rows 1-2
  EXPECT_EQ(runs[1].row, 1);
  EXPECT_EQ(runs[1].col, 1);
  EXPECT_EQ(runs[1].length, 3);
}

} // namespace
} // namespace qlx::gridkit
