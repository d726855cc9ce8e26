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
  DrawRect rec;
  rec.left = 10, rec.top = 20, rec.width = 30, rec.height = 40;
  // Compared as fractions, not truncated to whole pixels.
  for (auto [x, y] : {std::pair{11.f, 30.f},
                      {39.f, 30.f},
                      {25.f, 21.f},
                      {25.f, 59.f},
                      {10.25f, 20.5f},
                      {39.75f, 59.5f}})
    EXPECT_TRUE(hitTest(rec, x, y)) << x << "," << y;
  for (auto [x, y] : {std::pair{10.f, 30.f},
                      {40.f, 30.f},
                      {25.f, 20.f},
                      {25.f, 60.f},
                      {40.25f, 30.f},
                      {9.75f, 30.f}})
    EXPECT_FALSE(hitTest(rec, x, y)) << x << "," << y;
  rec.width = 0;
  EXPECT_FALSE(hitTest(rec, 10, 30));
}

class ButtonTest : public ::testing::Test {
 protected:
  ButtonTest() {
    rec.hDC = &canvas.dc;
    rec.left = 100, rec.top = 100, rec.width = 60, rec.height = 30;
    rec.hBrush = &g.brPanel;
    rec.hPen = &g.penMenu;
    rec.textColor = g.clrButtonText;
  }
  Canvas canvas;
  Graphics g;
  DrawRect rec;
};

// "AB" is 14 × 8: centred in (100, 100, 160, 130) it starts at x = (260 - 14) / 2 = 123 and
// y = 100 + 15 - 4 = 111; each step of lift moves the coloured copy half a step right and up.
TEST_F(ButtonTest, LiftShiftsTheColouredCopyUpAndRightOfTheBlackShadow) {
  drawButton(rec, 0, false, 4, "AB", g);
  EXPECT_EQ(boundsOf(canvas.dc, g.clrButtonText), (Box{125, 109, 139, 117}));
  EXPECT_EQ(boundsOf(canvas.dc, kBlack), (Box{123, 111, 137, 119}));
  EXPECT_EQ(canvas.dc.pixel(123, 111), kBlack);  // shadow to the left ...
  EXPECT_EQ(canvas.dc.pixel(136, 118), kBlack);  // ... and below
  EXPECT_EQ(canvas.dc.pixel(138, 109), g.clrButtonText);

  drawButton(rec, 0, false, 8, "AB", g);
  EXPECT_EQ(boundsOf(canvas.dc, g.clrButtonText), (Box{127, 107, 141, 115}));
  EXPECT_EQ(boundsOf(canvas.dc, kBlack), (Box{123, 111, 137, 119}));

  drawButton(rec, 0, false, 0, "AB", g);
  EXPECT_EQ(boundsOf(canvas.dc, g.clrButtonText), (Box{123, 111, 137, 119}));
  EXPECT_EQ(countOf(canvas.dc, kBlack), 0) << "lift 0 leaves no shadow";
}

TEST_F(ButtonTest, HighlightedCaptionTakesTheHoverColourWhateverTheRecordsColour) {
  drawButton(rec, 1, true, 8, "AB", g);
  EXPECT_EQ(countOf(canvas.dc, g.clrButtonText), 0);
  EXPECT_EQ(boundsOf(canvas.dc, g.clrHoverText), (Box{127, 107, 141, 115}));
  EXPECT_EQ(canvas.dc.textColor(), g.clrHoverText);
}

TEST_F(ButtonTest, FrameStylesAndThePenLeftSelected) {
  const Pen earlier{rgb(9, 9, 9), 1};
  const ColorRef panel = g.brPanel.color;

  canvas.dc.selectPen(&earlier);
  drawButton(rec, 0, false, 2, "", g);
  EXPECT_EQ(canvas.dc.pixel(100, 100), panel);
  EXPECT_EQ(canvas.dc.pixel(159, 129), panel);
  EXPECT_EQ(canvas.dc.pixel(160, 130), kBackground);
  EXPECT_EQ(canvas.dc.pen(), &earlier);

  drawButton(rec, 1, false, 2, "", g);
  EXPECT_EQ(canvas.dc.pixel(100, 100), g.penMenu.color);
  EXPECT_EQ(canvas.dc.pixel(159, 129), g.penMenu.color);
  EXPECT_EQ(canvas.dc.pixel(101, 101), panel);
  EXPECT_EQ(canvas.dc.pixel(160, 115), kBackground);
  EXPECT_EQ(canvas.dc.pen(), &g.penMenu);

  // The inner line is penFrame even when the record's own pen is something else.
  const Pen red{rgb(255, 0, 0), 1};
  rec.hPen = &red;
  drawButton(rec, 2, false, 2, "", g);
  EXPECT_EQ(canvas.dc.pixel(100, 100), red.color);
  EXPECT_EQ(canvas.dc.pixel(101, 101), g.penFrame.color);
  EXPECT_EQ(canvas.dc.pixel(158, 128), g.penFrame.color);
  EXPECT_EQ(canvas.dc.pixel(102, 102), panel);
  EXPECT_EQ(canvas.dc.pen(), &g.penFrame);

  // A later framed box takes the pen the double frame left selected.
  DrawRect box = rec;
  box.left = 200, box.top = 200, box.width = 20, box.height = 10;
  box.hBrush = &g.brCell;
  drawBox(box, 1);
  EXPECT_EQ(canvas.dc.pixel(200, 200), g.penFrame.color);
  EXPECT_EQ(canvas.dc.pixel(219, 209), g.penFrame.color);
  EXPECT_EQ(canvas.dc.pixel(201, 201), g.brCell.color);
  EXPECT_EQ(canvas.dc.pen(), &g.penFrame);
}

