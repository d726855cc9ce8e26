// The drawing kit: primitives against the measured GDI looks (hit-test edges, the lifted caption
// of buttons and free text, frame styles and the pen they leave selected, cell squares and gaps);
// the shared GDI objects and the title picture; the clock text, message templates and the sound
// table; and the board painters on a small hand-made puzzle. The help page is checked through the
// play window (tests/playwindow).
#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "box_fonts.h"
#include "drawkit/painters.h"
#include "drawkit/primitives.h"
#include "drawkit/sounds.h"
#include "drawkit/text_template.h"
#include "drawkit/time_format.h"
#include "platform/headless/headless_backend.h"
#include "puzzle_strings.h"
#include "temp_folder.h"

namespace qlx {
namespace {

using testing::boundsOf;
using testing::countOf;
using Box = std::array<int, 4>;

constexpr ColorRef kBackground = rgb(1, 2, 3), kBlack = rgb(0, 0, 0), kBlue = rgb(40, 40, 255);
constexpr ColorRef kGrey = rgb(100, 100, 100), kWhite = rgb(255, 255, 255);

// Test canvas for the drawing kit: a headless device context whose font draws each character as
// a solid box (upper-case letters 7 pixels wide, anything else 4, every line 8 high), so where a
// caption lands can be computed exactly.
struct Canvas {
  testing::BoxFonts fonts{7, 4, 8};
  DeviceContext dc{800, 600, kBackground, &fonts};
};

TEST(HitTest, EveryEdgeIsOutsideAndOnePixelInIsInside) {
  const DrawRect rec{.left = 10, .top = 20, .width = 30, .height = 40};
  // Compared as fractions, not truncated to whole pixels.
  for (auto [x, y] : {std::pair{11.f, 30.f}, {39.f, 30.f}, {25.f, 21.f}, {10.25f, 59.5f}})
    EXPECT_TRUE(hitTest(rec, x, y)) << x << "," << y;
  for (auto [x, y] : {std::pair{10.f, 30.f}, {40.f, 30.f}, {25.f, 60.f}, {40.25f, 30.f}})
    EXPECT_FALSE(hitTest(rec, x, y)) << x << "," << y;
}

class ButtonTest : public ::testing::Test {
 protected:
  ButtonTest() { rec.hBrush = &g.brPanel, rec.hPen = &g.penMenu, rec.textColor = g.clrButtonText; }
  Canvas canvas;
  Graphics g;
  DrawRect rec{.hDC = &canvas.dc, .left = 100, .top = 100, .width = 60, .height = 30};
};

// "AB" is 14 x 8, centred at x = 123, y = 111; each step of lift moves the coloured copy half a
// step right and up of the black shadow.
TEST_F(ButtonTest, LiftShiftsTheColouredCopyUpAndRightOfTheBlackShadow) {
  drawButton(rec, 0, false, 4, "AB", g);
  EXPECT_EQ(boundsOf(canvas.dc, g.clrButtonText), (Box{125, 109, 139, 117}));
  EXPECT_EQ(boundsOf(canvas.dc, kBlack), (Box{123, 111, 137, 119}));
  drawButton(rec, 0, false, 0, "AB", g);
  EXPECT_EQ(countOf(canvas.dc, kBlack), 0) << "lift 0 leaves no shadow";
  drawButton(rec, 1, true, 8, "AB", g);  // highlighted: the hover colour, whatever the record's
  EXPECT_EQ(countOf(canvas.dc, g.clrButtonText), 0);
  EXPECT_EQ(boundsOf(canvas.dc, g.clrHoverText), (Box{127, 107, 141, 115}));
}

TEST_F(ButtonTest, FrameStylesAndThePenLeftSelected) {
  const Pen earlier{rgb(9, 9, 9), 1}, red{rgb(255, 0, 0), 1};
  canvas.dc.selectPen(&earlier);
  drawButton(rec, 0, false, 2, "", g);
  EXPECT_EQ(boundsOf(canvas.dc, g.brPanel.color), (Box{100, 100, 160, 130}));
  EXPECT_EQ(canvas.dc.pen(), &earlier);
  drawButton(rec, 1, false, 2, "", g);
  EXPECT_EQ(canvas.dc.pixel(159, 129), g.penMenu.color);
  EXPECT_EQ(canvas.dc.pixel(101, 101), g.brPanel.color);
  // The inner line is penFrame even when the record's own pen is something else.
  rec.hPen = &red;
  drawButton(rec, 2, false, 2, "", g);
  EXPECT_EQ(canvas.dc.pixel(100, 100), red.color);
  EXPECT_EQ(canvas.dc.pixel(158, 128), g.penFrame.color);
  EXPECT_EQ(canvas.dc.pixel(102, 102), g.brPanel.color);
  // A later framed box takes the pen the double frame left selected; an unframed one only fills.
  const DrawRect box{.hDC = &canvas.dc, .left = 200, .top = 200, .width = 20, .height = 10};
  drawBox(box, 1);
  EXPECT_EQ(canvas.dc.pixel(219, 209), g.penFrame.color);
  for (int framed : {0, -1}) {
    drawBox(rec, framed);
    EXPECT_EQ(canvas.dc.pixel(100, 100), g.brPanel.color) << framed;
  }
}

// Format -1 is DT_VCENTER alone: lines run from the top-left, broken at line feeds, and the
// coloured pass moves right and up by the whole lift. Other formats go to DrawText unchanged.
TEST_F(ButtonTest, FreeTextTopLeftLinesLiftedByTheWholeLiftAndOtherFormatsAsDrawText) {
  rec.left = 200, rec.top = 300, rec.width = 150, rec.height = 60;
  rec.textColor = g.clrMessageText;
  drawText(rec, 3, "AB\nC", kTopLeftText);
  EXPECT_EQ(boundsOf(canvas.dc, g.clrMessageText), (Box{203, 297, 217, 313}));
  EXPECT_EQ(boundsOf(canvas.dc, kBlack), (Box{200, 300, 214, 316}));
  EXPECT_EQ(canvas.dc.pixel(200, 315), kBlack);  // second line, one line height down

  drawText(rec, 0, "AB", static_cast<int32_t>(kCentredLine));
  EXPECT_EQ(boundsOf(canvas.dc, g.clrMessageText, {250, 300, 350, 360}), (Box{268, 326, 282, 334}));
}

TEST_F(ButtonTest, CellsLeaveATwoPixelLineBetweenNeighboursAndShowTheirTextInUpperCase) {
  // A record without a device context draws nothing, and does not fail.
  std::string none, text = "ab";
  rec.hDC = nullptr;
  drawButton(rec, 2, true, 4, "AB", g);
  drawBox(rec, 1);
  drawText(rec, 2, "AB", kTopLeftText);
  drawCellText(rec, 3, 1, &g.brCell, text);
  EXPECT_EQ(countOf(canvas.dc, kBackground), 800 * 600);
  rec.hDC = &canvas.dc;
  canvas.dc.setTextColor(kBlue);
  rec.left = 10, rec.top = 10, rec.width = 20, rec.height = 60;
  for (int cell : {4, 2}) drawCellText(rec, 3, cell, &g.brCell, none);  // (0, 1) and (1, 0)
  EXPECT_EQ(countOf(canvas.dc, kBlue), 0) << "an empty text only fills";
  drawCellText(rec, 3, 5, &g.brSelected, text);  // column 1, row 1
  EXPECT_EQ(text, "AB");
  EXPECT_EQ(boundsOf(canvas.dc, g.brSelected.color), (Box{31, 31, 49, 49}));
  EXPECT_EQ(boundsOf(canvas.dc, kBlue), (Box{33, 36, 47, 44}));
  EXPECT_EQ(canvas.dc.textColor(), kBlue) << "the caller's colour is kept";
  EXPECT_EQ(boundsOf(canvas.dc, g.brCell.color, {0, 30, 40, 50}), (Box{11, 31, 29, 49}));
  EXPECT_EQ(boundsOf(canvas.dc, g.brCell.color, {30, 0, 50, 40}), (Box{31, 11, 49, 29}));
}

// The sheet and icon loaded from the program folder (a missing or damaged sheet leaves nothing to
// copy), and the title block copied at its own size or what a smaller sheet has.
Bitmap patterned(int width, int height) {
  Bitmap b{.width = width, .height = height, .pixels = {}};
  for (int i = 0; i < width * height; ++i)
    b.pixels.push_back(rgb(static_cast<uint8_t>(i % width), static_cast<uint8_t>(i / width), 200));
  return b;
}

TEST(Graphics, LoadsTheSheetAndIconLeavesOutWhatIsGoneOrDamagedAndCopiesTheTitleBlock) {
  testing::TempFolder folder;
  ASSERT_TRUE(saveBmp(folder.file(kPictureSheetFileName), patterned(300, 120)).ok());
  ASSERT_TRUE(saveBmp(folder.file(kWindowIconFileName), patterned(32, 32)).ok());
  Graphics g;
  initGraphics(g, folder.path());
  EXPECT_EQ(g.picDC.pixel(248, 99), rgb(248, 99, 200));
  EXPECT_EQ(g.windowIcon ? g.windowIcon->width : 0, 32);

  initGraphics(g, folder.path() + "elsewhere/");
  EXPECT_FALSE(g.picDC.holdsBitmap());
  EXPECT_EQ(g.windowIcon, nullptr);

  folder.write(kPictureSheetFileName, "BM not really a bitmap");
  initGraphics(g, folder.path());
  EXPECT_FALSE(g.picDC.holdsBitmap());

  // The title block is 249 x 100 whatever the record's size; no sheet or another piece copies
  // nothing. Each case: sheet width and height, piece, and the width and height copied.
  constexpr int kT = kTitlePicturePiece;
  const std::array<int, 5> cases[] = {
      {300, 120, kT, 249, 100}, {100, 50, kT, 100, 50}, {0, 0, kT, 0, 0}, {300, 120, 4, 0, 0}};
  for (auto [w, h, piece, cw, ch] : cases) {
    Canvas canvas;
    Graphics sheet;
    if (w > 0) sheet.picDC.selectBitmap(patterned(w, h));
    drawPicture({.hDC = &canvas.dc, .left = 50, .top = 60, .width = 10, .height = 10}, piece, true,
                sheet);
    EXPECT_EQ(countOf(canvas.dc, kBackground), 800 * 600 - cw * ch) << w;
    if (cw == 0) continue;  // else the block's first and last pixels
    EXPECT_EQ(std::pair(canvas.dc.pixel(50, 60), canvas.dc.pixel(49 + cw, 59 + ch)),
              std::pair(rgb(0, 0, 200), rgb(uint8_t(cw - 1), uint8_t(ch - 1), 200)));
  }
}

TEST(FormatTime, EdgeValues) {
  EXPECT_EQ(formatTime(0, kTimeLong), "0:00.0");
  EXPECT_EQ(formatTime(599, kTimeShort), "0:59");
  EXPECT_EQ(formatTime(754, kTimeLong), "1:15.4");
  EXPECT_EQ(formatTime(36000, kTimeShort), "60:00") << "no hours field";
  EXPECT_EQ(formatTime(754, 0), "1:15.4") << "every style but 2 is the long form";
  EXPECT_EQ(formatTime(INT32_MAX, kTimeLong), "3579139:24.7");
  EXPECT_EQ(formatTime(-754, kTimeLong), "-1:15.4");
}

TEST(FillTemplate, ReplacesEveryOccurrenceOfEveryKeyAndAlwaysFinishes) {
  EXPECT_EQ(fillTemplateText("|1 and |1, |2", {"|1", "x", "|2", "yy"}), "x and x, yy");
  EXPECT_EQ(fillTemplateText("a|1b", {"|1"}), "ab") << "a key without a value";
  EXPECT_EQ(fillTemplateText("|1|2", {"|1", "v", "|2"}), "vv")
      << "an odd count reuses the last value";
  EXPECT_EQ(fillTemplateText("Case |a", {"|A", "x"}), "Case |a");
  EXPECT_EQ(fillTemplateText("a|1b", {"", "x"}), "a|1b") << "an empty key replaces nothing";
  EXPECT_EQ(fillTemplateText("|1 |1", {"|1", "<|1>"}), "<|1> <|1>");
  EXPECT_EQ(fillTemplateText("aa", {"a", "aa"}), "aaaa");
  // A value is never searched again, by its own key or a later one, nor is a key formed where a
  // value meets the template.
  EXPECT_EQ(fillTemplateText("|1 |2", {"|1", "|2", "|2", "z"}), "|2 z");
  EXPECT_EQ(fillTemplateText("|x1", {"x", "", "|1", "!"}), "|1");
}

TEST(Sounds, TableOfFullPathsAndPlayingThroughTheBackEnd) {
  SoundFiles files;
  HeadlessBackend backend;
  playSoundFile(backend, files, sndClap);  // an unfilled table plays nothing
  initSoundFiles(files, "/games/quillorix/");
  for (int index : {int{sndClap}, 6, -1}) playSoundFile(backend, files, index);
  EXPECT_EQ(backend.sounds, std::vector<std::string>{"/games/quillorix/CLAP.wav"});
}

// The board painters: colours at cell corners and centres, the selected number, given numbers,
// the two column pairs of the code strip, the alphabet panel, and the used-letter query.
//
// 3 x 4 grid:  c a t #     coded a=1 t=2 c=3 o=4 n=5 r=6 e=7; t (2) is given.
//              a # o n     Cells are 24 pixels from (20, 20).
//              r a t e
class PainterTest : public ::testing::Test {
 protected:
  // A character for a colour: # block, S selected, c cell, n grey number, k black, b blue,
  // w white, . background.
  char name(ColorRef colour) const {
    const std::array colours{
        g.brBlock.color, g.brSelected.color, g.brCell.color, kGrey, kBlack, kBlue,
        kWhite,          kBackground};
    return "#Scnkbw.?"[std::ranges::find(colours, colour) - colours.begin()];
  }
  // One character per cell for the colour at (dx, dy) in its square: (1, 1) is the corner,
  // (11, 11) the centre, (7, 11) covered by a 7-pixel letter but not by a 4-pixel digit.
  std::string looks(int dx, int dy) const {
    std::string s;
    for (int i = 0; i < 12; ++i)
      s += name(canvas.dc.pixel(21 + i % 4 * 24 + dx, 21 + i / 4 * 24 + dy));
    return s;
  }

