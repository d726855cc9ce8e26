// Finding the font file for a face name and weight through fontconfig, which resolves the
// desktop faces the game asks for ("Arial", "Times New Roman") to installed metric-compatible
// fonts.
#pragma once

#include <string>

namespace qlx {

// The file of the installed scalable font that best matches face and weight (GDI numbering:
// 400 normal, 700 bold). An unknown face gets fontconfig's closest font, usually the default
// sans-serif one. Empty when fontconfig offers nothing at all.
std::string findFontFile(const std::string& face, int weight);

}  // namespace qlx
