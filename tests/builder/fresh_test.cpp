// A process that never loads a dictionary: filling must fail and leave the grid alone.
#include "zandrel.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

TEST(ZandrelFresh, FillBeforeAnyDictionaryFails) {
  std::vector<uint8_t> grid{'?', '?', '?', '-', '?', '-', '?', '?', '?'};
  const std::vector<uint8_t> before = grid;
  EXPECT_EQ(makeXWordPuzzle(grid.data(), 9, 3), ZANDREL_NO_DICTIONARY);
  EXPECT_EQ(grid, before);
  EXPECT_NE(std::string(zandrelLastError()), "");
}
