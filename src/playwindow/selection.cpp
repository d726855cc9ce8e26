// Selecting a number by pressing a grid cell or a code-strip entry, entering and erasing its
// letter, and repainting what shows the selection and the entries.
#include "core/numeric.h"
#include "drawkit/painters.h"
#include "playwindow/play_window.h"

namespace qlx {

bool PlayWindow::selectionValid() const {
  const Puzzle& p = ctx_.puzzle;
  return p.selectedNum >= 1 && p.selectedNum <= p.letterCount;
}

void PlayWindow::clearSelection() {
  if (ctx_.puzzle.selectedNum == 0) return;
  ctx_.puzzle.selectedNum = 0;
  refreshSelectionChange();
}

bool PlayWindow::hitTestGrid(int x, int y) {
  const Puzzle& p = ctx_.puzzle;
  const int dx = x - gridBoard.left;
  const int dy = y - gridBoard.top;
  const int cs = gridBoard.width;
  // The grid's first pixel row and column, and anything above or left of it, are outside.
  if (dx <= 0 || dy <= 0 || cs <= 0) return false;
  const int col = dx / cs;
  const int row = dy / cs;
  if (row >= p.gridRows || col >= p.gridCols) {
    clearSelection();
    return false;
  }
  const int cell = row * p.gridCols + col + 1;
  const int letter = p.gridLetters(cell) - 96;
  const int num = (p.gridShape(cell) != 0 && letter >= 1 && letter <= 26) ? p.letterToNum(letter) : 0;
  if (num < 1 || num > p.letterCount) {  // a block
    clearSelection();
    return true;
  }
  if (p.givenNums(num) == 1) {
    clearSelection();
    return false;
  }
  if (p.selectedNum != num) {
    ctx_.puzzle.selectedNum = static_cast<int16_t>(num);
    refreshSelectionChange();
  }
  refresh();
  return true;
}

bool PlayWindow::hitTestCodeGrid(int x, int y) {
  const Puzzle& p = ctx_.puzzle;
  const int dx = x - codeStrip.left;
  const int dy = y - codeStrip.top;
  const int cs = codeStrip.width;
  // Here the strip's first pixel row and column belong to it.
  if (dx < 0 || dy < 0 || cs <= 0) return false;
  const int perCol = (p.letterCount + 1) / 2;
  // Half-even rounding puts the second column's first pixel column (dx = 2 cs) in the first.
  const int c = static_cast<int>(roundHalfEven((dx + cs / 2.0) / cs));
  const int t = (c - 1) / 2;
  const int r = dy / cs;
  if (r >= perCol) return false;
  const int num = perCol * t + r + 1;
  if (num > p.letterCount) return false;
  if (p.givenNums(num) == 1) {
    clearSelection();
    return false;
  }
  if (p.selectedNum != num) {
    ctx_.puzzle.selectedNum = static_cast<int16_t>(num);
    refreshSelectionChange();
  }
  return true;
}

void PlayWindow::processKeyInput(int charVal) {
  if (!selectionValid()) return;
  uint8_t& entry = ctx_.puzzle.entries(ctx_.puzzle.selectedNum);
  if (entry == charVal) return;
  entry = static_cast<uint8_t>(charVal);
  refreshSelectionChange();
  checkGameOver();
}

void PlayWindow::eraseCurrentVal() {
  if (!selectionValid()) return;
  uint8_t& entry = ctx_.puzzle.entries(ctx_.puzzle.selectedNum);
  if (entry == 0) return;
  entry = 0;
  refreshSelectionChange();
}

void PlayWindow::refreshSelectionChange() {
  solutionShown_ = false;
  const Puzzle& p = ctx_.puzzle;
  const Graphics& g = ctx_.graphics;
  dc().setFontSize(8);
  paintGrid(gridBoard, p, 1, g);
  dc().setFontSize(12);
  paintGrid(gridBoard, p, 2, g);
  paintAlphabet(alphabetPanel, p, g);
  paintCodeStrip(codeStrip, p, 1, g);
  refresh();
}

}  // namespace qlx
