// Making a new puzzle: load a grid, have the word-fill library fill it, code its letters, and
// make sure the coded grid with its given letters has one solution.
#pragma once

#include <cstdint>

#include "core/random.h"
#include "core/status.h"
#include "puzzle/fill_library.h"
#include "puzzle/model.h"
#include "puzzle/word_table.h"

namespace qlx {

// Draws a puzzle number of group as a new game does: (Round(u * 32000) mod count) + 1.
Status drawPuzzleNumber(const GridIndex& index, int32_t group, Random& random, int32_t* puzzleNum);

// The one-solution check of newPuzzle: the words a player may read a coded grid as, and what the
// check found for the puzzle made.
struct SolutionCheck {
  const WordTable* words = nullptr;  // null: no check
  int fills = 0;      // fills made for the puzzle (1 when the first had one solution)
  int solutions = 0;  // of the puzzle made (1 or 2: the count stops there); 0 unchecked
};

// Fills tried for a puzzle with one solution before giving up on the grid.
inline constexpr int kMaxFillsForOneSolution = 20;

// Makes a complete new puzzle on grid puzzleNum of group (-1: draw the number). On success the
// puzzle is replaced and *chosen (when given) holds the grid's number; on any failure (no such
// grid, a fill the library could not complete, a fill with a blank white cell or too few
// letters) the puzzle is left as it was. With check->words, a coded puzzle that can also be
// solved another way is filled and coded again, until one has a single solution.
Status newPuzzle(Puzzle& puzzle, const GridIndex& index, int32_t puzzleNum, int32_t group,
                 WordFiller& filler, Random& random, int32_t* chosen = nullptr,
                 SolutionCheck* check = nullptr);

// Fills and codes a puzzle whose grid is loaded; with check->words, again until the coded grid
// has one solution (at most kMaxFillsForOneSolution fills).
Status fillAndCode(Puzzle& puzzle, WordFiller& filler, Random& random, const std::string& gridName,
                   SolutionCheck* check);

// Fills puzzle's gridLetters from its gridShape and checks the fill ('?' white, '-' block first).
Status fillGrid(Puzzle& puzzle, WordFiller& filler, const std::string& gridName);

}  // namespace qlx
