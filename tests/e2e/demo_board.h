// The fixed board the window demo paints and the end-to-end test checks: a 5 × 5 puzzle with
// its code strip and alphabet panel at known layout positions.
#pragma once

#include <string>

#include "puzzle/model.h"

namespace qlx::demo {

inline constexpr int kLayoutWidth = 800;
inline constexpr int kLayoutHeight = 600;

// Left, top and cell edge of each board, in layout pixels.
struct Board {
  int left, top, cell;
};
inline constexpr Board kGrid{40, 70, 56};
inline constexpr Board kStrip{390, 70, 40};
inline constexpr Board kAlphabet{40, 420, 40};

//  c r a t e      coded a1 t2 e3 c4 r5 s6 o7 n8 k9 d10; e and s are given,
//  a # o # a      a is entered right, r wrongly as S, and t (2) is selected.
//  r a t e s
//  e # n # k
//  # d o t s
inline constexpr const char* kFill = "cratea-o-aratese-n-k-dots";
inline constexpr const char* kCode = "atecrsonkd";

inline Puzzle demoPuzzle() {
  const std::string fill = kFill, code = kCode;
  Puzzle p;
  p.gridRows = 5;
  p.gridCols = 5;
  p.cellCount = static_cast<int16_t>(fill.size());
  p.gridShape.redim(fill.size());
  p.gridLetters.redim(fill.size());
  for (std::size_t i = 0; i < fill.size(); ++i) {
    p.gridShape(i + 1) = fill[i] == '-' ? 0 : 1;
    p.gridLetters(i + 1) = static_cast<uint8_t>(fill[i]);
  }
  p.letterCount = static_cast<uint8_t>(code.size());
  p.letterToNum.redim(26);
  p.numToLetter.redim(code.size());
  p.lettersByFreq.redim(26);
  for (std::size_t n = 1; n <= code.size(); ++n) {
    p.numToLetter(n) = static_cast<uint8_t>(code[n - 1] - 'a' + 1);
    p.letterToNum(code[n - 1] - 'a' + 1) = static_cast<uint8_t>(n);
  }
  p.entries.redim(code.size());
  p.givenNums.redim(code.size());
  p.givenNums(3) = 1;
  p.givenNums(6) = 1;
  p.entries(1) = 'A';
  p.entries(5) = 'S';
  p.selectedNum = 2;
  return p;
}

}  // namespace qlx::demo
