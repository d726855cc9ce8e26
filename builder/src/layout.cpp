// Slot extraction: runs of white cells across then down, and the crossing table the search
// uses for forward checking.
#include "layout.h"

#include <algorithm>

namespace zandrel {

Layout makeLayout(const uint8_t* white, int rows, int cols) {
  Layout layout;
  layout.rows = rows;
  layout.cols = cols;
  layout.white.assign(white, white + static_cast<size_t>(rows) * cols);
  for (uint8_t& w : layout.white) w = w ? 1 : 0;

  const int cellCount = rows * cols;
  std::vector<int> acrossOf(cellCount, -1), acrossPos(cellCount, -1);
  std::vector<int> downOf(cellCount, -1), downPos(cellCount, -1);

  auto addRun = [&](bool across, int first, int step, int length) {
    Slot slot;
    slot.length = length;
    slot.across = across;
    const int id = static_cast<int>(layout.slots.size());
    for (int i = 0; i < length; ++i) {
      const int cell = first + i * step;
      slot.cells.push_back(cell);
      (across ? acrossOf : downOf)[cell] = id;
      (across ? acrossPos : downPos)[cell] = i;
    }
    layout.longest = std::max(layout.longest, length);
    layout.slots.push_back(std::move(slot));
  };

  for (int r = 0; r < rows; ++r) {
    for (int c = 0; c < cols;) {
      if (!layout.white[r * cols + c]) {
        ++c;
        continue;
      }
      int end = c;
      while (end < cols && layout.white[r * cols + end]) ++end;
      if (end - c >= 2) addRun(true, r * cols + c, 1, end - c);
      c = end;
    }
  }
  for (int c = 0; c < cols; ++c) {
    for (int r = 0; r < rows;) {
      if (!layout.white[r * cols + c]) {
        ++r;
        continue;
      }
      int end = r;
      while (end < rows && layout.white[end * cols + c]) ++end;
      if (end - r >= 2) addRun(false, r * cols + c, cols, end - r);
      r = end;
    }
  }

  for (Slot& slot : layout.slots) {
    slot.crossSlot.assign(slot.length, -1);
    slot.crossPos.assign(slot.length, -1);
    for (int i = 0; i < slot.length; ++i) {
      const int cell = slot.cells[i];
      if (slot.across && downOf[cell] >= 0) {
        slot.crossSlot[i] = downOf[cell];
        slot.crossPos[i] = downPos[cell];
      } else if (!slot.across && acrossOf[cell] >= 0) {
        slot.crossSlot[i] = acrossOf[cell];
        slot.crossPos[i] = acrossPos[cell];
      }
    }
  }
  for (int cell = 0; cell < cellCount; ++cell)
    if (layout.white[cell] && acrossOf[cell] < 0 && downOf[cell] < 0)
      layout.loneCells.push_back(cell);
  return layout;
}

}  // namespace zandrel
