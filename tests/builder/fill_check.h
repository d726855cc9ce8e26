// Test helpers for fills: grids written as text rows, small synthetic dictionaries, and the
// grid tools' fill checker applied to the buffers the library fills.
#pragma once

#include <cstdint>
#include <sstream>
#include <string>
#include <vector>

#include "gridkit/fill_check.h"

namespace zandrel_test {

using Words = qlx::gridkit::WordSet;

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
                             const std::vector<uint8_t>& filled, int cols, const Words& words) {
  qlx::gridkit::Pattern p;
  p.cols = cols;
  p.rows = static_cast<int>(pattern.size()) / cols;
  for (uint8_t b : pattern) p.cells.push_back(b == '?' ? 1 : 0);
  const auto problems =
      qlx::gridkit::fillProblems(p, std::string(filled.begin(), filled.end()), words);
  return problems.empty() ? "" : problems.front();
}

// Every string of each length in lengths over the letters of alphabet, one a line.
inline std::string allStrings(const std::string& alphabet, const std::vector<int>& lengths) {
  std::string text;
  for (int length : lengths) {
    std::vector<size_t> digit(static_cast<size_t>(length), 0);
    for (;;) {
      for (size_t d : digit) text += alphabet[d];
      text += '\n';
      int i = length - 1;
      while (i >= 0 && ++digit[static_cast<size_t>(i)] == alphabet.size())
        digit[static_cast<size_t>(i--)] = 0;
      if (i < 0) break;
    }
  }
  return text;
}

// The lines of text, without their newlines.
inline std::vector<std::string> splitLines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

// The words of dictionary text (the part of each line before a space, '#' lines skipped).
inline Words wordsOf(const std::string& text) {
  Words words;
  for (const std::string& line : splitLines(text))
    if (!line.empty() && line[0] != '#') words.insert(line.substr(0, line.find(' ')));
  return words;
}

}  // namespace zandrel_test
