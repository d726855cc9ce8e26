// Fuzzes the grid file reader: the index, the grids it names, and the first grid that loads made
// into a puzzle as New Game makes one (real fill library, letter coding), kept through a snapshot.
#include "fuzz_support.h"
#include "puzzle/gridfile.h"
#include "puzzle/new_puzzle.h"

using namespace qlx;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  GridIndex index;
  index.gridFilePath = fuzz::writeScratch("GRIDFILE.GFDB", data, size);
  if (!loadGridIndex(index)) return 0;

  int32_t firstGroup = 0, firstNum = 0;
  int tried = 0;
  for (int32_t g = 1; g <= index.groupCount && tried < 32; ++g) {
    for (int32_t n = 0; n <= index.gridIndex(g).count + 1 && tried < 32; ++n, ++tried) {
      Puzzle p;
      if (!loadGrid(index, n, g, p)) continue;
      if (p.cellCount != p.gridRows * p.gridCols ||
          p.gridShape.size() != static_cast<std::size_t>(p.cellCount))
        fuzz::fail("a loaded grid whose sizes disagree");
      if (firstGroup == 0) {
        firstGroup = g;
        firstNum = n;
      }
    }
  }
  if (firstGroup == 0) return 0;

  Puzzle puzzle;
  Random random(1);
  if (newPuzzle(puzzle, index, firstNum, firstGroup, fuzz::gameFiller(), random))
    fuzz::checkSnapshotRoundTrip(puzzle);
  return 0;
}
