// TtfFontEngine: fontconfig picks the file, SDL_ttf rasterises single glyphs, and a line is the
// glyphs' coverage laid side by side at whole-pixel advances with the baseline at the font's
// ascent. Glyphs are placed from their own metrics because SDL_ttf's whole-string renderer
// shifts its surface by any overhang, which would move the line off the GDI position.
#include "platform/sdl/ttf_font_engine.h"

#include <SDL2/SDL.h>
#include <SDL2/SDL_ttf.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <list>
#include <map>
#include <unordered_map>
#include <utility>
#include <vector>

#include "platform/fonts/cp1252.h"
#include "platform/fonts/font_lookup.h"
#include "platform/gdi.h"

namespace qlx {

namespace {

// Sizes beyond this are clamped: the game uses 8 to 14 points, and a runaway size must not
// allocate glyphs of gigabytes.
constexpr int kMaxPixels = 1024;

// One glyph's coverage, cropped to its ink, placed relative to the pen position (x) and the
// top of the line (y).
struct Glyph {
  bool loaded = false;
  int advance = 0;
  int left = 0;
  int top = 0;
  int width = 0;
  int height = 0;
  std::vector<uint8_t> coverage;
};

struct Face {
  TTF_Font* font = nullptr;  // null: no font could be opened
  std::string file;
  int pixels = 0;
  int ascent = 0;
  int descent = 0;  // below the baseline, positive
  uint32_t id = 0;
  std::array<Glyph, 256> glyphs;
};

}  // namespace

struct TtfFontEngine::Impl {
  std::size_t maxLines;
  FileLookup lookup;
  bool ready = false;
  bool warned = false;
  std::map<std::pair<std::string, int>, std::unique_ptr<Face>> byFile;  // null entry: failed
  std::unordered_map<std::string, Face*> byFont;
  Face none;  // stands for "no font at all": every line is empty
  FontSpec lastFont;
  Face* lastFace = nullptr;

  // Rendered lines, most recently used first; the index points into the list's stable keys.
  using Line = std::pair<std::string, GlyphMask>;
  std::list<Line> lines;
  std::unordered_map<std::string_view, std::list<Line>::iterator> index;
  std::string key;

  Impl(std::size_t max, FileLookup find)
      : maxLines(std::max<std::size_t>(max, 1)),
        lookup(find ? std::move(find) : FileLookup(findFontFile)) {
    ready = TTF_Init() == 0;
    if (!ready) warnOnce(std::string("cannot start the font renderer: ") + TTF_GetError());
  }

  ~Impl() {
    index.clear();
    lines.clear();
    for (auto& [k, face] : byFile)
      if (face && face->font) TTF_CloseFont(face->font);
    byFile.clear();
    if (ready) TTF_Quit();
  }

  void warnOnce(const std::string& message) {
    if (warned) return;
    warned = true;
    std::fprintf(stderr, "quillorix: %s; text will not be drawn\n", message.c_str());
  }

  Face* open(const std::string& file, int pixels) {
    if (file.empty() || !ready) return nullptr;
    auto [it, fresh] = byFile.try_emplace({file, pixels});
    if (!fresh) return it->second.get();
    TTF_Font* font = TTF_OpenFont(file.c_str(), pixels);  // at 72 dpi, so the em is `pixels` high
    if (!font) return nullptr;
    auto face = std::make_unique<Face>();
    face->font = font;
    face->file = file;
    face->pixels = pixels;
    face->ascent = TTF_FontAscent(font);
    face->descent = -TTF_FontDescent(font);
    face->id = static_cast<uint32_t>(byFile.size());
    TTF_SetFontKerning(font, 0);
    it->second = std::move(face);
    return it->second.get();
  }

  Face* faceFor(const FontSpec& font) {
    if (lastFace && font == lastFont) return lastFace;
    const int pixels = std::clamp(fontPixelSize(font.points), 1, kMaxPixels);
    std::string faceKey =
        font.face + '\n' + std::to_string(font.weight) + '\n' + std::to_string(pixels);
    Face*& face = byFont[faceKey];
    if (!face) {
      face = open(lookup(font.face, font.weight), pixels);
      if (!face) face = open(lookup("sans-serif", font.weight), pixels);
      if (!face) face = open(lookup("sans-serif", FW_NORMAL), pixels);
      if (!face) {
        if (ready)
          warnOnce("no usable font for \"" + font.face + "\" and no sans-serif font either");
        face = &none;
      }
    }
    lastFont = font;
    lastFace = face;
    return face;
  }