TEST_F(ButtonTest, BoxesWithoutAPositiveFrameAreOnlyFilled) {
  for (int framed : {0, -1}) {
    drawBox(rec, framed);
    EXPECT_EQ(canvas.dc.pixel(100, 100), g.brPanel.color) << framed;
    EXPECT_EQ(canvas.dc.pixel(159, 129), g.brPanel.color) << framed;
    EXPECT_EQ(canvas.dc.pixel(160, 130), kBackground) << framed;
  }
  drawBox(rec, 2);
  EXPECT_EQ(canvas.dc.pixel(100, 100), kBlack) << "the default pen";
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

class FreeTextTest : public ButtonTest {
 protected:
  FreeTextTest() {
    rec.left = 200, rec.top = 300, rec.width = 150, rec.height = 60;
    rec.textColor = g.clrMessageText;
  }
};

// Format -1 is DT_VCENTER alone: lines run from the top-left, broken at line feeds, and the
// coloured pass moves right and up by the whole lift; a single line is not centred either.
// Other formats go to DrawText unchanged.
TEST_F(FreeTextTest, TopLeftLinesLiftedByTheWholeLiftAndOtherFormatsAsDrawText) {
  drawText(rec, 3, "AB\nC", kTopLeftText);
  EXPECT_EQ(boundsOf(canvas.dc, g.clrMessageText), (Box{203, 297, 217, 313}));
  EXPECT_EQ(boundsOf(canvas.dc, kBlack), (Box{200, 300, 214, 316}));
  EXPECT_EQ(canvas.dc.pixel(200, 300), kBlack);
  EXPECT_EQ(canvas.dc.pixel(200, 315), kBlack);  // second line, one line height down
  EXPECT_EQ(canvas.dc.textColor(), g.clrMessageText);

  Canvas single, centred;
  rec.hDC = &single.dc;
  drawText(rec, 0, "AB", kTopLeftText);
  EXPECT_EQ(boundsOf(single.dc, g.clrMessageText), (Box{200, 300, 214, 308}));
  rec.hDC = &centred.dc;
  drawText(rec, 0, "AB", static_cast<int32_t>(kCentredLine));
  // x = (200 + 350 - 14) / 2, y = 300 + 30 - 4
  EXPECT_EQ(boundsOf(centred.dc, g.clrMessageText), (Box{268, 326, 282, 334}));
  drawText(rec, 0, "C", DT_SINGLELINE);
  EXPECT_EQ(boundsOf(centred.dc, g.clrMessageText, {200, 300, 210, 310}),
            (Box{200, 300, 207, 308}));
}

class CellTest : public ButtonTest {
 protected:
  CellTest() {
    rec.left = 10, rec.top = 10, rec.width = 20, rec.height = 60;
    canvas.dc.setTextColor(kBlue);
  }
  static constexpr ColorRef kBlue = rgb(40, 40, 255);
};

TEST_F(CellTest, CellsLeaveATwoPixelLineBetweenNeighbours) {
  std::string none;
  drawCellText(rec, 3, 4, &g.brCell, none);  // column 0, row 1
  drawCellText(rec, 3, 5, &g.brCell, none);  // column 1, row 1
  drawCellText(rec, 3, 2, &g.brCell, none);  // column 1, row 0
  const ColorRef cell = g.brCell.color;
  EXPECT_EQ(boundsOf(canvas.dc, cell, {30, 30, 50, 50}), (Box{31, 31, 49, 49}));
  EXPECT_EQ(canvas.dc.pixel(28, 40), cell);
  EXPECT_EQ(canvas.dc.pixel(29, 40), kBackground);
  EXPECT_EQ(canvas.dc.pixel(30, 40), kBackground);
  EXPECT_EQ(canvas.dc.pixel(40, 28), cell);
  EXPECT_EQ(canvas.dc.pixel(40, 29), kBackground);
  EXPECT_EQ(canvas.dc.pixel(40, 30), kBackground);
  EXPECT_EQ(canvas.dc.pixel(10, 40), kBackground);
  EXPECT_EQ(countOf(canvas.dc, kBlue), 0) << "an empty text only fills";
}

TEST_F(CellTest, TextIsDrawnAndHandedBackInUpperCase) {
  std::string text = "ab";
  drawCellText(rec, 3, 5, &g.brSelected, text);
  EXPECT_EQ(text, "AB");
  // Two upper-case letters, 14 wide: x = (31 + 49 - 14) / 2, y = 31 + 9 - 4.
  EXPECT_EQ(boundsOf(canvas.dc, kBlue), (Box{33, 36, 47, 44}));
  EXPECT_EQ(canvas.dc.pixel(31, 31), g.brSelected.color);
  EXPECT_EQ(canvas.dc.textColor(), kBlue) << "the caller's colour is kept";

  std::string mixed = "q7";
  drawCellText(rec, 3, 1, &g.brCell, mixed);
  EXPECT_EQ(mixed, "Q7");
}

}  // namespace
}  // namespace qlx
