// The start of a game: a new puzzle made and laid out (board frame, grid, code strip, alphabet
// panel), everything painted in its order, and the clock started from zero.
#include "core/numeric.h"
#include "drawkit/painters.h"
#include "drawkit/primitives.h"
#include "drawkit/time_format.h"
#include "platform/backend.h"
#include "playwindow/play_window.h"
#include "resources/string_table.h"

namespace qlx {

void PlayWindow::initCWDi() {
  boardFrame.hDC = &dc();
  boardFrame.left = sidePanel.width + 40;
  boardFrame.top = kBoardTop;
  boardFrame.width = kBoardEdge;
  boardFrame.height = kBoardEdge;
  boardFrame.hBrush = &ctx_.graphics.brBackground;
}

void PlayWindow::initCWVar() { layoutBoard(ctx_.puzzle); }

void PlayWindow::layoutBoard(const Puzzle& p) {
  // The cell size follows the rows alone: a wide grid runs past the frame's right edge.
  const int32_t cell = p.gridRows > 0 ? boardFrame.width / p.gridRows : 0;
  gridBoard.hDC = &dc();
  gridBoard.left = boardFrame.left;
  gridBoard.top = boardFrame.top;
  gridBoard.width = cell;
  gridBoard.active = 0;

  const int32_t perCol = (p.letterCount + 1) / 2;
  codeStrip.hDC = &dc();
  codeStrip.left = gridBoard.left + p.gridCols * cell + 30;
  // Centred on the grid; 12 rows of 35 with 11 strip rows give 42, not 43.
  codeStrip.top =
      static_cast<int32_t>(roundHalfEven((p.gridRows - perCol) * cell / 2.0 + gridBoard.top));
  codeStrip.width = cell;

  alphabetPanel.hDC = &dc();
  alphabetPanel.left = gridBoard.left + 50;
  alphabetPanel.top = boardFrame.height + gridBoard.top + 25;
  alphabetPanel.width = static_cast<int32_t>(roundHalfEven((boardFrame.width - 100) / 13.0));

  drawBox(boardFrame, 0);
}

void PlayWindow::startGame() {
  SolvingData& solving = ctx_.user.solving;
  enablePause(false);

  // The empty board shows while the puzzle is made. The grid is read into a copy so that a
  // puzzle that cannot be made leaves the one in memory whole.
  int32_t n = 0;
  Puzzle shape;
  Status made = game_.drawGrid(ctx_.grids, solving.gridGroup, ctx_.random, &n, &shape);
  setTimerInterval(kClockMillis);
  if (made) {
    initCWDi();
    layoutBoard(shape);
    refresh();
    made = game_.start(ctx_.grids, n, solving.gridGroup, ctx_.filler, ctx_.random, ctx_.acceptance);
  }
  if (!made) {
    backend().messageBox(made.message(), kApplicationTitle);
    gamePlaying = false;
    mainMenu(true);
    return;
  }
  setTimerInterval(kClockMillis);
  setTimerEnabled(true);
  paintGameUnderWay();
  gamePlaying = true;
}

void PlayWindow::paintGameUnderWay() {
  game_.boardShown();
  const Graphics& g = ctx_.graphics;
  const Puzzle& p = ctx_.puzzle;
  initCWDi();
  initCWVar();
  initRPBtns();

  dc().setFontSize(8);
  paintGrid(gridBoard, p, 0, g);
  paintGrid(gridBoard, p, 1, g);
  paintCodeStrip(codeStrip, p, 0, g);
  dc().setFontSize(12);
  paintGrid(gridBoard, p, 2, g);
  paintCursor(gridBoard, game_.cursor().row, game_.cursor().col, g);
  paintCodeStrip(codeStrip, p, 1, g);
  paintAlphabet(alphabetPanel, p, g);

  drawBox(sidePanel, 1);
  refresh();

  const int mode = ctx_.user.solving.modeNum;
  const auto& best = ctx_.user.bestScores;
  bestScoreValString = (mode >= 1 && static_cast<std::size_t>(mode) <= best.size())
                           ? formatTime(best(mode).times(1), kTimeShort)
                           : "";
  drawSideItem(3, 2);
  drawSideItem(4, 2);
  drawSideItem(5, 2);

  timerStr = formatTime(game_.elapsedTime(), kTimeLong);
  drawSideItem(6, 2);

  for (int i = 7; i <= kSideItems; ++i) drawSideItem(i, 4);

  refresh();
}

}  // namespace qlx
