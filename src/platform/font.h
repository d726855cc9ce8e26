// Fonts by face, point size and weight at 96 dots per inch (12 pt = 16 px), and the engine that
// measures and renders one line of text in them.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace qlx {

struct FontSpec {
  std::string face = "Arial";
  double points = 8.25;
  int weight = 400;  // FW_NORMAL
  bool operator==(const FontSpec&) const = default;
};

// Pixel height of the em square at 96 dpi, rounded as GDI rounds it (14.25 pt gives 19 px).
int fontPixelSize(double points);

struct TextExtent {
  int cx = 0;  // advance width of the line
  int cy = 0;  // the font's line height (ascent + descent)
};

// One rendered line: coverage 0..255 per pixel, row by row, extent.cx × extent.cy.
struct GlyphMask {
  TextExtent extent;
  std::vector<uint8_t> coverage;
};

// Text is in the ANSI code page (Windows-1252), as everything the game draws or stores.
class FontEngine {
 public:
  virtual ~FontEngine() = default;
  virtual TextExtent measure(const FontSpec& font, std::string_view line) = 0;
  virtual int lineHeight(const FontSpec& font) = 0;
  // The mask belongs to the engine and stays valid until the next call of render.
  virtual const GlyphMask& render(const FontSpec& font, std::string_view line) = 0;
};

// The engine device contexts draw with unless given one. The back ends install theirs (the SDL
// back end's library holds the engine that renders real fonts); with none installed text has no
// extent and draws nothing.
FontEngine& defaultFontEngine();
void installFontEngine(FontEngine& engine);
bool fontEngineInstalled();

}  // namespace qlx
