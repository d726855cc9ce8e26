// Keyboard play: picking the numbers still without an entry, and the cell cursor the arrow keys
// move over the white cells whose number is not given.
#include "game/game.h"

namespace qlx {
namespace {

// A number the player can fill: one of the puzzle's, not given.
bool isOpen(const Puzzle& p, int num) {
  return num >= 1 && num <= p.letterCount && p.givenNums(num) != 1;
}

}  // namespace

Cell Game::firstCellOf(int num) const {
  for (int row = 0; row < p_.gridRows; ++row)
    for (int col = 0; col < p_.gridCols; ++col)
      if (numberAt(row, col) == num) return {row, col};
  return {};
}

Changes Game::pick(Pick which) {
  const int count = p_.letterCount;
  auto wanted = [&](int n) { return isOpen(p_, n) && p_.entries(n) == 0; };
  int found = 0;
  if (which == Pick::First || which == Pick::Last) {
    for (int k = 0; k < count && found == 0; ++k) {
      const int n = which == Pick::First ? k + 1 : count - k;
      if (wanted(n)) found = n;
    }
  } else {
    // From the selected number (or from before the first), round the numbers once.
    const int from = selectionValid() ? p_.selectedNum : (which == Pick::Next ? 0 : count + 1);
    const int step = which == Pick::Next ? 1 : -1;
    for (int k = 1; k <= count && found == 0; ++k) {
      const int n = ((from - 1 + step * k) % count + count) % count + 1;
      if (wanted(n)) found = n;
    }
  }
  if (found == 0) return Changes{};
  Changes changes = select(found);
  const Cell first = firstCellOf(found);
  if (cursor_ != first) cursor_ = first, changes.board = true;
  return changes;
}

Changes Game::placeCursor(int row, int col) {
  const int num = numberAt(row, col);
  if (!isOpen(p_, num)) return select(0);
  Changes changes = select(num);
  if (cursor_ != Cell{row, col}) cursor_ = Cell{row, col}, changes.board = true;
  return changes;
}

Changes Game::moveCursor(Direction direction) {
  Cell at = cursor_;
  if (at == Cell{}) {
    if (selectionValid()) {
      at = firstCellOf(p_.selectedNum);
    } else {
      // No cursor and no selection: the arrow brings the cursor onto the grid's first open cell.
      for (int cell = 0; cell < p_.gridRows * p_.gridCols; ++cell)
        if (isOpen(p_, numberAt(cell / p_.gridCols, cell % p_.gridCols)))
          return placeCursor(cell / p_.gridCols, cell % p_.gridCols);
      return Changes{};
    }
  }
  const int dRow = direction == Direction::Up ? -1 : direction == Direction::Down ? 1 : 0;
  const int dCol = direction == Direction::Left ? -1 : direction == Direction::Right ? 1 : 0;
  for (Cell next{at.row + dRow, at.col + dCol};
       next.row >= 0 && next.col >= 0 && next.row < p_.gridRows && next.col < p_.gridCols;
       next.row += dRow, next.col += dCol)
    if (isOpen(p_, numberAt(next.row, next.col))) return placeCursor(next.row, next.col);
  // At the edge the cursor stays, shown where it is.
  if (cursor_ == Cell{}) return placeCursor(at.row, at.col);
  return Changes{};
}

}  // namespace qlx
