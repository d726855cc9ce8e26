// The icon: a selected (pale yellow) grid cell with the entry "Q" in the corner of a small board
// of cells and blocks, so it reads as a piece of the board even when shrunk.
#include "icon_picture.h"

#include <algorithm>

#include "drawkit/painters.h"
#include "drawkit/primitives.h"

namespace qlx::icon {

void drawIcon(DeviceContext& dc, const Graphics& g, int size) {
  // A 4 × 4 board of cells whose top-left 3 × 3 cells are merged into one big cell; the gaps
  // between cells grow with the size, one pixel in 32.
  const int kPitch = size / 4, gap = std::max(1, size / 32);
  dc.fillRect(Rect{0, 0, size, size}, &g.brBackground);
  auto small = [&](int column, int row, HBRUSH brush) {
    dc.fillRect(Rect{column * kPitch + gap, row * kPitch + gap, (column + 1) * kPitch - gap,
                     (row + 1) * kPitch - gap},
                brush);
  };
  small(3, 0, &g.brBlock);
  small(3, 1, &g.brCell);
  small(3, 2, &g.brCell);
  small(3, 3, &g.brBlock);
  small(0, 3, &g.brCell);
  small(1, 3, &g.brBlock);
  small(2, 3, &g.brCell);

  const Rect cell{gap, gap, 3 * kPitch - gap, 3 * kPitch - gap};
  dc.fillRect(cell, &g.brSelected);
  dc.setFont(FontSpec{"Times New Roman", 14.0 * size / kSize, FW_BOLD});
  dc.setTextColor(kClrEntry);
  dc.drawText("Q", cell, kCentredLine);
}

}  // namespace qlx::icon
