// DeviceContext: GDI's fills, outlines, text and block copies on a 32-bit image, with the
// edge, centring and clipping rules measured on GDI reproduced exactly.
#include "platform/dc.h"

#include <algorithm>
#include <cstring>

namespace qlx {

namespace {

uint32_t toBits(ColorRef c) {
  return uint32_t(redOf(c)) << 16 | uint32_t(greenOf(c)) << 8 | blueOf(c);
}

ColorRef fromBits(uint32_t p) {
  return rgb(static_cast<uint8_t>(p >> 16), static_cast<uint8_t>(p >> 8), static_cast<uint8_t>(p));
}

// GDI's integer divisions here round towards minus infinity, also for negative values.
long long floorDiv(long long a, long long b) {
  long long q = a / b;
  if (a % b != 0 && (a < 0) != (b < 0)) --q;
  return q;
}

uint32_t blendChannel(uint32_t src, uint32_t dst, uint32_t alpha) {
  return (src * alpha + dst * (255 - alpha) + 127) / 255;
}

}  // namespace

DeviceContext::DeviceContext(int width, int height, ColorRef background, FontEngine* fonts)
    : width_(std::max(0, width)),
      height_(std::max(0, height)),
      bits_(static_cast<std::size_t>(width_) * static_cast<std::size_t>(height_),
            toBits(background)),
      fonts_(fonts) {}

DeviceContext DeviceContext::memoryContext(FontEngine* fonts) {
  DeviceContext dc(0, 0, 0, fonts);
  dc.holdsBitmap_ = false;
  return dc;
}

FontEngine& DeviceContext::fonts() const { return fonts_ ? *fonts_ : defaultFontEngine(); }

ColorRef DeviceContext::pixel(int x, int y) const {
  if (x < 0 || y < 0 || x >= width_ || y >= height_) return 0;
  return fromBits(bits_[static_cast<std::size_t>(y) * static_cast<std::size_t>(width_) +
                        static_cast<std::size_t>(x)]);
}

void DeviceContext::resize(int width, int height, ColorRef background) {
  width = std::max(0, width);
  height = std::max(0, height);
  std::vector<uint32_t> bits(static_cast<std::size_t>(width) * static_cast<std::size_t>(height),
                             toBits(background));
  const int keepW = std::min(width, width_);
  const int keepH = std::min(height, height_);
  for (int y = 0; y < keepH; ++y)
    std::copy_n(bits_.begin() + static_cast<std::ptrdiff_t>(y) * width_, keepW,
                bits.begin() + static_cast<std::ptrdiff_t>(y) * width);
  bits_ = std::move(bits);
  width_ = width;
  height_ = height;
}

HPEN DeviceContext::selectPen(HPEN pen) {
  HPEN old = pen_;
  pen_ = pen;
  return old;
}

ColorRef DeviceContext::setTextColor(ColorRef color) {
  ColorRef old = textColor_;
  textColor_ = color;
  return old;
}

void DeviceContext::fillArea(long long left, long long top, long long right, long long bottom,
                             ColorRef c) {
  const int l = static_cast<int>(std::max(left, 0LL));
  const int t = static_cast<int>(std::max(top, 0LL));
  const int r = static_cast<int>(std::min(right, static_cast<long long>(width_)));
  const int b = static_cast<int>(std::min(bottom, static_cast<long long>(height_)));
  if (l >= r || t >= b) return;
  const uint32_t value = toBits(c);
  for (int y = t; y < b; ++y) {
    auto row = bits_.begin() + static_cast<std::ptrdiff_t>(y) * width_;
    std::fill(row + l, row + r, value);
  }
}

void DeviceContext::fillRect(const Rect& r, HBRUSH brush) {
  if (!brush) return;
  fillArea(r.left, r.top, r.right, r.bottom, brush->color);
}

void DeviceContext::rectangle(int left, int top, int right, int bottom) {
  // GDI orders the corners first; an empty box draws nothing.
  long long l = std::min(left, right), r = std::max(left, right);
  long long t = std::min(top, bottom), b = std::max(top, bottom);
  if (l == r || t == b) return;
  const ColorRef color = pen_ ? pen_->color : rgb(0, 0, 0);
  // Wider pens are drawn inside the box, so the outline never spills past right - 1 or bottom - 1.
  const long long w = pen_ ? std::max(1, pen_->width) : 1;
  if (2 * w >= r - l || 2 * w >= b - t) {
    fillArea(l, t, r, b, color);
    return;
  }
  fillArea(l, t, r, t + w, color);          // top
  fillArea(l, b - w, r, b, color);          // bottom
  fillArea(l, t + w, l + w, b - w, color);  // left
  fillArea(r - w, t + w, r, b - w, color);  // right
}

void DeviceContext::blendMask(const GlyphMask& mask, long long x, long long y, const Rect& clip) {
  const long long cx = mask.extent.cx, cy = mask.extent.cy;
  if (cx <= 0 || cy <= 0 || mask.coverage.size() < static_cast<std::size_t>(cx * cy)) return;
  const long long x0 = std::max({x, static_cast<long long>(clip.left), 0LL});
  const long long x1 =
      std::min({x + cx, static_cast<long long>(clip.right), static_cast<long long>(width_)});
  const long long y0 = std::max({y, static_cast<long long>(clip.top), 0LL});
  const long long y1 =
      std::min({y + cy, static_cast<long long>(clip.bottom), static_cast<long long>(height_)});
  if (x0 >= x1 || y0 >= y1) return;
  const uint32_t solid = toBits(textColor_);
  const uint32_t tr = redOf(textColor_), tg = greenOf(textColor_), tb = blueOf(textColor_);
  for (long long py = y0; py < y1; ++py) {
    const uint8_t* cov = mask.coverage.data() + (py - y) * cx - x;
    uint32_t* row = bits_.data() + py * width_;
    for (long long px = x0; px < x1; ++px) {
      const uint32_t a = cov[px];
      if (a == 0) continue;
      if (a == 255) {
        row[px] = solid;
        continue;
      }
      const uint32_t d = row[px];
      row[px] = blendChannel(tr, (d >> 16) & 0xff, a) << 16 |
                blendChannel(tg, (d >> 8) & 0xff, a) << 8 | blendChannel(tb, d & 0xff, a);
    }
  }
}

int DeviceContext::drawText(std::string_view text, const Rect& r, uint32_t format) {
  FontEngine& engine = fonts();
  const long long left = r.left, top = r.top, right = r.right, bottom = r.bottom;

  if (format & DT_SINGLELINE) {
    const GlyphMask& mask = engine.render(font_, text);
    const long long cx = mask.extent.cx, cy = mask.extent.cy;
    long long x = left, y = top;
    if (format & DT_CENTER)
      x = floorDiv(left + right - cx, 2);
    else if (format & DT_RIGHT)
      x = right - cx;
    if (format & DT_VCENTER)
      y = top + floorDiv(bottom - top, 2) - floorDiv(cy, 2);
    else if (format & DT_BOTTOM)
      y = bottom - cy;
    blendMask(mask, x, y, r);
    // GDI reports the offset from the top to the bottom of the text when it moved it down.
    return static_cast<int>((format & (DT_VCENTER | DT_BOTTOM)) ? y + cy - top : cy);
  }

  // Several lines: from the top, one line height apart, broken at CR LF, LF or CR; vertical
  // placement bits do not apply.
  const long long lineHeight = engine.lineHeight(font_);
  long long y = top;
  std::size_t start = 0;
  while (start < text.size()) {
    std::size_t end = text.find_first_of("\r\n", start);
    if (end == std::string_view::npos) end = text.size();
    if (y < bottom && y + lineHeight > top) {
      const GlyphMask& mask = engine.render(font_, text.substr(start, end - start));
      long long x = left;
      if (format & DT_CENTER)
        x = floorDiv(left + right - mask.extent.cx, 2);
      else if (format & DT_RIGHT)
        x = right - mask.extent.cx;
      blendMask(mask, x, y, r);
    }
    y += lineHeight;
    if (end < text.size() && text[end] == '\r' && end + 1 < text.size() && text[end + 1] == '\n')
      ++end;
    start = end + 1;
  }
  return static_cast<int>(y - top);
}

TextExtent DeviceContext::textExtent(std::string_view line) const {
  return fonts().measure(font_, line);
}

void DeviceContext::selectBitmap(const Bitmap& bitmap) {
  const bool sound = bitmap.width > 0 && bitmap.height > 0 &&
                     bitmap.pixels.size() == static_cast<std::size_t>(bitmap.width) *
                                                 static_cast<std::size_t>(bitmap.height);
  if (!sound) {
    width_ = height_ = 0;
    bits_.clear();
    holdsBitmap_ = false;
    return;
  }
  width_ = bitmap.width;
  height_ = bitmap.height;
  bits_.resize(bitmap.pixels.size());
  std::transform(bitmap.pixels.begin(), bitmap.pixels.end(), bits_.begin(), toBits);
  holdsBitmap_ = true;
}

void DeviceContext::bitBlt(int x, int y, int width, int height, const DeviceContext& src, int sx,
                           int sy) {
  if (!src.holdsBitmap_ || width <= 0 || height <= 0) return;
  // Offsets (dx, dy) into the block that land inside both images.
  const long long dx0 = std::max({0LL, -static_cast<long long>(x), -static_cast<long long>(sx)});
  const long long dy0 = std::max({0LL, -static_cast<long long>(y), -static_cast<long long>(sy)});
  const long long dx1 = std::min({static_cast<long long>(width), static_cast<long long>(width_) - x,
                                  static_cast<long long>(src.width_) - sx});
  const long long dy1 =
      std::min({static_cast<long long>(height), static_cast<long long>(height_) - y,
                static_cast<long long>(src.height_) - sy});
  if (dx0 >= dx1 || dy0 >= dy1) return;
  const std::size_t n = static_cast<std::size_t>(dx1 - dx0);
  // A copy within one image may overlap itself: move rows in the order that reads each
  // source row before it is overwritten.
  const bool upward = &src == this && sy < y;
  for (long long i = 0; i < dy1 - dy0; ++i) {
    const long long dy = upward ? dy1 - 1 - i : dy0 + i;
    const uint32_t* from = src.bits_.data() + (sy + dy) * src.width_ + sx + dx0;
    uint32_t* to = bits_.data() + (y + dy) * width_ + x + dx0;
    std::memmove(to, from, n * sizeof(uint32_t));
  }
}

}  // namespace qlx
