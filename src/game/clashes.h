// Clashes: one letter standing as the entry of two or more numbers (a given number's entry is
// its letter). Shared by the game and the painters, which draw clashing entries in red.
#pragma once

#include "puzzle/model.h"

namespace qlx {

// True when num's entry is also the entry of another number.
bool entryClashes(const Puzzle& p, int num);
// True when letter (1 = A .. 26 = Z) is the entry of two or more numbers.
bool letterClashes(const Puzzle& p, int letter);

}  // namespace qlx
