// Test canvas for the drawing kit: a headless device context whose font draws each character as
// a solid box (upper-case letters 7 pixels wide, anything else 4, every line 8 high), so where a
// caption lands can be computed exactly.
#pragma once

#include "box_fonts.h"

namespace qlx::testing {

inline constexpr ColorRef kBackground = rgb(1, 2, 3);

struct Canvas {
  BoxFonts fonts{7, 4, 8};
  DeviceContext dc{800, 600, kBackground, &fonts};
};

}  // namespace qlx::testing
