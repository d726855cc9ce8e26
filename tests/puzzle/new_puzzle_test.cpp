// Making a new puzzle: the letter coding (the frequency ranking's tie rule, the shuffle's short
// draw, the deal, the givens), and newPuzzle with stand-in fillers: a fill that fails, leaves a
// blank or uses too few letters is a failed puzzle, and never replaces the one in memory.
#include <gtest/gtest.h>

#include <functional>
#include <set>
#include <string>

#include "core/random.h"
#include "puzzle/coding.h"
#include "puzzle/gridfile.h"
#include "puzzle/new_puzzle.h"
#include "puzzle_strings.h"
#include "temp_folder.h"

namespace qlx {
namespace {

// A one-row "grid" whose white cells spell text ('-' a block), coded with the given seed.
Puzzle coded(const std::string& text, uint64_t seed) {
  Puzzle p = testing::gridFromRows({text});
  Random random(seed);
  const Status s = assignNumbers(p, random);
  EXPECT_TRUE(s.ok()) << s.message();
  return p;
}

TEST(Coding, TiesAreSettledByTheExchangeSortNotAlphabetically) {
  Array1<int16_t> tally(26);
  tally(1) = 1, tally(2) = 2, tally(3) = 2, tally(4) = 3;  // a, b, c, d
  const Array1<uint8_t> ranked = rankByFrequency(tally);
  std::vector<int> ranks;
  for (int i = 1; i <= 26; ++i) ranks.push_back(ranked(i));
  EXPECT_EQ(ranks, (std::vector<int>{4,  3,  2,  1,  5,  6,  7,  8,  9,  10, 11, 12, 13,
                                     14, 15, 16, 17, 18, 19, 20, 21, 22, 23, 24, 25, 26}));
}

TEST(Coding, ShuffleDrawsOnlyFromTheFirstSpanMinusOnePositions) {
  // With three numbers the draw r = 1 + Int(u * 1) is always 1, whatever the generator gives,
  // so the result is fixed; a draw over the whole span would vary it.
  // A single number would be swapped with position 0: it is left alone instead.
  for (uint64_t seed = 0; seed < 50; ++seed) {
    Random random(seed);
    Array1<int16_t> deck(3), one(1);
    deck(1) = 1, deck(2) = 2, deck(3) = 3, one(1) = 1;
    shuffleNumbers(deck, 1, 3, random);
    shuffleNumbers(one, 1, 1, random);
    ASSERT_EQ((std::vector<int>{deck(1), deck(2), deck(3), one(1)}), (std::vector<int>{3, 1, 2, 1}))
        << seed;
  }
}

TEST(Coding, NumbersAreABijectionOverThePresentLettersOnly) {
  // 13 distinct letters ('q' once, no 'z'), then all 26.
  for (const auto& [text, count] : {std::pair{"thequickbrown-the-brown-ten", 13},
                                    {"thequickbrownfoxjumpsoverthelazydog", 26}}) {
    const Puzzle p = coded(text, 7);
    ASSERT_TRUE(p.letterCount == count && p.numToLetter.size() == std::size_t(count)) << text;
    EXPECT_NE(p.letterToNum('q' - 96), 0);
    // Each number's letter has that number, so no two numbers share a letter.
    for (int n = 1; n <= count; ++n) EXPECT_EQ(p.letterToNum(p.numToLetter(n)), n) << text;
    // Letters that do not occur have no number and sit at the end of the ranking.
    for (int r = count + 1; r <= 26; ++r) EXPECT_EQ(p.letterToNum(p.lettersByFreq(r)), 0) << r;
  }
}

TEST(Coding, StartLettersAreThreeRanksOfOneTableRowAndEveryRowOccurs) {
  const std::set<std::set<int>> rows = {{1, 5, 8}, {2, 4, 7}, {3, 5, 6}, {3, 4, 6}, {5, 6, 9}};
  std::set<std::set<int>> rowsSeen;
  // Tallies 9, 8, ..., 1 for a..i, so rank r is letter r and ranks are unambiguous.
  std::string text;
  for (int k = 0; k < 9; ++k)
    text += std::string(static_cast<std::size_t>(9 - k), static_cast<char>('a' + k));
  for (uint64_t seed = 1; seed <= 200; ++seed) {
    const Puzzle p = coded(text, seed);
    std::set<int> ranks;
    for (int n = 1; n <= p.letterCount; ++n) {
      // A given number is pre-filled with its upper-case letter; letter index == rank here.
      EXPECT_EQ(p.entries(n), p.givenNums(n) == 1 ? p.numToLetter(n) + 64 : 0);
      if (p.givenNums(n) == 1) ranks.insert(p.numToLetter(n));
    }
    ASSERT_TRUE(rows.count(ranks)) << "seed " << seed;
    rowsSeen.insert(ranks);
  }
  EXPECT_EQ(rowsSeen.size(), 5u);  // all five patterns are reachable
}

// Hands the grid buffer to fill as it came, remembering it and the column count.
class FakeFiller : public WordFiller {
 public:
  explicit FakeFiller(std::function<int32_t(uint8_t*, int32_t)> fill) : fill_(std::move(fill)) {}
  int32_t makeXWordPuzzle(uint8_t* letters, int32_t cellCount, int32_t cols) override {
    seen.assign(letters, letters + cellCount);
    lastCols = cols;
    return fill_(letters, cellCount);
  }
  std::string lastError() const override { return "no words fit"; }
  std::string seen;
  int32_t lastCols = 0;