  Canvas canvas;
  Graphics g;
  DrawRect grid{.hDC = &canvas.dc, .left = 20, .top = 20, .width = 24};
  Puzzle p = testing::puzzleFromRows({"cat-", "a-on", "rate"}, "atconre", {2});
};

TEST_F(PainterTest, BlocksNumbersGivenLettersEntriesASelectionThatFollowsARepaintAndTheSolution) {
  p.selectedNum = 2;
  for (int mode : {1, 2}) paintGrid(grid, p, mode, g);
  EXPECT_EQ(looks(1, 1), "ccc.c.cccccc") << "a given number never shows as selected";
  p.selectedNum = 1;
  p.entries(4) = 'Q';  // wrong, still shown
  for (int mode : {0, 1, 2}) paintGrid(grid, p, mode, g);
  EXPECT_EQ(looks(1, 1), "cSc#S#cccScc");
  EXPECT_EQ(looks(11, 11), "nnk#n#bnnnkn");
  EXPECT_EQ(looks(7, 11), "cSk#S#bccSkc") << "digits, the given T and the entry Q";
  // The passes after a selection change and an entry: numbers, then letters.
  p.selectedNum = 5;
  p.entries(1) = 'A';
  for (int mode : {1, 2}) paintGrid(grid, p, mode, g);
  EXPECT_EQ(looks(1, 1), "ccc#c#cScccc");
  EXPECT_EQ(looks(11, 11), "nbk#b#bnnbkn");
  EXPECT_EQ(looks(7, 11), "cbk#b#bScbkc");
  // The solution: every letter in black on the cell colour.
  for (int mode : {1, 2}) paintSolution(grid, p, mode, g);
  EXPECT_EQ(looks(1, 1), "ccc#c#cccccc");
  EXPECT_EQ(looks(7, 11), "kkk#k#kkkkkk");
}

TEST_F(PainterTest, ADamagedModelLeavesCellsUnpaintedInsteadOfFailing) {
  p.gridLetters(1) = '?';  // a white cell with no letter
  p.letterToNum(15) = 40;  // o coded past letterCount
  p.cellCount = 200;       // more cells than the arrays hold
  for (int mode : {0, 1, 2}) paintGrid(grid, p, mode, g);
  EXPECT_EQ(looks(1, 1), ".cc#c#.ccccc");
}

// 25 numbers from (300, 20) in 20-pixel boxes: 13 rows, 1..13 in the first column pair, 14..25
// in the second.
TEST_F(PainterTest, CodeStripOfTwoColumnPairsWithTheSecondPairsLastRowEmpty) {
  p = testing::puzzleFromRows({"a"}, "abcdefghijklmnopqrstuvwxy", {3});
  p.entries(14) = 'Z';
  p.selectedNum = 14;
  DrawRect strip{.hDC = &canvas.dc, .left = 300, .top = 20, .width = 20};
  // Strip row r: for each pair the number box's corner and centre, then its letter box's.
  const auto row = [&](const Canvas& c, int r) {
    std::string s;
    for (int x : {302, 310, 322, 330, 342, 350, 362, 370})
      s += name(c.dc.pixel(x, r * 20 + (x % 10 == 2 ? 22 : 30)));
    return s;
  };
  for (int mode : {0, 1}) paintCodeStrip(strip, p, mode, g);
  EXPECT_EQ(row(canvas, 0), "#wcc#wSb");  // 14: selected, entered
  EXPECT_EQ(row(canvas, 2), "#wck#wcc");  // 3: given
  EXPECT_EQ(row(canvas, 12), "#wcc....");
  // The gap between a number box and its letter box, and between the two pairs.
  for (int x : {319, 320, 339, 340}) EXPECT_EQ(canvas.dc.pixel(x, 30), kBackground) << x;
  p.selectedNum = 3;  // the strip shows the selection even for a given number
  paintCodeStrip(strip, p, 1, g);
  EXPECT_EQ(row(canvas, 2), "#wSk#wcc");

  Canvas odd;  // an odd count puts the extra row in the first pair: 1, 2 | 3
  p.letterCount = 3;
  strip.hDC = &odd.dc;
  paintCodeStrip(strip, p, 0, g);
  EXPECT_EQ(row(odd, 0) + row(odd, 1), "#w..#w..#w......");
}

TEST_F(PainterTest, ALetterUsedTwiceStaysGreyInTheAlphabetUntilBothEntriesAreCleared) {
  const DrawRect panel{.hDC = &canvas.dc, .left = 20, .top = 200, .width = 20};
  const auto used = [&](int k) {  // the corner of letter k's square, 13 to a row
    return canvas.dc.pixel(22 + (k - 1) % 13 * 20, 202 + (k - 1) / 13 * 20) == g.brUsedLetter.color;
  };
  p.entries(3) = p.entries(5) = 'E';
  paintAlphabet(panel, p, g);
  // E is used twice, T (20) is given, F is not used.
  EXPECT_EQ(std::vector({used(5), used(20), used(6)}), std::vector({true, true, false}));
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
