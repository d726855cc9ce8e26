// Bitmap: a picture held in memory, as loaded from a Windows BMP file.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "core/status.h"
#include "platform/gdi.h"

namespace qlx {

struct Bitmap {
  int width = 0;
  int height = 0;
  std::vector<ColorRef> pixels;  // row by row from the top
  ColorRef at(int x, int y) const { return pixels[static_cast<std::size_t>(y * width + x)]; }
};

// Reads an uncompressed 24- or 32-bit BMP (bottom-up or top-down); anything else, or a damaged
// file, is an error naming the file.
Status loadBmp(const std::string& path, Bitmap* out);

// Writes a 24-bit BMP, for the tools that make the picture sheet and icon.
Status saveBmp(const std::string& path, const Bitmap& bitmap);

}  // namespace qlx
