// Decodes UTF-8 strictly (no overlong forms, which could smuggle control characters in) and
// looks each code point up in the code page.
#include "platform/sdl/ansi_text.h"

#include <cstdint>

#include "platform/fonts/cp1252.h"

namespace qlx {

namespace {

// The byte for a code point, or -1 when the code page has none.
int ansiByte(char32_t cp) {
  if (cp < 0x80 || (cp >= 0xA0 && cp <= 0xFF)) return static_cast<int>(cp);
  if (cp < 0x100) return -1;  // C1 controls
  for (int b = 0x80; b < 0xA0; ++b)
    if (cp1252ToCodePoint(static_cast<unsigned char>(b)) == cp) return b;
  return -1;
}

}  // namespace

std::string utf8ToAnsi(std::string_view utf8) {
  static constexpr char32_t kMin[] = {0, 0x80, 0x800, 0x10000};
  std::string out;
  std::size_t i = 0;
  while (i < utf8.size()) {
    const auto lead = static_cast<uint8_t>(utf8[i]);
    int extra = 0;
    char32_t cp = 0;
    if (lead < 0x80) {
      cp = lead;
    } else if ((lead & 0xE0) == 0xC0) {
      extra = 1, cp = lead & 0x1F;
    } else if ((lead & 0xF0) == 0xE0) {
      extra = 2, cp = lead & 0x0F;
    } else if ((lead & 0xF8) == 0xF0) {
      extra = 3, cp = lead & 0x07;
    } else {
      ++i;  // a stray continuation byte or an invalid lead
      continue;
    }
    std::size_t j = i + 1;
    bool good = true;
    for (int k = 0; k < extra; ++k, ++j) {
      if (j >= utf8.size() || (static_cast<uint8_t>(utf8[j]) & 0xC0) != 0x80) {
        good = false;
        break;
      }
      cp = cp << 6 | (static_cast<uint8_t>(utf8[j]) & 0x3F);
    }
    i = j;  // a broken sequence resumes at the byte that broke it
    if (!good || cp < kMin[extra]) continue;
    const int b = ansiByte(cp);
    if (b >= 0) out += static_cast<char>(b);
  }
  return out;
}

}  // namespace qlx
