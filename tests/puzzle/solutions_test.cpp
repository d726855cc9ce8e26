// The solution count against brute force on small grids: every injective letter code of the
// numbers tried, counting those under which every run reads as a word.
#include <gtest/gtest.h>

#include <algorithm>
#include <set>

#include "puzzle/solutions.h"
#include "puzzle_strings.h"

namespace qlx {
namespace {

// The runs of two or more white cells, across then down, as cell indices.
std::vector<std::vector<int>> runsOf(const Puzzle& p) {
  std::vector<std::vector<int>> runs, lines;
  for (int r = 0; r < p.gridRows; ++r) {
    lines.emplace_back();
    for (int c = 0; c < p.gridCols; ++c) lines.back().push_back(r * p.gridCols + c + 1);
  }
  for (int c = 0; c < p.gridCols; ++c) {
    lines.emplace_back();
    for (int r = 0; r < p.gridRows; ++r) lines.back().push_back(r * p.gridCols + c + 1);
  }
  for (const auto& line : lines) {
    std::vector<int> run;
    for (std::size_t k = 0; k <= line.size(); ++k) {
      if (k < line.size() && p.gridShape(line[k]) == 1) {
        run.push_back(line[k]);
        continue;
      }
      if (run.size() >= 2) runs.push_back(run);
      run.clear();
    }
  }
  return runs;
}

int bruteForce(const Puzzle& p, const std::vector<std::string>& words) {
  std::string letters;  // every solution uses only letters of the words
  for (const std::string& w : words) letters += w;
  std::sort(letters.begin(), letters.end());
  letters.erase(std::unique(letters.begin(), letters.end()), letters.end());
  const std::set<std::string> dictionary(words.begin(), words.end());
  const auto runs = runsOf(p);
  std::vector<char> code(std::size_t(p.letterCount) + 1);
  int count = 0;
  auto tryNumber = [&](auto&& self, int n) -> void {
    if (n > p.letterCount) {
      for (const auto& run : runs) {
        std::string word;
        for (int cell : run) word += code[p.letterToNum(p.gridLetters(cell) - 96)];
        if (!dictionary.contains(word)) return;
      }
      ++count;
      return;
    }
    for (char c : letters) {
      if (p.givenNums(n) == 1 && c != 'a' + p.numToLetter(n) - 1) continue;
      if (std::find(code.begin() + 1, code.begin() + n, c) != code.begin() + n) continue;
      code[std::size_t(n)] = c;
      self(self, n + 1);
    }
  };
  tryNumber(tryNumber, 1);
  return count;
}

TEST(Solutions, CountsAgreeWithBruteForceIncludingSwapsAndLoneUncheckedLetters) {
  struct Case {
    Puzzle p;
    std::vector<std::string> words;
    int solutions;
  };
  const Case cases[] = {
      // v and w swap: w stands nowhere else, so "wat" reads as well as "vat".
      {testing::puzzleFromRows({"vat"}, "vat"), {"vat", "wat", "tat"}, 2},
      {testing::puzzleFromRows({"vat"}, "vat", {1}), {"vat", "wat"}, 1},
      // n and t sit in unchecked cells: n, s and t may stand for either, in six ways.
      {testing::puzzleFromRows({"van", "a--", "t--"}, "vant"), {"van", "vas", "vat", "ant"}, 6},
      {testing::puzzleFromRows({"cab", "a-t", "bet"}, "abcet", {3}),
       {"cab", "bet", "btt", "cat", "act", "bat", "tab", "bee", "ebb", "tat"},
       1},
      {testing::puzzleFromRows({"ox", "xo"}, "ox"), {"ox", "xo", "oo", "ax", "xa"}, 4},
  };
  for (const Case& c : cases) {
    WordTable table;
    for (const std::string& w : c.words) table.add(w);
    ASSERT_EQ(bruteForce(c.p, c.words), c.solutions) << c.words.front();
    EXPECT_EQ(countSolutions(c.p, table, 100), c.solutions) << c.words.front();
    EXPECT_EQ(countSolutions(c.p, table), std::min(c.solutions, 2)) << "the search stops at two";
  }
}

}  // namespace
}  // namespace qlx
