// Device context pixel tests against the rules measured on GDI: the pixel layout, fill and outline
// edges, block copies, and DrawText placement with a box font (single-line centring with its
// separate floor divisions, clipping, multi-line text, blending). Then the fonts: point sizes to
// pixels at 96 dpi, the code page, and the real engine: faces found through fontconfig at the
// right em size, lines measured as rendered, and the fallbacks.
// Last, BMP files: pictures written and read back, the layouts the reader accepts, and damaged or
// unsupported files refused with a message naming the file.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <tuple>
#include <vector>

#include "box_fonts.h"
#include "platform/bitmap.h"
#include "platform/dc.h"
#include "platform/font.h"
#include "platform/fonts/cp1252.h"
#include "platform/fonts/font_lookup.h"
#include "platform/sdl/ttf_font_engine.h"
#include "temp_folder.h"

namespace qlx {
namespace {

constexpr ColorRef kBg = rgb(240, 240, 240);
constexpr ColorRef kRed = rgb(200, 10, 20);
constexpr ColorRef kInk = rgb(10, 20, 30);
const Brush kRedBrush{kRed};
testing::BoxFonts fonts5x10(5, 5, 10);

// The pixels of dc that differ from the background, each row ended by '/'.
std::string picture(const DeviceContext& dc) {
  std::string out;
  for (int y = 0; y < dc.height(); ++y) {
    for (int x = 0; x < dc.width(); ++x) out += dc.pixel(x, y) == kBg ? '.' : '#';
    out += '/';
  }
  return out;
}

TEST(DeviceContextTest, PixelLayoutIsRgbInBitsAndBgrInColorRefAndResizeKeepsTheOverlap) {
  DeviceContext dc(4, 3, kBg, &fonts5x10);
  dc.fillRect({1, 2, 2, 3}, &kRedBrush);  // red 200 = 0xC8, green 10 = 0x0A, blue 20 = 0x14
  EXPECT_EQ(dc.bits()[2 * 4 + 1], 0xC80A14u);
  EXPECT_EQ(dc.pixel(1, 2), 0x140AC8u);
  for (auto [x, y] : {std::pair{-1, 0}, {4, 0}, {0, 3}}) EXPECT_EQ(dc.pixel(x, y), 0u);
  dc.fillRect({0, 0, 4, 3}, &kRedBrush);
  dc.resize(5, 4, rgb(1, 2, 3));
  EXPECT_EQ(dc.bits().size(), 20u);
  EXPECT_EQ(std::vector({dc.pixel(3, 2), dc.pixel(4, 0), dc.pixel(0, 3)}),
            std::vector({kRed, rgb(1, 2, 3), rgb(1, 2, 3)}));
  dc.resize(2, 1, kBg);
  EXPECT_EQ(std::pair(dc.bits().size(), dc.pixel(1, 0)), std::pair(std::size_t{2}, kRed));
}

// Fills exclude the right and bottom edges and clip; outlines lie inside the box, also with wide
// pens; empty, inverted and off-image boxes behave as GDI's do.
TEST(DeviceContextTest, FillsAndOutlinesCoverExactlyTheirPixels) {
  // Each op: f fills in red, n fills with no brush, o outlines, w outlines with a 2-pixel pen.
  using Op = std::pair<char, Rect>;
  const std::pair<std::vector<Op>, std::string> cases[] = {
      {{{'f', {2, 1, 6, 4}}}, "........../..####..../..####..../..####..../"},
      {{{'f', {3, 1, 3, 4}}, {'f', {5, 3, 2, 1}}, {'n', {0, 0, 6, 4}}}, "....../....../"},
      {{{'f', {-100, -100, 2, 1}}, {'f', {4, 2, 1000000, 1000000}}},
       "##..../....../....##/....##/"},
      {{{'o', {1, 1, 7, 6}}},
       "........./.######../.#....#../.#....#../.#....#../.######../........./"},
      // Empty, single-pixel and reversed (the same as (5, 2, 7, 4)) outlines.
      {{{'o', {3, 3, 3, 5}}, {'o', {0, 0, 1, 1}}, {'o', {7, 4, 5, 2}}},
       "#......./......../.....##./.....##./......../"},
      {{{'o', {-2, 1, 3, 10}}}, "..../###./..#./..#./"},
      {{{'w', {1, 1, 7, 7}}},
       "......../.######./.######./.##..##./.##..##./.######./.######./......../"},
  };
  const Pen wide{kRed, 2};
  for (const auto& [ops, want] : cases) {
    const auto width = static_cast<int>(want.find('/'));
    DeviceContext dc(width, static_cast<int>(want.size()) / (width + 1), kBg, &fonts5x10);
    for (const auto& [kind, r] : ops) {
      if (kind == 'w') dc.selectPen(&wide);
      if (kind == 'o' || kind == 'w') dc.rectangle(r.left, r.top, r.right, r.bottom);
      if (kind == 'f' || kind == 'n') dc.fillRect(r, kind == 'f' ? &kRedBrush : nullptr);
    }
    EXPECT_EQ(picture(dc), want);
  }
}

ColorRef gradientAt(int x, int y) { return rgb(uint8_t(x * 10), uint8_t(y * 10), 7); }
Bitmap gradient(int w, int h) {
  Bitmap b{w, h, {}};
  for (int i = 0; i < w * h; ++i) b.pixels.push_back(gradientAt(i % w, i / w));
  return b;
}

// The drawing kit's title picture pins copies from a sheet, from a smaller one and from none;
// here, the edges.
TEST(DeviceContextTest, BitBltCopiesExactlyWhereTheSourceHasPixelsAndClipsToTheImage) {
  // A bitmap whose pixel count does not match its size is not selected; drawing into a memory
  // context without one is harmless.
  DeviceContext pic = DeviceContext::memoryContext(&fonts5x10);
  Bitmap broken = gradient(3, 3);
  broken.pixels.pop_back();
  pic.selectBitmap(broken);
  EXPECT_FALSE(pic.holdsBitmap());
  pic.fillRect({0, 0, 5, 5}, &kRedBrush);
  pic.drawText("x", {0, 0, 5, 5}, DT_SINGLELINE);

  pic.selectBitmap(gradient(4, 4));
  // The block reaches past the source's right and bottom edges and starts left of it.
  DeviceContext past(8, 4, kBg, &fonts5x10);
  past.bitBlt(0, 0, 8, 8, pic, -2, 1);
  EXPECT_EQ(picture(past), "..####../..####../..####../......../");
  EXPECT_EQ(past.pixel(2, 0), gradientAt(0, 1));
  // The destination is clipped to its image, also far off it.
  DeviceContext small(3, 3, kBg, &fonts5x10);
  small.bitBlt(-2, -1, 4, 4, pic, 0, 0);
  small.bitBlt(2000000000, 2000000000, 2000000000, 5, pic, 0, 0);
  small.bitBlt(0, 0, -3, 3, pic, 0, 0);
  EXPECT_EQ(picture(small), "##./##./##./");
  EXPECT_EQ(small.pixel(0, 0), gradientAt(2, 1));

  // Within one image, overlapping blocks copy as if through a copy of the source.
  for (int a : {1, 0}) {  // down and right by one, then up and left by one
    pic.selectBitmap(gradient(6, 6));
    pic.bitBlt(a, a, 4, 4, pic, 1 - a, 1 - a);
    EXPECT_EQ(pic.pixel(3 + a, 3 + a), gradientAt(4 - a, 4 - a)) << a;
  }
}

constexpr uint32_t kCentred = DT_CENTER | DT_VCENTER | DT_SINGLELINE;

// Where the text lands, with a box font whose characters are all charWidth × lineHeight.
TEST(DrawTextTest, TextIsAlignedWithEachDivisionFlooredSeparatelyClippedAndBlended) {
  // The box font's character width and line height, the text, rectangle and format, the box
  // of the ink, and the height returned (0: not checked).
  const std::tuple<int, int, const char*, Rect, uint32_t, std::array<int, 4>, int> cases[] = {
      // y = 10 + 30/2 - 19/2 = 16 (one division of 11 would give 15); x = (10 + 50 - 21) / 2.
      {7, 19, "abc", {10, 10, 50, 40}, kCentred, {19, 16, 40, 35}, 35 - 10},
      {7, 19, "xx", {0, 0, 41, 25}, kCentred, {13, 3, 27, 22}, 0},
      {7, 19, "xxx", {5, 2, 46, 27}, kCentred, {15, 5, 36, 24}, 0},
      {7, 19, "x", {1, 0, 61, 20}, kCentred, {27, 1, 34, 20}, 0},
      // x = (-31 + 20 - 14) / 2 = -12.5 is floored to -13, so the box ends at 1, not 2.
      {7, 19, "xx", {-31, -9, 20, 30}, kCentred, {0, 1, 1, 20}, 0},
      {5, 9, "ab", {3, 4, 50, 35}, DT_SINGLELINE, {3, 4, 13, 13}, 0},
      {5, 9, "ab", {3, 4, 50, 35}, DT_RIGHT | DT_BOTTOM | DT_SINGLELINE, {40, 26, 50, 35}, 0},
      {5, 9, "abc", {0, 4, 50, 35}, DT_CENTER | DT_SINGLELINE, {17, 4, 32, 13}, 0},
      {5, 9, "abc", {0, 4, 50, 35}, DT_VCENTER | DT_SINGLELINE, {0, 15, 15, 24}, 0},
      // A line far wider and taller than its cell fills just the cell; an empty or inverted
      // rectangle shows nothing.
      {7, 19, "abcdefgh", {10, 10, 22, 20}, kCentred, {10, 10, 22, 20}, 0},
      {7, 19, "abc", {30, 10, 30, 40}, kCentred, {}, 0},
      {7, 19, "abc", {40, 40, 10, 10}, kCentred, {}, 0},
      {7, 19, "abc", {40, 40, 10, 10}, DT_VCENTER, {}, 0},
      // Several lines run from the top-left whatever the vertical bits (DT_VCENTER alone: the
      // game's top-left captions); CR LF is one break, LF another. Centred lines are centred one
      // by one; the third is cut after four rows.
      {5, 8, "abc\r\nd\ne", {4, 6, 50, 50}, DT_VCENTER, {4, 6, 19, 30}, 24},
      {5, 8, "a\nabc\nab", {0, 0, 31, 20}, DT_CENTER | DT_VCENTER, {8, 0, 23, 20}, 0},
      {5, 8, "a\nabc", {0, 0, 31, 8}, DT_CENTER | DT_VCENTER, {13, 0, 18, 8}, 0},
  };
  for (const auto& [charWidth, lineHeight, text, r, format, ink, height] : cases) {
    testing::BoxFonts fonts(charWidth, charWidth, lineHeight);
    DeviceContext dc(80, 60, kBg, &fonts);
    dc.setTextColor(kInk);
    const int returned = dc.drawText(text, r, format);
    EXPECT_EQ(testing::boundsOf(dc, kInk), ink) << text << " in " << r.left << "," << r.top;
    // The height returned: from the rectangle's top to the text's bottom.
    EXPECT_EQ(height != 0 ? returned : 0, height) << text;
  }

  // Coverage blends the text colour over the pixels beneath.
  testing::BoxFonts fonts(4, 4, 4, 128);  // half coverage everywhere
  DeviceContext dc(20, 10, rgb(200, 100, 0), &fonts);
  dc.setTextColor(rgb(0, 100, 255));
  const Brush stripe{rgb(255, 255, 255)};
  dc.fillRect({0, 0, 2, 10}, &stripe);
  dc.drawText("ab", {0, 0, 20, 10}, DT_SINGLELINE);
  // Over white, over the background, and past the line or below it: untouched.
  EXPECT_EQ(
      std::vector({dc.pixel(1, 1), dc.pixel(5, 1), dc.pixel(9, 1), dc.pixel(5, 5)}),
      std::vector({rgb(127, 177, 255), rgb(100, 100, 128), rgb(200, 100, 0), rgb(200, 100, 0)}));
}

TEST(FontTest, PointSizesGiveTheEmInPixelsAt96DpiAndTextBecomesUtf8) {
  // 7.875 points are 10.5 px, rounded up as MulDiv does; nothing is smaller than a pixel.
  const std::pair<double, int> sizes[] = {{8.0, 11},   {8.25, 11}, {9.0, 12},
                                          {10.0, 13},  {12.0, 16}, {14.25, 19},
                                          {7.875, 11}, {0.0, 1},   {-3.0, 1}};
  for (auto [points, pixels] : sizes) EXPECT_EQ(fontPixelSize(points), pixels) << points;
  // The undefined 0x81 stays the C1 control it is in Latin-1.
  EXPECT_EQ(cp1252ToUtf8("caf\xE9 \x80\x93q\x94\x9F\x81\xFF"),
            "caf\xC3\xA9 \xE2\x82\xAC\xE2\x80\x9Cq\xE2\x80\x9D\xC5\xB8\xC2\x81\xC3\xBF");
}

// Lines are laid out at whole-pixel advances and cached within a bound; faces resolve to
// metric-compatible fonts at the em size.
TEST(FontTest, LinesAreMeasuredAsRenderedAndFacesResolveToMetricCompatibleFontsAtTheEmSize) {
  TtfFontEngine engine(2);
  const FontSpec arial{"Arial", 12, FW_BOLD};
  const int a = engine.measure(arial, "A").cx, b = engine.measure(arial, "B").cx;
  EXPECT_EQ(engine.measure(arial, "AB").cx, a + b);
  EXPECT_EQ(engine.measure(arial, "").cy, engine.lineHeight(arial));
  // Line breaks and other control characters inside a single line take no room.
  EXPECT_EQ(engine.measure(arial, "A\r\nB").cx, a + b);
  // The undefined and the typographic bytes of the code page are handled, not garbled.
  EXPECT_GT(engine.measure(arial, "\x80").cx, 0);
  EXPECT_EQ(engine.measure(arial, "\x81").cx, 0);
  // Measuring agrees with the rendered line, and renders nothing itself.
  EXPECT_EQ(engine.cachedLines(), 0u);
  for (const char* line : {"Quillorix", "12", "fjord \x80\x93j\x94"}) {
    const TextExtent measured = engine.measure(arial, line);
    const GlyphMask& mask = engine.render(arial, line);
    EXPECT_EQ(std::pair(measured.cx, measured.cy), std::pair(mask.extent.cx, mask.extent.cy));
    EXPECT_EQ(mask.coverage.size(), static_cast<std::size_t>(mask.extent.cx * mask.extent.cy));
  }
  EXPECT_EQ(engine.cachedLines(), 2u);
  // Same text in another size is another line.
  const int small = engine.render({"Arial", 8, FW_BOLD}, "12").extent.cy;
  EXPECT_LT(small, engine.render(arial, "12").extent.cy);

  const FontSpec font{"Times New Roman", 14.25, FW_BOLD};
  const auto face = [&engine](const FontSpec& f) {
    const auto r = engine.resolve(f);
    return std::filesystem::path(r.file).filename().string() + " " + std::to_string(r.pixels);
  };
  EXPECT_EQ(face(font), "LiberationSerif-Bold.ttf 19");
  EXPECT_EQ(face({"Arial", 8.25, FW_NORMAL}), "LiberationSans-Regular.ttf 11");
  EXPECT_EQ(face(arial), "LiberationSans-Bold.ttf 16");
  EXPECT_GT(engine.measure({"No Such Face At All", 12, FW_NORMAL}, "Text").cx, 0);

  // The em really is 19 px: a capital H of Liberation Serif stands about two thirds of an em.
  const auto serifBold = engine.resolve(font);
  const GlyphMask& h = engine.render(font, "H");
  EXPECT_EQ(h.extent.cy, serifBold.ascent + serifBold.descent);
  EXPECT_EQ(engine.lineHeight(font), h.extent.cy);
  int top = h.extent.cy, bottom = -1;
  for (int i = 0; i < h.extent.cx * h.extent.cy; ++i)
    if (h.coverage[static_cast<std::size_t>(i)] > 128)
      top = std::min(top, i / h.extent.cx), bottom = std::max(bottom, i / h.extent.cx);
  EXPECT_NEAR(bottom - top + 1, 13, 1);
  EXPECT_EQ(bottom + 1, serifBold.ascent);  // standing on the baseline
}

// A face that cannot be opened falls back to sans-serif; with no usable font at all, text draws
// nothing and says so once.
TEST(FontTest, AFaceThatCannotBeOpenedFallsBackAndNoFontAtAllDrawsNothing) {
  std::vector<std::string> asked;
  TtfFontEngine engine(16, [&asked](const std::string& face, int weight) -> std::string {
    asked.push_back(face + "/" + std::to_string(weight));
    if (face == "sans-serif") return findFontFile(face, weight);
    return std::string(QLX_SOURCE_DIR) + "/CMakeLists.txt";  // a file, but no font
  });
  EXPECT_GT(engine.measure({"Broken Face", 12, FW_BOLD}, "Text").cx, 0);
  EXPECT_EQ(asked, (std::vector<std::string>{"Broken Face/700", "sans-serif/700"}));

  TtfFontEngine none(16, [](const std::string&, int) { return std::string("/no/such/font.ttf"); });
  DeviceContext dc(40, 30, rgb(9, 9, 9), &none);
  ::testing::internal::CaptureStderr();
  dc.drawText("Quillorix", {0, 0, 40, 30}, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
  dc.setFontSize(20);
  dc.drawText("two\nlines", {0, 0, 40, 30}, DT_VCENTER);
  const std::string said = ::testing::internal::GetCapturedStderr();
  EXPECT_EQ(testing::countOf(dc, rgb(9, 9, 9)), 40 * 30);
  EXPECT_EQ(none.measure(dc.font(), "abc").cx, 0);
  EXPECT_NE(said.find("font"), std::string::npos);
  EXPECT_EQ(said.find('\n'), said.size() - 1) << said;  // one line only
}

using Bytes = std::vector<unsigned char>;

// A file and info header (40 bytes) for a picture, then rest: extra bytes of header (masks),
// then the pixels.
Bytes header(int32_t width, int32_t height, uint16_t bits, uint32_t compression, Bytes rest = {},
             uint32_t extra = 0) {
  Bytes v{'B', 'M'};
  // File size (readers ignore it), reserved, pixel offset, info header size, width, height, one
  // plane and the bits per pixel, compression; each little-endian.
  for (uint32_t x : {0u, 0u, 54 + extra, 40u, uint32_t(width), uint32_t(height),
                     1u | uint32_t(bits) << 16, compression})
    for (int i = 0; i < 4; ++i) v.push_back(static_cast<unsigned char>(x >> (8 * i)));
  v.resize(v.size() + 20, 0);
  v.insert(v.end(), rest.begin(), rest.end());
  return v;
}

// Saved pictures, and the top-down and 32-bit layouts, read back exactly; damaged or unsupported
// files are refused by name.
TEST(BitmapTest, PicturesReadBackExactlyAndDamagedOrUnsupportedFilesAreRefusedByName) {
  testing::TempFolder dir;
  for (int w : {1, 2, 3, 4, 5}) {  // every row padding
    const Bitmap original = gradient(w, 3);
    const std::string file = dir.file("round" + std::to_string(w) + ".bmp");
    ASSERT_TRUE(saveBmp(file, original).ok());
    EXPECT_EQ(std::filesystem::file_size(file), 54u + 3u * ((w * 3 + 3) / 4 * 4));
    Bitmap back;
    EXPECT_TRUE(loadBmp(file, &back).ok());
    EXPECT_EQ(std::tie(back.width, back.height, back.pixels),
              std::tie(original.width, original.height, original.pixels));
  }
  Bitmap bad = gradient(2, 2);
  bad.pixels.pop_back();
  EXPECT_FALSE(saveBmp(dir.file("bad.bmp"), bad).ok());
  EXPECT_FALSE(saveBmp(dir.file("no/such/folder.bmp"), gradient(1, 1)).ok());

  // Top-down and 32-bit layouts, which the writer does not make, are read too.
  const std::pair<Bytes, std::vector<ColorRef>> layouts[] = {
      // 2 × 2 top-down, 24-bit: rows of 6 bytes padded to 8, first row is the top.
      {header(2, -2, 24, 0, {3, 2, 1, 6, 5, 4, 0, 0, 9, 8, 7, 12, 11, 10, 0, 0}),
       {rgb(1, 2, 3), rgb(4, 5, 6), rgb(7, 8, 9), rgb(10, 11, 12)}},
      // 2 × 1 32-bit BI_RGB: blue, green, red, unused.
      {header(2, 1, 32, 0, {30, 20, 10, 255, 60, 50, 40, 0}), {rgb(10, 20, 30), rgb(40, 50, 60)}},
      // 1 × 2 32-bit BI_BITFIELDS with red in the low byte, blue in the third; bottom row first.
      {header(1, 2, 32, 3, {255, 0, 0, 0, 0, 255, 0, 0, 0, 0, 255, 0, 70, 80, 90, 0, 1, 2, 3, 0},
              12),
       {rgb(1, 2, 3), rgb(70, 80, 90)}},
  };
  Bitmap bmp;
  for (const auto& [bytes, pixels] : layouts) {
    ASSERT_TRUE(loadBmp(dir.write("layout.bmp", bytes), &bmp).ok());
    EXPECT_EQ(bmp.pixels, pixels);
  }

  const Bytes good = header(3, 2, 24, 0, Bytes(2 * 12, 0));
  ASSERT_TRUE(loadBmp(dir.write("good.bmp", good), &bmp).ok());  // the base of the damaged ones
  const auto changed = [&good](std::vector<std::pair<std::size_t, unsigned char>> edits) {
    Bytes v = good;
    for (auto [at, b] : edits) v[at] = b;
    return v;
  };
  const std::pair<std::string, Bytes> cases[] = {
      {"empty.bmp", {}},
      {"cut_header.bmp", Bytes(good.begin(), good.begin() + 30)},
      {"cut_pixels.bmp", Bytes(good.begin(), good.end() - 1)},
      {"not_bmp.bmp", Bytes{'P', 'K', 3, 4, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}},
      {"huge.bmp", header(0x7fffffff, 0x7fffffff, 24, 0, Bytes(64, 0))},
      {"tallest.bmp", header(1, INT32_MIN, 24, 0, Bytes(64, 0))},
      {"eight_bit.bmp", header(3, 2, 8, 0, Bytes(1024 + 16, 0))},
      {"sixteen_bit.bmp", header(3, 2, 16, 0, Bytes(16, 0))},
      {"rle.bmp", header(3, 2, 24, 1, Bytes(24, 0))},
      {"negative_width.bmp", header(-3, 2, 24, 0, Bytes(24, 0))},
      {"zero_height.bmp", header(3, 0, 24, 0)},
      {"far_offset.bmp", changed({{10, 0xff}, {11, 0xff}})},
      {"huge_header.bmp", changed({{14, 0xf0}, {17, 0x7f}})},
      {"planes.bmp", changed({{26, 0}})},
      {"bad_masks.bmp",  // red bits not contiguous
       header(1, 1, 32, 3, {0xf0, 0xf0, 0, 0, 0, 0xff, 0, 0, 0, 0, 0xff, 0, 0, 0, 0, 0}, 12)},
      {"missing.bmp", {}},
  };
  for (const auto& [name, bytes] : cases) {
    const std::string file = name == "missing.bmp" ? dir.file(name) : dir.write(name, bytes);
    bmp.width = 99;
    const Status s = loadBmp(file, &bmp);
    EXPECT_FALSE(s.ok()) << name;
    EXPECT_NE(s.message().find(name), std::string::npos) << s.message();
    EXPECT_EQ(bmp.width, 99) << name << ": the output is left alone";
  }
}

}  // namespace
}  // namespace qlx
