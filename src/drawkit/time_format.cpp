// Formatting the game clock. Times are never negative in play; a negative count is shown with a
// leading minus rather than as garbled digits.
#include "drawkit/time_format.h"

namespace qlx {

std::string formatTime(int32_t tenths, int style) {
  int64_t t = tenths;  // wide enough to negate the smallest 32-bit value
  std::string text;
  if (t < 0) {
    text.push_back('-');
    t = -t;
  }
  const int64_t seconds = (t % 600) / 10;
  text += std::to_string(t / 600);
  text += ':';
  if (seconds < 10) text += '0';
  text += std::to_string(seconds);
  if (style != kTimeShort) {
    text += '.';
    text += static_cast<char>('0' + t % 10);
  }
  return text;
}

}  // namespace qlx
