// The board painters. A pass reads cellCount and letterCount once, clamped to the arrays the
// puzzle really holds, and skips a cell whose letter has no number, so a damaged model leaves
// cells unpainted instead of stopping the game.
#include "drawkit/painters.h"

#include "game/clashes.h"

#include <algorithm>
#include <string>

#include "drawkit/primitives.h"

namespace qlx {
namespace {

int cellsOf(const Puzzle& p) {
  return std::max(0, std::min({static_cast<int>(p.cellCount), static_cast<int>(p.gridShape.size()),
                               static_cast<int>(p.gridLetters.size())}));
}

int numbersOf(const Puzzle& p) {
  return std::min({static_cast<int>(p.letterCount), static_cast<int>(p.numToLetter.size()),
                   static_cast<int>(p.entries.size()), static_cast<int>(p.givenNums.size())});
}

bool isBlock(const Puzzle& p, int i) { return p.gridShape(i) == 0; }

// The number of letter cell i, or 0 when its letter is not coded.
int numberOfCell(const Puzzle& p, int i, int numbers) {
  const int letter = p.gridLetters(i);
  if (letter < 'a' || letter > 'z' || static_cast<std::size_t>(letter - 96) > p.letterToNum.size())
    return 0;
  const int n = p.letterToNum(letter - 96);
  return n >= 1 && n <= numbers ? n : 0;
}

std::string letterText(int code) { return std::string(1, static_cast<char>(code)); }

HBRUSH selectionBrush(const Puzzle& p, int n, const Graphics& g) {
  return n == p.selectedNum ? &g.brSelected : &g.brCell;
}

// Fills square r and draws text centred in colour (no text when it is empty).
void drawSquare(DeviceContext& dc, const Rect& r, HBRUSH brush, const std::string& text,
                ColorRef colour) {
  dc.fillRect(r, brush);
  if (text.empty()) return;
  dc.setTextColor(colour);
  dc.drawText(text, r, kCentredLine);
}

}  // namespace

void paintGrid(const DrawRect& grid, const Puzzle& p, int mode, const Graphics& g) {
  if (!grid.hDC || mode < 0 || mode > 2) return;
  DeviceContext& dc = *grid.hDC;
  const int cells = cellsOf(p);
  const int numbers = numbersOf(p);
  std::string text;
  for (int i = 1; i <= cells; ++i) {
    if (mode == 0) {
      if (!isBlock(p, i)) continue;
      text.clear();
      drawCellText(grid, p.gridCols, i, &g.brBlock, text);
      continue;
    }
    if (isBlock(p, i)) continue;
    const int n = numberOfCell(p, i, numbers);
    if (n == 0) continue;
    const bool given = p.givenNums(n) == 1;
    if (mode == 1) {
      if (given) continue;
      text = std::to_string(n);
      dc.setTextColor(kClrGridNumber);
      drawCellText(grid, p.gridCols, i, selectionBrush(p, n, g), text);
    } else if (given) {
      text = letterText(p.numToLetter(n) + 96);
      dc.setTextColor(kClrGivenLetter);
      drawCellText(grid, p.gridCols, i, &g.brCell, text);
    } else if (p.entries(n) != 0) {
      text = letterText(p.entries(n));
      dc.setTextColor(entryClashes(p, n) ? kClrClash : kClrEntry);
      drawCellText(grid, p.gridCols, i, selectionBrush(p, n, g), text);
    }
  }
}

void paintSolution(const DrawRect& grid, const Puzzle& p, int mode, const Graphics& g) {
  if (!grid.hDC || (mode != 1 && mode != 2)) return;
  const int cells = cellsOf(p);
  std::string text;
  for (int i = 1; i <= cells; ++i) {
    if (mode == 1 && isBlock(p, i)) {
      text.clear();
      drawCellText(grid, p.gridCols, i, &g.brBlock, text);
    } else if (mode == 2 && !isBlock(p, i)) {
      text = letterText(p.gridLetters(i));
      grid.hDC->setTextColor(kClrSolution);
      drawCellText(grid, p.gridCols, i, &g.brCell, text);
    }
  }
}

void paintCodeStrip(const DrawRect& strip, const Puzzle& p, int mode, const Graphics& g) {
  if (!strip.hDC || (mode != 0 && mode != 1)) return;
  DeviceContext& dc = *strip.hDC;
  const int numbers = numbersOf(p);
  const int perColumn = (numbers + 1) / 2;
  const int size = strip.width;
  for (int n = 1; n <= numbers; ++n) {
    const Rect box = cellSquare(strip, (n - 1) / perColumn * 2, (n - 1) % perColumn);
    if (mode == 0) {
      drawSquare(dc, box, &g.brBlock, std::to_string(n), kClrStripNumber);
      continue;
    }
    const Rect letterBox{box.left + size, box.top, box.left + 2 * size - 2, box.bottom};
    if (p.givenNums(n) == 1)
      drawSquare(dc, letterBox, selectionBrush(p, n, g), letterText(p.numToLetter(n) + 64),
                 kClrGivenLetter);
    else if (p.entries(n) != 0)
      drawSquare(dc, letterBox, selectionBrush(p, n, g), letterText(p.entries(n)),
                 entryClashes(p, n) ? kClrClash : kClrEntry);
    else
      drawSquare(dc, letterBox, selectionBrush(p, n, g), {}, 0);
  }
}

void paintAlphabet(const DrawRect& panel, const Puzzle& p, const Graphics& g) {
  if (!panel.hDC) return;
  for (int k = 1; k <= 26; ++k) {
    const Rect box = cellSquare(panel, (k - 1) % 13, (k - 1) / 13);
    const HBRUSH brush = isLetterUsed(p, 64 + k) ? &g.brUsedLetter : &g.brCell;
    drawSquare(*panel.hDC, box, brush, letterText(64 + k),
               letterClashes(p, k) ? kClrClash : kClrAlphabet);
  }
}

void paintCursor(const DrawRect& grid, int row, int col, const Graphics& g) {
  if (!grid.hDC || row < 0 || col < 0) return;
  const Rect r = cellSquare(grid, col, row);
  const int w = kCursorLine;
  for (const Rect& side :
       {Rect{r.left, r.top, r.right, r.top + w}, Rect{r.left, r.bottom - w, r.right, r.bottom},
        Rect{r.left, r.top, r.left + w, r.bottom}, Rect{r.right - w, r.top, r.right, r.bottom}})
    grid.hDC->fillRect(side, &g.brBlock);
}

bool isLetterUsed(const Puzzle& p, int letter) {
  const int numbers = numbersOf(p);
  for (int n = 1; n <= numbers; ++n)
    if (p.entries(n) != 0 && p.entries(n) == letter) return true;
  return false;
}

bool allNumbersEntered(const Puzzle& p) {
  const int numbers = numbersOf(p);
  for (int n = 1; n <= numbers; ++n)
    if (p.entries(n) == 0) return false;
  return true;
}

}  // namespace qlx
