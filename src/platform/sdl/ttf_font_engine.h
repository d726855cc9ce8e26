// TtfFontEngine: the program's font engine. fontconfig finds the file for a face and weight,
// SDL_ttf rasterises its glyphs antialiased, and lines are composed from cached glyphs at whole
// pixel advances (no kerning, as GDI's DrawText). Open fonts, glyphs and whole rendered lines
// are cached, so a repaint of text drawn before costs a lookup.
#pragma once

#include <cstddef>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

#include "platform/font.h"

namespace qlx {

// The program's engine for real fonts (fontconfig finds the file, SDL_ttf renders; faces
// cached), started on first use: SDL_ttf needs no display. useTtfFonts() makes it the default.
class TtfFontEngine;
TtfFontEngine& ttfFontEngine();
void useTtfFonts();

class TtfFontEngine : public FontEngine {
 public:
  // Finds the font file for a face and weight; empty when there is none.
  using FileLookup = std::function<std::string(const std::string& face, int weight)>;

  // maxLines bounds the cache of rendered lines; the least recently used goes first. lookup
  // defaults to fontconfig. A face it cannot find falls back to "sans-serif"; with no usable
  // font at all every line is empty and one message goes to stderr.
  explicit TtfFontEngine(std::size_t maxLines = 4096, FileLookup lookup = nullptr);
  ~TtfFontEngine() override;
  TtfFontEngine(const TtfFontEngine&) = delete;
  TtfFontEngine& operator=(const TtfFontEngine&) = delete;

  TextExtent measure(const FontSpec& font, std::string_view line) override;
  int lineHeight(const FontSpec& font) override;
  // The mask stays valid until the next call of render.
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
