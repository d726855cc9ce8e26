// Typed text from SDL (UTF-8) into the game's ANSI code page (Windows-1252).
#pragma once

#include <string>
#include <string_view>

namespace qlx {

// Each code point that Windows-1252 holds becomes its byte; anything else, C1 controls and
// malformed UTF-8 are dropped.
std::string utf8ToAnsi(std::string_view utf8);

}  // namespace qlx
