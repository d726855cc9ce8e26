// The rules of play on a hand-made 3 x 3 puzzle: selection, entries, the aids and their
// penalties, the clock, the end of the game and a resumed game's clean-up.
#include "game/game.h"
#include "game/clashes.h"

#include <gtest/gtest.h>

#include <string>
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
  std::string numbers;  // rows -1..3, columns -1..3: blocks and the outside have none
  for (int row = -1; row <= 3; ++row)
    for (int col = -1; col <= 3; ++col) numbers += char('0' + game.numberAt(row, col));
  EXPECT_EQ(numbers, "00000" + std::string("03120") + "01050" + "02450" + "00000");
  // Each pick from the selection the one before left: number, selection after, changes.
  using Case = std::tuple<int, int, Changes>;
  for (auto [num, selected, changes] :
       {Case{1, 1, kBoard}, Case{1, 1, kNone}, Case{3, 0, kBoard} /* given */, Case{5, 5, kBoard},
        Case{6, 0, kBoard}, Case{2, 2, kBoard}, Case{-1, 0, kBoard}, Case{0, 0, kNone}}) {
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

TEST_F(GameTest, TheClockTicksAndAFullBoardWithAWrongEntryIsReportedOnEveryEntryButNotOnErase) {
  EXPECT_TRUE(same(game.tick(), Changes{.clock = true}));
  EXPECT_EQ(game.elapsedTime(), 10);
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
  EXPECT_TRUE(same(game.tick(), kNone)) << "the clock stops once the board is solved";
}

TEST_F(GameTest, ResumeKeepsOnlyWhatAPlayerCouldHaveMadeAndHidesTheSolution) {
  // What the solution costs is checked through the window (tests/playwindow).
  EXPECT_TRUE(same(game.showSolution(), Changes{.solution = true}));
  enterAll();
  ASSERT_TRUE(game.solved());
  // Number 1's stored entry, the selection and the time, then what resume keeps of them.
  using Case = std::tuple<uint8_t, int, int32_t, uint8_t, int, int32_t>;
  for (auto [entry, selected, elapsed, entryAfter, selectedAfter, elapsedAfter] :
       {Case{'Q', 1, 1234, 'Q', 1, 1234}, Case{'a', 6, -50, 0, 0, 0}, Case{'[', -2, 0, 0, 0, 0},
        Case{'@', 5, 1, 0, 5, 1}, Case{5, 3 /* given */, 7, 0, 0, 7}}) {
    p.entries(1) = entry;
    p.selectedNum = static_cast<int16_t>(selected);
    game.resume(elapsed, 17, 2);
    EXPECT_EQ(p.entries(1), entryAfter) << entry;
    EXPECT_EQ(p.entries(2), 'B');
    EXPECT_EQ(p.selectedNum, selectedAfter) << selected;
    EXPECT_EQ(game.elapsedTime(), elapsedAfter) << elapsed;
    EXPECT_EQ(std::tuple(game.puzzleNum(), int(game.group())), std::tuple(17, 2));
    EXPECT_FALSE(game.solved() || game.solutionShown());
  }
  EXPECT_TRUE(same(game.enter(26), kNone)) << "a given number's letter cannot be typed over";
}

// Keyboard play on the same grid (numbers by cell, c given):
//   3 1 2
//   1 - 5
//   2 4 5
std::string where(const Game& game, const Puzzle& p) {
  const Cell at = game.cursor();
  return std::to_string(p.selectedNum) + "@" + std::to_string(at.row) + std::to_string(at.col);
}

TEST_F(GameTest, TabHomeAndEndPickNumbersWithoutEntryAndPutTheCursorOnTheirFirstCell) {
  std::string seen;
  for (const Pick key : {Pick::Next, Pick::Next, Pick::Next, Pick::Next, Pick::Next, Pick::Previous,
                         Pick::First, Pick::Last}) {
    game.pick(key);
    seen += where(game, p) + " ";
    if (p.selectedNum == 1 && p.entries(1) == 0) game.enter(1);  // 1 filled: skipped after
  }
  EXPECT_EQ(seen, "1@01 2@02 4@21 5@12 2@02 5@12 2@02 5@12 ") << "3 is given, 1 filled";
  enterAll(5);
  EXPECT_TRUE(same(game.pick(Pick::Next), kNone)) << "every open number has an entry";
}

TEST_F(GameTest, ArrowsMoveTheCursorOverOpenCellsSkippingBlocksAndGivenCellsAndStopAtEdges) {
  EXPECT_TRUE(same(game.moveCursor(Direction::Up), kBoard)) << "no cursor: the first open cell";
  std::string seen = where(game, p);
  for (const Direction d :
       {Direction::Left /* given, then the edge */, Direction::Down, Direction::Right,
        Direction::Up, Direction::Up, Direction::Right, Direction::Left, Direction::Down}) {
    game.moveCursor(d);
    seen += " " + where(game, p);
  }
  EXPECT_EQ(seen, "1@01 1@01 4@21 5@22 5@12 2@02 2@02 1@01 4@21");
  EXPECT_TRUE(same(game.placeCursor(1, 1), kBoard));
  EXPECT_EQ(where(game, p), "0@-1-1") << "a block clears the selection and the cursor";
  game.placeCursor(2, 2);
  game.placeCursor(0, 0);
  EXPECT_EQ(where(game, p), "0@-1-1") << "so does a given cell";
  game.placeCursor(2, 0);
  game.select(5);
  EXPECT_EQ(where(game, p), "5@12") << "a number picked in the strip: its first cell";
}

TEST_F(GameTest, UndoAndRedoTakeBackEntriesErasuresAndRevealsButNotTheirPenaltyNorTheEnd) {
  game.select(1);
  game.enter(26);
  game.enter(1);
  game.select(2);
  game.erase();  // no entry: nothing to take back
  game.enter(2);
  game.erase();
  game.select(4);
  Changes c;
  game.reveal(&c);
  auto entries = [&] { return std::string(p.entries.begin(), p.entries.end()); };
  EXPECT_EQ(entries(), std::string("A\0CE\0", 5));
  std::string seen;
  for (int i = 0; i < 6; ++i) {
    EXPECT_EQ(game.undo().board, i < 5) << i;
    const uint8_t entry = p.entries(p.selectedNum);
    seen += where(game, p) + ":" + char(entry ? entry : '.') + " ";
  }
  EXPECT_EQ(seen, "4@21:. 2@02:B 2@02:. 1@01:Z 1@01:. 1@01:. ");
  EXPECT_EQ(game.elapsedTime(), 300) << "the reveal's penalty stays";
  game.redo();
  game.redo();
  EXPECT_EQ(entries(), std::string("A\0C\0\0", 5));
  game.enter(17);  // a new move: nothing left to redo
  EXPECT_FALSE(game.canRedo());
  EXPECT_TRUE(same(game.redo(), kNone));
  enterAll();
  EXPECT_TRUE(game.solved());
  EXPECT_TRUE(same(game.undo(), kNone)) << "the end of a game is not undone";
}

TEST_F(GameTest, ALetterEnteredForTwoNumbersOrForAGivenOnesLetterClashesUntilOneChanges) {
  game.select(1);
  game.enter(3);  // C, the given number 3's letter
  EXPECT_TRUE(entryClashes(p, 1) && letterClashes(p, 3));
  game.enter(24);  // X
  game.select(2);
  game.enter(24);
  EXPECT_TRUE(entryClashes(p, 1) && entryClashes(p, 2) && letterClashes(p, 24));
  EXPECT_FALSE(letterClashes(p, 3)) << "C is the given letter's alone again";
  game.erase();
  EXPECT_FALSE(entryClashes(p, 1) || letterClashes(p, 24));
}

}  // namespace
}  // namespace qlx
