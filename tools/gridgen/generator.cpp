// Randomised search for British-style grids: lattice first, then symmetric cuts of the long
// lines, each kept only when it leaves no 2-letter run, no stranded cell and one connected board.
#include "generator.h"

#include "gridkit/rules.h"

#include <algorithm>
#include <cmath>

namespace qlx::gridgen {

using gridkit::Pattern;
using gridkit::Run;

namespace {

Pattern transformed(const Pattern& p, int which) {
  // which: bit 0 mirror left-right, bit 1 mirror top-bottom, bit 2 swap rows and columns.
  Pattern out;
  const bool swap = (which & 4) != 0;
  out.rows = swap ? p.cols : p.rows;
  out.cols = swap ? p.rows : p.cols;
  out.cells.resize(p.cells.size());
  for (int r = 0; r < p.rows; ++r)
    for (int c = 0; c < p.cols; ++c) {
      int rr = (which & 2) ? p.rows - 1 - r : r;
      int cc = (which & 1) ? p.cols - 1 - c : c;
      if (swap) std::swap(rr, cc);
      out.cells[static_cast<std::size_t>(rr * out.cols + cc)] =
          p.cells[static_cast<std::size_t>(r * p.cols + c)];
    }
  return out;
}

std::string plainKey(const Pattern& p) {
  std::string key = std::to_string(p.rows) + "x" + std::to_string(p.cols) + ":";
  for (std::uint8_t cell : p.cells) key += cell ? '.' : '#';
  return key;
}

void blockPair(Pattern& p, std::size_t i) {
  p.cells[i] = 0;
  p.cells[p.cells.size() - 1 - i] = 0;
}

int blockCount(const Pattern& p) {
  return static_cast<int>(std::count(p.cells.begin(), p.cells.end(), std::uint8_t{0}));
}

// White cells that lie in no run of 3 or more.
std::vector<std::size_t> strandedCells(const Pattern& p) {
  std::vector<char> inWord(p.cells.size(), 0);
  for (const Run& run : gridkit::findRuns(p))
    if (run.length >= gridkit::kMinWordLength)
      for (int k = 0; k < run.length; ++k)
        inWord[static_cast<std::size_t>(run.across ? run.row * p.cols + run.col + k
                                                   : (run.row + k) * p.cols + run.col)] = 1;
  std::vector<std::size_t> out;
  for (std::size_t i = 0; i < p.cells.size(); ++i)
    if (p.cells[i] && !inWord[i]) out.push_back(i);
  return out;
}

bool connected(const Pattern& p) {
  const auto first = std::find(p.cells.begin(), p.cells.end(), std::uint8_t{1});
  if (first == p.cells.end()) return false;
  std::vector<char> seen(p.cells.size(), 0);
  std::vector<int> stack{static_cast<int>(first - p.cells.begin())};
  seen[static_cast<std::size_t>(stack.back())] = 1;
  std::size_t reached = 0;
  while (!stack.empty()) {
    const int i = stack.back();
    stack.pop_back();
    ++reached;
    const int r = i / p.cols, c = i % p.cols;
    const int next[4][2] = {{r - 1, c}, {r + 1, c}, {r, c - 1}, {r, c + 1}};
    for (const auto& n : next)
      if (n[0] >= 0 && n[0] < p.rows && n[1] >= 0 && n[1] < p.cols && p.white(n[0], n[1]) &&
          !seen[static_cast<std::size_t>(n[0] * p.cols + n[1])]) {
        seen[static_cast<std::size_t>(n[0] * p.cols + n[1])] = 1;
        stack.push_back(n[0] * p.cols + n[1]);
      }
  }
  return reached ==
         static_cast<std::size_t>(std::count(p.cells.begin(), p.cells.end(), std::uint8_t{1}));
}

int blockSquares(const Pattern& p) {
  int squares = 0;
  for (int r = 0; r + 1 < p.rows; ++r)
    for (int c = 0; c + 1 < p.cols; ++c)
      if (!p.white(r, c) && !p.white(r + 1, c) && !p.white(r, c + 1) && !p.white(r + 1, c + 1))
        ++squares;
  return squares;
}

constexpr double kPleasantCheckedPercent = 38.0;

// Lines of 3 or more blocks, across and down, from the edge or inside.
std::vector<Run> blockRuns(const Pattern& p) {
  Pattern inverse = p;
  for (std::uint8_t& cell : inverse.cells) cell = cell ? 0 : 1;
  std::vector<Run> out;
  for (const Run& run : gridkit::findRuns(inverse))
    if (run.length >= 3) out.push_back(run);
  return out;
}

// Blocks stranded cells (and their partners) until none is left; false when that needs
// more than a couple of pairs, which would leave an ugly clump.
bool repair(Pattern& p) {
  for (int round = 0; round < 3; ++round) {
    const std::vector<std::size_t> stranded = strandedCells(p);
    if (stranded.empty()) return true;
    if (stranded.size() > 4) return false;
    for (std::size_t i : stranded) blockPair(p, i);
  }
  return strandedCells(p).empty();
}

bool acceptable(const Pattern& p) {
  for (const Run& run : gridkit::findRuns(p))
    if (run.length == 2) return false;
  return connected(p);
}

}  // namespace

bool latticeLine(int n, int i) { return i < n / 2 ? i % 2 == 1 : (n - 1 - i) % 2 == 1; }

std::string shapeKey(const Pattern& p) {
  std::string best;
  const int variants = p.rows == p.cols ? 8 : 4;
  for (int which = 0; which < variants; ++which) {
    std::string key = plainKey(transformed(p, which));
    if (best.empty() || key < best) best = std::move(key);
  }
  return best;
}

int defaultMaxLongWords(int rows, int cols) {
  const int side = std::max(rows, cols);
  return side >= 15 ? 4 : side >= 13 ? 3 : 2;
}

bool looksPleasant(const Pattern& p, int maxLongWords) {
  int words = 0, threes = 0, longs = 0;
  for (const Run& run : gridkit::findRuns(p)) {
    if (run.length < gridkit::kMinWordLength) continue;
    ++words;
    if (run.length == 3) ++threes;
    if (run.length >= 10) ++longs;
  }
  if (words == 0 || longs > maxLongWords || 10 * threes > 3 * words) return false;
  // The lattice of an even size has one square of blocks at its centre; allow one more.
  const int latticeSquares = (p.rows % 2 == 0 && p.cols % 2 == 0) ? 1 : 0;
  if (blockSquares(p) > latticeSquares + 1) return false;
  // Newspaper grids check about half their letters and have no long walls of blocks.
  if (gridkit::gridStats(p).checkedPercent() < kPleasantCheckedPercent) return false;
  int walls = 0;
  for (const Run& wall : blockRuns(p)) {
    if (wall.length > 5) return false;
    if (wall.length == 5) ++walls;
  }
  return walls <= 2;
}

Generator::Generator(int rows, int cols, std::uint64_t seed, int maxLongWords, int fullRows)
    : rows_(rows),
      cols_(cols),
      maxLong_(maxLongWords < 0 ? defaultMaxLongWords(rows, cols) : maxLongWords),
      fullRows_(fullRows),
      rng_(seed) {}

Pattern Generator::attempt() {
  Pattern p;
  p.rows = rows_;
  p.cols = cols_;
  p.cells.assign(static_cast<std::size_t>(rows_ * cols_), 1);
  for (int r = 0; r < rows_; ++r)
    for (int c = 0; c < cols_; ++c)
      if (latticeLine(rows_, r) && latticeLine(cols_, c))
        p.cells[static_cast<std::size_t>(r * cols_ + c)] = 0;
  // A side of 4k+2 leaves two free lines side by side at the middle, and every lattice line
  // would cross them in a 2-letter run: one of each such pair of cells becomes a block.
  if (rows_ % 4 == 2)
    for (int c = 0; c < cols_ / 2; ++c)
      if (latticeLine(cols_, c))
        blockPair(p, static_cast<std::size_t>((rows_ / 2 - below(2)) * cols_ + c));
  if (cols_ % 4 == 2)
    for (int r = 0; r < rows_ / 2; ++r)
      if (latticeLine(rows_, r))
        blockPair(p, static_cast<std::size_t>(r * cols_ + cols_ / 2 - below(2)));

  const int n = p.cellCount();
  const int lowest = (gridkit::kMinBlockPercent * n + 99) / 100 + 1;
  const int highest = gridkit::kMaxBlockPercent * n / 100;
  const int target = lowest + below(std::max(1, (highest - lowest) * 3 / 4));
  const int longAllowed = below(maxLong_ + 1);
  // Full rows come in mirror pairs (the half-turn symmetry maps row r to rows-1-r), plus the
  // middle row of an odd count when it is free of lattice blocks.
  std::vector<char> fullRow(static_cast<std::size_t>(rows_), 0);
  if (fullRows_ > 0) {  // no draw otherwise: a seed makes the grids it always made
    std::vector<int> choices;
    for (int r = 0; r < rows_ / 2; ++r)
      if (!latticeLine(rows_, r)) choices.push_back(r);
    std::shuffle(choices.begin(), choices.end(), rng_);
    int left = fullRows_;
    if (left % 2 == 1) {
      if (rows_ % 2 == 0 || latticeLine(rows_, rows_ / 2)) return {};
      fullRow[static_cast<std::size_t>(rows_ / 2)] = 1;
      --left;
    }
    for (int r : choices)
      if (left > 0) {
        fullRow[static_cast<std::size_t>(r)] = fullRow[static_cast<std::size_t>(rows_ - 1 - r)] = 1;
        left -= 2;
      }
    if (left > 0) return {};
  }
  auto isFull = [&](const Run& run) {
    return run.across && run.length == cols_ && fullRow[static_cast<std::size_t>(run.row)];
  };
  auto isBar = [&](int r, int c) { return latticeLine(rows_, r) != latticeLine(cols_, c); };

  int failures = 0;
  for (int step = 0; step < 400; ++step) {
    const std::vector<Run> runs = gridkit::findRuns(p);
    std::vector<Run> targets;
    for (const Run& run : runs)
      if (run.length > gridkit::kMaxWordLength && !isFull(run)) targets.push_back(run);
    if (targets.empty() && blockCount(p) >= target) {
      for (const Run& run : runs)
        if (run.length >= 10 && !isFull(run)) targets.push_back(run);
      if (static_cast<int>(targets.size()) <= longAllowed) break;
    }

    // Where the run through each cell is, to weigh what a cut there leaves on either side.
    std::vector<int> across(p.cells.size(), 0), down(p.cells.size(), 0);
    std::vector<int> acrossAt(p.cells.size(), 0), downAt(p.cells.size(), 0);
    for (const Run& run : runs)
      for (int k = 0; k < run.length; ++k) {
        const int r = run.across ? run.row : run.row + k;
        const int c = run.across ? run.col + k : run.col;
        const auto i = static_cast<std::size_t>(r * cols_ + c);
        (run.across ? across : down)[i] = run.length;
        (run.across ? acrossAt : downAt)[i] = k;
      }
    // A cut that leaves words of 3+ on both sides is best; shortening a run at its end is
    // fine; leaving a lone letter is rarer, as it costs a crossing.
    auto pieceFactor = [](int length, int at) {
      const int shorter = std::min(at, length - 1 - at);
      return shorter >= 3 ? 1.0 : shorter == 0 ? 0.3 : shorter == 1 ? 0.08 : 0.0;
    };
    auto lengthFactor = [](int length) { return length > 9 ? 3.0 : length >= 7 ? 1.0 : 0.15; };

    std::vector<double> weight(p.cells.size(), 0.0);
    if (!targets.empty()) {
      // Cut one of the runs that are too long, mostly through a bar (a cell crossing nothing).
      const Run& run = targets[static_cast<std::size_t>(below(static_cast<int>(targets.size())))];
      for (int k = 0; k < run.length; ++k) {
        const int r = run.across ? run.row : run.row + k;
        const int c = run.across ? run.col + k : run.col;
        weight[static_cast<std::size_t>(r * cols_ + c)] =
            pieceFactor(run.length, k) * (isBar(r, c) ? 1.0 : 0.1);
      }
    } else {
      // Add a block somewhere: bars in long lines are likeliest; crossing cells (which make
      // notches of several blocks) are rare and kept to the edges, where they look natural.
      for (int r = 0; r < rows_; ++r)
        for (int c = 0; c < cols_; ++c) {
          const auto i = static_cast<std::size_t>(r * cols_ + c);
          if (!p.cells[i] || fullRow[static_cast<std::size_t>(r)]) continue;
          if (isBar(r, c)) {
            const bool isAcross = across[i] >= down[i];
            const int length = isAcross ? across[i] : down[i];
            weight[i] =
                lengthFactor(length) * pieceFactor(length, isAcross ? acrossAt[i] : downAt[i]);
          } else {
            const bool edge = r == 0 || c == 0 || r == rows_ - 1 || c == cols_ - 1;
            weight[i] = edge ? 0.06 : 0.005;
          }
        }
    }
    double total = 0;
    for (double w : weight) total += w;
    if (total <= 0) {
      if (++failures > 80) return {};
      continue;
    }
    std::size_t cell = 0;
    double pick = unit() * total;
    for (std::size_t i = 0; i < weight.size(); ++i) {
      if (weight[i] <= 0) continue;
      cell = i;
      pick -= weight[i];
      if (pick <= 0) break;
    }

    const Pattern saved = p;
    blockPair(p, cell);
    const auto broken = [&] {
      for (int r = 0; r < rows_; ++r)
        for (int c = 0; c < cols_ && fullRow[static_cast<std::size_t>(r)]; ++c)
          if (!p.white(r, c)) return true;
      return false;
    };
    if (!repair(p) || !acceptable(p) || blockCount(p) > highest || broken()) {
      p = saved;
      if (++failures > 80) return {};
    }
  }
  if (!gridkit::checkGridRules(p).empty() || !looksPleasant(p, maxLong_ + fullRows_)) return {};
  return p;
}

std::vector<Pattern> generate(const Options& options, const std::set<std::string>& avoid) {
  std::vector<Pattern> out;
  std::set<std::string> seen = avoid;
  Generator generator(options.rows, options.cols, options.seed, options.maxLongWords,
                      options.fullRows);
  const long attempts = static_cast<long>(options.count) * options.attemptsPerGrid;
  for (long a = 0; a < attempts && static_cast<int>(out.size()) < options.count; ++a) {
    Pattern p = generator.attempt();
    if (p.rows == 0) continue;
    if (seen.insert(shapeKey(p)).second) out.push_back(std::move(p));
  }
  return out;
}

}  // namespace qlx::gridgen
