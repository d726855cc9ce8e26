// The solution count. The runs of the grid become sequences of numbers, each reading as a word of
// the group with its repeat pattern. Each number holds the set of letters still possible; each run
// a bitset of the words still possible. Taking letters from a number strikes the words holding
// them at its positions, and the letters no word left holds there are taken from the number, until
// nothing changes; then the search tries the letters of the number with the fewest left.
#include "puzzle/solutions.h"

#include <bit>
#include <cstdint>

namespace qlx {
namespace {

using Letters = uint32_t;  // bit k: letter 'a' + k
constexpr Letters kAll = (1u << 26) - 1;

struct Run {
  const WordGroup* group;
  std::vector<int> nums;       // the number of each cell, in reading order
  std::vector<int> positions;  // the first position of each distinct number
  std::size_t offset;          // of the run's bitset in State::alive
  std::size_t applied;         // of its positions' letter sets in State::applied
};

// What a branch of the search changes, copied whole at each branch (a few kilobytes).
struct State {
  std::vector<Letters> domain;   // per number (0 unused)
  std::vector<Letters> applied;  // per run position: the letters its bitset was last cut to
  std::vector<uint64_t> alive;   // per run: the words it may still read as
};

class Search {
 public:
  Search(std::vector<Run> runs, int numbers, int limit)
      : runs_(std::move(runs)), runsOf_(std::size_t(numbers) + 1), limit_(limit) {
    for (std::size_t r = 0; r < runs_.size(); ++r)
      for (const int n : runs_[r].nums)
        if (runsOf_[std::size_t(n)].empty() || runsOf_[std::size_t(n)].back() != int(r))
          runsOf_[std::size_t(n)].push_back(int(r));
    queued_.assign(runs_.size(), false);
  }

  void solve(State& s) {
    if (count_ >= limit_ || !propagate(s)) return;
    std::size_t pick = 0;
    for (std::size_t n = 1; n < s.domain.size(); ++n)
      if (std::popcount(s.domain[n]) > 1 &&
          (pick == 0 || std::popcount(s.domain[n]) < std::popcount(s.domain[pick])))
        pick = n;
    if (pick == 0) {  // every number has one letter, all different, every run a word
      ++count_;
      return;
    }
    for (Letters left = s.domain[pick]; left && count_ < limit_; left &= left - 1) {
      State tried = s;
      narrow(tried, pick, left & -left);
      solve(tried);
    }
  }
  int count() const { return count_; }

  // Every run to be cut at the start.
  void queueAll() {
    for (std::size_t r = 0; r < runs_.size(); ++r) queue(int(r));
  }

 private:
  void queue(int r) {
    if (!queued_[std::size_t(r)]) queued_[std::size_t(r)] = true, pending_.push_back(r);
  }

  // Cuts number n to letters; a number left with one letter takes it from every other.
  void narrow(State& s, std::size_t n, Letters letters) {
    if ((s.domain[n] & letters) == s.domain[n]) return;
    s.domain[n] &= letters;
    for (const int r : runsOf_[n]) queue(r);
    if (std::popcount(s.domain[n]) == 1)
      for (std::size_t m = 1; m < s.domain.size(); ++m)
        if (m != n && (s.domain[m] & s.domain[n])) narrow(s, m, ~s.domain[n]);
  }

  bool propagate(State& s) {
    bool alive = true;
    while (!pending_.empty()) {
      const int r = pending_.back();
      pending_.pop_back();
      queued_[std::size_t(r)] = false;
      if (alive && !cut(s, runs_[std::size_t(r)])) alive = false;
    }
    for (std::size_t n = 1; alive && n < s.domain.size(); ++n) alive = s.domain[n] != 0;
    return alive;
  }

