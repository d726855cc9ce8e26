// The window icon: a codeword cell holding a large "Q" on the board's frame colour, in the
// game's palette.
#pragma once

#include "drawkit/graphics.h"
#include "platform/dc.h"

namespace qlx::icon {

inline constexpr int kSize = 32;  // the window icon's
// The sizes of the desktop's icon theme, each painted at its size rather than scaled.
inline constexpr int kThemeSizes[] = {16, 32, 48, 64, 128, 256};

// Paints the icon into dc's top-left size × size pixels (a multiple of 4).
void drawIcon(DeviceContext& dc, const Graphics& g, int size = kSize);

}  // namespace qlx::icon
