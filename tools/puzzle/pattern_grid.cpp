// A user's grid pattern becomes the grid part of a puzzle, with the limits the game's grids obey.
#include "tools/puzzle/pattern_grid.h"

#include "gridkit/pattern.h"

namespace qlx {

Status loadPatternGrid(const std::string& path, Puzzle& puzzle) {
  const gridkit::ParseResult parsed = gridkit::readPatternFile(path);
  if (!parsed.ok()) return Status::Damaged(parsed.errors.front().text());
  if (parsed.patterns.size() != 1)
    return Status::Damaged(path + ": expected exactly one grid pattern, found " +
                           std::to_string(parsed.patterns.size()));
  const gridkit::Pattern& pattern = parsed.patterns.front();
  if (pattern.cellCount() < 1 || pattern.cellCount() >= 256)
    return Status::Damaged(path + ": the grid has " + std::to_string(pattern.rows) + " x " +
                           std::to_string(pattern.cols) + " cells; a grid needs 1 to 255 cells");
  bool anyWhite = false;
  for (uint8_t c : pattern.cells) anyWhite |= c != 0;
  if (!anyWhite) return Status::Damaged(path + ": the grid has no white cells to fill");

  puzzle.gridRows = static_cast<uint8_t>(pattern.rows);
  puzzle.gridCols = static_cast<uint8_t>(pattern.cols);
  puzzle.cellCount = static_cast<int16_t>(pattern.cellCount());
  puzzle.gridShape.redim(static_cast<std::size_t>(puzzle.cellCount));
  for (int i = 1; i <= puzzle.cellCount; ++i)
    puzzle.gridShape(i) = pattern.cells[static_cast<std::size_t>(i - 1)];
  return Status::Ok();
}

}  // namespace qlx
