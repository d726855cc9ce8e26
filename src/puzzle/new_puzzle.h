// Making a new puzzle: load a grid, have the word-fill library fill it, code its letters.
#pragma once

#include <cstdint>

#include "core/random.h"
#include "core/status.h"
#include "puzzle/fill_library.h"
#include "puzzle/model.h"

namespace qlx {

// Draws a puzzle number of group as a new game does: (Round(u * 32000) mod count) + 1.
Status drawPuzzleNumber(const GridIndex& index, int32_t group, Random& random, int32_t* puzzleNum);

// Makes a complete new puzzle on grid puzzleNum of group (-1: draw the number). On success the
// puzzle is replaced and *chosen (when given) holds the grid's number; on any failure (no such
// grid, a fill the library could not complete, a fill with a blank white cell or too few
// letters) the puzzle is left as it was.
Status newPuzzle(Puzzle& puzzle, const GridIndex& index, int32_t puzzleNum, int32_t group,
                 WordFiller& filler, Random& random, int32_t* chosen = nullptr);

// Fills puzzle's gridLetters from its gridShape and checks the fill ('?' white, '-' block first).
Status fillGrid(Puzzle& puzzle, WordFiller& filler, const std::string& gridName);

}  // namespace qlx
