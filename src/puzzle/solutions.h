// Counting the solutions of a coded grid: the ways to give every number its own letter so that
// every run of two or more white cells reads as a word of a dictionary, the given numbers keeping
// their letters. A codeword is fair only when the count is exactly one.
#pragma once

#include <string>
#include <vector>

#include "puzzle/model.h"

namespace qlx {

// The words a solution may use, by length (2 to 15 letters, 'a'..'z').
class WordTable {
 public:
  void add(const std::string& word);
  const std::vector<std::string>& ofLength(std::size_t length) const;

 private:
  std::vector<std::vector<std::string>> byLength_ = std::vector<std::vector<std::string>>(16);
};

// The solutions of p's coded grid under words, counted up to limit (the search stops there): a
// constraint search over numbers, one letter set per number and one candidate list per coded run,
// every number a different letter.
int countSolutions(const Puzzle& p, const WordTable& words, int limit = 2);

}  // namespace qlx
