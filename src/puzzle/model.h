// The puzzle model: the one puzzle being played (grid, fill, letter code, player state) and the
// index of the grid file. Widths are those the coding arithmetic relies on; arrays start at 1.
#pragma once

#include <cstdint>
#include <string>

#include "core/array1.h"

namespace qlx {

// One puzzle. A new puzzle replaces every field.
struct Puzzle {
  // Grid. Cell (row r, column c), both from 0, has index r * gridCols + c + 1.
  uint8_t gridRows = 0;
  uint8_t gridCols = 0;
  int16_t cellCount = 0;
  Array1<uint8_t> gridShape;    // 1 = white cell, 0 = block
  Array1<uint8_t> gridLetters;  // the fill: 'a'..'z' in white cells, '-' in blocks

  // Letter code: numbers 1..letterCount stand for the letters that occur in the fill.
  uint8_t letterCount = 0;
  Array1<uint8_t> letterToNum;    // 1..26: letter index (1 = a) -> number, 0 if absent
  Array1<uint8_t> numToLetter;    // 1..letterCount: number -> letter index 1..26
  Array1<uint8_t> lettersByFreq;  // 1..26: letter indices, most frequent first

  // Player state per number.
  Array1<uint8_t> entries;    // 0 = empty, else 'A'..'Z'
  Array1<int16_t> givenNums;  // 1 = given at the start
  int16_t selectedNum = 0;    // 0 = none

  bool operator==(const Puzzle&) const = default;
};

// The grid file's header, read once at start-up.
struct GridIndexRecord {
  Array1<int32_t> offsets;  // byte offset of each grid record, in puzzle-number order
  int32_t count = 0;
};

struct GridIndex {
  std::string gridFilePath;
  int32_t groupCount = 0;
  Array1<GridIndexRecord> gridIndex;  // 1..groupCount
};

// The fewest distinct letters a fill may have: the given-letter patterns reach frequency rank 9.
inline constexpr int kMinDistinctLetters = 9;

}  // namespace qlx
