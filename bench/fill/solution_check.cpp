// Times newPuzzle with its one-solution check. The time added is the whole of making a puzzle
// less its first fill: the counts of solutions, and the fills and counts made again.
#include "solution_check.h"

#include "puzzle/new_puzzle.h"
#include "puzzle/puzzle_source.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

double millisSince(Clock::time_point t0) {
  return std::chrono::duration<double, std::milli>(Clock::now() - t0).count();
}

// Remembers how long the first fill of each puzzle took.
class FirstFillTimer : public qlx::WordFiller {
 public:
  explicit FirstFillTimer(qlx::WordFiller& inner) : inner_(inner) {}
  int32_t makeXWordPuzzle(uint8_t* letters, int32_t cellCount, int32_t cols) override {
    const auto t0 = Clock::now();
    const int32_t result = inner_.makeXWordPuzzle(letters, cellCount, cols);
    if (fills++ == 0) firstMs = millisSince(t0);
    return result;
  }
  std::string lastError() const override { return inner_.lastError(); }
  int fills = 0;
  double firstMs = 0;

 private:
  qlx::WordFiller& inner_;
};

double at(const std::vector<double>& sorted, double q) {
  return sorted[std::min(sorted.size() - 1, std::size_t(q * double(sorted.size() - 1) + 0.5))];
}

}  // namespace

bool benchSolutionCheck(const std::string& folder, int group, int puzzles, uint64_t seed) {
  qlx::PuzzleSource source;
  const auto t0 = Clock::now();
  qlx::Status s = qlx::openPuzzleSource(source, folder, seed);
  const double openMs = millisSince(t0);
  if (s) s = source.fillLibrary->setSeed(seed);
  if (!s) {
    std::fprintf(stderr, "bench-fill: %s\n", s.message().c_str());
    return false;
  }
  FirstFillTimer filler(*source.fillLibrary);
  std::vector<double> added;
  int unique = 0, firstUnique = 0, failures = 0;
  for (int i = 0; i < puzzles; ++i) {
    qlx::Puzzle puzzle;
    qlx::SolutionCheck check{&source.acceptance};
    filler.fills = 0;
    const auto start = Clock::now();
    s = qlx::newPuzzle(puzzle, source.grids, -1, group, filler, source.random, nullptr, &check);
    added.push_back(millisSince(start) - filler.firstMs);
    if (!s) {
      ++failures;
      std::fprintf(stderr, "bench-fill: %s\n", s.message().c_str());
      continue;
    }
    unique += check.solutions == 1;
    firstUnique += check.solutions == 1 && check.fills == 1;
  }
  std::sort(added.begin(), added.end());
  const double median = at(added, 0.5), p99 = at(added, 0.99);
  std::printf(
      "one-solution check, group %d: %d puzzles, acceptance list %zu words (start-up with it "
      "%.1f ms)\n",
      group, puzzles, source.acceptance.size(), openMs);
  std::printf(
      "  first fill had one solution %d of %d (%.2f%%); puzzles made with one solution "
      "%d of %d (%.1f%%); failures %d\n",
      firstUnique, puzzles, 100.0 * firstUnique / puzzles, unique, puzzles,
      100.0 * unique / puzzles, failures);
  std::printf("  time added to a puzzle: median %.3f ms, p99 %.3f ms, worst %.3f ms\n", median, p99,
              added.back());
  bool ok = true;
  auto target = [&](bool met, const char* what) {
    if (!met) std::printf("MISSED: %s\n", what), ok = false;
  };
  target(unique == puzzles, "every puzzle has one solution");
  target(median <= 2.0, "check adds <= 2 ms at the median");
  target(p99 <= 20.0, "check adds <= 20 ms at p99");
  return ok;
}
