// Font sizes at 96 dots per inch, and the program's one font engine.
#include "platform/font.h"

#include <cmath>

#include "platform/sdl/ttf_font_engine.h"

namespace qlx {

int fontPixelSize(double points) {
  // GDI asks for -MulDiv(points, 96, 72): the em in pixels, rounded half away from zero.
  if (!(points > 0)) return 1;
  const double pixels = std::floor(points * 96.0 / 72.0 + 0.5);
  if (pixels < 1) return 1;
  if (pixels > 1e6) return 1000000;
  return static_cast<int>(pixels);
}

FontEngine& defaultFontEngine() {
  static TtfFontEngine engine;  // started on first use; SDL_ttf needs no display
  return engine;
}

}  // namespace qlx
