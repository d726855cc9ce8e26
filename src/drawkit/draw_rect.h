// DrawRect: the record behind every button, label, panel, the grid, the code strip and the
// alphabet panel: where it is, which device context it draws into and with what.
#pragma once

#include <cstdint>

#include "platform/dc.h"
#include "platform/gdi.h"

namespace qlx {

struct DrawRect {
  DeviceContext* hDC = nullptr;  // the owning window's image
  int32_t left = 0;              // client pixels
  int32_t top = 0;
  int32_t width = 0;  // for the grid, code strip and alphabet panel: the edge of one square cell
  int32_t height = 0;
  int16_t hover = 0;  // -1 while the hover look is drawn, else 0
  HBRUSH hBrush = nullptr;
  HPEN hPen = nullptr;
  ColorRef textColor = 0;  // colour of the coloured caption pass
  int32_t active = 0;      // > 0: reacts to clicks; 0: a label

  // The rectangle the record stands for, right and bottom exclusive.
  Rect rect() const { return Rect{left, top, left + width, top + height}; }
};

}  // namespace qlx
