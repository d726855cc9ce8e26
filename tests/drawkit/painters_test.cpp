// Board painters on a small hand-made puzzle: colours at cell corners and centres, the
// selected number, given numbers, the two column pairs of the code strip, the alphabet panel,
// and the used-letter query.
#include <gtest/gtest.h>

#include <string>

#include "canvas.h"
#include "drawkit/painters.h"
#include "puzzle_strings.h"

namespace qlx {
namespace {

using testing::Canvas;
using testing::countOf;
using testing::kBackground;

constexpr ColorRef kGrey = rgb(100, 100, 100);
constexpr ColorRef kBlack = rgb(0, 0, 0);
constexpr ColorRef kBlue = rgb(40, 40, 255);
constexpr ColorRef kWhite = rgb(255, 255, 255);

// 3 x 4 grid:  c a t #     coded a=1 t=2 c=3 o=4 n=5 r=6 e=7; t (2) is given.
//              a # o n     Cells are 24 pixels from (20, 20).
//              r a t e
class PainterTest : public ::testing::Test {
 protected:
  // A character for a colour: # block, S selected, c cell, n grey number, k black, b blue,
  // w white, . background.
  char name(ColorRef colour) const {
    const ColorRef colours[] = {
        g.brBlock.color, g.brSelected.color, g.brCell.color, kGrey, kBlack, kBlue,
        kWhite,          kBackground};
    for (int i = 0; i < 8; ++i)
      if (colours[i] == colour) return "#Scnkbw."[i];
    return '?';
  }
  // One character per cell for the colour at (dx, dy) in its square: (1, 1) is the corner,
  // (11, 11) the centre, (7, 11) covered by a 7-pixel letter but not by a 4-pixel digit.
  std::string looks(int dx, int dy) const {
    std::string s;
    for (int i = 0; i < 12; ++i)
      s += name(canvas.dc.pixel(21 + i % 4 * 24 + dx, 21 + i / 4 * 24 + dy));
    return s;
  }
  void paint(std::initializer_list<int> modes) {
    for (int mode : modes) paintGrid(grid, p, mode, g);
  }

