// Rule checker of grid patterns: symmetry, connection, word lengths, block and check shares.
#include "gridkit/rules.h"

#include <algorithm>
#include <cstdio>
#include <vector>

namespace qlx::gridkit {

namespace {

std::string cellName(int r, int c) {
  return "row " + std::to_string(r + 1) + ", column " + std::to_string(c + 1);
}

std::string runName(const Run& run) {
  if (run.across)
    return "across in row " + std::to_string(run.row + 1) + ", columns " +
           std::to_string(run.col + 1) + "-" + std::to_string(run.col + run.length);
  return "down in column " + std::to_string(run.col + 1) + ", rows " + std::to_string(run.row + 1) +
         "-" + std::to_string(run.row + run.length);
}

std::string percent(double value) {
  char buf[32];
  std::snprintf(buf, sizeof buf, "%.1f%%", value);
  return buf;
}

// "first" of several: names the first offender and how many there are in all.
std::string countAndFirst(std::size_t count, const std::string& what, const std::string& first) {
  if (count == 1) return what + ": " + first;
  return std::to_string(count) + " cases of " + what + ", the first " + first;
}

// Length of the across and down runs (1 for a lone cell) through every white cell.
struct RunLengths {
  std::vector<int> across;
  std::vector<int> down;
};

RunLengths runLengths(const Pattern& p) {
  RunLengths out{std::vector<int>(p.cells.size(), 0), std::vector<int>(p.cells.size(), 0)};
  for (const Run& run : findRuns(p))
    for (int k = 0; k < run.length; ++k) {
      const int r = run.across ? run.row : run.row + k;
      const int c = run.across ? run.col + k : run.col;
      (run.across ? out.across : out.down)[static_cast<std::size_t>(r * p.cols + c)] = run.length;
    }
  for (std::size_t i = 0; i < p.cells.size(); ++i)
    if (p.cells[i]) {
      out.across[i] = std::max(out.across[i], 1);
      out.down[i] = std::max(out.down[i], 1);
    }
  return out;
}

}  // namespace

std::vector<Run> findRuns(const Pattern& p) {
  std::vector<Run> runs;
  for (int r = 0; r < p.rows; ++r)
    for (int c = 0; c < p.cols;) {
      int end = c;
      while (end < p.cols && p.white(r, end)) ++end;
      if (end - c >= 2) runs.push_back({true, r, c, end - c});
      c = std::max(end, c + 1);
    }
  for (int c = 0; c < p.cols; ++c)
    for (int r = 0; r < p.rows;) {
      int end = r;
      while (end < p.rows && p.white(end, c)) ++end;
      if (end - r >= 2) runs.push_back({false, r, c, end - r});
      r = std::max(end, r + 1);
    }
  return runs;
}

GridStats gridStats(const Pattern& p) {
  GridStats s;
  s.cells = p.cellCount();
  for (std::uint8_t cell : p.cells) (cell ? s.whites : s.blocks) += 1;
  const RunLengths lengths = runLengths(p);
  for (std::size_t i = 0; i < p.cells.size(); ++i)
    if (p.cells[i] && lengths.across[i] >= kMinWordLength && lengths.down[i] >= kMinWordLength)
      ++s.checked;
  for (const Run& run : findRuns(p))
    if (run.length >= kMinWordLength) {
      ++s.words;
      s.longestWord = std::max(s.longestWord, run.length);
    }
  return s;
}

std::vector<std::string> checkGridRules(const Pattern& p) {
  std::vector<std::string> broken;
  if (p.rows <= 0 || p.cols <= 0 || p.cells.size() != static_cast<std::size_t>(p.rows * p.cols)) {
    broken.push_back("the pattern has no cells");
    return broken;
  }
  if (p.cellCount() >= kCellLimit)
    broken.push_back("the grid has " + std::to_string(p.rows) + " x " + std::to_string(p.cols) +
                     " = " + std::to_string(p.cellCount()) + " cells; it must have fewer than " +
                     std::to_string(kCellLimit));

  const GridStats stats = gridStats(p);
  if (stats.whites == 0) {
    broken.push_back("the grid has no white cell");
    return broken;
  }

  // Half-turn symmetry: each cell matches the cell it lands on when the grid is turned round.
  for (int i = 0; i < p.cellCount(); ++i) {
    const int j = p.cellCount() - 1 - i;
    if (p.cells[static_cast<std::size_t>(i)] != p.cells[static_cast<std::size_t>(j)]) {
      broken.push_back("the pattern does not look the same turned upside down: " +
                       cellName(i / p.cols, i % p.cols) + " is " +
                       (p.cells[static_cast<std::size_t>(i)] ? "white" : "a block") + " but " +
                       cellName(j / p.cols, j % p.cols) + " is " +
                       (p.cells[static_cast<std::size_t>(j)] ? "white" : "a block"));
      break;
    }
  }

  // Connection: flood the white cells from the first one.
  {
    std::vector<char> seen(p.cells.size(), 0);
    std::vector<int> stack;
    const int first =
        static_cast<int>(std::find(p.cells.begin(), p.cells.end(), 1) - p.cells.begin());
    stack.push_back(first);
    seen[static_cast<std::size_t>(first)] = 1;
    int reached = 0;
    while (!stack.empty()) {
      const int i = stack.back();
      stack.pop_back();
      ++reached;
      const int r = i / p.cols, c = i % p.cols;
      const int next[4][2] = {{r - 1, c}, {r + 1, c}, {r, c - 1}, {r, c + 1}};
      for (const auto& n : next) {
        if (n[0] < 0 || n[0] >= p.rows || n[1] < 0 || n[1] >= p.cols || !p.white(n[0], n[1]))
          continue;
        const auto k = static_cast<std::size_t>(n[0] * p.cols + n[1]);
        if (!seen[k]) {
          seen[k] = 1;
          stack.push_back(static_cast<int>(k));
        }
      }
    }
    if (reached != stats.whites) {
      std::size_t cut = 0;
      while (!p.cells[cut] || seen[cut]) ++cut;
      const int c = static_cast<int>(cut);
      broken.push_back(
          "the white cells are not all connected: " + cellName(c / p.cols, c % p.cols) +
          " cannot be reached from " + cellName(first / p.cols, first % p.cols));
    }
  }

  // Every white cell belongs to a word of 3 or more letters.
  {
    const RunLengths lengths = runLengths(p);
    std::size_t count = 0;
    std::string first;
    for (std::size_t i = 0; i < p.cells.size(); ++i)
      if (p.cells[i] && lengths.across[i] < kMinWordLength && lengths.down[i] < kMinWordLength) {
        if (count++ == 0)
          first = cellName(static_cast<int>(i) / p.cols, static_cast<int>(i) % p.cols);
      }
    if (count > 0)
      broken.push_back(countAndFirst(count, "a white cell in no word of 3 or more letters", first));
  }

  // Word lengths: no 2-letter runs, nothing longer than the longest word allowed.
  {
    std::size_t twos = 0, longs = 0;
    std::string firstTwo, firstLong;
    for (const Run& run : findRuns(p)) {
      if (run.length == 2 && twos++ == 0) firstTwo = runName(run);
      if (run.length > kMaxWordLength && longs++ == 0)
        firstLong = std::to_string(run.length) + " cells " + runName(run);
    }
    if (twos > 0) broken.push_back(countAndFirst(twos, "a run of exactly 2 white cells", firstTwo));
    if (longs > 0)
      broken.push_back(countAndFirst(
          longs, "a run longer than " + std::to_string(kMaxWordLength) + " white cells",
          firstLong));
  }

  if (100 * stats.blocks < kMinBlockPercent * stats.cells ||
      100 * stats.blocks > kMaxBlockPercent * stats.cells)
    broken.push_back("blocks are " + percent(stats.blockPercent()) + " of the cells (" +
                     std::to_string(stats.blocks) + " of " + std::to_string(stats.cells) +
                     "); they must be " + std::to_string(kMinBlockPercent) + "-" +
                     std::to_string(kMaxBlockPercent) + "%");
  if (100 * stats.checked < kMinCheckedPercent * stats.whites ||
      100 * stats.checked > kMaxCheckedPercent * stats.whites)
    broken.push_back("cells in both an across and a down word are " +
                     percent(stats.checkedPercent()) + " of the white cells (" +
                     std::to_string(stats.checked) + " of " + std::to_string(stats.whites) +
                     "); they must be " + std::to_string(kMinCheckedPercent) + "-" +
                     std::to_string(kMaxCheckedPercent) + "%");
  return broken;
}

}  // namespace qlx::gridkit
