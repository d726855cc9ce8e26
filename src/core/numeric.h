// The game's two conversions of fractions to whole numbers: Round sends halves to the even
// neighbour, Int is the floor.
#pragma once

#include <cmath>

namespace qlx {

inline long long roundHalfEven(double x) { return static_cast<long long>(std::nearbyint(x)); }
inline long long intFloor(double x) { return static_cast<long long>(std::floor(x)); }

}  // namespace qlx
