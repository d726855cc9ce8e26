// Shared by the grid tool tests: patterns written as rows of text, and a known good grid.
#pragma once

#include "gridkit/pattern.h"

#include <gtest/gtest.h>

#include <initializer_list>
#include <string>

namespace qlx::gridkit::test {

// Builds a pattern from rows of '#' and '.', failing the test when they do not parse.
inline Pattern rowsToPattern(std::initializer_list<const char*> rows) {
  std::string text;
  for (const char* row : rows) text += std::string(row) + "\n";
  ParseResult parsed = parsePatterns(text, "test");
  EXPECT_TRUE(parsed.ok()) << (parsed.errors.empty() ? "" : parsed.errors.front().text());
  EXPECT_EQ(parsed.patterns.size(), 1u);
  return parsed.patterns.empty() ? Pattern{} : parsed.patterns.front();
}

// A 9x9 grid that keeps every rule (26 blocks = 32.1%, 21 of 55 white cells checked).
inline Pattern goodGrid() {
  return rowsToPattern({".....#.##", ".#.#.#.#.", "...#.....", "##.#.#.#.", ".........",
                        ".#.#.#.##", ".....#...", ".#.#.#.#.", "##.#....."});
}

inline Pattern withCell(Pattern p, int r, int c, bool white) {
  p.cells[static_cast<std::size_t>(r * p.cols + c)] = white ? 1 : 0;
  return p;
}

}  // namespace qlx::gridkit::test