  Canvas canvas;
  Graphics g;
  DrawRect grid{.hDC = &canvas.dc, .left = 20, .top = 20, .width = 24};
  Puzzle p = testing::puzzleFromRows({"cat-", "a-on", "rate"}, "atconre", {2});
};

TEST_F(PainterTest, BlocksNumbersGivenLettersEntriesASelectionThatFollowsARepaintAndTheSolution) {
  p.selectedNum = 1;
  p.entries(4) = 'Q';  // wrong, still shown
  paint({0, 1, 2});
  EXPECT_EQ(looks(1, 1), "cSc#S#cccScc");
  EXPECT_EQ(looks(11, 11), "nnk#n#bnnnkn");
  EXPECT_EQ(looks(7, 11), "cSk#S#bccSkc") << "digits, the given T and the entry Q";
  // The passes after a selection change and an entry: numbers, then letters.
  p.selectedNum = 5;
  p.entries(1) = 'A';
  paint({1, 2});
  EXPECT_EQ(looks(1, 1), "ccc#c#cScccc");
  EXPECT_EQ(looks(11, 11), "nbk#b#bnnbkn");
  EXPECT_EQ(looks(7, 11), "cbk#b#bScbkc");
  // The solution: every letter in black on the cell colour.
  paintSolution(grid, p, 1, g);
  paintSolution(grid, p, 2, g);
  EXPECT_EQ(looks(1, 1), "ccc#c#cccccc");
  EXPECT_EQ(looks(7, 11), "kkk#k#kkkkkk");
}

TEST_F(PainterTest, GivenCellsNeverShowTheirNumberOrTheSelection) {
  p.selectedNum = 2;
  paint({1});
  EXPECT_EQ(looks(1, 1), "cc..c.cccc.c");
  paint({2});
  EXPECT_EQ(looks(1, 1), "ccc.c.cccccc");
}

TEST_F(PainterTest, ADamagedModelLeavesCellsUnpaintedInsteadOfFailing) {
  p.gridLetters(1) = '?';  // a white cell with no letter
  p.letterToNum(15) = 40;  // o coded past letterCount
  p.cellCount = 200;       // more cells than the arrays hold
  EXPECT_NO_THROW(paint({0, 1, 2}));
  EXPECT_EQ(looks(1, 1), ".cc#c#.ccccc");
}

// 25 numbers from (300, 20) in 20-pixel boxes: 13 rows, 1..13 in the first column pair, 14..25
// in the second.
TEST_F(PainterTest, CodeStripOfTwoColumnPairsWithTheSecondPairsLastRowEmpty) {
  p = testing::puzzleFromRows({"a"}, "abcdefghijklmnopqrstuvwxy", {3});
  p.entries(14) = 'Z';
  p.selectedNum = 14;
  const auto strip = [](Canvas& c) {
    return DrawRect{.hDC = &c.dc, .left = 300, .top = 20, .width = 20};
  };
  // Strip row r: for each pair the number box's corner and centre, then its letter box's.
  const auto row = [&](const Canvas& c, int r) {
    std::string s;
    for (int x : {302, 310, 322, 330, 342, 350, 362, 370})
      s += name(c.dc.pixel(x, r * 20 + (x % 10 == 2 ? 22 : 30)));
    return s;
  };
  paintCodeStrip(strip(canvas), p, 0, g);
  paintCodeStrip(strip(canvas), p, 1, g);
  EXPECT_EQ(row(canvas, 0), "#wcc#wSb");  // 14: selected, entered
  EXPECT_EQ(row(canvas, 2), "#wck#wcc");  // 3: given
  EXPECT_EQ(row(canvas, 12), "#wcc....");
  // The gap between a number box and its letter box, and between the two pairs.
  for (int x : {319, 320, 339, 340}) EXPECT_EQ(canvas.dc.pixel(x, 30), kBackground) << x;
  p.selectedNum = 3;  // the strip shows the selection even for a given number
  paintCodeStrip(strip(canvas), p, 1, g);
  EXPECT_EQ(row(canvas, 2), "#wSk#wcc");

  Canvas odd;  // an odd count puts the extra row in the first pair: 1, 2 | 3
  p.letterCount = 3;
  paintCodeStrip(strip(odd), p, 0, g);
  EXPECT_EQ(row(odd, 0) + row(odd, 1), "#w..#w..#w......");
}

TEST_F(PainterTest, ALetterUsedTwiceStaysGreyInTheAlphabetUntilBothEntriesAreCleared) {
  const DrawRect panel{.hDC = &canvas.dc, .left = 20, .top = 200, .width = 20};
  const auto used = [&](int k) {  // the corner of letter k's square, 13 to a row
    return canvas.dc.pixel(22 + (k - 1) % 13 * 20, 202 + (k - 1) / 13 * 20) == g.brUsedLetter.color;
  };
  p.entries(3) = 'E';
  p.entries(5) = 'E';
  paintAlphabet(panel, p, g);
  EXPECT_TRUE(used(5));
  EXPECT_TRUE(used(20)) << "the given T";
  EXPECT_FALSE(used(6));
  EXPECT_EQ(canvas.dc.pixel(270, 230), kBlack);  // Z, second row, last column
  p.entries(3) = 0;
  paintAlphabet(panel, p, g);
  EXPECT_TRUE(used(5));
  p.entries(5) = p.entries(2) = 0;
  paintAlphabet(panel, p, g);
  // 26 squares of 18 x 18, none grey.
  EXPECT_EQ(countOf(canvas.dc, g.brCell.color) + countOf(canvas.dc, kBlack), 26 * 18 * 18);
  p.entries(7) = 'A';
  p.letterCount = 6;  // only the numbers in use count
  EXPECT_FALSE(isLetterUsed(p, 'A'));
}

}  // namespace
}  // namespace qlx
