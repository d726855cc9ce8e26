// The ranking of a finishing time in a level's best list and its insertion: place 1 holds the
// smallest time; a time of 0 in a list stands for thirty minutes (18000 tenths).
#pragma once

#include <cstdint>
#include <string>

#include "core/array1.h"
#include "persistence/user_data.h"

namespace qlx {

inline constexpr int32_t kUnsetBestTime = 18000;
inline constexpr int kNoPlace = kBestPlaces + 1;

// The place (1..8) time earns in level's list, or 9 when it earns none; a place holding 0 on the
// way is rewritten to 18000. A level outside the table earns nothing and changes nothing.
int rankOfTime(Array1<BestList>& bestScores, int level, int32_t time);

// The change that puts a finishing time and its name into level's list where it ranks, on the
// list the change is made on (another copy of the game may have saved better times meanwhile):
// a time that ranks no place there is not put in.
BestListChange bestTimeEntry(int level, int32_t time, const std::string& name);

// Puts time and name at the first place among 1..7 whose time is greater, else at place 8, and
// moves the places below down by one (place 8 falls out). A level outside the table: nothing.
void insertBestTime(Array1<BestList>& bestScores, int level, int32_t time, const std::string& name);

}  // namespace qlx
