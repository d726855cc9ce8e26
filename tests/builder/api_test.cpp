// libZandrel through its C entries, as the game calls it: argument checks, dictionary
// loading, sound fills, seeds, and failures that leave the caller's buffer as it came.
#include "zandrel.h"

#include "fill_check.h"
#include "temp_folder.h"

#include <gtest/gtest.h>

#include <chrono>

namespace {

using zandrel_test::allStrings;
using zandrel_test::gridBytes;

const std::vector<std::string> kSmallGrid{".....", ".#.#.", ".....", ".#.#.", "....."};

class ZandrelApi : public ::testing::Test {
 protected:
  void SetUp() override { zandrelSetTimeLimit(0); }
  int32_t load(const std::string& name, const std::string& text) {
    return loadPath(dir_.write(name, text));
  }
  static int32_t loadPath(std::string path) { return loadLangDict(path.data()); }
  static std::string lastError() { return zandrelLastError(); }

  qlx::testing::TempFolder dir_;
};

TEST_F(ZandrelApi, BadArgumentsLeaveTheBufferAlone) {
  ASSERT_EQ(load("d", allStrings("abc", {5})), ZANDREL_OK);
  std::vector<uint8_t> grid = gridBytes(kSmallGrid);
  const std::vector<uint8_t> before = grid;
  for (const auto& [cells, cols] :
       {std::pair{25, 0}, {25, -5}, {25, 256}, {0, 5}, {-25, 5}, {256, 16}, {24, 5}}) {
    EXPECT_EQ(makeXWordPuzzle(grid.data(), cells, cols), ZANDREL_BAD_GRID) << cells << " " << cols;
    EXPECT_NE(lastError(), "");
  }
  EXPECT_EQ(makeXWordPuzzle(nullptr, 25, 5), ZANDREL_BAD_GRID);
  EXPECT_EQ(grid, before);
  grid[12] = '.';  // the pattern-file spelling is not the buffer's
  const std::vector<uint8_t> badByte = grid;
  EXPECT_EQ(makeXWordPuzzle(grid.data(), 25, 5), ZANDREL_BAD_GRID);
  EXPECT_EQ(grid, badByte);
}

TEST_F(ZandrelApi, UnusableDictionariesAreRefusedAndForgetTheOneBefore) {
  const std::string missing = dir_.file("absent.dict");
  EXPECT_EQ(loadPath(missing), ZANDREL_NO_DICTIONARY);
  EXPECT_NE(lastError().find(missing), std::string::npos) << lastError();
  EXPECT_EQ(load("junk", "# only a comment\n\nNOT A WORD\n"), ZANDREL_NO_DICTIONARY);
  EXPECT_NE(lastError().find("no usable words"), std::string::npos) << lastError();
  EXPECT_EQ(load("empty", ""), ZANDREL_NO_DICTIONARY);
  EXPECT_EQ(loadPath(dir_.path()), ZANDREL_NO_DICTIONARY);  // a folder, not a file
  EXPECT_NE(lastError(), "");
  EXPECT_EQ(loadLangDict(nullptr), ZANDREL_NO_DICTIONARY);

  // After a failed load the dictionary loaded before is gone too.
  ASSERT_EQ(load("good", allStrings("abc", {5})), ZANDREL_OK);
  EXPECT_EQ(lastError(), "");
  EXPECT_EQ(loadPath(missing), ZANDREL_NO_DICTIONARY);
  std::vector<uint8_t> grid = gridBytes(kSmallGrid);
  EXPECT_EQ(makeXWordPuzzle(grid.data(), 25, 5), ZANDREL_NO_DICTIONARY);
  EXPECT_EQ(grid, gridBytes(kSmallGrid));
}

TEST_F(ZandrelApi, FillsAreSoundAndSeedsRepeat) {
  const auto all = zandrel_test::allWords("abcde", {2, 3, 5});
  ASSERT_EQ(load("d", allStrings("abcde", {2, 3, 5})), ZANDREL_OK);
  const qlx::gridkit::WordSet words(all.begin(), all.end());
  const std::vector<std::vector<std::string>> grids{kSmallGrid,
                                                    {"..#.", "#.##", ".#.."},  // lone cells
                                                    {"...#.", ".#.#.", ".....", ".#.#.", ".#..."},
                                                    {"...", ".#.", "..."},
                                                    {"#####", "#####"}};  // nothing to fill
  auto fillAll = [&](uint64_t seed) {
    zandrelSetSeed(seed);
    std::vector<std::vector<uint8_t>> fills;
    for (int round = 0; round < 3; ++round)
      for (const auto& rows : grids) {
        std::vector<uint8_t> grid = gridBytes(rows);
        const int cols = static_cast<int>(rows[0].size());
        EXPECT_EQ(makeXWordPuzzle(grid.data(), static_cast<int32_t>(grid.size()), cols),
                  ZANDREL_OK);
        EXPECT_EQ(zandrel_test::fillFault(gridBytes(rows), grid, cols, words), "");
        fills.push_back(grid);
      }
    return fills;
  };
  const auto first = fillAll(42);
  EXPECT_EQ(fillAll(42), first);
  EXPECT_NE(fillAll(43), first);
  // Successive fills of one grid differ.
  EXPECT_NE(first[0], first[grids.size()]);
  EXPECT_NE(first[grids.size()], first[2 * grids.size()]);
}

// An impossible grid is recognised as such, well before the time limit, and changes nothing.
TEST_F(ZandrelApi, NoFillLeavesTheBufferAsItCame) {
  zandrelSetTimeLimit(30000);
  const auto start = std::chrono::steady_clock::now();
  // Three-letter words only, but the grid has a four-letter run.
  ASSERT_EQ(load("threes", allStrings("abc", {3})), ZANDREL_OK);
  std::vector<uint8_t> grid = gridBytes({"....", ".#.#", "...#"});
  EXPECT_EQ(makeXWordPuzzle(grid.data(), 12, 4), ZANDREL_NO_FILL);
  EXPECT_EQ(grid, gridBytes({"....", ".#.#", "...#"}));
  EXPECT_NE(lastError().find("run of 4 cells"), std::string::npos) << lastError();
  // Every fill of a 2x2 square would repeat a word.
  ASSERT_EQ(load("two", "ab\nba\n"), ZANDREL_OK);
  std::vector<uint8_t> square = gridBytes({"..", ".."});
  EXPECT_EQ(makeXWordPuzzle(square.data(), 4, 2), ZANDREL_NO_FILL);
  EXPECT_EQ(square, gridBytes({"..", ".."}));
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(10))
      << "exhausted, not timed out";
}

}  // namespace
