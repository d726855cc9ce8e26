// Board painters on a small hand-made puzzle: colours at cell corners and centres, the
// selected number, given numbers, the two column pairs of the code strip, the alphabet panel,
// and the two entry queries.
#include <gtest/gtest.h>

#include <string>

#include "canvas.h"
#include "drawkit/painters.h"

namespace qlx {
namespace {

using testing::Canvas;
using testing::countOf;
using testing::kBackground;

// 3 × 4 grid:  c a t #
//              a # o n
//              r a t e
// coded a=1 t=2 c=3 o=4 n=5 r=6 e=7; t (2) is given.
Puzzle smallPuzzle() {
  const std::string fill = "cat-a-onrate";
  Puzzle p;
  p.gridRows = 3;
  p.gridCols = 4;
  p.cellCount = static_cast<int16_t>(fill.size());
  p.gridShape.redim(fill.size());
  p.gridLetters.redim(fill.size());
  for (std::size_t i = 0; i < fill.size(); ++i) {
    p.gridShape(i + 1) = fill[i] == '-' ? 0 : 1;
    p.gridLetters(i + 1) = static_cast<uint8_t>(fill[i]);
  }
  const std::string code = "atconre";
  p.letterCount = static_cast<uint8_t>(code.size());
  p.letterToNum.redim(26);
  p.numToLetter.redim(code.size());
  p.lettersByFreq.redim(26);
  for (std::size_t n = 1; n <= code.size(); ++n) {
    p.numToLetter(n) = static_cast<uint8_t>(code[n - 1] - 96);
    p.letterToNum(code[n - 1] - 96) = static_cast<uint8_t>(n);
  }
  p.entries.redim(code.size());
  p.givenNums.redim(code.size());
  p.givenNums(2) = 1;
  return p;
}

constexpr ColorRef kGrey = rgb(100, 100, 100);
constexpr ColorRef kBlack = rgb(0, 0, 0);
constexpr ColorRef kBlue = rgb(40, 40, 255);
constexpr ColorRef kWhite = rgb(255, 255, 255);

// Where to look inside one square of a board of 24-pixel cells.
struct Square {
  int left, top;  // the square's first pixel
  Square(const DrawRect& board, int column, int row)
      : left(board.left + column * board.width + 1), top(board.top + row * board.width + 1) {}
};

class PainterTest : public ::testing::Test {
 protected:
  PainterTest() {
    grid.hDC = &canvas.dc;
    grid.left = 20, grid.top = 20, grid.width = 24;
  }
  Square cell(int i) const { return Square(grid, (i - 1) % 4, (i - 1) / 4); }
  ColorRef corner(int i) const { return canvas.dc.pixel(cell(i).left + 1, cell(i).top + 1); }
  ColorRef centre(int i) const { return canvas.dc.pixel(cell(i).left + 11, cell(i).top + 11); }
  // Covered by a 7-pixel letter (x from left + 7) but not by a 4-pixel digit (from left + 9).
  ColorRef letterEdge(int i) const { return canvas.dc.pixel(cell(i).left + 7, cell(i).top + 11); }
  void fullPaint() {
    paintGrid(grid, p, 0, g);
    paintGrid(grid, p, 1, g);
    paintGrid(grid, p, 2, g);
  }

