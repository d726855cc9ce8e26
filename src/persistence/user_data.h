// The player's data kept from one run to the next: the best-time lists of the two levels.
#pragma once

#include <cstdint>
#include <string>

#include "core/array1.h"

namespace qlx {

inline constexpr int kLevels = 2;
inline constexpr int kBestPlaces = 8;

// One level's best list, best (smallest time, in tenths of a second) at place 1.
struct BestList {
  Array1<int32_t> times{kBestPlaces};
  Array1<std::string> names{kBestPlaces};
};

struct UserData {
  Array1<BestList> bestScores;  // 1..kLevels, index = level
};

}  // namespace qlx
