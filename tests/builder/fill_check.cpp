// Fill checks and synthetic dictionaries shared by the engine and library tests.
#include "fill_check.h"

#include <sstream>

namespace zandrel_test {

std::vector<uint8_t> gridBytes(const std::vector<std::string> &rows) {
  std::vector<uint8_t> bytes;
  for (const std::string &row : rows)
    for (char c : row) bytes.push_back(c == '.' ? '?' : '-');
  return bytes;
}

std::string fillFault(const std::vector<uint8_t> &pattern, const std::vector<uint8_t> &filled, int cols,
                      const std::set<std::string> &words) {
  if (pattern.size() != filled.size()) return "the buffer changed size";
  const int rows = static_cast<int>(pattern.size()) / cols;
  for (size_t i = 0; i < pattern.size(); ++i) {
    if (pattern[i] == '-' && filled[i] != '-') return "block " + std::to_string(i) + " was written";
    if (pattern[i] == '?' && (filled[i] < 'a' || filled[i] > 'z')) return "cell " + std::to_string(i) + " has no letter";
  }
  std::set<std::string> seen;
  for (int across = 0; across < 2; ++across) {
    const int lines = across ? rows : cols, along = across ? cols : rows;
    for (int line = 0; line < lines; ++line) {
      std::string run;
      for (int k = 0; k <= along; ++k) {
        const size_t cell = across ? static_cast<size_t>(line * cols + k) : static_cast<size_t>(k * cols + line);
        if (k < along && pattern[cell] == '?') {
          run += static_cast<char>(filled[cell]);
          continue;
        }
        if (run.size() >= 2) {
          if (!words.count(run)) return "\"" + run + "\" is not a word";
          if (!seen.insert(run).second) return "\"" + run + "\" appears twice";
        }
        run.clear();
      }
    }
  }
  return "";
}

std::string allStrings(const std::string &alphabet, const std::vector<int> &lengths) {
  std::string text;
  for (int length : lengths) {
    std::vector<size_t> digit(static_cast<size_t>(length), 0);
    for (;;) {
      for (size_t d : digit) text += alphabet[d];
      text += '\n';
      int i = length - 1;
      while (i >= 0 && ++digit[static_cast<size_t>(i)] == alphabet.size()) digit[static_cast<size_t>(i--)] = 0;
      if (i < 0) break;
    }
  }
  return text;
}

std::vector<std::string> splitLines(const std::string &text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  std::string line;
  while (std::getline(in, line)) lines.push_back(line);
  return lines;
}

std::set<std::string> wordsOf(const std::string &text) {
  std::set<std::string> words;
  std::istringstream in(text);
  std::string line;
  while (std::getline(in, line))
    if (!line.empty() && line[0] != '#') words.insert(line.substr(0, line.find(' ')));
  return words;
}

} // namespace zandrel_test
