// The rules every shipped codeword grid keeps (blocked British style), and the figures
// behind them: words ("runs" of white cells), block share, checked-cell share.
#pragma once

#include "gridkit/pattern.h"

#include <string>
#include <vector>

namespace qlx::gridkit {

inline constexpr int kMinWordLength = 3;
inline constexpr int kMaxWordLength = 13;
inline constexpr int kMinBlockPercent = 28;
inline constexpr int kMaxBlockPercent = 38;
inline constexpr int kMinCheckedPercent = 35;  // of the white cells
inline constexpr int kMaxCheckedPercent = 50;
inline constexpr int kCellLimit = 256;  // the game forms rows x columns in 8 bits

// A maximal line of white cells, across or down, of at least two cells.
struct Run {
  bool across = true;
  int row = 0;  // first cell, 0-based
  int col = 0;
  int length = 0;
};

std::vector<Run> findRuns(const Pattern& pattern);

struct GridStats {
  int cells = 0;
  int blocks = 0;
  int whites = 0;
  int checked = 0;  // white cells in an across word and a down word, both of 3 or more
  int words = 0;    // runs of 3 or more
  int longestWord = 0;
  double blockPercent() const { return cells ? 100.0 * blocks / cells : 0.0; }
  double checkedPercent() const { return whites ? 100.0 * checked / whites : 0.0; }
};

GridStats gridStats(const Pattern& pattern);

// The rules the pattern breaks, one plain sentence per rule (rows and columns counted
// from 1); empty when the pattern is a good grid.
std::vector<std::string> checkGridRules(const Pattern& pattern);

}  // namespace qlx::gridkit
