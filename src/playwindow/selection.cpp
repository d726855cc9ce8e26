// Turning presses on a grid cell or a code-strip entry into the game's selection, keys into its
// entries, and repainting what shows the selection and the entries.
#include "core/numeric.h"
#include "drawkit/painters.h"
#include "playwindow/play_window.h"

namespace qlx {

void PlayWindow::clearSelection() { showChanges(game_.select(0)); }

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
  const int num = game_.numberAt(row, col);
  if (num == 0) {  // a block
    clearSelection();
    return true;
  }
  if (p.givenNums(num) == 1) {
    clearSelection();
    return false;
  }
  showChanges(game_.placeCursor(row, col));
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
  showChanges(game_.select(num));
  return true;
}

void PlayWindow::processKeyInput(int charVal) { showChanges(game_.enter(charVal - 'A' + 1)); }

void PlayWindow::eraseCurrentVal() { showChanges(game_.erase()); }

void PlayWindow::playKeyDown(int keyCode, bool shifted, bool ctrl) {
  Changes changes;
  switch (keyCode) {
    case VK_DELETE:
      changes = game_.erase();
      break;
    case VK_TAB:
      changes = game_.pick(shifted ? Pick::Previous : Pick::Next);
      break;
    case VK_HOME:
      changes = game_.pick(Pick::First);
      break;
    case VK_END:
      changes = game_.pick(Pick::Last);
      break;
    case VK_LEFT:
    case VK_UP:
    case VK_RIGHT:
    case VK_DOWN: {
      constexpr Direction kArrows[] = {Direction::Left, Direction::Up, Direction::Right,
                                       Direction::Down};
      changes = game_.moveCursor(kArrows[keyCode - VK_LEFT]);
      break;
    }
    case VK_Z:
      if (ctrl) changes = shifted ? game_.redo() : game_.undo();
      break;
    case VK_Y:
      if (ctrl) changes = game_.redo();
      break;
    default:
      break;
  }
  showChanges(changes);
}

void PlayWindow::refreshSelectionChange() {
  game_.boardShown();
  const Puzzle& p = ctx_.puzzle;
  const Graphics& g = ctx_.graphics;
  dc().setFontSize(8);
  paintGrid(gridBoard, p, 1, g);
  dc().setFontSize(12);
  paintGrid(gridBoard, p, 2, g);
  paintAlphabet(alphabetPanel, p, g);
  paintCodeStrip(codeStrip, p, 1, g);
  paintCursor(gridBoard, game_.cursor().row, game_.cursor().col, g);
  refresh();
}

}  // namespace qlx
