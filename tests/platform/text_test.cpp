// DrawText placement with a box font of known extent: the single-line centring formula with
// its separate floor divisions, the other alignments, clipping to the rectangle, multi-line
// text from the top-left, and blending on a transparent background.
#include <gtest/gtest.h>

#include "fake_font_engine.h"
#include "platform/dc.h"

namespace qlx {
namespace {

constexpr ColorRef kBg = rgb(240, 240, 240);
constexpr ColorRef kInk = rgb(10, 20, 30);

// The bounding box of the pixels in the text colour, as {left, top, right, bottom} with right
// and bottom excluded; all zero when there are none.
Rect inkBox(const DeviceContext& dc) {
  Rect box{dc.width(), dc.height(), -1, -1};
  bool any = false;
  for (int y = 0; y < dc.height(); ++y)
    for (int x = 0; x < dc.width(); ++x)
      if (dc.pixel(x, y) == kInk) {
        any = true;
        box.left = std::min(box.left, x);
        box.top = std::min(box.top, y);
        box.right = std::max(box.right, x + 1);
        box.bottom = std::max(box.bottom, y + 1);
      }
  return any ? box : Rect{};
}

int inkCount(const DeviceContext& dc) {
  int n = 0;
  for (int y = 0; y < dc.height(); ++y)
    for (int x = 0; x < dc.width(); ++x) n += dc.pixel(x, y) == kInk;
  return n;
}

::testing::AssertionResult sameBox(const Rect& got, const Rect& want) {
  if (got.left == want.left && got.top == want.top && got.right == want.right &&
      got.bottom == want.bottom)
    return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure()
         << "ink at {" << got.left << ", " << got.top << ", " << got.right << ", " << got.bottom
         << "}, expected {" << want.left << ", " << want.top << ", " << want.right << ", "
         << want.bottom << "}";
}

constexpr uint32_t kCentred = DT_CENTER | DT_VCENTER | DT_SINGLELINE;

TEST(DrawTextTest, SingleLinesAreAlignedWithEachDivisionFlooredSeparately) {
  struct Case {
    int charWidth, lineHeight;
    const char* text;
    Rect r;
    uint32_t format;
    Rect ink;
  };
  const Case cases[] = {
      // y = 10 + 30/2 - 19/2 = 10 + 15 - 9 = 16 (one division of 11 would give 15);
      // x = (10 + 50 - 21) / 2 = 19.
      {7, 19, "abc", {10, 10, 50, 40}, kCentred, {19, 16, 40, 35}},
      {7, 19, "xx", {0, 0, 41, 25}, kCentred, {13, 3, 27, 22}},   // x = 27/2 = 13; y = 12 - 9 = 3
      {7, 19, "xxx", {5, 2, 46, 27}, kCentred, {15, 5, 36, 24}},  // x = 30/2 = 15; y = 2 + 12 - 9 =
                                                                  // 5
      {7, 19, "x", {1, 0, 61, 20}, kCentred, {27, 1, 34, 20}},    // x = 55/2 = 27; y = 10 - 9 = 1
      // Left of the image: x = (-31 + 20 - 14) / 2 = -12.5, floored to -13, so the box ends at
      // x = 1 (truncating would end it at 2); y = -9 + 39/2 - 9 = 1.
      {7, 19, "xx", {-31, -9, 20, 30}, kCentred, {0, 1, 1, 20}},
      {5, 9, "ab", {3, 4, 50, 35}, DT_SINGLELINE, {3, 4, 13, 13}},
      {5, 9, "ab", {3, 4, 50, 35}, DT_RIGHT | DT_BOTTOM | DT_SINGLELINE, {40, 26, 50, 35}},
      {5, 9, "abc", {0, 4, 50, 35}, DT_CENTER | DT_SINGLELINE, {17, 4, 32, 13}},
      {5, 9, "abc", {0, 4, 50, 35}, DT_VCENTER | DT_SINGLELINE, {0, 15, 15, 24}},  // 4 + 15 - 4
  };
  for (const Case& c : cases) {
    test::BoxFontEngine fonts(c.charWidth, c.lineHeight);
    DeviceContext dc(80, 60, kBg, &fonts);
    dc.setTextColor(kInk);
    const int height = dc.drawText(c.text, c.r, c.format);
    EXPECT_TRUE(sameBox(inkBox(dc), c.ink))
        << c.text << " in rect left " << c.r.left << " format " << c.format;
    if (c.r.top == 10) {
      EXPECT_EQ(height, 16 + 19 - 10) << "from the top of the rectangle to the bottom of the text";
    }
  }
}

TEST(DrawTextTest, TextIsClippedToTheRectangle) {
  test::BoxFontEngine fonts(7, 19);
  DeviceContext dc(60, 50, kBg, &fonts);
  dc.setTextColor(kInk);
  // A line far wider and taller than its cell: only the cell is painted, all of it.
  dc.drawText("abcdefgh", {10, 10, 22, 20}, kCentred);
  EXPECT_TRUE(sameBox(inkBox(dc), {10, 10, 22, 20}));
  EXPECT_EQ(inkCount(dc), 12 * 10);
  // An empty or inverted rectangle shows nothing.
  DeviceContext none(60, 50, kBg, &fonts);
  none.setTextColor(kInk);
  none.drawText("abc", {30, 10, 30, 40}, kCentred);
  none.drawText("abc", {40, 40, 10, 10}, kCentred);
  none.drawText("abc", {40, 40, 10, 10}, DT_VCENTER);
  EXPECT_EQ(inkCount(none), 0);
}

TEST(DrawTextTest, MultiLineTextRunsFromTheTopLeftWhateverTheVerticalBits) {
  test::BoxFontEngine fonts(5, 8);
  DeviceContext dc(60, 60, kBg, &fonts);
  dc.setTextColor(kInk);
  // DT_VCENTER alone: the game's top-left captions. CR LF is one break, LF another.
  const int height = dc.drawText("ab\r\ncde\nf", {4, 6, 50, 50}, DT_VCENTER);
  EXPECT_EQ(height, 24);
  for (int y = 0; y < 60; ++y)
    for (int x = 0; x < 60; ++x) {
      int width = 0;
      if (y >= 6 && y < 14) width = 10;
      if (y >= 14 && y < 22) width = 15;
      if (y >= 22 && y < 30) width = 5;
      const bool ink = x >= 4 && x < 4 + width;
      ASSERT_EQ(dc.pixel(x, y) == kInk, ink) << x << "," << y;
    }
  EXPECT_EQ(fonts.rendered, (std::vector<std::string>{"ab", "cde", "f"}));
}

TEST(DrawTextTest, MultiLineCentresEachLineAndClipsAtTheBottom) {
  test::BoxFontEngine fonts(5, 8);
  DeviceContext dc(60, 60, kBg, &fonts);
  dc.setTextColor(kInk);
  // Rectangle 31 wide and 20 high: the third line is cut after four rows.
  dc.drawText("a\nabc\nab", {0, 0, 31, 20}, DT_CENTER | DT_VCENTER);
  EXPECT_TRUE(sameBox(inkBox(dc), {8, 0, 23, 20}));
  EXPECT_EQ(dc.pixel(13, 0), kInk);  // "a": (31 - 5) / 2 = 13
  EXPECT_EQ(dc.pixel(12, 0), kBg);
  EXPECT_EQ(dc.pixel(8, 8), kInk);    // "abc": (31 - 15) / 2 = 8
  EXPECT_EQ(dc.pixel(10, 16), kInk);  // "ab": (31 - 10) / 2 = 10
  EXPECT_EQ(dc.pixel(10, 20), kBg);
}

TEST(DrawTextTest, CoverageBlendsTheTextColourOverThePixelsBeneath) {
  test::BoxFontEngine fonts(4, 4, 128);  // half coverage everywhere
  DeviceContext dc(20, 10, rgb(200, 100, 0), &fonts);
  dc.setTextColor(rgb(0, 100, 255));
  const Brush stripe{rgb(255, 255, 255)};
  dc.fillRect({0, 0, 2, 10}, &stripe);
  dc.drawText("ab", {0, 0, 20, 10}, DT_SINGLELINE);
  EXPECT_EQ(dc.pixel(1, 1), rgb(127, 177, 255));  // over white
  EXPECT_EQ(dc.pixel(5, 1), rgb(100, 100, 128));  // over the background
  EXPECT_EQ(dc.pixel(9, 1), rgb(200, 100, 0));    // past the line: untouched
  EXPECT_EQ(dc.pixel(5, 5), rgb(200, 100, 0));
}

}  // namespace
}  // namespace qlx
