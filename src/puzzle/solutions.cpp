// The solution count: the runs of the grid become sequences of numbers; each number holds the set
// of letters still possible, narrowed by the words each run can still be and by every other
// number's fixed letter, then the search tries the letters of the number with the fewest left.
#include "puzzle/solutions.h"

#include <bit>
#include <cstdint>

namespace qlx {
namespace {

using Letters = uint32_t;  // bit k: letter 'a' + k
constexpr Letters kAll = (1u << 26) - 1;

struct Run {
  std::vector<int> nums;                  // the number of each cell, in reading order
  std::vector<const std::string*> words;  // candidates still possible
};

class Search {
 public:
  explicit Search(int limit) : limit_(limit) {}

  // Narrows the sets until nothing changes; false when some number or run has nothing left.
  static bool propagate(std::vector<Letters>& d, std::vector<Run>& runs) {
    for (bool changed = true; changed;) {
      changed = false;
      // A number with one letter takes it from every other number.
      for (std::size_t n = 1; n < d.size(); ++n)
        if (std::popcount(d[n]) == 1)
          for (std::size_t m = 1; m < d.size(); ++m)
            if (m != n && (d[m] & d[n])) d[m] &= ~d[n], changed = true;
      for (Run& run : runs) {
        std::erase_if(run.words, [&](const std::string* w) {
          for (std::size_t i = 0; i < run.nums.size(); ++i) {
            if (!(d[run.nums[i]] >> ((*w)[i] - 'a') & 1)) return true;
            // The same number is the same letter; different numbers differ.
            for (std::size_t j = 0; j < i; ++j)
              if ((run.nums[i] == run.nums[j]) != ((*w)[i] == (*w)[j])) return true;
          }
          return false;
        });
        std::vector<Letters> seen(run.nums.size(), 0);
        for (const std::string* w : run.words)
          for (std::size_t i = 0; i < run.nums.size(); ++i) seen[i] |= 1u << ((*w)[i] - 'a');
        for (std::size_t i = 0; i < run.nums.size(); ++i) {
          Letters& dom = d[run.nums[i]];
          if ((dom & seen[i]) != dom) dom &= seen[i], changed = true;
        }
      }
      for (std::size_t n = 1; n < d.size(); ++n)
        if (d[n] == 0) return false;
    }
    return true;
  }

  void solve(std::vector<Letters> d, std::vector<Run> runs) {
    if (count_ >= limit_ || !propagate(d, runs)) return;
    std::size_t pick = 0;
    for (std::size_t n = 1; n < d.size(); ++n)
      if (std::popcount(d[n]) > 1 && (pick == 0 || std::popcount(d[n]) < std::popcount(d[pick])))
        pick = n;
    if (pick == 0) {  // every number has one letter, all different, every run a word
      ++count_;
      return;
    }
    for (Letters left = d[pick]; left && count_ < limit_; left &= left - 1) {
      std::vector<Letters> tried = d;
      tried[pick] = left & -left;
      solve(std::move(tried), runs);
    }
  }
  int count() const { return count_; }

 private:
  int limit_;
  int count_ = 0;
};

}  // namespace

void WordTable::add(const std::string& word) {
  if (word.size() >= 2 && word.size() < byLength_.size()) byLength_[word.size()].push_back(word);
}

const std::vector<std::string>& WordTable::ofLength(std::size_t length) const {
  static const std::vector<std::string> kNone;
  return length < byLength_.size() ? byLength_[length] : kNone;
}

int countSolutions(const Puzzle& p, const WordTable& words, int limit) {
  const int rows = p.gridRows, cols = p.gridCols;
  auto numberAt = [&](int r, int c) {
    const int i = r * cols + c + 1;
    return p.gridShape(i) == 1 ? int(p.letterToNum(p.gridLetters(i) - 96)) : 0;
  };
  std::vector<Run> runs;
  for (const bool across : {true, false})
    for (int line = 0; line < (across ? rows : cols); ++line) {
      Run run;
      for (int k = 0; k <= (across ? cols : rows); ++k) {
        const int n =
            k < (across ? cols : rows) ? (across ? numberAt(line, k) : numberAt(k, line)) : 0;
        if (n != 0) {
          run.nums.push_back(n);
          continue;
        }
        if (run.nums.size() >= 2) {
          for (const std::string& w : words.ofLength(run.nums.size())) run.words.push_back(&w);
          runs.push_back(std::move(run));
        }
        run = Run{};
      }
    }
  std::vector<Letters> domains(std::size_t(p.letterCount) + 1, kAll);
  domains[0] = 1;  // number 0 is no number
  for (int n = 1; n <= p.letterCount; ++n)
    if (p.givenNums(n) == 1) domains[std::size_t(n)] = 1u << (p.numToLetter(n) - 1);
  Search search(limit);
  search.solve(std::move(domains), std::move(runs));
  return search.count();
}

}  // namespace qlx
