// The slots of a grid: every horizontal and vertical run of two or more white cells, with
// where slots cross. Built once per fill from the white/block pattern.
#pragma once

#include <cstdint>
#include <vector>

namespace zandrel {

struct Slot {
  int length = 0;
  bool across = true;
  std::vector<int> cells;      // cell index (row * cols + col) of each position
  std::vector<int> crossSlot;  // per position: the crossing slot, or -1 when unchecked
  std::vector<int> crossPos;   // per position: the position in the crossing slot
};

struct Layout {
  int rows = 0;
  int cols = 0;
  std::vector<uint8_t> white;  // 1 white, 0 block, per cell
  std::vector<Slot> slots;
  std::vector<int> loneCells;  // white cells in no slot: they get a letter of their own
  int longest = 0;
};

// white holds rows * cols bytes, non-zero for a white cell.
Layout makeLayout(const uint8_t* white, int rows, int cols);

}  // namespace zandrel
