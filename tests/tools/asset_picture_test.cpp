// The picture sheet, the window icon and the help page in the program folder: readable BMPs of
// the right size painted in the game's palette, and a help page copied whole with balanced tags.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "platform/bitmap.h"

namespace {

using qlx::Bitmap;
using qlx::ColorRef;
using qlx::rgb;

const std::string kFolder = std::string(QLX_BIN_DIR) + "/";

constexpr ColorRef kBackground = rgb(100, 100, 66);
constexpr ColorRef kPanel = rgb(50, 50, 45);
constexpr ColorRef kCell = rgb(224, 224, 255);
constexpr ColorRef kSelected = rgb(250, 255, 200);
constexpr ColorRef kBlock = rgb(50, 50, 50);
constexpr ColorRef kHoverText = rgb(200, 200, 80);

std::map<ColorRef, int> countColours(const Bitmap& b, int x0, int y0, int x1, int y1) {
  std::map<ColorRef, int> counts;
  for (int y = y0; y < y1; ++y)
    for (int x = x0; x < x1; ++x) ++counts[b.at(x, y)];
  return counts;
}

std::string readText(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

TEST(TitlePicture, SheetLoadsWithTheTitleBlockInThePaletteAndTheNameLetteredLargeAcrossTheTop) {
  Bitmap sheet;
  const qlx::Status loaded = qlx::loadBmp(kFolder + "ALLPICDATA.BMP", &sheet);
  ASSERT_TRUE(loaded.ok()) << loaded.message();
  ASSERT_GE(sheet.width, 249);
  ASSERT_GE(sheet.height, 100);

  // The picture sits on the menu background: its outer ring is that colour.
  for (int y = 0; y < 100; ++y)
    for (int x = 0; x < 249; x += (y == 0 || y == 99) ? 1 : 248)
      EXPECT_EQ(sheet.at(x, y), kBackground) << "at " << x << "," << y;

  // The board's colours are all there, the panel most of all.
  const std::map<ColorRef, int> counts = countColours(sheet, 0, 0, 249, 100);
  for (ColorRef c : {kPanel, kCell, kSelected, kBlock, kHoverText})
    EXPECT_GT(counts.count(c) ? counts.at(c) : 0, 40) << std::hex << c;
  int most = 0;
  for (const auto& [colour, n] : counts) most = std::max(most, n);
  EXPECT_EQ(counts.at(kPanel), most);

  // Pixels in the title colour: where they lie tells the size and place of the lettering.
  int left = 249, right = -1, top = 100, bottom = -1, count = 0;
  for (int y = 0; y < 100; ++y)
    for (int x = 0; x < 249; ++x)
      if (sheet.at(x, y) == kHoverText) {
        left = std::min(left, x), right = std::max(right, x);
        top = std::min(top, y), bottom = std::max(bottom, y);
        ++count;
      }
  ASSERT_GT(count, 300) << "no solid lettering in the title colour";
  EXPECT_GT(right - left, 249 / 2) << "the name spans less than half the width";
  EXPECT_GT(bottom - top, 18) << "the letters are small";
  EXPECT_LT(top, 30);
  EXPECT_LT(bottom, 60) << "the name is not in the upper part";
  EXPECT_LT(std::abs((left + right) / 2 - 124), 8) << "the name is not centred";
}

TEST(WindowIcon, LoadsAsASmallSquareInThePalette) {
  Bitmap icon;
  const qlx::Status loaded = qlx::loadBmp(kFolder + "QUILICON.BMP", &icon);
  ASSERT_TRUE(loaded.ok()) << loaded.message();
  EXPECT_EQ(icon.width, icon.height);
  EXPECT_TRUE(icon.width == 32 || icon.width == 64) << icon.width;
  const std::map<ColorRef, int> counts = countColours(icon, 0, 0, icon.width, icon.height);
  EXPECT_TRUE(counts.count(kSelected) && counts.count(kBackground));
  EXPECT_GE(counts.size(), 4u) << "a flat icon";
}

// Tags that must be closed, in order; void elements and comments are skipped.
std::string unbalancedTag(const std::string& html) {
  static const std::set<std::string> kVoid = {"meta", "br",    "hr",  "img",
                                              "link", "input", "col", "wbr"};
  std::vector<std::string> open;
  for (std::size_t at = html.find('<'); at != std::string::npos; at = html.find('<', at + 1)) {
    if (html.compare(at, 4, "<!--") == 0) {
      at = html.find("-->", at);
      if (at == std::string::npos) return "unclosed comment";
      continue;
    }
    if (html.compare(at, 2, "<!") == 0) continue;  // the doctype
    const bool closing = html[at + 1] == '/';
    std::size_t i = at + (closing ? 2 : 1);
    std::string name;
    while (i < html.size() && std::isalnum(static_cast<unsigned char>(html[i])))
      name += static_cast<char>(std::tolower(html[i++]));
    if (name.empty()) return "a stray '<'";
    if (closing) {
      if (open.empty() || open.back() != name)
        return "</" + name + "> closes " + (open.empty() ? "nothing" : open.back());
      open.pop_back();
    } else if (!kVoid.count(name)) {
      open.push_back(name);
      // The style sheet is not markup; resume at its closing tag.
      if (name == "style") {
        const std::size_t end = html.find("</style>", at);
        if (end == std::string::npos) return "<style> is never closed";
        at = end - 1;
      }
    }
  }
  return open.empty() ? "" : "<" + open.back() + "> is never closed";
}

TEST(HelpPage, IsCopiedWholeAndItsTagsBalance) {
  const std::string shipped = readText(kFolder + "QUILHLP.HTM");
  ASSERT_FALSE(shipped.empty()) << "missing from the program folder";
  EXPECT_EQ(shipped, readText(std::string(QLX_SOURCE_DIR) + "/data/help/QUILHLP.HTM"));
  EXPECT_EQ(unbalancedTag(shipped), "");
  EXPECT_EQ(unbalancedTag("<p><b>x</p></b>"), "</p> closes b");  // the checker itself bites
}

}  // namespace
