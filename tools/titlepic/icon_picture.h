// The window icon: a codeword cell holding a large "Q" on the board's frame colour, in the
// game's palette.
#pragma once

#include "drawkit/graphics.h"
#include "platform/dc.h"

namespace qlx::icon {

inline constexpr int kSize = 32;

// Paints the icon into dc's top-left kSize × kSize pixels.
void drawIcon(DeviceContext& dc, const Graphics& g);

}  // namespace qlx::icon
