// The grid rules: a good grid passes, and each rule broken on its own is reported, with
// the place, while its boundary cases still pass.
#include "grid_test_patterns.h"

#include "gridkit/rules.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace qlx::gridkit {
namespace {

using test::goodGrid;
using test::rowsToPattern;
using test::withCell;
using ::testing::IsEmpty;

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

// Each rule broken on its own is reported with its place, and its boundary cases pass.
TEST(GridRules, EachBrokenRuleIsNamedWithItsPlace) {
  struct Case {
    const char* what;
    Pattern pattern;
    std::vector<std::string> inOneProblem;  // all found in a single reported problem
    std::vector<std::string> absent = {};   // found in no reported problem
    bool only = false;                      // the only problem reported
  };
  Pattern inconsistent = allWhite(3, 3);
  inconsistent.cells.pop_back();
  const Case cases[] = {
      // Blocking row 5, column 1 alone keeps every other rule.
      {"off the half turn",
       withCell(goodGrid(), 4, 0, false),
       {"turned upside down", "row 5, column 1", "row 5, column 9"},
       {},
       true},
      {"mirror symmetry only", rowsToPattern({"#...#", ".....", "....."}), {"upside down"}},
      {"two areas",
       rowsToPattern({"...#...", "...#...", "...#...", "#######", "...#...", "...#...", "...#..."}),
       {"not all connected", "row 1, column 5"},
       {"upside down", "exactly 2"}},
      {"two across",
       rowsToPattern({"#...#", "##.##", "#..##"}),
       {"exactly 2", "across in row 3, columns 2-3"}},
      {"two down",
       rowsToPattern({"#.#", "#.#", "#.#", "##.", "##."}),
       {"exactly 2", "down in column 3, rows 4-5"}},
      {"several twos",
       rowsToPattern({"..#..", "#####", "..#.."}),
       {"4 cases", "row 1, columns 1-2"}},
      {"13 across", allWhite(1, 13), {}, {"longer than"}},
      {"14 across", allWhite(1, 14), {"longer than 13", "14 cells across in row 1, columns 1-14"}},
      {"14 down", allWhite(14, 1), {"longer than 13", "down in column 1, rows 1-14"}},
      // Row 2, column 1 lies in an across run of 1 and a down run of 2.
      {"no word of 3",
       rowsToPattern({"....", ".###", "####"}),
       {"no word of 3", "row 2, column 1"}},
      {"28% blocks", withBlocks(5, 5, 7), {}, {"blocks are"}},
      {"24% blocks", withBlocks(5, 5, 6), {"blocks are"}},
      {"38% blocks", withBlocks(5, 10, 19), {}, {"blocks are"}},
      {"40% blocks", withBlocks(5, 10, 20), {"blocks are", "40.0%", "20 of 50"}},
      {"no blocks", allWhite(3, 5), {"blocks are", "0.0%"}},
      {"all checked", allWhite(3, 3), {"both an across and a down word", "100.0%"}},
      // Combs: long across words, lone letters down, so nothing is checked.
      {"comb",
       rowsToPattern({".....", "#####", ".....", "#####", "....."}),
       {"both an across", "0.0% of the white cells (0 of 15)"}},
      {"256 cells", allWhite(16, 16), {"16 x 16 = 256 cells"}},
      {"255 cells", allWhite(15, 17), {}, {"fewer than 256"}},
      {"all blocks", withBlocks(3, 3, 9), {"no white cell"}, {}, true},
      {"empty", Pattern{}, {"no cells"}, {}, true},
      {"cells missing", inconsistent, {"no cells"}, {}, true},
  };
  for (const Case& c : cases) {
    const std::vector<std::string> problems = checkGridRules(c.pattern);
    std::string all;
    for (const std::string& problem : problems) all += problem + "\n";
    if (c.only) {
      EXPECT_EQ(problems.size(), 1u) << c.what << ":\n" << all;
    }
    if (!c.inOneProblem.empty()) {
      const bool found =
          std::any_of(problems.begin(), problems.end(), [&](const std::string& problem) {
            return std::all_of(
                c.inOneProblem.begin(), c.inOneProblem.end(),
                [&](const std::string& part) { return problem.find(part) != std::string::npos; });
          });
      EXPECT_TRUE(found) << c.what << ":\n" << all;
    }
    for (const std::string& part : c.absent)
      EXPECT_EQ(all.find(part), std::string::npos) << c.what << ":\n" << all;
  }
}

TEST(GridRuns, FindsMaximalRunsOfTwoOrMore) {
  const auto runs = findRuns(rowsToPattern({"..#.", "#...", "...#"}));
  // Across: row 1 columns 1-2, row 2 columns 2-4, row 3 columns 1-3.
  int across = 0, down = 0;
  for (const gridkit::Run& r : runs) (r.across ? across : down)++;
  EXPECT_EQ(across, 3);
  EXPECT_EQ(down, 3);  // column 2 rows 1-3, column 3 rows 2-3, column 4 rows 1-2
  EXPECT_EQ(runs[1].row, 1);
  EXPECT_EQ(runs[1].col, 1);
  EXPECT_EQ(runs[1].length, 3);
}

}  // namespace
}  // namespace qlx::gridkit
