// Counting the numbers that share an entry.
#include "game/clashes.h"

#include <algorithm>

namespace qlx {
namespace {

int numbersOf(const Puzzle& p) {
  return std::min({static_cast<int>(p.letterCount), static_cast<int>(p.entries.size()),
                   static_cast<int>(p.givenNums.size())});
}

int numbersEntered(const Puzzle& p, uint8_t code) {
  int count = 0;
  for (int n = 1; n <= numbersOf(p); ++n) count += p.entries(n) == code;
  return count;
}

}  // namespace

bool entryClashes(const Puzzle& p, int num) {
  if (num < 1 || num > numbersOf(p) || p.entries(num) == 0) return false;
  return numbersEntered(p, p.entries(num)) >= 2;
}

bool letterClashes(const Puzzle& p, int letter) {
  if (letter < 1 || letter > 26) return false;
  return numbersEntered(p, static_cast<uint8_t>('A' + letter - 1)) >= 2;
}

}  // namespace qlx
