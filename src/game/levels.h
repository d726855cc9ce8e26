// The two levels a game is played at. A level is known by its modeNum, which also numbers its
// best-time list: 2 is Standard (the 13x13 and 15x15 grids of group 2), 1 is Quick (the 11x11
// and 12x12 grids of group 1).
#pragma once

#include <cstdint>

namespace qlx {

inline constexpr int16_t kQuickLevel = 1;
inline constexpr int16_t kStandardLevel = 2;

// "Standard" or "Quick"; empty for a number that is no level.
const char* levelName(int modeNum);
// The grid group a level's games are drawn from.
inline int16_t gridGroupOf(int modeNum) { return modeNum == kQuickLevel ? 1 : 2; }
// The other of the two levels.
inline int16_t otherLevel(int modeNum) {
  return modeNum == kQuickLevel ? kStandardLevel : kQuickLevel;
}

}  // namespace qlx
