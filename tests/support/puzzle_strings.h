// Small hand-made puzzles written as strings, for the tests of the puzzle, the game and the
// stored board.
#pragma once

#include <initializer_list>
#include <string>
#include <string_view>

#include "puzzle/model.h"

namespace qlx::testing {

// The grid alone: one string per row, the fill's letters 'a'..'z' and '-' for a block.
inline Puzzle gridFromRows(std::initializer_list<std::string_view> rows) {
  Puzzle p;
  p.gridRows = static_cast<uint8_t>(rows.size());
  p.gridCols = static_cast<uint8_t>(rows.begin()->size());
  p.cellCount = static_cast<int16_t>(p.gridRows * p.gridCols);
  p.gridShape.redim(static_cast<std::size_t>(p.cellCount));
  p.gridLetters.redim(static_cast<std::size_t>(p.cellCount));
  int i = 0;
  for (std::string_view row : rows) {
    for (char c : row) {
      ++i;
      p.gridShape(i) = c == '-' ? 0 : 1;
      p.gridLetters(i) = static_cast<uint8_t>(c);
    }
  }
  return p;
}

// A puzzle ready to play: order lists the fill's letters in number order (order[0] is number 1),
// the ranking puts them first in that order, and the given numbers carry their letters.
inline Puzzle puzzleFromRows(std::initializer_list<std::string_view> rows, std::string_view order,
                             std::initializer_list<int> given = {}) {
  Puzzle p = gridFromRows(rows);
  p.letterCount = static_cast<uint8_t>(order.size());
  p.letterToNum.redim(26);
  p.numToLetter.redim(order.size());
  p.givenNums.redim(order.size());
  p.entries.redim(order.size());
  p.lettersByFreq.redim(26);
  std::string ranking(order);
  for (char c = 'a'; c <= 'z'; ++c)
    if (ranking.find(c) == std::string::npos) ranking += c;
  for (int r = 1; r <= 26; ++r) p.lettersByFreq(r) = static_cast<uint8_t>(ranking[r - 1] - 96);
  for (int n = 1; n <= p.letterCount; ++n) {
    const int letter = order[static_cast<std::size_t>(n - 1)] - 96;
    p.numToLetter(n) = static_cast<uint8_t>(letter);
    p.letterToNum(letter) = static_cast<uint8_t>(n);
  }
  for (int n : given) {
    p.givenNums(n) = 1;
    p.entries(n) = static_cast<uint8_t>(p.numToLetter(n) + 'A' - 1);
  }
  return p;
}

}  // namespace qlx::testing
