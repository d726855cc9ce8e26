// DeviceContext: a persistent 32-bit image with the GDI state the game relies on (selected pen,
// text colour, font, transparent text background, hollow fill) and primitives that reproduce
// GDI's measured behaviour pixel for pixel. A window's image, a memory context holding a
// bitmap and a test's canvas are all DeviceContexts.
#pragma once

#include <cstdint>
#include <memory>
#include <string_view>
#include <vector>

#include "platform/bitmap.h"
#include "platform/font.h"
#include "platform/gdi.h"

namespace qlx {

class DeviceContext {
 public:
  // An image of width × height filled with background; fonts default to defaultFontEngine().
  DeviceContext(int width, int height, ColorRef background = rgb(240, 240, 240),
                FontEngine* fonts = nullptr);

  int width() const { return width_; }
  int height() const { return height_; }
  // The pixel at (x, y) as a COLORREF; outside the image, 0.
  ColorRef pixel(int x, int y) const;
  // Row-major pixels as 0x00RRGGBB (the layout an ARGB8888 surface takes).
  const std::vector<uint32_t>& bits() const { return bits_; }
  // Grows or shrinks the image, keeping what overlaps and filling the rest with background.
  void resize(int width, int height, ColorRef background);

  // GDI state. selectPen returns the previous pen (null = the default black pen).
  HPEN selectPen(HPEN pen);
  HPEN pen() const { return pen_; }
  ColorRef setTextColor(ColorRef color);
  ColorRef textColor() const { return textColor_; }
  void setFont(const FontSpec& font) { font_ = font; }
  const FontSpec& font() const { return font_; }
  void setFontSize(double points) { font_.points = points; }
  void setFontBold(bool bold) { font_.weight = bold ? FW_BOLD : FW_NORMAL; }

  // Paints x in [left, right), y in [top, bottom) with the brush; a null brush paints nothing.
  void fillRect(const Rect& r, HBRUSH brush);
  // Outlines with the selected pen: x = left and right - 1, y = top and bottom - 1; the inside
  // is untouched (hollow fill). A pen wider than one pixel grows inwards.
  void rectangle(int left, int top, int right, int bottom);
  // Draws text in the text colour on a transparent background, clipped to r. With DT_SINGLELINE
  // a line of extent cx × cy is placed at x = (left + right - cx) / 2 (DT_CENTER) and
  // y = top + (bottom - top) / 2 - cy / 2 (DT_VCENTER), each division flooring on its own;
  // without it, lines break at line feeds and run from the top-left, one line height apart, and
  // DT_VCENTER is ignored. Returns the height of the text drawn.
  int drawText(std::string_view text, const Rect& r, uint32_t format);
  TextExtent textExtent(std::string_view line) const;

  // Memory contexts: a selected bitmap becomes the image (a context without one holds nothing
  // to copy). bitBlt copies SRCCOPY from src's (sx, sy); source pixels outside src's bitmap
  // leave the destination as it was.
  void selectBitmap(const Bitmap& bitmap);
  bool holdsBitmap() const { return holdsBitmap_; }
  void bitBlt(int x, int y, int width, int height, const DeviceContext& src, int sx, int sy);

  // A memory context with no bitmap selected, as CreateCompatibleDC gives.
  static DeviceContext memoryContext(FontEngine* fonts = nullptr);

 private:
  FontEngine& fonts() const;
  // Paints [left, right) × [top, bottom) in c, clipped to the image.
  void fillArea(long long left, long long top, long long right, long long bottom, ColorRef c);
  // Blends the text colour over the image through mask's coverage, the mask's top-left at
  // (x, y), only inside clip.
  void blendMask(const GlyphMask& mask, long long x, long long y, const Rect& clip);

  int width_;
  int height_;
  std::vector<uint32_t> bits_;
  FontEngine* fonts_;  // null: defaultFontEngine(), fetched when text is first drawn
  HPEN pen_ = nullptr;
  ColorRef textColor_ = 0;
  FontSpec font_;
  bool holdsBitmap_ = true;
};

}  // namespace qlx
