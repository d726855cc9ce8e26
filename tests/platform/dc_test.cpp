// Device context pixel tests: fill and outline edges, the pixel layout, resizing and block
// copies from memory contexts, against the rules measured on GDI.
#include <gtest/gtest.h>

#include <functional>

#include "fake_font_engine.h"
#include "platform/dc.h"

namespace qlx {
namespace {

constexpr ColorRef kBg = rgb(240, 240, 240);
constexpr ColorRef kRed = rgb(200, 10, 20);

// The pixels of dc that differ from the background, as a string map for readable failures.
std::string picture(const DeviceContext& dc, int x0, int y0, int x1, int y1) {
  std::string out;
  for (int y = y0; y < y1; ++y) {
    for (int x = x0; x < x1; ++x) out += dc.pixel(x, y) == kBg ? '.' : '#';
    out += '\n';
  }
  return out;
}

TEST(DeviceContextTest, PixelLayoutIsRgbInBitsAndBgrInColorRef) {
  test::BoxFontEngine fonts(5, 10);
  DeviceContext dc(4, 3, kBg, &fonts);
  ASSERT_EQ(dc.bits().size(), 12u);
  const Brush brush{rgb(0x11, 0x22, 0x33)};
  dc.fillRect({1, 2, 2, 3}, &brush);
  EXPECT_EQ(dc.bits()[2 * 4 + 1], 0x112233u);
  EXPECT_EQ(dc.pixel(1, 2), 0x332211u);
  EXPECT_EQ(dc.pixel(0, 0), kBg);
  EXPECT_EQ(dc.pixel(-1, 0), 0u);
  EXPECT_EQ(dc.pixel(4, 0), 0u);
  EXPECT_EQ(dc.pixel(0, 3), 0u);
}

// Fills exclude the right and bottom edges and clip; outlines lie inside the box, also with
// wide pens; empty, inverted and off-image boxes behave as GDI's do.
TEST(DeviceContextTest, FillsAndOutlinesCoverExactlyTheirPixels) {
  const Brush brush{kRed};
  const Pen wide{kRed, 2};
  struct Case {
    const char* what;
    int width, height;
    std::function<void(DeviceContext&)> draw;
    const char* picture;
  };
  const Case cases[] = {
      {"fill", 10, 4,
       [&](DeviceContext& dc) {
         dc.fillRect({2, 1, 6, 4}, &brush);
       },
       "..........\n..####....\n..####....\n..####....\n"},
      {"empty, inverted and brushless fills", 6, 2,
       [&](DeviceContext& dc) {
         dc.fillRect({3, 1, 3, 4}, &brush);
         dc.fillRect({5, 3, 2, 1}, &brush);
         dc.fillRect({0, 0, 6, 4}, nullptr);
       },
       "......\n......\n"},
      {"clipped fills", 6, 4,
       [&](DeviceContext& dc) {
         dc.fillRect({-100, -100, 2, 1}, &brush);
         dc.fillRect({4, 2, 1000000, 1000000}, &brush);
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
    test::BoxFontEngine fonts(5, 10);
    DeviceContext dc(c.width, c.height, kBg, &fonts);
    c.draw(dc);
    EXPECT_EQ(picture(dc, 0, 0, c.width, c.height), c.picture) << c.what;
  }
}

TEST(DeviceContextTest, OutlinesUseTheSelectedPenWhichStaysSelected) {
  test::BoxFontEngine fonts(5, 10);
  DeviceContext dc(9, 8, kBg, &fonts);
  dc.rectangle(1, 1, 7, 6);  // no pen selected: the default black pen
  EXPECT_EQ(dc.pixel(1, 1), rgb(0, 0, 0));
  const Pen green{rgb(170, 200, 170), 1};
  EXPECT_EQ(dc.selectPen(&green), nullptr);
  dc.rectangle(2, 2, 6, 5);  // the inner frame of a double frame
  EXPECT_EQ(dc.pixel(2, 2), green.color);
  EXPECT_EQ(dc.pixel(5, 4), green.color);
  EXPECT_EQ(dc.pixel(3, 3), kBg);  // hollow
  EXPECT_EQ(dc.pixel(1, 1), rgb(0, 0, 0));
  EXPECT_EQ(dc.pen(), &green);  // the pen stays selected for a later frame
}

TEST(DeviceContextTest, ResizeKeepsTheOverlapAndFillsTheRest) {
  test::BoxFontEngine fonts(5, 10);
  DeviceContext dc(3, 2, kBg, &fonts);
  const Brush brush{kRed};
  dc.fillRect({0, 0, 3, 2}, &brush);
  dc.resize(4, 3, rgb(1, 2, 3));
  EXPECT_EQ(dc.width(), 4);
  EXPECT_EQ(dc.height(), 3);
  EXPECT_EQ(dc.pixel(2, 1), kRed);
  EXPECT_EQ(dc.pixel(3, 0), rgb(1, 2, 3));
  EXPECT_EQ(dc.pixel(0, 2), rgb(1, 2, 3));
  dc.resize(2, 1, kBg);
  EXPECT_EQ(dc.bits().size(), 2u);
  EXPECT_EQ(dc.pixel(1, 0), kRed);
}

Bitmap gradient(int w, int h) {
  Bitmap b;
  b.width = w;
  b.height = h;
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x)
      b.pixels.push_back(rgb(static_cast<uint8_t>(x * 10), static_cast<uint8_t>(y * 10), 7));
  return b;
}

TEST(DeviceContextTest, BitBltCopiesPixelsExactly) {
  test::BoxFontEngine fonts(5, 10);
  DeviceContext pic = DeviceContext::memoryContext(&fonts);
  pic.selectBitmap(gradient(6, 5));
  ASSERT_TRUE(pic.holdsBitmap());
  DeviceContext dc(10, 10, kBg, &fonts);
  dc.bitBlt(3, 2, 4, 3, pic, 1, 2);
  for (int y = 0; y < 10; ++y)
    for (int x = 0; x < 10; ++x) {
      const bool inside = x >= 3 && x < 7 && y >= 2 && y < 5;
      const ColorRef want =
          inside ? rgb(static_cast<uint8_t>((x - 2) * 10), static_cast<uint8_t>(y * 10), 7) : kBg;
      ASSERT_EQ(dc.pixel(x, y), want) << x << "," << y;
    }
}

TEST(DeviceContextTest, BitBltLeavesTheDestinationWhereTheSourceHasNoPixels) {
  test::BoxFontEngine fonts(5, 10);
  DeviceContext pic = DeviceContext::memoryContext(&fonts);
  pic.selectBitmap(gradient(4, 4));
  DeviceContext dc(8, 8, kBg, &fonts);
  // The block reaches past the source's right and bottom edges and starts left of it.
  dc.bitBlt(0, 0, 8, 8, pic, -2, 1);
  EXPECT_EQ(picture(dc, 0, 0, 8, 8),
            "..####..\n"
            "..####..\n"
            "..####..\n"
            "........\n"
            "........\n"
            "........\n"
            "........\n"
            "........\n");
  EXPECT_EQ(dc.pixel(2, 0), rgb(0, 10, 7));
  EXPECT_EQ(dc.pixel(5, 2), rgb(30, 30, 7));

  // The destination is clipped to its image, also far off it.
  DeviceContext small(3, 3, kBg, &fonts);
  small.bitBlt(-2, -1, 4, 4, pic, 0, 0);
  EXPECT_EQ(small.pixel(0, 0), rgb(20, 10, 7));
  EXPECT_EQ(small.pixel(1, 2), rgb(30, 30, 7));
  EXPECT_EQ(small.pixel(2, 0), kBg);
  small.bitBlt(2000000000, 2000000000, 2000000000, 5, pic, 0, 0);
  small.bitBlt(0, 0, -3, 3, pic, 0, 0);
  EXPECT_EQ(small.pixel(2, 2), kBg);
}

TEST(DeviceContextTest, MemoryContextWithoutBitmapCopiesNothing) {
  test::BoxFontEngine fonts(5, 10);
  DeviceContext empty = DeviceContext::memoryContext(&fonts);
  EXPECT_FALSE(empty.holdsBitmap());
  DeviceContext dc(4, 4, kBg, &fonts);
  dc.bitBlt(0, 0, 4, 4, empty, 0, 0);
  EXPECT_EQ(picture(dc, 0, 0, 4, 4), "....\n....\n....\n....\n");
  // Drawing into it is harmless.
  const Brush brush{kRed};
  empty.fillRect({0, 0, 5, 5}, &brush);
  empty.rectangle(0, 0, 5, 5);
  empty.drawText("x", {0, 0, 5, 5}, DT_SINGLELINE);
  // A bitmap whose pixel count does not match its size is not selected.
  Bitmap broken = gradient(3, 3);
  broken.pixels.pop_back();
  DeviceContext pic = DeviceContext::memoryContext(&fonts);
  pic.selectBitmap(broken);
  EXPECT_FALSE(pic.holdsBitmap());
}

TEST(DeviceContextTest, BitBltWithinOneImageHandlesOverlap) {
  test::BoxFontEngine fonts(5, 10);
  DeviceContext dc = DeviceContext::memoryContext(&fonts);
  dc.selectBitmap(gradient(6, 6));
  dc.bitBlt(1, 1, 4, 4, dc, 0, 0);  // down and right by one
  EXPECT_EQ(dc.pixel(1, 1), rgb(0, 0, 7));
  EXPECT_EQ(dc.pixel(4, 4), rgb(30, 30, 7));
  dc.selectBitmap(gradient(6, 6));
  dc.bitBlt(0, 0, 4, 4, dc, 1, 1);  // up and left by one
  EXPECT_EQ(dc.pixel(0, 0), rgb(10, 10, 7));
  EXPECT_EQ(dc.pixel(3, 3), rgb(40, 40, 7));
}

}  // namespace
}  // namespace qlx
