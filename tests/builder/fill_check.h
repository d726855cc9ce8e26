// Test helpers for fills: the words of a filled grid checked against a word set, small
// synthetic dictionaries, and grids written as text rows.
#pragma once

#include <cstdint>
#include <set>
#include <string>
#include <vector>

namespace zandrel_test {

// Rows of '.' (white) and '#' (block), as in the grid pattern files, turned into the buffer
// makeXWordPuzzle takes ('?' white, '-' block).
std::vector<uint8_t> gridBytes(const std::vector<std::string> &rows);

// Empty when the fill of pattern (same layout, '?' for white) is sound: blocks untouched,
// every white cell a-z, every run of 2+ cells a word of words, no word twice. Otherwise
// the first fault found.
std::string fillFault(const std::vector<uint8_t> &pattern, const std::vector<uint8_t> &filled, int cols,
                      const std::set<std::string> &words);

// Every string of each length in lengths over the letters of alphabet, one a line.
std::string allStrings(const std::string &alphabet, const std::vector<int> &lengths);

// The lines of text, without their newlines.
std::vector<std::string> splitLines(const std::string &text);

// The words of dictionary text (the part of each line before a space, '#' lines skipped).
std::set<std::string> wordsOf(const std::string &text);

} // namespace zandrel_test