  // Strikes the run's words that no longer fit its numbers' letters, then takes from each number
  // the letters no remaining word holds at its position. False when no word is left.
  bool cut(State& s, const Run& run) {
    const WordGroup& g = *run.group;
    uint64_t* alive = s.alive.data() + run.offset;
    for (std::size_t k = 0; k < run.positions.size(); ++k) {
      const int pos = run.positions[k];
      Letters& was = s.applied[run.applied + k];
      const Letters now = s.domain[std::size_t(run.nums[std::size_t(pos)])];
      for (Letters gone = was & ~now; gone; gone &= gone - 1) {
        const uint64_t* holding = g.holding(pos, std::countr_zero(gone));
        for (int b = 0; b < g.blocks; ++b) alive[b] &= ~holding[b];
      }
      was = now;
    }
    int left = 0;
    for (int b = 0; b < g.blocks; ++b) left += std::popcount(alive[b]);
    if (left == 0) return false;
    for (std::size_t k = 0; k < run.positions.size(); ++k) {
      const int pos = run.positions[k];
      const std::size_t n = std::size_t(run.nums[std::size_t(pos)]);
      Letters seen = 0;
      if (left <= 2 * g.blocks) {  // few words: read them
        for (int b = 0; b < g.blocks; ++b)
          for (uint64_t m = alive[b]; m; m &= m - 1) {
            const int w = b * 64 + std::countr_zero(m);
            seen |= 1u << g.letters[std::size_t(w * g.length + pos)];
          }
      } else {
        for (Letters l = s.domain[n]; l; l &= l - 1) {
          const int letter = std::countr_zero(l);
          const uint64_t* holding = g.holding(pos, letter);
          for (int b = 0; b < g.blocks; ++b)
            if (alive[b] & holding[b]) {
              seen |= 1u << letter;
              break;
            }
        }
      }
      narrow(s, n, seen);
    }
    return true;
  }

  std::vector<Run> runs_;
  std::vector<std::vector<int>> runsOf_;  // per number: the runs it is in
  std::vector<bool> queued_;
  std::vector<int> pending_;
  int limit_;
  int count_ = 0;
};

}  // namespace

int countSolutions(const Puzzle& p, const WordTable& words, int limit) {
  const int rows = p.gridRows, cols = p.gridCols;
  auto numberAt = [&](int r, int c) {
    const int i = r * cols + c + 1;
    return p.gridShape(i) == 1 ? int(p.letterToNum(p.gridLetters(i) - 96)) : 0;
  };
  std::vector<Run> runs;
  std::size_t blocks = 0, positions = 0;
  for (const bool across : {true, false})
    for (int line = 0; line < (across ? rows : cols); ++line) {
      std::vector<int> nums;
      for (int k = 0; k <= (across ? cols : rows); ++k) {
        const int n =
            k < (across ? cols : rows) ? (across ? numberAt(line, k) : numberAt(k, line)) : 0;
        if (n != 0) {
          nums.push_back(n);
          continue;
        }
        if (nums.size() >= 2) {
          const std::string pattern = repeatPattern(nums);
          const WordGroup* group = words.group(pattern);
          if (group == nullptr) return 0;  // no word can be read there
          Run run{group, nums, {}, blocks, positions};
          for (std::size_t i = 0; i < pattern.size(); ++i)
            if (std::size_t(pattern[i]) == i) run.positions.push_back(int(i));
          positions += run.positions.size();
          blocks += std::size_t(group->blocks);
          runs.push_back(std::move(run));
        }
        nums.clear();
      }
    }
  State state;
  state.domain.assign(std::size_t(p.letterCount) + 1, kAll);
  state.domain[0] = 0;
  state.applied.assign(positions, kAll);
  state.alive.assign(blocks, ~uint64_t{0});
  for (const Run& run : runs)  // the bits past a group's last word stand for no word
    if (const int tail = run.group->count % 64)
      state.alive[run.offset + std::size_t(run.group->blocks) - 1] = (uint64_t{1} << tail) - 1;

  Search search(std::move(runs), p.letterCount, limit);
  search.queueAll();
  for (int n = 1; n <= p.letterCount; ++n)
    if (p.givenNums(n) == 1) {
      // A given letter is fixed; no other number may take it.
      const Letters given = 1u << (p.numToLetter(n) - 1);
      state.domain[std::size_t(n)] = given;
      for (int m = 1; m <= p.letterCount; ++m)
        if (m != n) state.domain[std::size_t(m)] &= ~given;
    }
  search.solve(state);
  return search.count();
}

}  // namespace qlx
