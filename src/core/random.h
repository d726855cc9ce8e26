// The one program-wide uniform generator in [0, 1): seeded once from the clock at start-up
// (tests seed it themselves); every random draw of the game comes from it.
#pragma once

#include <cstdint>

namespace qlx {

void seedRandom(uint64_t seed);
uint64_t seedRandomFromClock();  // returns the seed used
double rnd();                    // next uniform value u, 0 <= u < 1

}  // namespace qlx
