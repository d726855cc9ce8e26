// Selection by pressing the grid and the code strip, with their edge rules, and letters typed
// and erased.
#include "play_fixture.h"

namespace qlx::testing_play {
namespace {

TEST_F(PlayTest, PressOnACellHighlightsEveryCellOfItsNumberAndOthersClearIt) {
  newGame();
  const Puzzle& p = program.puzzle;
  const DrawRect& gb = w->gridBoard;
  const int num = selectOpenCell();
  for (int r = 0; r < p.gridRows; ++r) {
    for (int c = 0; c < p.gridCols; ++c) {
      if (numberAt(r, c) == 0)
        continue;  // the inner corner: highlighted exactly for the selected number
      EXPECT_EQ(shown(gb.left + c * gb.width + 2, gb.top + r * gb.width + 2) ==
                    program.graphics.brSelected.color,
                numberAt(r, c) == num)
          << r << "," << c;
    }
  }

  // The grid's first pixel row and column are outside it: the selection stays.
  EXPECT_FALSE(w->hitTestGrid(gb.left, gb.top + 10));
  EXPECT_FALSE(w->hitTestGrid(gb.left + 10, gb.top));
  EXPECT_EQ(p.selectedNum, num);
  // A block is handled by the grid (the strip is not asked) and clears the selection.
  int block = 1;
  while (block <= p.cellCount && p.gridShape(block) != 0) ++block;
  ASSERT_LE(block, p.cellCount);
  EXPECT_TRUE(w->hitTestGrid(gb.left + ((block - 1) % p.gridCols) * gb.width + gb.width / 2,
                             gb.top + ((block - 1) / p.gridCols) * gb.width + gb.width / 2));
  EXPECT_EQ(p.selectedNum, 0);
  // So do a given number's cell and a press below the grid.
  int grow = 0, gcol = 0;
  ASSERT_TRUE(findCell(true, &grow, &gcol));
  selectOpenCell();
  pressCell(grow, gcol);
  EXPECT_EQ(p.selectedNum, 0);
  selectOpenCell();
  press(gb.left + 10, gb.top + p.gridRows * gb.width + 5);
  EXPECT_EQ(p.selectedNum, 0);
}

TEST_F(PlayTest, CodeStripSelectsWithItsSecondColumnEdgeRule) {
  newGame();
  const Puzzle& p = program.puzzle;
  const DrawRect& cs = w->codeStrip;
  const int perCol = (p.letterCount + 1) / 2;
  int r = 0;  // a strip row whose two numbers are both not given
  while (r < perCol && (p.givenNums(r + 1) == 1 || perCol + r + 1 > p.letterCount ||
                        p.givenNums(perCol + r + 1) == 1))
    ++r;
  ASSERT_LT(r, perCol);
  const int y = cs.top + r * cs.width + cs.width / 2;
  struct Case {
    int x, selected;
  };
  for (Case c :
       {Case{cs.left, r + 1},                 // the strip's first pixel column is in it
        Case{cs.left + 2 * cs.width, r + 1},  // the second column's first pixel counts to the first
        Case{cs.left + 2 * cs.width + 1, perCol + r + 1},
        Case{cs.left + 3 * cs.width + 3, perCol + r + 1}}) {  // its letter box selects it as well
    press(c.x, y);
    EXPECT_EQ(p.selectedNum, c.selected) << c.x - cs.left;
  }
  press(cs.left + 5, cs.top + perCol * cs.width + 2);  // below the last strip row
  EXPECT_EQ(p.selectedNum, 0);
  // A given number in the strip clears the selection.
  int given = 1;
  while (p.givenNums(given) != 1) ++given;
  press(cs.left + 5, y);
  press(cs.left + (given - 1) / perCol * 2 * cs.width + 5,
        cs.top + ((given - 1) % perCol) * cs.width + 5);
  EXPECT_EQ(p.selectedNum, 0) << given;
}

// Which keys make which move; the moves' rules are Game's (tests/game).
TEST_F(PlayTest, LettersEnterBackspaceSpaceAndDeleteEraseAndOnlyAChangeRepaints) {
  newGame();
  Puzzle& p = program.puzzle;
  const int num = selectOpenCell();
  backend.type(*w, "e");
  EXPECT_EQ(p.entries(num), 'E');
  int before = presents();
  backend.type(*w, "E");  // the same letter again: nothing repainted
  EXPECT_EQ(presents(), before);
  backend.type(*w, "r");  // R is a letter like any other: no reveal, no penalty
  EXPECT_EQ(p.entries(num), 'R');
  EXPECT_EQ(w->game().elapsedTime(), 0);
  EXPECT_TRUE(backend.messages.empty());
  for (auto erase : {+[](HeadlessBackend&b, Window&win) { b.keyPress(win, VK_BACK); },
                     +[](HeadlessBackend&b, Window&win) { b.keyPress(win, VK_SPACE); },
                     +[](HeadlessBackend&b, Window&win) { b.keyDown(win, VK_DELETE); }}) {
    backend.type(*w, "z");
    erase(backend, *w);
    EXPECT_EQ(p.entries(num), 0);
    before = presents();
    erase(backend, *w);      // on the empty entry: nothing repainted
    backend.type(*w, "1.");  // keys that are no letter do nothing
    EXPECT_EQ(presents(), before);
  }
}

}  // namespace
}  // namespace qlx::testing_play
