// Selection by pressing the grid and the code strip, with their edge rules, and letters typed
// and erased.
#include "play_fixture.h"

namespace qlx::testing_play {
namespace {

TEST_F(PlayTest, PressOnACellSelectsItsNumberAndHighlightsEveryCellOfIt) {
  newGame();
  int row = 0, col = 0;
  ASSERT_TRUE(findCell(false, &row, &col));
  const int num = numberAt(row, col);
  pressCell(row, col);
  EXPECT_EQ(program.puzzle.selectedNum, num);
  const Graphics& g = program.graphics;
  const DrawRect& gb = w->gridBoard;
  for (int r = 0; r < program.puzzle.gridRows; ++r) {
    for (int c = 0; c < program.puzzle.gridCols; ++c) {
      if (numberAt(r, c) == 0) continue;
      const bool mine = numberAt(r, c) == num;
      // The cell's inner corner pixel: highlighted exactly for the selected number.
      EXPECT_EQ(shown(gb.left + c * gb.width + 2, gb.top + r * gb.width + 2) == g.brSelected.color, mine)
          << r << "," << c;
    }
  }
}

TEST_F(PlayTest, BlocksGivenNumbersAndEdgesOfTheGrid) {
  newGame();
  const Puzzle& p = program.puzzle;
  int row = 0, col = 0;
  ASSERT_TRUE(findCell(false, &row, &col));
  pressCell(row, col);
  const int num = p.selectedNum;
  ASSERT_NE(num, 0);

  // The grid's first pixel row and column are outside it: the selection stays.
  EXPECT_FALSE(w->hitTestGrid(w->gridBoard.left, w->gridBoard.top + 10));
  EXPECT_FALSE(w->hitTestGrid(w->gridBoard.left + 10, w->gridBoard.top));
  EXPECT_EQ(p.selectedNum, num);

  // A block: handled (the strip is not asked), the selection cleared.
  int brow = -1, bcol = -1;
  for (int i = 1; i <= p.cellCount && brow < 0; ++i) {
    if (p.gridShape(i) == 0) {
      brow = (i - 1) / p.gridCols;
      bcol = (i - 1) % p.gridCols;
    }
  }
  ASSERT_GE(brow, 0);
  const DrawRect& gb = w->gridBoard;
  EXPECT_TRUE(w->hitTestGrid(gb.left + bcol * gb.width + gb.width / 2, gb.top + brow * gb.width + gb.width / 2));
  EXPECT_EQ(p.selectedNum, 0);

  // A given number's cell clears the selection.
  pressCell(row, col);
  int grow = 0, gcol = 0;
  ASSERT_TRUE(findCell(true, &grow, &gcol));
  pressCell(grow, gcol);
  EXPECT_EQ(p.selectedNum, 0);

  // Below the grid clears it too.
  pressCell(row, col);
  press(gb.left + 10, gb.top + p.gridRows * gb.width + 5);
  EXPECT_EQ(p.selectedNum, 0);
}

TEST_F(PlayTest, CodeStripSelectsWithItsSecondColumnEdgeRule) {
  newGame();
  const Puzzle& p = program.puzzle;
  const DrawRect& cs = w->codeStrip;
  const int perCol = (p.letterCount + 1) / 2;
  // A strip row whose two numbers are both not given.
  int r = -1;
  for (int i = 0; i < perCol && r < 0; ++i) {
    if (p.givenNums(i + 1) != 1 && perCol + i + 1 <= p.letterCount && p.givenNums(perCol + i + 1) != 1) r = i;
  }
  ASSERT_GE(r, 0);
  const int y = cs.top + r * cs.width + cs.width / 2;
  press(cs.left, y);  // the strip's first pixel column belongs to it
  EXPECT_EQ(p.selectedNum, r + 1);
  press(cs.left + 2 * cs.width, y);  // the second column's first pixel counts to the first
  EXPECT_EQ(p.selectedNum, r + 1);
  press(cs.left + 2 * cs.width + 1, y);
  EXPECT_EQ(p.selectedNum, perCol + r + 1);
  press(cs.left + 3 * cs.width + 3, y);  // its letter box selects it as well
  EXPECT_EQ(p.selectedNum, perCol + r + 1);
  // Below the last strip row nothing is selected (the grid test already cleared it).
  press(cs.left + 5, cs.top + perCol * cs.width + 2);
  EXPECT_EQ(p.selectedNum, 0);

  // A given number in the strip clears the selection.
  press(cs.left + 5, y);
  ASSERT_EQ(p.selectedNum, r + 1);
  for (int n = 1; n <= p.letterCount; ++n) {
    if (p.givenNums(n) != 1) continue;
    const int col = (n - 1) / perCol;
    press(cs.left + col * 2 * cs.width + 5, cs.top + ((n - 1) % perCol) * cs.width + 5);
    EXPECT_EQ(p.selectedNum, 0) << n;
    break;
  }
}

TEST_F(PlayTest, TypingEntersUpperCaseAndRepaintsOnlyOnChange) {
  newGame();
  Puzzle& p = program.puzzle;
  backend.type(*w, "q");  // nothing selected: nothing happens
  for (int n = 1; n <= p.letterCount; ++n) EXPECT_EQ(p.entries(n) != 0, p.givenNums(n) == 1);
  int row = 0, col = 0;
  ASSERT_TRUE(findCell(false, &row, &col));
  pressCell(row, col);
  const int num = p.selectedNum;

  backend.type(*w, "e");
  EXPECT_EQ(p.entries(num), 'E');
  int before = presents();
  backend.type(*w, "E");  // the same letter again: nothing repainted
  EXPECT_EQ(presents(), before);
  EXPECT_EQ(p.entries(num), 'E');

  // R is a letter like any other: no reveal, no penalty.
  backend.type(*w, "r");
  EXPECT_EQ(p.entries(num), 'R');
  EXPECT_EQ(w->elapsedTime, 0);
  EXPECT_TRUE(backend.messages.empty());

  // The same letter may stand for two numbers.
  int row2 = -1, col2 = -1;
  for (int r = 0; r < p.gridRows && row2 < 0; ++r)
    for (int c = 0; c < p.gridCols && row2 < 0; ++c)
      if (numberAt(r, c) != 0 && numberAt(r, c) != num && p.givenNums(numberAt(r, c)) != 1) row2 = r, col2 = c;
  ASSERT_GE(row2, 0);
  pressCell(row2, col2);
  backend.type(*w, "R");
  EXPECT_EQ(p.entries(num), 'R');
  EXPECT_EQ(p.entries(p.selectedNum), 'R');

  // Erasing: Backspace, then Space and Delete on the empty entry repaint nothing.
  backend.keyPress(*w, VK_BACK);
  EXPECT_EQ(p.entries(p.selectedNum), 0);
  before = presents();
  backend.keyPress(*w, VK_SPACE);
  backend.keyDown(*w, VK_DELETE);
  EXPECT_EQ(presents(), before);
  backend.type(*w, "z");
  backend.keyDown(*w, VK_DELETE);
  EXPECT_EQ(p.entries(p.selectedNum), 0);
  // Keys that are no letter do nothing.
  before = presents();
  backend.type(*w, "1.");
  EXPECT_EQ(presents(), before);
}

TEST_F(PlayTest, ANewGameStartsWithNothingSelected) {
  newGame();
  int row = 0, col = 0;
  ASSERT_TRUE(findCell(false, &row, &col));
  pressCell(row, col);
  ASSERT_NE(program.puzzle.selectedNum, 0);
  press(60, 466 + 12);
  program.puzzle.selectedNum = 25;  // whatever was left, a new game clears it
  newGame();
  EXPECT_EQ(program.puzzle.selectedNum, 0);
}

}  // namespace
}  // namespace qlx::testing_play
