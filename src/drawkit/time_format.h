// The game clock as text: minutes (never wrapped into hours), a colon, two-digit seconds and,
// in the long form, a tenths digit.
#pragma once

#include <cstdint>
#include <string>

namespace qlx {

// Style of formatTime: kTimeShort gives "m:ss" (the running clock, best times); any other value,
// by custom kTimeLong, gives "m:ss.t" (the first clock value, the completion message).
inline constexpr int kTimeShort = 2;
inline constexpr int kTimeLong = 3;

// tenths: a count of tenths of a second, as the clock and the best times keep it.
std::string formatTime(int32_t tenths, int style);

}  // namespace qlx
