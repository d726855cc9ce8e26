// Generator of blocked British-style grid patterns: a lattice of blocks at alternate rows and
// columns, then symmetric blocks that cut the lines into words of 3..13 letters.
#pragma once

#include "gridkit/pattern.h"

#include <cstdint>
#include <random>
#include <set>
#include <string>
#include <vector>

namespace qlx::gridgen {

struct Options {
  int rows = 15;
  int cols = 15;
  int count = 10;
  std::uint64_t seed = 1;
  int maxLongWords = -1;  // most words of 10+ letters in one grid; -1 = by size
  int fullRows = 0;       // rows left without a block (full-width words), in mirror pairs
  int attemptsPerGrid = 400;
};

// The same text for a pattern and its mirror images and quarter turns, so that a grid that is
// another one flipped or turned counts as a repeat.
std::string shapeKey(const gridkit::Pattern& pattern);

// True for the rows (or columns) of n that carry the lattice blocks: the odd ones, and for even
// n the odd ones of the first half mirrored onto the second, so the lattice keeps the half-turn
// symmetry (12: 1 3 5 6 8 10).
bool latticeLine(int n, int i);

class Generator {
 public:
  Generator(int rows, int cols, std::uint64_t seed, int maxLongWords = -1, int fullRows = 0);
  // One attempt; an empty pattern (rows 0) when it led nowhere good.
  gridkit::Pattern attempt();

 private:
  int rows_, cols_, maxLong_, fullRows_;
  std::mt19937_64 rng_;
  int below(int n) { return static_cast<int>(rng_() % static_cast<std::uint64_t>(n)); }
  double unit() { return static_cast<double>(rng_() >> 11) / 9007199254740992.0; }
};

// Up to options.count distinct patterns that keep the grid rules and look like newspaper grids;
// shapes already in `avoid` (compared by shapeKey) are skipped.
std::vector<gridkit::Pattern> generate(const Options& options, const std::set<std::string>& avoid);

// Whether a rule-keeping pattern also looks like a pleasant newspaper grid: mostly words of
// 3..9 letters, few 3-letter words, few long ones, no heavy clumps of blocks.
bool looksPleasant(const gridkit::Pattern& pattern, int maxLongWords);

int defaultMaxLongWords(int rows, int cols);

}  // namespace qlx::gridgen
