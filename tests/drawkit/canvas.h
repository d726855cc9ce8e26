// Test canvas for the drawing kit: a headless device context with a font engine that draws each
// character as a solid box (upper-case letters 7 pixels wide, anything else 4, every line 8
// high), so where a caption lands can be computed exactly, and small pixel queries.
#pragma once

#include <algorithm>
#include <array>
#include <map>
#include <string>
#include <string_view>

#include "platform/dc.h"
#include "platform/font.h"

namespace qlx::testing {

inline constexpr int kUpperWidth = 7;
inline constexpr int kOtherWidth = 4;
inline constexpr int kLineHeight = 8;
inline constexpr ColorRef kBackground = rgb(1, 2, 3);

class BoxFonts : public FontEngine {
 public:
  TextExtent measure(const FontSpec&, std::string_view line) override {
    int cx = 0;
    for (char c : line) cx += c >= 'A' && c <= 'Z' ? kUpperWidth : kOtherWidth;
    return {cx, kLineHeight};
  }
  int lineHeight(const FontSpec&) override { return kLineHeight; }
  const GlyphMask& render(const FontSpec& font, std::string_view line) override {
    GlyphMask& mask = masks_[std::string(line)];
    mask.extent = measure(font, line);
    mask.coverage.assign(static_cast<std::size_t>(mask.extent.cx * mask.extent.cy), 255);
    return mask;
  }

 private:
  std::map<std::string, GlyphMask> masks_;
};

struct Canvas {
  BoxFonts fonts;
  DeviceContext dc{800, 600, kBackground, &fonts};
};

// Bounding box {left, top, right, bottom} (right and bottom exclusive) of the pixels of colour
// within area; all zero when there are none.
inline std::array<int, 4> boundsOf(const DeviceContext& dc, ColorRef colour,
                                   Rect area = {0, 0, 800, 600}) {
  std::array<int, 4> b{area.right, area.bottom, area.left, area.top};
  bool any = false;
  for (int y = area.top; y < area.bottom; ++y)
    for (int x = area.left; x < area.right; ++x)
      if (dc.pixel(x, y) == colour) {
        any = true;
        b = {std::min(b[0], x), std::min(b[1], y), std::max(b[2], x + 1), std::max(b[3], y + 1)};
      }
  return any ? b : std::array<int, 4>{0, 0, 0, 0};
}

inline int countOf(const DeviceContext& dc, ColorRef colour, Rect area = {0, 0, 800, 600}) {
  int n = 0;
  for (int y = area.top; y < area.bottom; ++y)
    for (int x = area.left; x < area.right; ++x) n += dc.pixel(x, y) == colour;
  return n;
}

}  // namespace qlx::testing
