// Device context pixel tests against the rules measured on GDI: fill and outline edges, the
// pixel layout, resizing, block copies, and DrawText placement with a box font (the single-line
// centring with its separate floor divisions, clipping, multi-line text from the top-left,
// blending on a transparent background).
#include <gtest/gtest.h>

#include <functional>

#include "box_fonts.h"
#include "platform/dc.h"

namespace qlx {
namespace {

using testing::boundsOf;
using testing::countOf;
using Box = std::array<int, 4>;

constexpr ColorRef kBg = rgb(240, 240, 240);
constexpr ColorRef kRed = rgb(200, 10, 20);
constexpr ColorRef kInk = rgb(10, 20, 30);
const Brush kRedBrush{kRed};
testing::BoxFonts fonts5x10(5, 5, 10);

// The pixels of dc that differ from the background, as a string map for readable failures.
std::string picture(const DeviceContext& dc) {
  std::string out;
  for (int y = 0; y < dc.height(); ++y) {
    for (int x = 0; x < dc.width(); ++x) out += dc.pixel(x, y) == kBg ? '.' : '#';
    out += '\n';
  }
  return out;
}

TEST(DeviceContextTest, PixelLayoutIsRgbInBitsAndBgrInColorRefAndResizeKeepsTheOverlap) {
  DeviceContext dc(4, 3, kBg, &fonts5x10);
  ASSERT_EQ(dc.bits().size(), 12u);
  const Brush brush{rgb(0x11, 0x22, 0x33)};
  dc.fillRect({1, 2, 2, 3}, &brush);
  EXPECT_EQ(dc.bits()[2 * 4 + 1], 0x112233u);
  EXPECT_EQ(dc.pixel(1, 2), 0x332211u);
  for (auto [x, y] : {std::pair{-1, 0}, {4, 0}, {0, 3}}) EXPECT_EQ(dc.pixel(x, y), 0u);

  dc.fillRect({0, 0, 4, 3}, &kRedBrush);
  dc.resize(5, 4, rgb(1, 2, 3));
  EXPECT_EQ(dc.width(), 5);
  EXPECT_EQ(dc.height(), 4);
  EXPECT_EQ(dc.pixel(3, 2), kRed);
  EXPECT_EQ(dc.pixel(4, 0), rgb(1, 2, 3));
  EXPECT_EQ(dc.pixel(0, 3), rgb(1, 2, 3));
  dc.resize(2, 1, kBg);
  EXPECT_EQ(dc.bits().size(), 2u);
  EXPECT_EQ(dc.pixel(1, 0), kRed);
}

// Fills exclude the right and bottom edges and clip; outlines lie inside the box, also with
// wide pens; empty, inverted and off-image boxes behave as GDI's do.
TEST(DeviceContextTest, FillsAndOutlinesCoverExactlyTheirPixels) {
  const Pen wide{kRed, 2};
  struct Case {
    const char* what;
    int width, height;
    std::function<void(DeviceContext&)> draw;
    const char* picture;
  };
  const Case cases[] = {
      {"fill", 10, 4,
       [](DeviceContext& dc) {
         dc.fillRect({2, 1, 6, 4}, &kRedBrush);
       },
       "..........\n..####....\n..####....\n..####....\n"},
      {"empty, inverted and brushless fills", 6, 2,
       [](DeviceContext& dc) {
         dc.fillRect({3, 1, 3, 4}, &kRedBrush);
         dc.fillRect({5, 3, 2, 1}, &kRedBrush);
         dc.fillRect({0, 0, 6, 4}, nullptr);
       },
       "......\n......\n"},
      {"clipped fills", 6, 4,
       [](DeviceContext& dc) {
         dc.fillRect({-100, -100, 2, 1}, &kRedBrush);
         dc.fillRect({4, 2, 1000000, 1000000}, &kRedBrush);
       },
       "##....\n......\n....##\n....##\n"},
      {"outline with the default pen", 9, 7, [](DeviceContext& dc) { dc.rectangle(1, 1, 7, 6); },
       ".........\n.######..\n.#....#..\n.#....#..\n.#....#..\n.######..\n.........\n"},
      {"empty, single-pixel and reversed outlines", 8, 5,
       [](DeviceContext& dc) {
         dc.rectangle(3, 3, 3, 5);
         dc.rectangle(0, 0, 1, 1);
         dc.rectangle(7, 4, 5, 2);  // the same as (5, 2, 7, 4)
       },
       "#.......\n........\n.....##.\n.....##.\n........\n"},
      {"outline partly off the image", 4, 4, [](DeviceContext& dc) { dc.rectangle(-2, 1, 3, 10); },
       "....\n###.\n..#.\n..#.\n"},
      {"wide pen", 8, 8,
       [&](DeviceContext& dc) {
         dc.selectPen(&wide);
         dc.rectangle(1, 1, 7, 7);
       },
       "........\n.######.\n.######.\n.##..##.\n.##..##.\n.######.\n.######.\n........\n"},
  };
  for (const Case& c : cases) {
    DeviceContext dc(c.width, c.height, kBg, &fonts5x10);
    c.draw(dc);
    EXPECT_EQ(picture(dc), c.picture) << c.what;
  }
}

TEST(DeviceContextTest, OutlinesUseTheSelectedPenWhichStaysSelected) {
  DeviceContext dc(9, 8, kBg, &fonts5x10);
  dc.rectangle(1, 1, 7, 6);  // no pen selected: the default black pen
  const Pen green{rgb(170, 200, 170), 1};
  EXPECT_EQ(dc.selectPen(&green), nullptr);
  dc.rectangle(2, 2, 6, 5);  // the inner frame of a double frame
  EXPECT_EQ(dc.pixel(2, 2), green.color);
  EXPECT_EQ(dc.pixel(5, 4), green.color);
  EXPECT_EQ(dc.pixel(3, 3), kBg);  // hollow
  EXPECT_EQ(dc.pixel(1, 1), rgb(0, 0, 0));
  EXPECT_EQ(dc.pen(), &green);  // the pen stays selected for a later frame
}

Bitmap gradient(int w, int h) {
  Bitmap b{w, h, {}};
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x)
      b.pixels.push_back(rgb(static_cast<uint8_t>(x * 10), static_cast<uint8_t>(y * 10), 7));
  return b;
}
ColorRef gradientAt(int x, int y) {
  return rgb(static_cast<uint8_t>(x * 10), static_cast<uint8_t>(y * 10), 7);
}

TEST(DeviceContextTest, BitBltCopiesExactlyWhereTheSourceHasPixelsAndClipsToTheImage) {
  DeviceContext pic = DeviceContext::memoryContext(&fonts5x10);
  pic.selectBitmap(gradient(6, 5));
  ASSERT_TRUE(pic.holdsBitmap());
  DeviceContext dc(10, 10, kBg, &fonts5x10);
  dc.bitBlt(3, 2, 4, 3, pic, 1, 2);
  for (int y = 0; y < 10; ++y)
    for (int x = 0; x < 10; ++x) {
      const bool inside = x >= 3 && x < 7 && y >= 2 && y < 5;
      ASSERT_EQ(dc.pixel(x, y), inside ? gradientAt(x - 2, y) : kBg) << x << "," << y;
    }

  // The block reaches past the source's right and bottom edges and starts left of it.
  pic.selectBitmap(gradient(4, 4));
  DeviceContext past(8, 4, kBg, &fonts5x10);
  past.bitBlt(0, 0, 8, 8, pic, -2, 1);
  EXPECT_EQ(picture(past), "..####..\n..####..\n..####..\n........\n");
  EXPECT_EQ(past.pixel(2, 0), gradientAt(0, 1));
  EXPECT_EQ(past.pixel(5, 2), gradientAt(3, 3));
  // The destination is clipped to its image, also far off it.
  DeviceContext small(3, 3, kBg, &fonts5x10);
  small.bitBlt(-2, -1, 4, 4, pic, 0, 0);
  EXPECT_EQ(small.pixel(0, 0), gradientAt(2, 1));
  EXPECT_EQ(small.pixel(1, 2), gradientAt(3, 3));
  EXPECT_EQ(small.pixel(2, 0), kBg);
  small.bitBlt(2000000000, 2000000000, 2000000000, 5, pic, 0, 0);
  small.bitBlt(0, 0, -3, 3, pic, 0, 0);
  EXPECT_EQ(small.pixel(2, 2), kBg);

  // Within one image, overlapping blocks copy as if through a copy of the source.
  pic.selectBitmap(gradient(6, 6));
  pic.bitBlt(1, 1, 4, 4, pic, 0, 0);  // down and right by one
  EXPECT_EQ(pic.pixel(1, 1), gradientAt(0, 0));
  EXPECT_EQ(pic.pixel(4, 4), gradientAt(3, 3));
  pic.selectBitmap(gradient(6, 6));
  pic.bitBlt(0, 0, 4, 4, pic, 1, 1);  // up and left by one
  EXPECT_EQ(pic.pixel(0, 0), gradientAt(1, 1));
  EXPECT_EQ(pic.pixel(3, 3), gradientAt(4, 4));
}

TEST(DeviceContextTest, MemoryContextWithoutBitmapCopiesNothing) {
  DeviceContext empty = DeviceContext::memoryContext(&fonts5x10);
  EXPECT_FALSE(empty.holdsBitmap());
  DeviceContext dc(4, 4, kBg, &fonts5x10);
  dc.bitBlt(0, 0, 4, 4, empty, 0, 0);
  EXPECT_EQ(picture(dc), "....\n....\n....\n....\n");
  // Drawing into it is harmless.
  empty.fillRect({0, 0, 5, 5}, &kRedBrush);
  empty.rectangle(0, 0, 5, 5);
  empty.drawText("x", {0, 0, 5, 5}, DT_SINGLELINE);
  // A bitmap whose pixel count does not match its size is not selected.
  Bitmap broken = gradient(3, 3);
  broken.pixels.pop_back();
  empty.selectBitmap(broken);
  EXPECT_FALSE(empty.holdsBitmap());
}

constexpr uint32_t kCentred = DT_CENTER | DT_VCENTER | DT_SINGLELINE;

TEST(DrawTextTest, SingleLinesAreAlignedWithEachDivisionFlooredSeparately) {
  struct Case {
    int charWidth, lineHeight;
    const char* text;
    Rect r;
    uint32_t format;
    Box ink;
  };
  const Case cases[] = {
      // y = 10 + 30/2 - 19/2 = 10 + 15 - 9 = 16 (one division of 11 would give 15);
      // x = (10 + 50 - 21) / 2 = 19.
      {7, 19, "abc", {10, 10, 50, 40}, kCentred, {19, 16, 40, 35}},
      {7, 19, "xx", {0, 0, 41, 25}, kCentred, {13, 3, 27, 22}},   // x = 27/2 = 13; y = 12 - 9 = 3
      {7, 19, "xxx", {5, 2, 46, 27}, kCentred, {15, 5, 36, 24}},  // x = 15; y = 2 + 12 - 9 = 5
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
    testing::BoxFonts fonts(c.charWidth, c.charWidth, c.lineHeight);
    DeviceContext dc(80, 60, kBg, &fonts);
    dc.setTextColor(kInk);
    const int height = dc.drawText(c.text, c.r, c.format);
    EXPECT_EQ(boundsOf(dc, kInk), c.ink) << c.text << " in rect left " << c.r.left;
    if (c.r.top == 10) {
      EXPECT_EQ(height, 16 + 19 - 10) << "from the top of the rectangle to the bottom of the text";
    }
  }
}

TEST(DrawTextTest, TextIsClippedToTheRectangle) {
  testing::BoxFonts fonts(7, 7, 19);
  DeviceContext dc(60, 50, kBg, &fonts);
  dc.setTextColor(kInk);
  // A line far wider and taller than its cell: only the cell is painted, all of it.
  dc.drawText("abcdefgh", {10, 10, 22, 20}, kCentred);
  EXPECT_EQ(boundsOf(dc, kInk), (Box{10, 10, 22, 20}));
  EXPECT_EQ(countOf(dc, kInk), 12 * 10);
  // An empty or inverted rectangle shows nothing.
  dc.drawText("abc", {30, 10, 30, 40}, kCentred);
  dc.drawText("abc", {40, 40, 10, 10}, kCentred);
  dc.drawText("abc", {40, 40, 10, 10}, DT_VCENTER);
  EXPECT_EQ(countOf(dc, kInk), 12 * 10);
}

TEST(DrawTextTest, MultiLineTextRunsFromTheTopLeftWhateverTheVerticalBits) {
  testing::BoxFonts fonts(5, 5, 8);
  DeviceContext dc(60, 60, kBg, &fonts);
  dc.setTextColor(kInk);
  // DT_VCENTER alone: the game's top-left captions. CR LF is one break, LF another.
  EXPECT_EQ(dc.drawText("ab\r\ncde\nf", {4, 6, 50, 50}, DT_VCENTER), 24);
  for (int y = 0; y < 60; ++y)
    for (int x = 0; x < 60; ++x) {
      const int width = y < 6 ? 0 : y < 14 ? 10 : y < 22 ? 15 : y < 30 ? 5 : 0;
      ASSERT_EQ(dc.pixel(x, y) == kInk, x >= 4 && x < 4 + width) << x << "," << y;
    }
  EXPECT_EQ(fonts.rendered, (std::vector<std::string>{"ab", "cde", "f"}));

  // Centred lines, the third cut after four rows by a rectangle 31 wide and 20 high.
  DeviceContext centred(60, 60, kBg, &fonts);
  centred.setTextColor(kInk);
  centred.drawText("a\nabc\nab", {0, 0, 31, 20}, DT_CENTER | DT_VCENTER);
  EXPECT_EQ(boundsOf(centred, kInk), (Box{8, 0, 23, 20}));
  EXPECT_EQ(boundsOf(centred, kInk, {0, 0, 60, 8}), (Box{13, 0, 18, 8}));  // (31 - 5) / 2
  EXPECT_EQ(boundsOf(centred, kInk, {0, 8, 60, 16}), (Box{8, 8, 23, 16}));
  EXPECT_EQ(boundsOf(centred, kInk, {0, 16, 60, 60}), (Box{10, 16, 20, 20}));  // (31 - 10) / 2
}

TEST(DrawTextTest, CoverageBlendsTheTextColourOverThePixelsBeneath) {
  testing::BoxFonts fonts(4, 4, 4, 128);  // half coverage everywhere
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
