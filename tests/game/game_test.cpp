// The rules of play on a hand-made 3 x 3 puzzle: selection, entries, the aids and their
// penalties, the clock, the end of the game and a resumed game's clean-up.
#include "game/game.h"

#include <gtest/gtest.h>

#include <tuple>

#include "puzzle_strings.h"

namespace qlx {
namespace {

// c a b     numbers: a 1, b 2, c 3 (given), e 4, t 5
// a - t
// b e t
class GameTest : public ::testing::Test {
 protected:
  Puzzle p = testing::puzzleFromRows({"cab", "a-t", "bet"}, "abcet", {3});
  Game game{p};

  // Enters every open number's right letter, but wrong gets 'Z'; returns the last move's changes.
  Changes enterAll(int wrong = 0) {
    Changes last;
    for (int n : {1, 2, 4, 5}) {
      game.select(n);
      last = game.enter(n == wrong ? 26 : p.numToLetter(n));
    }
    return last;
  }
};

bool same(const Changes& a, const Changes& b) {
  return a.board == b.board && a.clock == b.clock && a.solution == b.solution &&
         a.solved == b.solved && a.wrong == b.wrong;
}
const Changes kNone{}, kBoard{.board = true};

TEST_F(GameTest, CellsCarryTheirNumberAndBlocksGivenNumbersAndStrayPicksClearTheSelection) {
  using Cell = std::tuple<int, int, int>;  // row, column, number
  for (auto [row, col, num] :
       {Cell{0, 0, 3}, Cell{0, 1, 1}, Cell{2, 1, 4}, Cell{2, 2, 5}, Cell{1, 1, 0}, Cell{-1, 0, 0},
        Cell{0, -1, 0}, Cell{3, 0, 0}, Cell{0, 3, 0}})
    EXPECT_EQ(game.numberAt(row, col), num) << row << "," << col;
  // Each pick from the selection the one before left: number, selection after, changes.
  using Pick = std::tuple<int, int, Changes>;
  for (auto [num, selected, changes] :
       {Pick{1, 1, kBoard}, Pick{1, 1, kNone}, Pick{3, 0, kBoard} /* given */, Pick{5, 5, kBoard},
        Pick{6, 0, kBoard}, Pick{2, 2, kBoard}, Pick{-1, 0, kBoard}, Pick{0, 0, kNone}}) {
    EXPECT_TRUE(same(game.select(num), changes)) << num;
    EXPECT_EQ(p.selectedNum, selected) << num;
  }
}

TEST_F(GameTest, EntriesChangeOnlyForALetterAndASelectionAndReportOnlyAChange) {
  EXPECT_TRUE(same(game.enter(5), kNone)) << "nothing selected";
  EXPECT_TRUE(same(game.erase(), kNone));
  game.select(1);
  // The letter (0: erase; otherwise enter, out of range included), entry after, changes.
  using Move = std::tuple<int, uint8_t, Changes>;
  for (auto [letter, entry, changes] :
       {Move{5, 'E', kBoard}, Move{5, 'E', kNone}, Move{0, 0, kBoard}, Move{0, 0, kNone},
        Move{27, 0, kNone}, Move{-1, 0, kNone}, Move{26, 'Z', kBoard}}) {
    EXPECT_TRUE(same(letter == 0 ? game.erase() : game.enter(letter), changes)) << letter;
    EXPECT_EQ(p.entries(1), entry) << letter;
  }
  game.select(2);  // the same letter may stand for two numbers
  game.enter(26);
  EXPECT_EQ(p.entries(1), 'Z');
  EXPECT_EQ(p.entries(2), 'Z');
  EXPECT_EQ(p.entries(3), 'C') << "the given letter is never touched";
  EXPECT_EQ(game.elapsedTime(), 0) << "entries cost nothing";
}

TEST_F(GameTest, RevealCostsThirtySecondsOnlyWhenItEntersALetterAndTheLastOneSolves) {
  Changes c;
  EXPECT_EQ(game.reveal(&c), RevealOutcome::NothingSelected);
  EXPECT_TRUE(same(c, kNone));
  game.select(1);
  game.enter(26);
  EXPECT_EQ(game.reveal(&c), RevealOutcome::Revealed);
  EXPECT_TRUE(same(c, Changes{.board = true, .clock = true}));
  EXPECT_EQ(p.entries(1), 'A');
  EXPECT_EQ(game.elapsedTime(), 300);
  EXPECT_EQ(game.reveal(&c), RevealOutcome::AlreadyRight);
  EXPECT_TRUE(same(c, kNone));
  EXPECT_EQ(game.elapsedTime(), 300) << "a right entry costs nothing";
  EXPECT_TRUE(same(game.enter(2), kBoard)) << "a revealed number is not locked";

  for (int n : {1, 2, 4, 5}) {
    game.select(n);
    EXPECT_EQ(game.reveal(&c), RevealOutcome::Revealed) << n;
    EXPECT_EQ(c.solved, n == 5) << n;
  }
  EXPECT_EQ(game.elapsedTime(), 5 * 300) << "the last reveal's penalty is in the time";
}

TEST_F(GameTest, TheSolutionCostsFortyMinutesOncePerShowing) {
  EXPECT_TRUE(same(game.showSolution(), Changes{.solution = true}));
  EXPECT_TRUE(same(game.showSolution(), kNone)) << "the solution showing is paid for";
  EXPECT_EQ(game.elapsedTime(), 24000);
  game.boardShown();
  EXPECT_FALSE(game.solutionShown());
  game.showSolution();
  EXPECT_EQ(game.elapsedTime(), 48000);
}

TEST_F(GameTest, TheClockTicksASecondUntilTheBoardIsSolved) {
  EXPECT_TRUE(same(game.tick(), Changes{.clock = true}));
  EXPECT_EQ(game.elapsedTime(), 10);
  EXPECT_TRUE(same(enterAll(), Changes{.board = true, .solved = true}));
  EXPECT_TRUE(same(game.tick(), kNone));
  EXPECT_EQ(game.elapsedTime(), 10);
}

TEST_F(GameTest, AFullBoardWithAWrongEntryIsReportedOnEveryEntryButNotOnErase) {
  EXPECT_TRUE(game.entriesRight()) << "empty entries are not wrong";
  EXPECT_TRUE(same(enterAll(5), Changes{.board = true, .wrong = true}));
  EXPECT_FALSE(game.entriesRight());
  game.select(1);
  EXPECT_TRUE(same(game.enter(2), Changes{.board = true, .wrong = true}));
  EXPECT_TRUE(same(game.erase(), kBoard));
  EXPECT_TRUE(same(game.enter(1), Changes{.board = true, .wrong = true}));
  game.select(5);
  EXPECT_TRUE(same(game.enter(20), Changes{.board = true, .solved = true}));
  EXPECT_TRUE(game.solved());
}

TEST_F(GameTest, ResumeKeepsOnlyWhatAPlayerCouldHaveMade) {
  game.showSolution();
  enterAll();
  ASSERT_TRUE(game.solved());
  struct Case {
    uint8_t entry1;  // number 1's stored entry
    int selected;
    int32_t elapsed;
    uint8_t entryAfter;
    int selectedAfter;
    int32_t elapsedAfter;
  };
  for (Case c :
       {Case{'Q', 1, 1234, 'Q', 1, 1234}, Case{'a', 6, -50, 0, 0, 0}, Case{'[', -2, 0, 0, 0, 0},
        Case{'@', 5, 1, 0, 5, 1}, Case{5, 3 /* given */, 7, 0, 0, 7}}) {
    p.entries(1) = c.entry1;
    p.selectedNum = static_cast<int16_t>(c.selected);
    game.resume(c.elapsed, 17, 2);
    EXPECT_EQ(p.entries(1), c.entryAfter) << c.entry1;
    EXPECT_EQ(p.entries(2), 'B');
    EXPECT_EQ(p.selectedNum, c.selectedAfter) << c.selected;
    EXPECT_EQ(game.elapsedTime(), c.elapsedAfter) << c.elapsed;
    EXPECT_EQ(game.puzzleNum(), 17);
    EXPECT_EQ(game.group(), 2);
    EXPECT_FALSE(game.solved());
    EXPECT_FALSE(game.solutionShown());
  }
  EXPECT_TRUE(same(game.enter(26), kNone)) << "a given number's letter cannot be typed over";
}

}  // namespace
}  // namespace qlx
