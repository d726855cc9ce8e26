// Test helpers for fills: grids written as text rows, small synthetic dictionaries, and the
// grid tools' fill checker applied to the buffers the library fills.
#pragma once

#include <cstdint>
#include <sstream>
#include <string>
#include <vector>

#include "gridkit/fill_check.h"

namespace zandrel_test {

// Rows of '.' (white) and '#' (block), as in the grid pattern files, turned into the buffer
// makeXWordPuzzle takes ('?' white, '-' block).
inline std::vector<uint8_t> gridBytes(const std::vector<std::string>& rows) {
  std::vector<uint8_t> bytes;
  for (const std::string& row : rows)
    for (char c : row) bytes.push_back(c == '.' ? '?' : '-');
  return bytes;
}

// Empty when filled is a sound fill of pattern (both buffers as above); else the first problem.
inline std::string fillFault(const std::vector<uint8_t>& pattern,
                             const std::vector<uint8_t>& filled, int cols,
                             const qlx::gridkit::WordSet& words) {
  qlx::gridkit::Pattern p;
  p.cols = cols;
  p.rows = static_cast<int>(pattern.size()) / cols;
  for (uint8_t b : pattern) p.cells.push_back(b == '?' ? 1 : 0);
  const auto problems =
      qlx::gridkit::fillProblems(p, std::string(filled.begin(), filled.end()), words);
  return problems.empty() ? "" : problems.front();
}

// Every string of each length in lengths over the letters of alphabet, in order.
inline std::vector<std::string> allWords(const std::string& alphabet,
                                         const std::vector<int>& lengths) {
  std::vector<std::string> all;
  for (int length : lengths) {
    std::vector<std::string> words{""};
    for (int i = 0; i < length; ++i) {
      std::vector<std::string> longer;
      for (const std::string& w : words)
        for (char c : alphabet) longer.push_back(w + c);
      words.swap(longer);
    }
    all.insert(all.end(), words.begin(), words.end());
  }
  return all;
}

// The same as dictionary text, one word a line.
inline std::string allStrings(const std::string& alphabet, const std::vector<int>& lengths) {
  std::string text;
  for (const std::string& w : allWords(alphabet, lengths)) text += w + "\n";
  return text;
}

}  // namespace zandrel_test
