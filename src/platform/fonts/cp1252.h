// Windows-1252 text, the code page of everything the game draws or stores, as Unicode code
// points and UTF-8.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace qlx {

// The code point of one Windows-1252 byte. The five bytes the code page leaves undefined
// (0x81, 0x8D, 0x8F, 0x90, 0x9D) map to the C1 controls of the same value, as Windows does.
char32_t cp1252ToCodePoint(unsigned char byte);

// The same text in UTF-8.
std::string cp1252ToUtf8(std::string_view text);

}  // namespace qlx
