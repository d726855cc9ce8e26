// Fonts: point sizes to pixels at 96 dpi, the code page, and the real engine: faces found
// through fontconfig at the right em size, text landing in its cell in the text colour with
// the pixels around the glyphs left as they were.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/dc.h"
#include "platform/font.h"
#include "platform/fonts/cp1252.h"
#include "platform/fonts/font_lookup.h"
#include "platform/sdl/ttf_font_engine.h"

namespace qlx {
namespace {

bool endsWith(const std::string& s, const std::string& tail) {
  return s.size() >= tail.size() && s.compare(s.size() - tail.size(), tail.size(), tail) == 0;
}

TEST(FontTest, PointSizesGiveTheEmInPixelsAt96Dpi) {
  // 7.875 points are 10.5 px, rounded up as MulDiv does; nothing is smaller than a pixel.
  for (auto [points, pixels] : {std::pair{8.0, 11},
                                {8.25, 11},
                                {9.0, 12},
                                {10.0, 13},
                                {12.0, 16},
                                {14.0, 19},
                                {14.25, 19},
                                {7.875, 11},
                                {0.0, 1},
                                {-3.0, 1}})
    EXPECT_EQ(fontPixelSize(points), pixels) << points;
}

TEST(FontTest, Windows1252TextBecomesUtf8) {
  EXPECT_EQ(cp1252ToUtf8("Hall of Fame"), "Hall of Fame");
  EXPECT_EQ(cp1252ToUtf8("caf\xE9"), "caf\xC3\xA9");
  EXPECT_EQ(cp1252ToUtf8("\x80"), "\xE2\x82\xAC");                    // euro sign, not a C1 control
  EXPECT_EQ(cp1252ToUtf8("\x93q\x94"), "\xE2\x80\x9Cq\xE2\x80\x9D");  // curly quotes
  EXPECT_EQ(cp1252ToCodePoint(0x9F), U'\u0178');
  EXPECT_EQ(cp1252ToCodePoint(0x81), U'\u0081');
  EXPECT_EQ(cp1252ToCodePoint(0xFF), U'\u00FF');
}

TEST(FontTest, FacesResolveToMetricCompatibleFontsAtTheEmSize) {
  TtfFontEngine engine;
  const auto serifBold = engine.resolve({"Times New Roman", 14.25, FW_BOLD});
  EXPECT_TRUE(endsWith(serifBold.file, "LiberationSerif-Bold.ttf")) << serifBold.file;
  EXPECT_EQ(serifBold.pixels, 19);
  const auto sans = engine.resolve({"Arial", 8.25, FW_NORMAL});
  EXPECT_TRUE(endsWith(sans.file, "LiberationSans-Regular.ttf")) << sans.file;
  EXPECT_EQ(sans.pixels, 11);
  EXPECT_TRUE(endsWith(engine.resolve({"Arial", 12, FW_BOLD}).file, "LiberationSans-Bold.ttf"));
  // An unknown face still gets a font.
  EXPECT_FALSE(engine.resolve({"No Such Face At All", 12, FW_NORMAL}).file.empty());
  EXPECT_GT(engine.measure({"No Such Face At All", 12, FW_NORMAL}, "Text").cx, 0);

  // The em really is 19 px: a capital H of Liberation Serif stands about two thirds of an em.
  const FontSpec font{"Times New Roman", 14.25, FW_BOLD};
  const GlyphMask& h = engine.render(font, "H");
  EXPECT_EQ(h.extent.cy, serifBold.ascent + serifBold.descent);
  EXPECT_EQ(engine.lineHeight(font), h.extent.cy);
  int top = h.extent.cy, bottom = -1;
  for (int y = 0; y < h.extent.cy; ++y)
    for (int x = 0; x < h.extent.cx; ++x)
      if (h.coverage[static_cast<std::size_t>(y * h.extent.cx + x)] > 128) {
        top = std::min(top, y);
        bottom = std::max(bottom, y);
      }
  EXPECT_GE(bottom - top + 1, 12);
  EXPECT_LE(bottom - top + 1, 14);
  EXPECT_EQ(bottom + 1, serifBold.ascent);  // standing on the baseline
}

TEST(FontTest, LinesAreLaidOutAtWholePixelAdvances) {
  TtfFontEngine engine;
  const FontSpec font{"Arial", 12, FW_BOLD};
  const int a = engine.measure(font, "A").cx;
  const int b = engine.measure(font, "B").cx;
  EXPECT_EQ(engine.measure(font, "AB").cx, a + b);
  EXPECT_EQ(engine.measure(font, "").cx, 0);
  EXPECT_EQ(engine.measure(font, "").cy, engine.lineHeight(font));
  // Line breaks and other control characters inside a single line take no room.
  EXPECT_EQ(engine.measure(font, "A\r\nB").cx, a + b);
  // The undefined and the typographic bytes of the code page are handled, not garbled.
  EXPECT_GT(engine.measure(font, "\x80").cx, 0);
  EXPECT_EQ(engine.measure(font, "\x81").cx, 0);
  // Measuring agrees with the rendered line, and renders nothing itself.
  EXPECT_EQ(engine.cachedLines(), 0u);
  for (const char* line : {"Quillorix", "Hall of Fame", "12", "fjord \x80\x93j\x94"}) {
    const TextExtent measured = engine.measure(font, line);
    const GlyphMask& mask = engine.render(font, line);
    EXPECT_EQ(measured.cx, mask.extent.cx) << line;
    EXPECT_EQ(measured.cy, mask.extent.cy) << line;
    EXPECT_EQ(mask.coverage.size(), static_cast<std::size_t>(mask.extent.cx * mask.extent.cy));
  }
}

TEST(FontTest, AFaceThatCannotBeOpenedFallsBackToSansSerif) {
  std::vector<std::string> asked;
  TtfFontEngine engine(16, [&asked](const std::string& face, int weight) -> std::string {
    asked.push_back(face + "/" + std::to_string(weight));
    if (face == "sans-serif") return findFontFile(face, weight);
    return std::string(QLX_SOURCE_DIR) + "/CMakeLists.txt";  // a file, but no font
  });
  const FontSpec font{"Broken Face", 12, FW_BOLD};
  EXPECT_GT(engine.measure(font, "Text").cx, 0);
  EXPECT_EQ(asked, (std::vector<std::string>{"Broken Face/700", "sans-serif/700"}));
  EXPECT_FALSE(engine.resolve(font).file.empty());
}

TEST(FontTest, WithNoUsableFontTextDrawsNothingAndSaysSoOnce) {
  TtfFontEngine engine(16,
                       [](const std::string&, int) { return std::string("/no/such/font.ttf"); });
  const ColorRef bg = rgb(9, 9, 9);
  DeviceContext dc(40, 30, bg, &engine);
  ::testing::internal::CaptureStderr();
  dc.drawText("Quillorix", {0, 0, 40, 30}, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
  dc.setFontSize(20);
  dc.drawText("two\nlines", {0, 0, 40, 30}, DT_VCENTER);
  const std::string said = ::testing::internal::GetCapturedStderr();
  for (uint32_t p : dc.bits()) ASSERT_EQ(p, 0x090909u);
  EXPECT_EQ(engine.measure(dc.font(), "abc").cx, 0);
  EXPECT_NE(said.find("font"), std::string::npos);
  EXPECT_EQ(said.find('\n'), said.size() - 1) << said;  // one line only
}

TEST(FontTest, RenderedLinesAreCachedWithinABound) {
  TtfFontEngine engine(2);
  const FontSpec font{"Arial", 8, FW_NORMAL};
  const GlyphMask* first = &engine.render(font, "12");
  EXPECT_EQ(&engine.render(font, "12"), first);
  engine.render(font, "13");
  engine.render(font, "14");
  EXPECT_EQ(engine.cachedLines(), 2u);
  // Same text in another size is another line.
  const GlyphMask& big = engine.render({"Arial", 12, FW_NORMAL}, "14");
  EXPECT_GT(big.extent.cy, engine.render(font, "14").extent.cy);
}

TEST(FontTest, CentredTextLandsInsideItsCellInTheTextColour) {
  TtfFontEngine engine;
  const ColorRef bg = rgb(255, 255, 204);
  const ColorRef ink = rgb(0, 0, 128);
  DeviceContext dc(120, 60, bg, &engine);
  dc.setFont({"Times New Roman", 14.25, FW_BOLD});
  dc.setTextColor(ink);
  const Rect cell{20, 10, 100, 50};
  dc.drawText("Quillorix", cell, DT_CENTER | DT_VCENTER | DT_SINGLELINE);

  int inkLeft = 1000, inkRight = -1, inkTop = 1000, inkBottom = -1, solid = 0, untouched = 0;
  for (int y = 0; y < dc.height(); ++y)
    for (int x = 0; x < dc.width(); ++x) {
      const ColorRef c = dc.pixel(x, y);
      const bool inside = x >= cell.left && x < cell.right && y >= cell.top && y < cell.bottom;
      if (!inside) {
        ASSERT_EQ(c, bg) << x << "," << y;
        continue;
      }
      if (c == bg) {
        ++untouched;
        continue;
      }
      solid += c == ink;
      // Every touched pixel lies between the background and the text colour.
      EXPECT_LE(redOf(c), redOf(bg));
      EXPECT_GE(blueOf(c), blueOf(ink));
      inkLeft = std::min(inkLeft, x);
      inkRight = std::max(inkRight, x);
      inkTop = std::min(inkTop, y);
      inkBottom = std::max(inkBottom, y);
    }
  EXPECT_GT(solid, 40);
  EXPECT_GT(untouched, 1000);  // the background shows around and inside the glyphs
  // Centred: the ink sits in the middle of the cell, a pixel or two either way.
  const int midX = (inkLeft + inkRight + 1) / 2, midY = (inkTop + inkBottom + 1) / 2;
  EXPECT_NEAR(midX, (cell.left + cell.right) / 2, 2);
  EXPECT_NEAR(midY, (cell.top + cell.bottom) / 2, 3);
}

TEST(FontTest, TheDefaultEngineDrawsForContextsWithoutOne) {
  DeviceContext dc(60, 30, rgb(255, 255, 255));
  dc.setTextColor(rgb(0, 0, 0));
  dc.setFontSize(12);
  dc.setFontBold(true);
  EXPECT_EQ(dc.font().face, "Arial");
  dc.drawText("12", {0, 0, 60, 30}, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
  int dark = 0;
  for (uint32_t p : dc.bits()) dark += p == 0;
  EXPECT_GT(dark, 10);
  EXPECT_EQ(dc.textExtent("12").cx, defaultFontEngine().measure(dc.font(), "12").cx);
}

}  // namespace
}  // namespace qlx
