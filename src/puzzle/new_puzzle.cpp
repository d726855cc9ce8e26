// newPuzzle: grid, fill and coding, built into a fresh model and swapped in only when complete.
#include "puzzle/new_puzzle.h"

#include <algorithm>
#include <string>

#include "core/numeric.h"
#include "core/random.h"
#include "puzzle/coding.h"
#include "puzzle/gridfile.h"
#include "puzzle/solutions.h"

namespace qlx {

Status drawPuzzleNumber(const GridIndex& index, int32_t group, Random& random, int32_t* puzzleNum) {
  if (group < 1 || group > index.groupCount)
    return Status::NotFound(index.gridFilePath + ": there is no grid group " +
                            std::to_string(group));
  const int32_t count = index.gridIndex(group).count;
  if (count < 1)
    return Status::NotFound(index.gridFilePath + ": grid group " + std::to_string(group) +
                            " holds no grids");
  *puzzleNum = static_cast<int32_t>(roundHalfEven(random.next() * 32000) % count) + 1;
  return Status::Ok();
}

Status fillGrid(Puzzle& p, WordFiller& filler, const std::string& gridName) {
  p.gridLetters.redim(static_cast<std::size_t>(p.cellCount));
  for (int i = 1; i <= p.cellCount; ++i) p.gridLetters(i) = p.gridShape(i) == 1 ? '?' : '-';

  const int32_t result = filler.makeXWordPuzzle(p.gridLetters.data(), p.cellCount, p.gridCols);
  if (result != 0) {
    const std::string why = filler.lastError();
    return Status::Error("the word-fill library could not fill " + gridName + " (result " +
                         std::to_string(result) + (why.empty() ? "" : ": " + why) + ")");
  }
  for (int i = 1; i <= p.cellCount; ++i)
    if (p.gridShape(i) == 1 && (p.gridLetters(i) < 'a' || p.gridLetters(i) > 'z'))
      return Status::Error("the word-fill library left a white cell of " + gridName +
                           " without a letter (cell " + std::to_string(i) + ")");
  return Status::Ok();
}

Status fillAndCode(Puzzle& p, WordFiller& filler, Random& random, const std::string& gridName,
                   SolutionCheck* check) {
  const bool checked = check != nullptr && check->words != nullptr;
  for (int fills = 1;; ++fills) {
    if (Status s = fillGrid(p, filler, gridName); !s) return s;
    if (Status s = assignNumbers(p, random); !s)
      return Status::Error("cannot make a puzzle of " + gridName + ": " + s.message());
    if (!checked) return Status::Ok();
    // The fill itself is always a solution: a count of 0 means it holds a word the list lacks,
    // and no other was found.
    check->fills = fills;
    check->solutions = std::max(1, countSolutions(p, *check->words, 2));
    if (check->solutions < 2) return Status::Ok();
    if (fills == kMaxFillsForOneSolution)
      return Status::Error("cannot make a puzzle with one solution of " + gridName + " in " +
                           std::to_string(fills) + " fills");
  }
}

Status newPuzzle(Puzzle& puzzle, const GridIndex& index, int32_t puzzleNum, int32_t group,
                 WordFiller& filler, Random& random, int32_t* chosen, SolutionCheck* check) {
  if (puzzleNum == -1)
    if (Status s = drawPuzzleNumber(index, group, random, &puzzleNum); !s) return s;

  Puzzle fresh;
  if (Status s = loadGrid(index, puzzleNum, group, fresh); !s) return s;
  const std::string name =
      "grid " + std::to_string(puzzleNum) + " of group " + std::to_string(group);
  if (Status s = fillAndCode(fresh, filler, random, name, check); !s) return s;

  puzzle = std::move(fresh);
  if (chosen) *chosen = puzzleNum;
  return Status::Ok();
}

}  // namespace qlx
