// A game started from the menu: the board, code strip and side panel where they belong, side
// labels that never react, Quit Game, and pause by its button or Escape.
#include <array>

#include "core/numeric.h"
#include "play_fixture.h"

namespace qlx::testing_play {
namespace {

TEST_F(PlayTest, NewGameLaysOutTheBoardAndSidePanel) {
  newGame();
  const Puzzle& p = program.puzzle;
  EXPECT_EQ(program.user.solving.modeNum, 2);
  EXPECT_EQ(program.user.solving.gridGroup, 2);
  EXPECT_EQ(p.selectedNum, 0);
  const int cell = 425 / p.gridRows;
  const int perCol = (p.letterCount + 1) / 2;
  EXPECT_EQ((std::array{w->boardFrame.left, w->boardFrame.top}), (std::array{165, 25}));
  EXPECT_EQ((std::array{w->gridBoard.left, w->gridBoard.top, w->gridBoard.width}),
            (std::array{165, 25, cell}));
  EXPECT_EQ(w->codeStrip.left, 165 + p.gridCols * cell + 30);
  EXPECT_EQ(w->codeStrip.top, roundHalfEven((p.gridRows - perCol) * cell / 2.0 + 25));
  EXPECT_EQ(w->codeStrip.width, cell);
  EXPECT_TRUE(w->timerEnabled());
  EXPECT_EQ(w->timerInterval(), 1000);
  EXPECT_EQ(w->timerStr, "0:00.0");
  EXPECT_EQ(shown(60, 590), program.graphics.brPanel.color);

  const int tops[] = {100, 120, 180, 200, 238, 276, 314, 352, 390, 428, 466};
  for (int i = 3; i <= 13; ++i) {
    const DrawRect& it = w->sideItems(i);
    EXPECT_EQ((std::array{it.left, it.top, it.width, it.height}),
              (std::array{1, tops[i - 3], 120, 25}))
        << i;
    EXPECT_EQ(it.active, i >= 7 ? 1 : 0) << i;
  }
  EXPECT_EQ(w->bestScoreValString, "50:00");  // the default best time, 30000 tenths
}

TEST_F(PlayTest, SideLabelsNeverReactButtonsDo) {
  newGame();
  const int before = presents();
  for (int i = 3; i <= 6; ++i) {
    move(60, w->sideItems(i).top + 12);
    pressItem(i);
  }
  EXPECT_EQ(presents(), before);
  EXPECT_TRUE(hallOfFameShown.empty());
  move(60, 238 + 12);  // Hall of Fame: hover look
  EXPECT_EQ(presents(), before + 1);
  EXPECT_EQ(w->sideItems(7).hover, -1);
  pressItem(7);
  EXPECT_EQ(hallOfFameShown, std::vector<int>{2});
  pressItem(9);  // Instructions
  EXPECT_EQ(backend.documents, std::vector<std::string>{program.appFolder + "QUILHLP.HTM"});
}

TEST_F(PlayTest, CodeStripOfTwelveRowsAndTwentyOneLetters) {
  // A hand-made puzzle: 12 rows give cells of 35, 21 letters give 11 strip rows.
  Puzzle& p = program.puzzle;
  p.gridRows = 12;
  p.gridCols = 15;
  p.letterCount = 21;
  w->initCWDi();
  w->initCWVar();
  EXPECT_EQ(w->gridBoard.width, 35);
  EXPECT_EQ(w->codeStrip.top, 42);  // Round(17.5 + 25), half to even
  EXPECT_EQ(w->codeStrip.left, 165 + 15 * 35 + 30);
  // More strip rows than grid rows put the strip above the board's top.
  p.gridRows = 4;
  p.letterCount = 26;
  w->initCWVar();
  EXPECT_EQ(w->gridBoard.width, 106);
  EXPECT_EQ(w->codeStrip.top, 25 - 9 * 106 / 2);
}

TEST_F(PlayTest, QuitGameReturnsToTheMenuWhereTheSidePanelIsDead) {
  newGame();
  selectOpenCell();
  pressItem(13);
  EXPECT_FALSE(w->gamePlaying);
  EXPECT_FALSE(w->timerEnabled());
  EXPECT_EQ(program.puzzle.selectedNum, 0);
  EXPECT_EQ(shown(60, 590), program.graphics.brBackground.color);
  const int before = presents();
  pressItem(8);  // where Pause was
  move(60, 238 + 12);
  pressItem(7);             // where Hall of Fame was
  backend.type(*w, "aB ");  // keys in menu mode change and paint nothing
  backend.keyDown(*w, VK_DELETE);
  backend.keyPress(*w, VK_BACK);
  EXPECT_FALSE(w->paused());
  EXPECT_TRUE(hallOfFameShown.empty());
  EXPECT_EQ(presents(), before);
  program.puzzle.selectedNum = 25;  // whatever was left, a new game clears it
  newGame();
  EXPECT_EQ(program.puzzle.selectedNum, 0);
}

TEST_F(PlayTest, PauseOrEscapeCoversTheBoardAndAClickPutsItBack) {
  backend.keyPress(*w, VK_ESCAPE);  // menu mode: nothing to pause, the window is minimised
  EXPECT_FALSE(w->paused());
  EXPECT_EQ(w->windowState(), vbMinimized);
  w->setWindowState(vbNormal);
  newGame();
  backend.tick(*w);
  const std::vector<uint32_t> board = backend.screen(*w);
  pressItem(8);
  ASSERT_TRUE(w->paused());
  EXPECT_FALSE(w->timerEnabled());
  EXPECT_EQ(shown(w->gridBoard.left + 2, w->gridBoard.top + 2), program.graphics.brPanel.color);
  bool text = false;  // the notice, in the message colour somewhere in the middle
  for (int x = 0; x < kPlayWidth && !text; ++x)
    text = shown(x, 300) == program.graphics.clrMessageText;
  EXPECT_TRUE(text);
  backend.advance(5000);
  EXPECT_EQ(w->game().elapsedTime(), 10);

  // Keys and pointer moves under the notice change and paint nothing.
  const Puzzle model = program.puzzle;
  const int before = presents();
  backend.type(*w, "x ");
  backend.keyDown(*w, VK_DELETE);
  move(60, 238 + 12);
  EXPECT_EQ(presents(), before);
  EXPECT_EQ(program.puzzle, model);

  // A press anywhere, even on a cell, resumes without selecting.
  int row = 0, col = 0;
  ASSERT_TRUE(findCell(false, &row, &col));
  pressCell(row, col);
  EXPECT_FALSE(w->paused());
  EXPECT_EQ(program.puzzle.selectedNum, 0);
  EXPECT_EQ(backend.screen(*w), board);
  backend.tick(*w);
  EXPECT_EQ(w->game().elapsedTime(), 20);

  // Escape pauses and minimises; a second Escape keeps the board kept aside, not the notice.
  const std::vector<uint32_t> later = backend.screen(*w);
  backend.keyPress(*w, VK_ESCAPE);
  EXPECT_TRUE(w->paused());
  EXPECT_EQ(w->windowState(), vbMinimized);
  backend.keyPress(*w, VK_ESCAPE);
  press(400, 300);
  EXPECT_EQ(backend.screen(*w), later);
}

}  // namespace
}  // namespace qlx::testing_play
