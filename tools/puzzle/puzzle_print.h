// Printing a made puzzle: a readable grid of numbers with its solution, or one line of JSON.
#pragma once

#include <cstdint>
#include <string>

#include "puzzle/model.h"

namespace qlx {

struct MadePuzzle {
  int32_t group = 0;       // 0 when the grid came from a pattern file
  int32_t number = 0;      // grid number within the group, or the fill's ordinal for a pattern file
  int64_t fillMicros = 0;  // the fill library's time, over every fill made for the puzzle
  int fills = 1;           // fills made until the coded grid had one solution
  int solutions = 1;       // solutions of the coded grid under the acceptance list (up to 2)
};

std::string puzzleAsText(const Puzzle& puzzle, const MadePuzzle& made);
std::string puzzleAsJson(const Puzzle& puzzle, const MadePuzzle& made);

}  // namespace qlx
