// Every test draws with the real fonts (as the game does) unless it hands a device context an
// engine of its own; linked into each test program so this runs before any test.
#include "platform/sdl/ttf_font_engine.h"

namespace {
const bool kRealFonts = (qlx::useTtfFonts(), true);
}  // namespace
