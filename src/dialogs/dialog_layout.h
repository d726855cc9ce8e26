// The layout unit and the font of the game's painted dialogs: their records are placed in multiples
// of the unit, and the Hall of Fame draws all its text in the one font.
#pragma once

#include "drawkit/draw_rect.h"
#include "platform/font.h"
#include "platform/gdi.h"

namespace qlx {

// Pixels per dialog layout unit, as start-up sets it.
inline constexpr int kDialogUnit = 44;

inline FontSpec dialogFont() { return FontSpec{"Times New Roman", 14.25, FW_BOLD}; }

// A record of a painted dialog on its device context.
inline DrawRect dialogRect(DeviceContext& dc, int left, int top, int width, int height,
                           HBRUSH brush, ColorRef text, HPEN pen = nullptr) {
  DrawRect r;
  r.hDC = &dc;
  r.left = left;
  r.top = top;
  r.width = width;
  r.height = height;
  r.hBrush = brush;
  r.textColor = text;
  r.hPen = pen;
  return r;
}

}  // namespace qlx
