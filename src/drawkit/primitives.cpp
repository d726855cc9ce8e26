// The drawing primitives. Each forms the GDI rectangle from the record's left, top, width and
// height; the pen and the text colour they set stay set afterwards, as later draws expect.
#include "drawkit/primitives.h"

namespace qlx {
namespace {

constexpr ColorRef kBlack = rgb(0, 0, 0);

void toUpperAscii(std::string& text) {
  for (char& c : text)
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
}

}  // namespace

bool hitTest(const DrawRect& rec, float x, float y) {
  // Doubles hold every 32-bit edge and every float position exactly.
  const double left = rec.left, top = rec.top;
  const double right = left + rec.width, bottom = top + rec.height;
  return left < x && x < right && top < y && y < bottom;
}

void drawPicture(const DrawRect& rec, int piece, bool highlighted, const Graphics& g) {
  (void)highlighted;  // the title picture has no highlighted look
  if (!rec.hDC || piece != kTitlePicturePiece) return;
  rec.hDC->bitBlt(rec.left, rec.top, kTitlePictureWidth, kTitlePictureHeight, g.picDC, 0, 0);
}

void drawButton(const DrawRect& rec, int frameStyle, bool highlighted, int32_t lift,
                std::string_view caption, const Graphics& g) {
  DeviceContext* dc = rec.hDC;
  if (!dc) return;
  Rect r = rec.rect();
  dc->fillRect(r, rec.hBrush);
  if (frameStyle == 1 || frameStyle == 2) {
    dc->selectPen(rec.hPen);
    dc->rectangle(r.left, r.top, r.right, r.bottom);
  }
  if (frameStyle == 2) {
    dc->selectPen(&g.penFrame);
    dc->rectangle(r.left + 1, r.top + 1, r.right - 1, r.bottom - 1);
  }
  dc->setTextColor(kBlack);
  dc->drawText(caption, r, kCentredLine);
  r.right += lift;
  r.bottom -= lift;
  dc->setTextColor(highlighted ? g.clrHoverText : rec.textColor);
  dc->drawText(caption, r, kCentredLine);
}

void drawBox(const DrawRect& rec, int framed) {
  DeviceContext* dc = rec.hDC;
  if (!dc) return;
  const Rect r = rec.rect();
  dc->fillRect(r, rec.hBrush);
  if (framed > 0) dc->rectangle(r.left, r.top, r.right, r.bottom);
}

void drawText(const DrawRect& rec, int32_t lift, std::string_view text, int32_t format) {
  DeviceContext* dc = rec.hDC;
  if (!dc) return;
  const uint32_t flags =
      format == kTopLeftText ? uint32_t{DT_VCENTER} : static_cast<uint32_t>(format);
  Rect r = rec.rect();
  dc->setTextColor(kBlack);
  dc->drawText(text, r, flags);
  r.left += lift;
  r.top -= lift;
  dc->setTextColor(rec.textColor);
  dc->drawText(text, r, flags);
}

Rect cellSquare(const DrawRect& board, int column, int row) {
  const int size = board.width;
  const int left = board.left + column * size + 1;
  const int top = board.top + row * size + 1;
  return Rect{left, top, left + size - 2, top + size - 2};
}

void drawCellText(const DrawRect& grid, int gridCols, int cellIndex, HBRUSH brush,
                  std::string& text) {
  DeviceContext* dc = grid.hDC;
  if (!dc || gridCols <= 0 || cellIndex < 1) return;
  const Rect r = cellSquare(grid, (cellIndex - 1) % gridCols, (cellIndex - 1) / gridCols);
  dc->fillRect(r, brush);
  if (text.empty()) return;
  toUpperAscii(text);
  dc->drawText(text, r, kCentredLine);
}

}  // namespace qlx
