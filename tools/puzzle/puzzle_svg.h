// A print-ready page of a puzzle as newspapers print codewords, in SVG: the grid with each cell's
// number small in its corner and the given letters in, the 1-26 key with the givens filled in, and
// an A-Z checklist; the solution page has every letter in. Black on white, sized in millimetres.
#pragma once

#include <string>

#include "puzzle/model.h"

namespace qlx {

enum class Paper { A4, Letter };

struct PageSize {
  double width, height;  // millimetres
};
PageSize pageSize(Paper paper);

// The page as SVG text; solution fills every cell and key box with its letter.
std::string puzzleAsSvg(const Puzzle& puzzle, Paper paper, bool solution);

}  // namespace qlx
