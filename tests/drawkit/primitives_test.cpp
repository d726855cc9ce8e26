// Drawing primitives against the measured GDI looks: hit-test edges, the lifted caption of
// buttons and free text, frame styles and the pen they leave selected, cell squares and gaps.
#include <gtest/gtest.h>

#include "canvas.h"
#include "drawkit/primitives.h"

namespace qlx {
namespace {

using testing::boundsOf;
using testing::Canvas;
using testing::countOf;
using testing::kBackground;
using Box = std::array<int, 4>;

constexpr ColorRef kBlack = rgb(0, 0, 0);

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

TEST_F(ButtonTest, ARecordWithoutADeviceContextDrawsNothing) {
  rec.hDC = nullptr;
  drawButton(rec, 2, true, 4, "AB", g);
  drawBox(rec, 1);
  drawText(rec, 2, "AB", kTopLeftText);
  std::string text = "a";
  drawCellText(rec, 3, 1, &g.brCell, text);
  EXPECT_EQ(countOf(canvas.dc, kBackground), 800 * 600);
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

  Canvas centred;
  rec.hDC = &centred.dc;
  drawText(rec, 0, "AB", static_cast<int32_t>(kCentredLine));
  EXPECT_EQ(boundsOf(centred.dc, g.clrMessageText), (Box{268, 326, 282, 334}));
}

TEST_F(ButtonTest, CellsLeaveATwoPixelLineBetweenNeighboursAndShowTheirTextInUpperCase) {
  constexpr ColorRef kBlue = rgb(40, 40, 255);
  canvas.dc.setTextColor(kBlue);
  rec.left = 10, rec.top = 10, rec.width = 20, rec.height = 60;
  std::string none;
  drawCellText(rec, 3, 4, &g.brCell, none);  // column 0, row 1
  drawCellText(rec, 3, 2, &g.brCell, none);  // column 1, row 0
  EXPECT_EQ(countOf(canvas.dc, kBlue), 0) << "an empty text only fills";
  std::string text = "ab";
  drawCellText(rec, 3, 5, &g.brSelected, text);  // column 1, row 1
  EXPECT_EQ(text, "AB");
  EXPECT_EQ(boundsOf(canvas.dc, g.brSelected.color), (Box{31, 31, 49, 49}));
  EXPECT_EQ(boundsOf(canvas.dc, kBlue), (Box{33, 36, 47, 44}));
  EXPECT_EQ(canvas.dc.textColor(), kBlue) << "the caller's colour is kept";
  EXPECT_EQ(boundsOf(canvas.dc, g.brCell.color, {0, 30, 40, 50}), (Box{11, 31, 29, 49}));
  EXPECT_EQ(boundsOf(canvas.dc, g.brCell.color, {30, 0, 50, 40}), (Box{31, 11, 49, 29}));
}

}  // namespace
}  // namespace qlx
