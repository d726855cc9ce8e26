// TtfFontEngine: the program's font engine. fontconfig finds the file for a face and weight,
// SDL_ttf rasterises its glyphs antialiased, and lines are composed from cached glyphs at whole
// pixel advances (no kerning, as GDI's DrawText). Open fonts, glyphs and whole rendered lines
// are cached, so a repaint of text drawn before costs a lookup.
#pragma once

#include <cstddef>
#include <memory>
#include <string>
#include <string_view>

#include "platform/font.h"

namespace qlx {

class TtfFontEngine : public FontEngine {
 public:
  // maxLines bounds the cache of rendered lines; the least recently used goes first.
  explicit TtfFontEngine(std::size_t maxLines = 4096);
  ~TtfFontEngine() override;
  TtfFontEngine(const TtfFontEngine&) = delete;
  TtfFontEngine& operator=(const TtfFontEngine&) = delete;

  TextExtent measure(const FontSpec& font, std::string_view line) override;
  int lineHeight(const FontSpec& font) override;
  // The mask stays valid until the next call of render or measure.
  const GlyphMask& render(const FontSpec& font, std::string_view line) override;

  // The file and em size in pixels a font resolves to; an empty file when no font could be
  // opened for it.
  struct Resolved {
    std::string file;
    int pixels = 0;
    int ascent = 0;
    int descent = 0;
  };
  Resolved resolve(const FontSpec& font);
  std::size_t cachedLines() const;

 private:
  struct Impl;
  std::unique_ptr<Impl> impl_;
};

}  // namespace qlx
