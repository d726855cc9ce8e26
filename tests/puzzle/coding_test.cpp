// Letter coding: the frequency ranking's tie rule, the shuffle's short draw, the deal, the givens.
#include <gtest/gtest.h>

#include <set>
#include <string>

#include "core/random.h"
#include "puzzle/coding.h"
#include "puzzle_strings.h"

namespace qlx {
namespace {

// A one-row "grid" whose white cells spell text; '-' stands for a block.
Puzzle puzzleSpelling(const std::string& text) { return testing::gridFromRows({text}); }

TEST(Coding, TiesAreSettledByTheExchangeSortNotAlphabetically) {
  Array1<int16_t> tally(26);
  tally(1) = 1;  // a
  tally(2) = 2;  // b
  tally(3) = 2;  // c
  tally(4) = 3;  // d
  const Array1<uint8_t> ranked = rankByFrequency(tally);
  const std::vector<int> expected = {4, 3, 2, 1, 5, 6, 7, 8};  // d, c, b, a, e, f, ...
  for (int i = 1; i <= 8; ++i) EXPECT_EQ(ranked(i), expected[i - 1]) << "rank " << i;
  EXPECT_EQ(ranked(26), 26);
}

TEST(Coding, ShuffleDrawsOnlyFromTheFirstSpanMinusOnePositions) {
  // With three numbers the draw r = 1 + Int(u * 1) is always 1, whatever the generator gives,
  // so the result is fixed; a draw over the whole span would vary it.
  for (uint64_t seed = 0; seed < 50; ++seed) {
    Random random(seed);
    Array1<int16_t> deck(3);
    for (int16_t i = 1; i <= 3; ++i) deck(i) = i;
    shuffleNumbers(deck, 1, 3, random);
    ASSERT_EQ(deck(1), 3);
    ASSERT_EQ(deck(2), 1);
    ASSERT_EQ(deck(3), 2);
  }
  // A single number would be swapped with position 0: it is left alone instead.
  Array1<int16_t> one(1);
  one(1) = 1;
  Random random;
  shuffleNumbers(one, 1, 1, random);
  EXPECT_EQ(one(1), 1);
}

TEST(Coding, NumbersAreABijectionOverThePresentLettersOnly) {
  // 13 distinct letters ('q' once, no 'z'), then all 26.
  for (const char* text : {"thequickbrown-the-brown-ten", "thequickbrownfoxjumpsoverthelazydog"}) {
    Random random(7);
    Puzzle p = puzzleSpelling(text);
    ASSERT_TRUE(assignNumbers(p, random).ok());
    const int count = std::string(text).size() > 30 ? 26 : 13;
    ASSERT_EQ(p.letterCount, count) << text;
    ASSERT_EQ(p.numToLetter.size(), static_cast<std::size_t>(count));
    EXPECT_NE(p.letterToNum('q' - 96), 0);
    std::set<int> seen;
    for (int n = 1; n <= count; ++n) {
      EXPECT_EQ(p.letterToNum(p.numToLetter(n)), n) << text;
      seen.insert(p.numToLetter(n));
    }
    EXPECT_EQ(seen.size(), static_cast<std::size_t>(count));
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
    Random random(seed);
    Puzzle p = puzzleSpelling(text);
    ASSERT_TRUE(assignNumbers(p, random).ok());
    std::set<int> ranks;
    for (int n = 1; n <= p.letterCount; ++n) {
      if (p.givenNums(n) == 1) {
        EXPECT_EQ(p.entries(n), p.numToLetter(n) + 64);  // pre-filled with its upper-case letter
        ranks.insert(p.numToLetter(n));                  // letter index == rank here
      } else {
        EXPECT_EQ(p.entries(n), 0);
      }
    }
    ASSERT_EQ(ranks.size(), 3u);
    ASSERT_TRUE(rows.count(ranks)) << "seed " << seed;
    rowsSeen.insert(ranks);
  }
  EXPECT_EQ(rowsSeen.size(), 5u);  // all five patterns are reachable
}

TEST(Coding, FillWithFewerThanNineLettersIsRefusedAndLeavesThePuzzleAlone) {
  Random random(1);
  Puzzle p = puzzleSpelling("abcdefgh-abcdefgh");
  Status s = assignNumbers(p, random);
  ASSERT_FALSE(s.ok());
  EXPECT_NE(s.message().find("8 different letters"), std::string::npos) << s.message();
  EXPECT_EQ(p.letterCount, 0);
  EXPECT_TRUE(p.entries.empty());
}

}  // namespace
}  // namespace qlx
