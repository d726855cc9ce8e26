// Parser and printer of the grid pattern text format.
#include "gridkit/pattern.h"

#include <fstream>
#include <sstream>

namespace qlx::gridkit {

std::string ParseError::text() const {
  return line > 0 ? file + ":" + std::to_string(line) + ": " + message : file + ": " + message;
}

namespace {

std::string_view trimLineEnd(std::string_view line) {
  while (!line.empty() && (line.back() == '\r' || line.back() == ' ' || line.back() == '\t'))
    line.remove_suffix(1);
  return line;
}

std::string describeChar(char ch) {
  const auto byte = static_cast<unsigned char>(ch);
  if (byte >= 0x21 && byte < 0x7f) return std::string("'") + ch + "'";
  std::ostringstream out;
  out << "byte 0x" << std::hex << static_cast<int>(byte);
  return out.str();
}

// Collects the rows of the grid being read; a bad row spoils the grid but parsing goes on,
// so one run reports every error of the file.
struct GridBuilder {
  Pattern pattern;
  bool spoiled = false;
  bool open() const { return pattern.rows > 0 || spoiled; }
};

}  // namespace

ParseResult parsePatterns(std::string_view text, const std::string& fileName) {
  ParseResult result;
  GridBuilder grid;
  auto error = [&](int line, std::string message) {
    result.errors.push_back({fileName, line, std::move(message)});
  };
  auto finish = [&] {
    if (grid.pattern.rows > 0 && !grid.spoiled) result.patterns.push_back(std::move(grid.pattern));
    grid = GridBuilder{};
  };

  int lineNo = 0;
  std::size_t pos = 0;
  while (pos < text.size()) {
    std::size_t end = text.find('\n', pos);
    if (end == std::string_view::npos) end = text.size();
    const std::string_view line = trimLineEnd(text.substr(pos, end - pos));
    pos = end + 1;
    ++lineNo;

    if (!line.empty() && line.front() == ';') continue;
    if (line.empty()) {
      finish();
      continue;
    }
    Pattern& p = grid.pattern;
    if (!grid.open()) p.line = lineNo;

    bool rowOk = true;
    for (std::size_t i = 0; i < line.size(); ++i) {
      if (line[i] != '#' && line[i] != '.') {
        error(lineNo, "unexpected " + describeChar(line[i]) + " in column " +
                          std::to_string(i + 1) +
                          " (a grid row holds only '#' for a block and '.' for a white cell)");
        rowOk = false;
        break;
      }
    }
    if (rowOk && line.size() > static_cast<std::size_t>(kMaxSide)) {
      error(lineNo, "row of " + std::to_string(line.size()) + " cells (at most " +
                        std::to_string(kMaxSide) + ")");
      rowOk = false;
    }
    if (rowOk && p.rows > 0 && static_cast<int>(line.size()) != p.cols) {
      error(lineNo, "row of " + std::to_string(line.size()) + " cells in a grid whose rows have " +
                        std::to_string(p.cols) + " (grid starting on line " +
                        std::to_string(p.line) + "); all rows of a grid must be as long");
      rowOk = false;
    }
    if (rowOk && p.rows == kMaxSide) {
      error(lineNo, "grid starting on line " + std::to_string(p.line) + " has more than " +
                        std::to_string(kMaxSide) + " rows");
      rowOk = false;
    }
    if (!rowOk) {
      grid.spoiled = true;
      continue;
    }
    if (grid.spoiled) continue;
    if (p.rows == 0) p.cols = static_cast<int>(line.size());
    for (char ch : line) p.cells.push_back(ch == '.' ? 1 : 0);
    ++p.rows;
  }
  finish();
  return result;
}

ParseResult readPatternFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) {
    ParseResult result;
    result.errors.push_back({path, 0, "cannot open the file for reading"});
    return result;
  }
  std::ostringstream contents;
  contents << in.rdbuf();
  if (in.bad()) {
    ParseResult result;
    result.errors.push_back({path, 0, "read error"});
    return result;
  }
  return parsePatterns(contents.str(), path);
}

std::string formatPattern(const Pattern& pattern) {
  std::string out;
  out.reserve(static_cast<std::size_t>(pattern.rows * (pattern.cols + 1)));
  for (int r = 0; r < pattern.rows; ++r) {
    for (int c = 0; c < pattern.cols; ++c) out += pattern.white(r, c) ? '.' : '#';
    out += '\n';
  }
  return out;
}

}  // namespace qlx::gridkit