 private:
  std::function<int32_t(uint8_t*, int32_t)> fill_;
};

// Writes letters in turn into the white cells, a..z or the first `kinds` of them.
std::function<int32_t(uint8_t*, int32_t)> fillInTurn(int kinds = 26) {
  return [kinds](uint8_t* letters, int32_t count) {
    for (int32_t i = 0, k = 0; i < count; ++i)
      if (letters[i] == '?') letters[i] = static_cast<uint8_t>('a' + (k++ % kinds));
    return 0;
  };
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

TEST_F(NewPuzzleTest, HandsTheLibraryTheMarkedGridCodesItsFillAndKeepsItWhenALaterFillFails) {
  FakeFiller good(fillInTurn());
  Puzzle p;
  int32_t chosen = 0;
  ASSERT_TRUE(newPuzzle(p, index, 1, 2, good, random, &chosen).ok());
  EXPECT_EQ(good.seen, "?????\?-?-??????\?-?-??????");  // 5 x 5; "\?": no trigraph
  EXPECT_EQ(good.lastCols, 5);
  EXPECT_EQ(chosen, 1);
  EXPECT_EQ(p.letterCount, 21);
  EXPECT_EQ(p.gridLetters(7), '-');
  // (Round(u * 32000) mod count) + 1 stays within the group and reaches every grid.
  std::set<int32_t> drawn;
  for (int i = 0; i < 40; ++i)  // a failed draw adds 0
    drawn.insert(drawPuzzleNumber(index, 1, random, &chosen).ok() ? chosen : 0);
  EXPECT_EQ(drawn, (std::set<int32_t>{1, 2}));
  ASSERT_TRUE(newPuzzle(p, index, -1, 2, good, random, &chosen).ok());  // -1: drawn
  EXPECT_EQ(chosen, 1);

  // A fill that fails, leaves a blank or uses too few letters never replaces the puzzle.
  const Puzzle before = p;
  FakeFiller refuses([](uint8_t*, int32_t) { return 3; });
  FakeFiller leavesBlank([](uint8_t* letters, int32_t count) {
    fillInTurn()(letters, count);
    letters[count - 1] = '?';
    return 0;
  });
  FakeFiller fewLetters(fillInTurn(8));
  const std::vector<std::pair<WordFiller*, std::string>> cases = {
      {&refuses, "could not fill grid 1 of group 2 (result 3: no words fit)"},
      {&leavesBlank, "without a letter (cell 25)"},
      {&fewLetters, "only 8 different letters"},
  };
  for (auto& [filler, expected] : cases) {
    const Status s = newPuzzle(p, index, 1, 2, *filler, random);
    EXPECT_NE(s.message().find(expected), std::string::npos) << s.message();
    EXPECT_EQ(p, before) << expected;
  }
  EXPECT_FALSE(newPuzzle(p, index, 2, 2, good, random).ok());  // a number outside the group
  EXPECT_EQ(p, before);
}

TEST(OneSolution, AFillThatCanBeReadTwoWaysIsFilledAgainUntilOneCanNot) {
  // "abcdefghi" reads as well with any unknown letter made a z; "jklmnopqr" one way only.
  WordTable words;
  words.add("jklmnopqr");
  for (std::string w = "abcdefghi"; char& c : w) {
    words.add(w);
    std::string z = w;
    z[std::size_t(&c - w.data())] = 'z';
    words.add(z);
  }
  int calls = 0;
  const auto fillWith = [&](int twoWays) {
    return FakeFiller([&calls, twoWays](uint8_t* letters, int32_t count) {
      std::copy_n(++calls <= twoWays ? "abcdefghi" : "jklmnopqr", count, letters);
      return 0;
    });
  };
  Random random(5);
  FakeFiller secondIsUnique = fillWith(1), neverUnique = fillWith(1000);
  Puzzle p = testing::gridFromRows({"?????????"});
  SolutionCheck check{&words};
  ASSERT_TRUE(fillAndCode(p, secondIsUnique, random, "row", &check).ok());
  EXPECT_EQ(std::string(p.gridLetters.begin(), p.gridLetters.end()), "jklmnopqr");
  EXPECT_EQ(std::pair(check.fills, check.solutions), std::pair(2, 1));
  calls = 0;
  EXPECT_EQ(fillAndCode(p, neverUnique, random, "row", &check).message(),
            "cannot make a puzzle with one solution of row in 20 fills");
  EXPECT_EQ(calls, kMaxFillsForOneSolution);
}

}  // namespace
}  // namespace qlx
