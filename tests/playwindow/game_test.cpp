// A game started from the menu: the board, code strip, alphabet and side panel where they
// belong, the clock, Quit Game, pause and Escape.
#include "core/numeric.h"
#include "play_fixture.h"
#include "resources/string_table.h"

namespace qlx::testing_play {
namespace {

TEST_F(PlayTest, NewGameLaysOutTheBoard) {
  newGame();
  const Puzzle& p = program.puzzle;
  EXPECT_EQ(program.user.solving.modeNum, 2);
  EXPECT_EQ(program.user.solving.gridGroup, 2);
  EXPECT_EQ(p.selectedNum, 0);
  EXPECT_EQ(w->boardFrame.left, 165);
  EXPECT_EQ(w->boardFrame.top, 25);
  const int cell = 425 / p.gridRows;
  EXPECT_EQ(w->gridBoard.left, 165);
  EXPECT_EQ(w->gridBoard.top, 25);
  EXPECT_EQ(w->gridBoard.width, cell);
  const int perCol = (p.letterCount + 1) / 2;
  EXPECT_EQ(w->codeStrip.left, 165 + p.gridCols * cell + 30);
  EXPECT_EQ(w->codeStrip.top, roundHalfEven((p.gridRows - perCol) * cell / 2.0 + 25));
  EXPECT_EQ(w->codeStrip.width, cell);
  EXPECT_EQ(w->alphabetPanel.left, 215);
  EXPECT_EQ(w->alphabetPanel.top, 475);
  EXPECT_EQ(w->alphabetPanel.width, 25);
  EXPECT_TRUE(w->timerEnabled());
  EXPECT_EQ(w->timerInterval(), 1000);
  EXPECT_EQ(w->elapsedTime, 0);
  EXPECT_EQ(w->timerStr, "0:00.0");
  // The side panel's fill, and a block cell painted in the grid.
  EXPECT_EQ(shown(60, 590), program.graphics.brPanel.color);
  int blocks = 0;
  for (int i = 1; i <= p.cellCount; ++i) blocks += p.gridShape(i) == 0;
  EXPECT_GT(blocks, 0);
}

TEST_F(PlayTest, SideItemsStandWhereTheyShould) {
  newGame();
  const int tops[] = {100, 120, 180, 200, 238, 276, 314, 352, 390, 428, 466};
  for (int i = 3; i <= 13; ++i) {
    const DrawRect& it = w->sideItems(i);
    EXPECT_EQ(it.left, 1) << i;
    EXPECT_EQ(it.top, tops[i - 3]) << i;
    EXPECT_EQ(it.width, 120);
    EXPECT_EQ(it.height, 25);
    EXPECT_EQ(it.active, i >= 7 ? 1 : 0) << i;
  }
  EXPECT_EQ(w->sideItems(3).textColor, program.graphics.clrMessageText);
  EXPECT_EQ(w->sideItems(4).textColor, program.graphics.clrButtonText);
  EXPECT_EQ(w->sideItems(1).active, 0);
  EXPECT_EQ(w->bestScoreValString, "50:00");  // the default best time, 30000 tenths
}

TEST_F(PlayTest, LabelsNeverReactButtonsDo) {
  newGame();
  const int before = presents();
  for (int i = 3; i <= 6; ++i) {
    move(60, w->sideItems(i).top + 12);
    press(60, w->sideItems(i).top + 12);
  }
  EXPECT_EQ(presents(), before);
  EXPECT_TRUE(hallOfFameShown.empty());
  EXPECT_TRUE(backend.documents.empty());
  move(60, 238 + 12);  // Hall of Fame: hover look
  EXPECT_EQ(presents(), before + 1);
  EXPECT_EQ(w->sideItems(7).hover, -1);
  press(60, 238 + 12);
  EXPECT_EQ(hallOfFameShown, std::vector<int>{2});
  press(60, 314 + 12);  // Instructions
  ASSERT_EQ(backend.documents.size(), 1u);
  EXPECT_EQ(backend.documents[0], program.appFolder + "QUILHLP.HTM");
  // Reveal with nothing selected, check on the givens, and the solution, each at its place.
  for (int top : {352, 390, 428}) press(60, top + 12);
  EXPECT_TRUE(w->gamePlaying);
  ASSERT_EQ(backend.messages.size(), 2u);
  EXPECT_EQ(backend.messages[0].text, loadString(IDS_SELECT_CODE_FIRST));
  EXPECT_EQ(backend.messages[1].text, loadString(IDS_ENTRIES_MATCH));
  EXPECT_EQ(w->elapsedTime, 24000);
}

TEST_F(PlayTest, ClockTicksInWholeSeconds) {
  newGame();
  backend.tick(*w);
  backend.tick(*w);
  EXPECT_EQ(w->elapsedTime, 20);
  EXPECT_EQ(w->timerStr, "0:02");
  backend.advance(3000);
  EXPECT_EQ(w->elapsedTime, 50);
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
  EXPECT_EQ(w->codeStrip.left, 165 + 15 * 35 + 30);  // past the frame: the rows set the cell
  // More strip rows than grid rows put the strip above the board's top.
  p.gridRows = 4;
  p.letterCount = 26;
  w->initCWVar();
  EXPECT_EQ(w->gridBoard.width, 106);
  EXPECT_EQ(w->codeStrip.top, 25 - 9 * 106 / 2);
}

TEST_F(PlayTest, QuitGameReturnsToTheMenuWhereTheSidePanelIsDead) {
  newGame();
  int row = 0, col = 0;
  ASSERT_TRUE(findCell(false, &row, &col));
  pressCell(row, col);
  ASSERT_NE(program.puzzle.selectedNum, 0);
  press(60, 466 + 12);
  EXPECT_FALSE(w->gamePlaying);
  EXPECT_FALSE(w->timerEnabled());
  EXPECT_EQ(program.puzzle.selectedNum, 0);
  EXPECT_EQ(shown(60, 590), program.graphics.brBackground.color);
  const int before = presents();
  press(60, 276 + 12);  // where Pause was
  move(60, 238 + 12);   // where Hall of Fame was
  press(60, 238 + 12);
  EXPECT_FALSE(w->paused());
  EXPECT_TRUE(hallOfFameShown.empty());
  EXPECT_EQ(presents(), before);
  // Keys in menu mode change and paint nothing.
  backend.type(*w, "aB ");
  backend.keyDown(*w, VK_DELETE);
  backend.keyPress(*w, VK_BACK);
  EXPECT_EQ(presents(), before);
}

TEST_F(PlayTest, PauseCoversTheBoardAndAClickPutsItBack) {
  newGame();
  backend.tick(*w);
  const std::vector<uint32_t> board = backend.screen(*w);
  press(60, 276 + 12);
  ASSERT_TRUE(w->paused());
  EXPECT_FALSE(w->timerEnabled());
  EXPECT_EQ(shown(w->gridBoard.left + 2, w->gridBoard.top + 2), program.graphics.brPanel.color);
  EXPECT_EQ(shown(790, 10), program.graphics.brPanel.color);
  // The notice is written in the message colour somewhere in the middle.
  bool text = false;
  for (int x = 0; x < kPlayWidth && !text; ++x) text = shown(x, 300) == program.graphics.clrMessageText;
  EXPECT_TRUE(text);
  backend.advance(5000);
  EXPECT_EQ(w->elapsedTime, 10);

  // Keys and pointer moves under the notice change and paint nothing.
  int row = 0, col = 0;
  ASSERT_TRUE(findCell(false, &row, &col));
  const Puzzle model = program.puzzle;
  const int before = presents();
  backend.type(*w, "x ");
  backend.keyDown(*w, VK_DELETE);
  move(60, 238 + 12);
  EXPECT_EQ(presents(), before);
  EXPECT_EQ(program.puzzle, model);

  // A press anywhere, even on a cell, resumes without selecting.
  pressCell(row, col);
  EXPECT_FALSE(w->paused());
  EXPECT_TRUE(w->timerEnabled());
  EXPECT_EQ(program.puzzle.selectedNum, 0);
  EXPECT_EQ(backend.screen(*w), board);
  backend.tick(*w);
  EXPECT_EQ(w->elapsedTime, 20);
}

TEST_F(PlayTest, EscapePausesARunningGameAndMinimises) {
  backend.keyPress(*w, VK_ESCAPE);  // menu mode: nothing to pause
  EXPECT_FALSE(w->paused());
  EXPECT_EQ(w->windowState(), vbMinimized);
  w->setWindowState(vbNormal);
  newGame();
  const std::vector<uint32_t> board = backend.screen(*w);
  backend.keyPress(*w, VK_ESCAPE);
  EXPECT_TRUE(w->paused());
  EXPECT_FALSE(w->timerEnabled());
  EXPECT_EQ(w->windowState(), vbMinimized);
  // A second Escape keeps the board kept aside, not the notice.
  backend.keyPress(*w, VK_ESCAPE);
  press(400, 300);
  EXPECT_EQ(backend.screen(*w), board);
}

}  // namespace
}  // namespace qlx::testing_play
