// Reading one grid pattern that a user gives the puzzle tool, in the grid-source text format.
#pragma once

#include <string>

#include "core/status.h"
#include "puzzle/model.h"

namespace qlx {

// Sets gridRows, gridCols, cellCount and gridShape of puzzle from the single pattern in file path.
Status loadPatternGrid(const std::string& path, Puzzle& puzzle);

}  // namespace qlx
