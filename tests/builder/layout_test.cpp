// Slot extraction: runs of two or more cells become slots, single cells outside any run
// are lone cells, and the crossing table points both ways.
#include "layout.h"

#include <gtest/gtest.h>

namespace {

zandrel::Layout layoutOf(const std::vector<std::string>& rows) {
  std::vector<uint8_t> white;
  for (const std::string& row : rows)
    for (char c : row) white.push_back(c == '.' ? 1 : 0);
  return zandrel::makeLayout(white.data(), static_cast<int>(rows.size()),
                             static_cast<int>(rows[0].size()));
}

TEST(Layout, RunsLoneCellsAndCrossings) {
  const zandrel::Layout layout = layoutOf({
      "..#.",
      "#.##",
      ".#..",
  });
  ASSERT_EQ(layout.slots.size(), 3U);
  EXPECT_TRUE(layout.slots[0].across);
  EXPECT_EQ(layout.slots[0].cells, (std::vector<int>{0, 1}));
  EXPECT_TRUE(layout.slots[1].across);
  EXPECT_EQ(layout.slots[1].cells, (std::vector<int>{10, 11}));
  EXPECT_FALSE(layout.slots[2].across);
  EXPECT_EQ(layout.slots[2].cells, (std::vector<int>{1, 5}));
  EXPECT_EQ(layout.loneCells, (std::vector<int>{3, 8}));
  EXPECT_EQ(layout.longest, 2);

  // Cell 1 is where the first across and the down word meet.
  EXPECT_EQ(layout.slots[0].crossSlot, (std::vector<int>{-1, 2}));
  EXPECT_EQ(layout.slots[0].crossPos, (std::vector<int>{-1, 0}));
  EXPECT_EQ(layout.slots[2].crossSlot, (std::vector<int>{0, -1}));
  EXPECT_EQ(layout.slots[2].crossPos, (std::vector<int>{1, -1}));
  EXPECT_EQ(layout.slots[1].crossSlot, (std::vector<int>{-1, -1}));
}

TEST(Layout, CrossingTableIsSymmetricOnABlockedGrid) {
  const zandrel::Layout layout = layoutOf({
      ".......#.....",
      ".#.#.#.#.#.#.",
      ".....#.......",
      ".#.#.#.#.#.#.",
      ".............",
  });
  int checked = 0;
  for (size_t s = 0; s < layout.slots.size(); ++s) {
    const zandrel::Slot& slot = layout.slots[s];
    for (int p = 0; p < slot.length; ++p) {
      const int other = slot.crossSlot[static_cast<size_t>(p)];
      if (other < 0) continue;
      ++checked;
      const zandrel::Slot& cross = layout.slots[static_cast<size_t>(other)];
      const int q = slot.crossPos[static_cast<size_t>(p)];
      EXPECT_NE(cross.across, slot.across);
      EXPECT_EQ(cross.cells[static_cast<size_t>(q)], slot.cells[static_cast<size_t>(p)]);
      EXPECT_EQ(cross.crossSlot[static_cast<size_t>(q)], static_cast<int>(s));
      EXPECT_EQ(cross.crossPos[static_cast<size_t>(q)], p);
    }
  }
  EXPECT_EQ(checked, 2 * 21);  // 7 down words of 5 crossing 3 across lines
  EXPECT_TRUE(layout.loneCells.empty());
}

}  // namespace
