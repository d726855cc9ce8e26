// A font engine for exact position tests: every character is a solid box (upper-case letters
// one width, anything else another) as tall as the line, so placed text is a rectangle whose
// edges can be checked pixel by pixel; and pixel queries for such checks.
#pragma once

#include <algorithm>
#include <array>
#include <cstdint>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "platform/dc.h"
#include "platform/font.h"

namespace qlx::testing {

class BoxFonts : public FontEngine {
 public:
  BoxFonts(int upperWidth, int otherWidth, int lineHeight, uint8_t coverage = 255)
      : upperWidth_(upperWidth),
        otherWidth_(otherWidth),
        lineHeight_(lineHeight),
        coverage_(coverage) {}

  TextExtent measure(const FontSpec&, std::string_view line) override {
    int cx = 0;
    for (char c : line) cx += c >= 'A' && c <= 'Z' ? upperWidth_ : otherWidth_;
    return {cx, lineHeight_};
  }
  int lineHeight(const FontSpec&) override { return lineHeight_; }
  const GlyphMask& render(const FontSpec& font, std::string_view line) override {
    GlyphMask& mask = masks_[std::string(line)];
    mask.extent = measure(font, line);
    mask.coverage.assign(static_cast<std::size_t>(mask.extent.cx * mask.extent.cy), coverage_);
    rendered.emplace_back(line);
    return mask;
  }

  std::vector<std::string> rendered;  // every line asked for, in order

 private:
  int upperWidth_, otherWidth_, lineHeight_;
  uint8_t coverage_;
  std::map<std::string, GlyphMask> masks_;
};

// The part of area (the whole image by default) that lies on the image.
inline Rect onImage(const DeviceContext& dc, Rect area) {
  return {std::max(area.left, 0), std::max(area.top, 0), std::min(area.right, dc.width()),
          std::min(area.bottom, dc.height())};
}
inline constexpr Rect kWholeImage{0, 0, 1 << 30, 1 << 30};

// Bounding box {left, top, right, bottom} (right and bottom exclusive) of the pixels of colour
// within area; all zero when there are none.
inline std::array<int, 4> boundsOf(const DeviceContext& dc, ColorRef colour,
                                   Rect area = kWholeImage) {
  const Rect a = onImage(dc, area);
  std::array<int, 4> b{a.right, a.bottom, a.left, a.top};
  bool any = false;
  for (int y = a.top; y < a.bottom; ++y)
    for (int x = a.left; x < a.right; ++x)
      if (dc.pixel(x, y) == colour) {
        any = true;
        b = {std::min(b[0], x), std::min(b[1], y), std::max(b[2], x + 1), std::max(b[3], y + 1)};
      }
  return any ? b : std::array<int, 4>{0, 0, 0, 0};
}

inline int countOf(const DeviceContext& dc, ColorRef colour, Rect area = kWholeImage) {
  const Rect a = onImage(dc, area);
  int n = 0;
  for (int y = a.top; y < a.bottom; ++y)
    for (int x = a.left; x < a.right; ++x) n += dc.pixel(x, y) == colour;
  return n;
}

}  // namespace qlx::testing
