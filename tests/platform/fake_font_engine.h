// A font engine for exact position tests: every character is a solid box of a fixed width and
// the line height, so the placed text is a rectangle whose edges the tests can check pixel by
// pixel.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/font.h"

namespace qlx::test {

class BoxFontEngine : public FontEngine {
 public:
  BoxFontEngine(int charWidth, int lineHeight, uint8_t coverage = 255)
      : charWidth_(charWidth), lineHeight_(lineHeight), coverage_(coverage) {}

  TextExtent measure(const FontSpec&, std::string_view line) override {
    return {static_cast<int>(line.size()) * charWidth_, lineHeight_};
  }
  int lineHeight(const FontSpec&) override { return lineHeight_; }
  const GlyphMask& render(const FontSpec& font, std::string_view line) override {
    mask_.extent = measure(font, line);
    mask_.coverage.assign(static_cast<std::size_t>(mask_.extent.cx * mask_.extent.cy), coverage_);
    rendered.emplace_back(line);
    return mask_;
  }

  std::vector<std::string> rendered;  // every line asked for, in order

 private:
  int charWidth_;
  int lineHeight_;
  uint8_t coverage_;
  GlyphMask mask_;
};

}  // namespace qlx::test
