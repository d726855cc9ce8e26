// newPuzzle with stand-in fillers: a fill that fails, leaves a blank or uses too few letters is
// a failed puzzle, and a failed puzzle never replaces the one in memory.
#include <gtest/gtest.h>

#include <functional>
#include <set>

#include "core/random.h"
#include "puzzle/gridfile.h"
#include "puzzle/new_puzzle.h"
#include "temp_folder.h"

namespace qlx {
namespace {

class FakeFiller : public WordFiller {
 public:
  explicit FakeFiller(std::function<int32_t(uint8_t*, int32_t)> fill) : fill_(std::move(fill)) {}
  int32_t makeXWordPuzzle(uint8_t* letters, int32_t cellCount, int32_t cols) override {
    lastCols = cols;
    return fill_(letters, cellCount);
  }
  std::string lastError() const override { return "no words fit"; }
  int32_t lastCols = 0;

 private:
  std::function<int32_t(uint8_t*, int32_t)> fill_;
};

// Writes 'a', 'b', ... in turn into the white cells: enough distinct letters for any grid here.
int32_t fillInTurn(uint8_t* letters, int32_t count) {
  int k = 0;
  for (int32_t i = 0; i < count; ++i)
    if (letters[i] == '?') letters[i] = static_cast<uint8_t>('a' + (k++ % 26));
  return 0;
}

class NewPuzzleTest : public ::testing::Test {
 protected:
  void SetUp() override {
    index.gridFilePath = dir.write("GRIDFILE.GFDB", testing::sampleGridFile());
    ASSERT_TRUE(loadGridIndex(index).ok());
  }
  testing::TempFolder dir;
  GridIndex index;
  Random random{3};
};

TEST_F(NewPuzzleTest, HandsTheLibraryTheMarkedGridAndCodesItsFill) {
  std::string seen;
  FakeFiller filler([&](uint8_t* letters, int32_t count) {
    seen.assign(letters, letters + count);
    return fillInTurn(letters, count);
  });
  Puzzle p;
  int32_t chosen = 0;
  ASSERT_TRUE(newPuzzle(p, index, 1, 2, filler, random, &chosen).ok());
  EXPECT_EQ(seen,
            "?????"
            "?-?-?"
            "?????"
            "?-?-?"
            "?????");
  EXPECT_EQ(filler.lastCols, 5);
  EXPECT_EQ(chosen, 1);
  EXPECT_EQ(p.letterCount, 21);
  EXPECT_EQ(p.gridLetters(7), '-');
}

TEST_F(NewPuzzleTest, DrawsANumberWithinTheGroup) {
  FakeFiller filler(fillInTurn);
  // (Round(u * 32000) mod count) + 1 stays within the group and reaches every grid.
  std::set<int32_t> drawn;
  for (int i = 0; i < 40; ++i) {
    int32_t n = 0;
    ASSERT_TRUE(drawPuzzleNumber(index, 1, random, &n).ok());
    ASSERT_GE(n, 1);
    ASSERT_LE(n, 2);
    drawn.insert(n);
  }
  EXPECT_EQ(drawn.size(), 2u);
  Puzzle p;
  int32_t chosen = 0;
  ASSERT_TRUE(newPuzzle(p, index, -1, 2, filler, random, &chosen).ok());
  EXPECT_EQ(chosen, 1);
}

TEST_F(NewPuzzleTest, FailedFillsAreReportedAndKeepThePreviousPuzzle) {
  FakeFiller good(fillInTurn);
  Puzzle p;
  ASSERT_TRUE(newPuzzle(p, index, 1, 2, good, random).ok());
  const Puzzle before = p;

  FakeFiller refuses([](uint8_t*, int32_t) { return 3; });
  FakeFiller leavesBlank([](uint8_t* letters, int32_t count) {
    fillInTurn(letters, count);
    letters[count - 1] = '?';
    return 0;
  });
  FakeFiller fewLetters([](uint8_t* letters, int32_t count) {
    for (int32_t i = 0; i < count; ++i)
      if (letters[i] == '?') letters[i] = static_cast<uint8_t>('a' + i % 8);
    return 0;
  });
  const std::vector<std::pair<WordFiller*, std::string>> cases = {
      {&refuses, "could not fill grid 1 of group 2 (result 3: no words fit)"},
      {&leavesBlank, "without a letter (cell 25)"},
      {&fewLetters, "only 8 different letters"},
  };
  for (auto& [filler, expected] : cases) {
    Status s = newPuzzle(p, index, 1, 2, *filler, random);
    ASSERT_FALSE(s.ok()) << expected;
    EXPECT_NE(s.message().find(expected), std::string::npos) << s.message();
    EXPECT_EQ(p, before) << expected;
  }
  // A grid with too few white cells for nine letters, and a number outside the group.
  EXPECT_FALSE(newPuzzle(p, index, 1, 1, good, random).ok());
  EXPECT_FALSE(newPuzzle(p, index, 2, 2, good, random).ok());
  EXPECT_EQ(p, before);
}

}  // namespace
}  // namespace qlx
