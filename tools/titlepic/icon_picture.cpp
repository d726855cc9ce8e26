// The icon: a selected (pale yellow) grid cell with the entry "Q" in the corner of a small board
// of cells and blocks, so it reads as a piece of the board even when shrunk.
#include "icon_picture.h"

#include "drawkit/painters.h"
#include "drawkit/primitives.h"

namespace qlx::icon {

void drawIcon(DeviceContext& dc, const Graphics& g) {
  // A 4 × 4 board of 8-pixel cells whose top-left 3 × 3 cells are merged into one big cell.
  constexpr int kPitch = 8;
  dc.fillRect(Rect{0, 0, kSize, kSize}, &g.brBackground);
  auto small = [&](int column, int row, HBRUSH brush) {
    dc.fillRect(Rect{column * kPitch + 1, row * kPitch + 1, (column + 1) * kPitch - 1,
                     (row + 1) * kPitch - 1},
                brush);
  };
  small(3, 0, &g.brBlock);
  small(3, 1, &g.brCell);
  small(3, 2, &g.brCell);
  small(3, 3, &g.brBlock);
  small(0, 3, &g.brCell);
  small(1, 3, &g.brBlock);
  small(2, 3, &g.brCell);

  const Rect cell{1, 1, 3 * kPitch - 1, 3 * kPitch - 1};
  dc.fillRect(cell, &g.brSelected);
  dc.setFont(FontSpec{"Times New Roman", 14.0, FW_BOLD});
  dc.setTextColor(kClrEntry);
  dc.drawText("Q", cell, kCentredLine);
}

}  // namespace qlx::icon
