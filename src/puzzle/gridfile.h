// Reading the grid file: a little-endian header of groups, counts and record offsets, then
// records of rows, columns and one byte per cell. Every size and offset is checked against the
// file before use, so a damaged file is an error naming the file, never a read out of bounds.
#pragma once

#include <cstdint>

#include "core/status.h"
#include "puzzle/model.h"

namespace qlx {

// Reads the header of the grid file at index.gridFilePath into index.
Status loadGridIndex(GridIndex& index);

// Reads grid puzzleNum (1-based) of group (1-based) into gridRows, gridCols, cellCount, gridShape.
Status loadGrid(const GridIndex& index, int32_t puzzleNum, int32_t group, Puzzle& puzzle);

}  // namespace qlx
