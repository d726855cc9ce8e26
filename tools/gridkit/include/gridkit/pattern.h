// A grid pattern (which cells are blocks, which take letters) and the parser of the text
// format kept in data/grids/*.txt: '#' a block, '.' a white cell, ';' starts a comment line.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace qlx::gridkit {

// A record stores rows and columns in one byte each.
inline constexpr int kMaxSide = 255;

struct Pattern {
  int rows = 0;
  int cols = 0;
  std::vector<std::uint8_t> cells;  // row by row, 1 = white, 0 = block
  int line = 0;                     // line of the first row in the source text, 0 if none

  int cellCount() const { return rows * cols; }
  bool white(int r, int c) const { return cells[static_cast<std::size_t>(r * cols + c)] != 0; }
  // Same shape; where the pattern came from does not matter.
  bool operator==(const Pattern& other) const {
    return rows == other.rows && cols == other.cols && cells == other.cells;
  }
};

struct ParseError {
  std::string file;
  int line = 0;  // 0 when the error concerns the whole file (unreadable)
  std::string message;
  std::string text() const;  // "file:line: message"
};

struct ParseResult {
  std::vector<Pattern> patterns;
  std::vector<ParseError> errors;
  bool ok() const { return errors.empty(); }
};

// Grids are blocks of consecutive pattern lines separated by blank lines. Comment lines are
// skipped and neither start nor end a grid. Trailing spaces and a CR before the line end are
// ignored. Every rectangular pattern of at most kMaxSide rows and columns parses; whether it
// is a good game grid is for checkGridRules to say.
ParseResult parsePatterns(std::string_view text, const std::string& fileName);
ParseResult readPatternFile(const std::string& path);

// The pattern in the text format, one line per row, each ending in '\n'.
std::string formatPattern(const Pattern& pattern);

}  // namespace qlx::gridkit