  Canvas canvas;
  Graphics g;
  DrawRect grid;
  Puzzle p = smallPuzzle();
};

TEST_F(PainterTest, FullPaintShowsBlocksNumbersAndGivenLetters) {
  p.selectedNum = 1;
  fullPaint();
  for (int i : {4, 6}) {
    EXPECT_EQ(corner(i), g.brBlock.color) << i;
    EXPECT_EQ(centre(i), g.brBlock.color) << i;
  }
  for (int i : {2, 5, 10}) {  // number 1, selected
    EXPECT_EQ(corner(i), g.brSelected.color) << i;
    EXPECT_EQ(centre(i), kGrey) << i;
    EXPECT_EQ(letterEdge(i), g.brSelected.color) << i << " shows a digit, not a letter";
  }
  for (int i : {1, 7, 8, 9, 12}) {
    EXPECT_EQ(corner(i), g.brCell.color) << i;
    EXPECT_EQ(centre(i), kGrey) << i;
  }
  for (int i : {3, 11}) {  // given t
    EXPECT_EQ(corner(i), g.brCell.color) << i;
    EXPECT_EQ(centre(i), kBlack) << i;
    EXPECT_EQ(letterEdge(i), kBlack) << i;
  }
}

TEST_F(PainterTest, GivenCellsNeverShowTheirNumberOrTheSelection) {
  p.selectedNum = 2;
  paintGrid(grid, p, 1, g);
  for (int i : {3, 11}) {
    EXPECT_EQ(corner(i), kBackground) << "the number pass leaves given cells alone";
    EXPECT_EQ(centre(i), kBackground);
  }
  EXPECT_EQ(countOf(canvas.dc, g.brSelected.color), 0);
  paintGrid(grid, p, 2, g);
  for (int i : {3, 11}) {
    EXPECT_EQ(corner(i), g.brCell.color) << i;
    EXPECT_EQ(letterEdge(i), kBlack) << i;
  }
  EXPECT_EQ(countOf(canvas.dc, g.brSelected.color), 0);
}

TEST_F(PainterTest, EntriesShowInBlueAndTheSelectionFollowsARepaint) {
  p.selectedNum = 1;
  p.entries(1) = 'A';
  p.entries(4) = 'Q';  // wrong, still shown
  fullPaint();
  for (int i : {2, 5, 10}) {
    EXPECT_EQ(corner(i), g.brSelected.color) << i;
    EXPECT_EQ(letterEdge(i), kBlue) << i;
  }
  EXPECT_EQ(corner(7), g.brCell.color);
  EXPECT_EQ(letterEdge(7), kBlue);
  EXPECT_EQ(centre(8), kGrey) << "no entry: the number stays";

  // The passes after a selection change: numbers, then letters.
  p.selectedNum = 5;
  paintGrid(grid, p, 1, g);
  paintGrid(grid, p, 2, g);
  for (int i : {2, 5, 10}) {
    EXPECT_EQ(corner(i), g.brCell.color) << i;
    EXPECT_EQ(letterEdge(i), kBlue) << i;
  }
  EXPECT_EQ(corner(8), g.brSelected.color);
  EXPECT_EQ(centre(8), kGrey);
}

TEST_F(PainterTest, SolutionShowsEveryLetterInBlackOnTheCellColour) {
  p.selectedNum = 1;
  p.entries(1) = 'X';
  fullPaint();
  paintSolution(grid, p, 1, g);
  paintSolution(grid, p, 2, g);
  for (int i = 1; i <= 12; ++i) {
    if (i == 4 || i == 6) {
      EXPECT_EQ(centre(i), g.brBlock.color) << i;
      continue;
    }
    EXPECT_EQ(corner(i), g.brCell.color) << i;
    EXPECT_EQ(letterEdge(i), kBlack) << i << " shows an upper-case letter";
  }
  EXPECT_EQ(countOf(canvas.dc, kBlue), 0);
}

TEST_F(PainterTest, UnknownModesDrawNothing) {
  const auto before = canvas.dc.bits();
  paintGrid(grid, p, 3, g);
  paintGrid(grid, p, -1, g);
  paintSolution(grid, p, 0, g);
  paintSolution(grid, p, 3, g);
  paintCodeStrip(grid, p, 2, g);
  paintCodeStrip(grid, p, -1, g);
  EXPECT_EQ(canvas.dc.bits(), before);
}

TEST_F(PainterTest, ADamagedModelLeavesCellsUnpaintedInsteadOfFailing) {
  p.gridLetters(1) = '?';  // a white cell with no letter
  p.letterToNum(3) = 40;   // c coded past letterCount
  p.cellCount = 200;       // more cells than the arrays hold
  EXPECT_NO_THROW(fullPaint());
  EXPECT_EQ(corner(1), kBackground);
  EXPECT_EQ(corner(2), g.brCell.color);
}

// 25 numbers: 13 rows, 1..13 in the first column pair, 14..25 in the second.
class CodeStripTest : public PainterTest {
 protected:
  CodeStripTest() {
    strip.hDC = &canvas.dc;
    strip.left = 300, strip.top = 20, strip.width = 20;
    p.letterCount = 25;
    p.numToLetter.redim(25);
    p.entries.redim(25);
    p.givenNums.redim(25);
    for (int n = 1; n <= 25; ++n) p.numToLetter(n) = static_cast<uint8_t>(n);
    p.givenNums(3) = 1;
    p.entries(14) = 'Z';
  }
  // Centre of the number box (pair c, row r) or of its letter box.
  ColorRef numberAt(int c, int r) const {
    return canvas.dc.pixel(300 + c * 40 + 10, 20 + r * 20 + 10);
  }
  ColorRef letterAt(int c, int r) const {
    return canvas.dc.pixel(300 + c * 40 + 30, 20 + r * 20 + 10);
  }
  ColorRef letterCorner(int c, int r) const {
    return canvas.dc.pixel(300 + c * 40 + 22, 20 + r * 20 + 2);
  }
  DrawRect strip;
};

TEST_F(CodeStripTest, TwoColumnPairsWithTheSecondPairsLastRowEmpty) {
  p.selectedNum = 14;
  paintCodeStrip(strip, p, 0, g);
  paintCodeStrip(strip, p, 1, g);
  for (int r = 0; r < 13; ++r) {
    EXPECT_EQ(numberAt(0, r), kWhite) << r;
    EXPECT_EQ(canvas.dc.pixel(300 + 2, 20 + r * 20 + 2), g.brBlock.color) << r;
  }
  for (int r = 0; r < 12; ++r) EXPECT_EQ(numberAt(1, r), kWhite) << r;
  EXPECT_EQ(numberAt(1, 12), kBackground);
  EXPECT_EQ(letterAt(1, 12), kBackground);
  EXPECT_EQ(letterCorner(1, 12), kBackground);

  EXPECT_EQ(letterCorner(0, 2), g.brCell.color);  // 3, given
  EXPECT_EQ(letterAt(0, 2), kBlack);
  EXPECT_EQ(letterCorner(1, 0), g.brSelected.color);  // 14, selected, entered
  EXPECT_EQ(letterAt(1, 0), kBlue);
  EXPECT_EQ(letterCorner(0, 4), g.brCell.color);  // 5, empty
  EXPECT_EQ(letterAt(0, 4), g.brCell.color);
  // The gap between a number box and its letter box, and between the two pairs.
  EXPECT_EQ(canvas.dc.pixel(300 + 19, 30), kBackground);
  EXPECT_EQ(canvas.dc.pixel(300 + 20, 30), kBackground);
  EXPECT_EQ(canvas.dc.pixel(300 + 39, 30), kBackground);
  EXPECT_EQ(canvas.dc.pixel(300 + 40, 30), kBackground);
}

TEST_F(CodeStripTest, TheStripShowsTheSelectionEvenForAGivenNumber) {
  p.selectedNum = 3;
  paintCodeStrip(strip, p, 1, g);
  EXPECT_EQ(letterCorner(0, 2), g.brSelected.color);
  EXPECT_EQ(letterAt(0, 2), kBlack);
  EXPECT_EQ(countOf(canvas.dc, kWhite), 0) << "pass 1 leaves the number boxes alone";
}

TEST_F(CodeStripTest, AnOddCountPutsTheExtraRowInTheFirstPair) {
  p.letterCount = 3;  // two rows: 1, 2 | 3
  paintCodeStrip(strip, p, 0, g);
  EXPECT_EQ(numberAt(0, 1), kWhite);
  EXPECT_EQ(numberAt(1, 0), kWhite);
  EXPECT_EQ(numberAt(1, 1), kBackground);
  EXPECT_EQ(numberAt(0, 2), kBackground);
}

class AlphabetTest : public PainterTest {
 protected:
  AlphabetTest() {
    panel.hDC = &canvas.dc;
    panel.left = 20, panel.top = 200, panel.width = 20;
  }
  ColorRef squareCorner(int k) const {
    return canvas.dc.pixel(20 + (k - 1) % 13 * 20 + 2, 200 + (k - 1) / 13 * 20 + 2);
  }
  ColorRef squareCentre(int k) const {
    return canvas.dc.pixel(20 + (k - 1) % 13 * 20 + 10, 200 + (k - 1) / 13 * 20 + 10);
  }
  DrawRect panel;
};

TEST_F(AlphabetTest, ALetterUsedTwiceStaysGreyUntilBothEntriesAreCleared) {
  const int e = 5;
  p.entries(3) = 'E';
  p.entries(5) = 'E';
  paintAlphabet(panel, p, g);
  EXPECT_EQ(squareCorner(e), g.brUsedLetter.color);
  EXPECT_EQ(squareCentre(e), kBlack);
  EXPECT_EQ(squareCorner(6), g.brCell.color);
  EXPECT_EQ(squareCentre(26), kBlack);  // Z, second row, last column
  EXPECT_EQ(squareCorner(26), g.brCell.color);
  EXPECT_GT(countOf(canvas.dc, g.brUsedLetter.color), 0);

  p.entries(3) = 0;
  paintAlphabet(panel, p, g);
  EXPECT_EQ(squareCorner(e), g.brUsedLetter.color);
  p.entries(5) = 0;
  paintAlphabet(panel, p, g);
  EXPECT_EQ(squareCorner(e), g.brCell.color);
  EXPECT_EQ(countOf(canvas.dc, g.brUsedLetter.color), 0);
  // 26 squares of 18 × 18.
  EXPECT_EQ(countOf(canvas.dc, g.brCell.color) + countOf(canvas.dc, kBlack), 26 * 18 * 18);
}

TEST(EntryQueries, OnlyTheNumbersInUseCountAndAllEnteredTurnsTrueAtTheLastEntryRightOrWrong) {
  Puzzle p = smallPuzzle();
  EXPECT_FALSE(isLetterUsed(p, 'A'));
  p.entries(7) = 'A';
  EXPECT_TRUE(isLetterUsed(p, 'A'));
  EXPECT_FALSE(isLetterUsed(p, 'B'));
  p.letterCount = 6;
  EXPECT_FALSE(isLetterUsed(p, 'A'));

  p = smallPuzzle();
  for (int n = 1; n <= 7; ++n) {
    EXPECT_FALSE(allNumbersEntered(p)) << n;
    p.entries(n) = 'Q';
  }
  EXPECT_TRUE(allNumbersEntered(p));
  p.entries(4) = 0;
  EXPECT_FALSE(allNumbersEntered(p));
  p.letterCount = 0;
  EXPECT_TRUE(allNumbersEntered(p));
  EXPECT_FALSE(isLetterUsed(p, 'Q'));
}

}  // namespace
}  // namespace qlx
