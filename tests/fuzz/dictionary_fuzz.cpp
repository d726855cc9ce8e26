// Fuzzes the fill library's dictionary loader through its C interface, then fills a few small
// grids with what it loaded: every run of a fill must be a distinct word of the dictionary. The
// same text read as an acceptance list must count every fill, coded, as solvable.
#include <set>
#include <string>
#include <vector>

#include "fuzz_support.h"
#include "puzzle/solutions.h"
#include "zandrel.h"

namespace {

// The words a dictionary text can give the library: the part of a line (without its CR) before a
// space, a-z only, 2 to 15 letters. (The library may skip some of them for a bad level; never
// more.)
std::set<std::string> possibleWords(const std::string& text) {
  std::set<std::string> words;
  std::size_t pos = 0;
  while (pos <= text.size()) {
    std::size_t end = text.find('\n', pos);
    if (end == std::string::npos) end = text.size();
    std::string line = text.substr(pos, end - pos);
    if (!line.empty() && line.back() == '\r') line.pop_back();  // a CRLF line ends as an LF one
    const std::string word = line.substr(0, line.find(' '));
    if (word.size() >= 2 && word.size() <= 15 &&
        word.find_first_not_of("abcdefghijklmnopqrstuvwxyz") == std::string::npos)
      words.insert(word);
    pos = end + 1;
  }
  return words;
}

// The runs of two or more white cells of a filled grid, across then down.
std::vector<std::string> runs(const std::string& grid, int cols) {
  const int rows = static_cast<int>(grid.size()) / cols;
  std::vector<std::string> out;
  auto scan = [&](int lines, int length, auto cellAt) {
    for (int line = 0; line < lines; ++line) {
      std::string run;
      for (int i = 0; i <= length; ++i) {
        const char c = i < length ? grid[static_cast<std::size_t>(cellAt(line, i))] : '-';
        if (c != '-') {
          run += c;
        } else {
          if (run.size() >= 2) out.push_back(run);
          run.clear();
        }
      }
    }
  };
  scan(rows, cols, [&](int r, int c) { return r * cols + c; });
  scan(cols, rows, [&](int c, int r) { return r * cols + c; });
  return out;
}

struct Grid {
  const char* cells;  // '.' white, '#' block, as in the grid patterns
  int cols;
};
constexpr Grid kGrids[] = {{"...", 3}, {".........", 3}, {"......#.#.......#.#......", 5}};

// A filled grid coded letter by letter (a number per letter present, in alphabetical order), with
// nothing given.
qlx::Puzzle codedAsIs(const std::string& letters, int cols) {
  qlx::Puzzle p;
  p.gridCols = uint8_t(cols);
  p.gridRows = uint8_t(int(letters.size()) / cols);
  p.cellCount = int16_t(letters.size());
  p.gridShape.redim(letters.size());
  p.gridLetters.redim(letters.size());
  std::set<char> present;
  for (std::size_t i = 0; i < letters.size(); ++i) {
    p.gridShape(int(i) + 1) = letters[i] != '-';
    p.gridLetters(int(i) + 1) = uint8_t(letters[i]);
    if (letters[i] != '-') present.insert(letters[i]);
  }
  p.letterCount = uint8_t(present.size());
  p.letterToNum.redim(26);
  p.numToLetter.redim(present.size());
  p.givenNums.redim(present.size());
  int n = 0;
  for (const char c : present) {
    p.letterToNum(c - 'a' + 1) = uint8_t(++n);
    p.numToLetter(n) = uint8_t(c - 'a' + 1);
  }
  return p;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string path = qlx::fuzz::writeScratch("XWORD.DICT", data, size);
  zandrelSetTimeLimit(50);
  zandrelSetSeed(1);
  qlx::WordTable table;
  const bool tableRead = qlx::readWordTable(path, &table).ok();
  if (loadLangDict(path.data()) != ZANDREL_OK) return 0;
  if (!tableRead) qlx::fuzz::fail("a list the library loads is refused as an acceptance list");
  const std::set<std::string> words =
      possibleWords(std::string(reinterpret_cast<const char*>(data), size));
  for (const Grid& grid : kGrids) {
    std::string letters = grid.cells;
    for (char& c : letters) c = c == '.' ? '?' : '-';
    const auto count = static_cast<int32_t>(letters.size());
    if (makeXWordPuzzle(reinterpret_cast<uint8_t*>(letters.data()), count, grid.cols) != ZANDREL_OK)
      continue;
    std::set<std::string> seen;
    for (std::size_t i = 0; i < letters.size(); ++i)
      if ((grid.cells[i] == '#') != (letters[i] == '-') ||
          (letters[i] != '-' && (letters[i] < 'a' || letters[i] > 'z')))
        qlx::fuzz::fail("a fill that changed a block or left a white cell without a letter");
    for (const std::string& run : runs(letters, grid.cols)) {
      if (!words.count(run)) qlx::fuzz::fail("a fill with a word not in the dictionary: " + run);
      if (!seen.insert(run).second) qlx::fuzz::fail("a fill with a word twice: " + run);
    }
    if (qlx::countSolutions(codedAsIs(letters, grid.cols), table) < 1)
      qlx::fuzz::fail("a fill the acceptance list does not count as a solution: " + letters);
  }
  return 0;
}
