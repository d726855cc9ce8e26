// The layout unit and the font of the game's dialogs: every record of the Hall of Fame window is
// placed in multiples of the unit, and all its text is drawn in the one font.
#pragma once

#include "platform/font.h"
#include "platform/gdi.h"

namespace qlx {

// Pixels per dialog layout unit, as start-up sets it.
inline constexpr int kDialogUnit = 44;

inline FontSpec dialogFont() { return FontSpec{"Times New Roman", 14.25, FW_BOLD}; }

}  // namespace qlx
