// Fuzzes the grid pattern reader of quillorix-puzzle --grid, and fills a pattern it accepts as the
// tool does (real fill library, letter coding).
#include "fuzz_support.h"
#include "puzzle/coding.h"
#include "puzzle/new_puzzle.h"
#include "tools/puzzle/pattern_grid.h"

using namespace qlx;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  Puzzle puzzle;
  const std::string path = fuzz::writeScratch("pattern.txt", data, size);
  if (!loadPatternGrid(path, puzzle)) return 0;
  if (puzzle.cellCount < 1 || puzzle.cellCount > 255 ||
      puzzle.cellCount != puzzle.gridRows * puzzle.gridCols)
    fuzz::fail("an accepted pattern with impossible sizes");
  Random random(1);
  if (fillGrid(puzzle, fuzz::gameFiller(), path)) (void)assignNumbers(puzzle, random);
  return 0;
}
