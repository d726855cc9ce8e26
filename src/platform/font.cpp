// Font sizes at 96 dots per inch, and the font engine device contexts draw with by default.
#include "platform/font.h"

#include <cmath>

namespace qlx {

int fontPixelSize(double points) {
  // GDI asks for -MulDiv(points, 96, 72): the em in pixels, rounded half away from zero.
  if (!(points > 0)) return 1;
  const double pixels = std::floor(points * 96.0 / 72.0 + 0.5);
  if (pixels < 1) return 1;
  if (pixels > 1e6) return 1000000;
  return static_cast<int>(pixels);
}

namespace {

// Measures nothing and draws nothing: what a context shows before any back end has started.
class NoFontEngine final : public FontEngine {
 public:
  TextExtent measure(const FontSpec&, std::string_view) override { return {}; }
  int lineHeight(const FontSpec&) override { return 0; }
  const GlyphMask& render(const FontSpec&, std::string_view) override { return empty_; }

 private:
  GlyphMask empty_;
};

FontEngine*& installed() {
  static FontEngine* engine = nullptr;
  return engine;
}

}  // namespace

FontEngine& defaultFontEngine() {
  static NoFontEngine none;
  return installed() ? *installed() : none;
}

void installFontEngine(FontEngine& engine) { installed() = &engine; }

bool fontEngineInstalled() { return installed() != nullptr; }

}  // namespace qlx