  const Glyph& glyph(Face& face, unsigned char byte) {
    Glyph& g = face.glyphs[byte];
    if (g.loaded) return g;
    g.loaded = true;
    const char32_t cp = cp1252ToCodePoint(byte);
    // Control characters (line breaks in a single line among them) take no room.
    if (cp < 0x20 || (cp >= 0x7F && cp < 0xA0)) return g;
    int minx = 0, maxx = 0, miny = 0, maxy = 0, advance = 0;
    if (TTF_GlyphMetrics32(face.font, cp, &minx, &maxx, &miny, &maxy, &advance) != 0) return g;
    g.advance = advance;
    SDL_Surface* rendered = TTF_RenderGlyph32_Blended(face.font, cp, SDL_Color{255, 255, 255, 255});
    if (!rendered) return g;
    SDL_Surface* surface = rendered;
    if (rendered->format->format != SDL_PIXELFORMAT_ARGB8888) {
      surface = SDL_ConvertSurfaceFormat(rendered, SDL_PIXELFORMAT_ARGB8888, 0);
      SDL_FreeSurface(rendered);
      if (!surface) return g;
    }
    // The glyph's surface puts the pen at x = max(0, -minx) and the baseline at
    // y = ascent + max(0, maxy - ascent).
    const int penX = std::max(0, -minx);
    const int lineTop = std::max(0, maxy - face.ascent);
    g.left = minx;
    g.top = face.ascent - maxy;
    g.width = std::max(0, maxx - minx);
    g.height = std::max(0, maxy - miny);
    g.coverage.assign(static_cast<std::size_t>(g.width) * static_cast<std::size_t>(g.height), 0);
    if (SDL_MUSTLOCK(surface)) SDL_LockSurface(surface);
    const auto* pixels = static_cast<const uint8_t*>(surface->pixels);
    for (int r = 0; r < g.height; ++r) {
      const int sy = lineTop + g.top + r;
      if (sy < 0 || sy >= surface->h) continue;
      const auto* row = reinterpret_cast<const uint32_t*>(pixels + static_cast<std::ptrdiff_t>(sy) *
                                                                       surface->pitch);
      for (int c = 0; c < g.width; ++c) {
        const int sx = penX + minx + c;
        if (sx < 0 || sx >= surface->w) continue;
        g.coverage[static_cast<std::size_t>(r * g.width + c)] = static_cast<uint8_t>(row[sx] >> 24);
      }
    }
    if (SDL_MUSTLOCK(surface)) SDL_UnlockSurface(surface);
    SDL_FreeSurface(surface);
    return g;
  }

  GlyphMask compose(Face& face, std::string_view line) {
    GlyphMask mask;
    mask.extent.cy = face.ascent + face.descent;
    if (!face.font) return mask;
    int cx = 0;
    for (char c : line) cx += glyph(face, static_cast<unsigned char>(c)).advance;
    mask.extent.cx = cx;
    const int cy = mask.extent.cy;
    mask.coverage.assign(static_cast<std::size_t>(cx) * static_cast<std::size_t>(cy), 0);
    int pen = 0;
    for (char c : line) {
      const Glyph& g = glyph(face, static_cast<unsigned char>(c));
      // Ink beyond the line's box (an overhang, a deep descender) is cut off.
      for (int r = 0; r < g.height; ++r) {
        const int y = g.top + r;
        if (y < 0 || y >= cy) continue;
        for (int col = 0; col < g.width; ++col) {
          const int x = pen + g.left + col;
          if (x < 0 || x >= cx) continue;
          uint8_t& dst = mask.coverage[static_cast<std::size_t>(y * cx + x)];
          dst = std::max(dst, g.coverage[static_cast<std::size_t>(r * g.width + col)]);
        }
      }
      pen += g.advance;
    }
    return mask;
  }

  const GlyphMask& render(const FontSpec& font, std::string_view line) {
    Face* face = faceFor(font);
    key.clear();
    key.append(reinterpret_cast<const char*>(&face->id), sizeof face->id);
    key.append(line);
    if (auto it = index.find(key); it != index.end()) {
      lines.splice(lines.begin(), lines, it->second);
      return it->second->second;
    }
    lines.emplace_front(key, compose(*face, line));
    index.emplace(lines.front().first, lines.begin());
    while (lines.size() > maxLines) {
      index.erase(lines.back().first);
      lines.pop_back();
    }
    return lines.front().second;
  }
};

TtfFontEngine::TtfFontEngine(std::size_t maxLines, FileLookup lookup)
    : impl_(std::make_unique<Impl>(maxLines, std::move(lookup))) {}
TtfFontEngine::~TtfFontEngine() = default;

TextExtent TtfFontEngine::measure(const FontSpec& font, std::string_view line) {
  // From the glyph advances alone: measuring many candidate lines (word wrapping) neither
  // composes masks nor pushes rendered lines out of the cache.
  Face* face = impl_->faceFor(font);
  TextExtent extent{0, face->ascent + face->descent};
  if (!face->font) return extent;
  for (char c : line) extent.cx += impl_->glyph(*face, static_cast<unsigned char>(c)).advance;
  return extent;
}

int TtfFontEngine::lineHeight(const FontSpec& font) {
  const Face* face = impl_->faceFor(font);
  return face->ascent + face->descent;
}

const GlyphMask& TtfFontEngine::render(const FontSpec& font, std::string_view line) {
  return impl_->render(font, line);
}

TtfFontEngine::Resolved TtfFontEngine::resolve(const FontSpec& font) {
  const Face* face = impl_->faceFor(font);
  return {face->file, face->pixels, face->ascent, face->descent};
}

std::size_t TtfFontEngine::cachedLines() const { return impl_->lines.size(); }

TtfFontEngine& ttfFontEngine() {
  static TtfFontEngine engine;
  return engine;
}

void useTtfFonts() {
  if (!fontEngineInstalled()) installFontEngine(ttfFontEngine());
}

}  // namespace qlx
