// The GDI-style objects every window draws with: colours as COLORREF values, solid brushes and
// pens, rectangles with right and bottom edges excluded, and the DrawText format bits.
#pragma once

#include <cstdint>

namespace qlx {

// A colour as 0x00BBGGRR, the layout of a COLORREF.
using ColorRef = uint32_t;
constexpr ColorRef rgb(uint8_t r, uint8_t g, uint8_t b) {
  return ColorRef(r) | ColorRef(g) << 8 | ColorRef(b) << 16;
}
constexpr uint8_t redOf(ColorRef c) { return c & 0xff; }
constexpr uint8_t greenOf(ColorRef c) { return (c >> 8) & 0xff; }
constexpr uint8_t blueOf(ColorRef c) { return (c >> 16) & 0xff; }

// A solid brush. Handles are plain pointers; a null brush paints nothing.
struct Brush {
  ColorRef color = 0;
};
using HBRUSH = const Brush*;

// A solid pen of the given width. A null pen handle stands for the device context's default
// pen: solid black, one pixel wide.
struct Pen {
  ColorRef color = 0;
  int width = 1;
};
using HPEN = const Pen*;

// x in [left, right), y in [top, bottom).
struct Rect {
  int left = 0;
  int top = 0;
  int right = 0;
  int bottom = 0;
  int width() const { return right - left; }
  int height() const { return bottom - top; }
};

// DrawText format bits the game uses.
enum : uint32_t {
  DT_TOP = 0x0,
  DT_LEFT = 0x0,
  DT_CENTER = 0x1,
  DT_RIGHT = 0x2,
  DT_VCENTER = 0x4,
  DT_BOTTOM = 0x8,
  DT_SINGLELINE = 0x20,
};

// Font weights as GDI numbers them.
enum : int { FW_NORMAL = 400, FW_BOLD = 700 };

}  // namespace qlx
