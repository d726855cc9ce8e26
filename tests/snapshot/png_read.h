// A PNG reader for the tests: enough for the 8-bit RGB, unfiltered pictures the snapshot tool
// writes, with every chunk's CRC checked and the image data inflated by zlib.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace qlx::snapshot::testing {

struct Picture {
  int width = 0;
  int height = 0;
  std::vector<uint32_t> pixels;  // 0x00RRGGBB, row by row from the top
  uint32_t at(int x, int y) const { return pixels[static_cast<std::size_t>(y) * width + x]; }
};

// False, with the reason in *error, for anything that is not such a picture.
bool decodePng(const std::vector<uint8_t>& png, Picture* out, std::string* error);
bool readPng(const std::string& path, Picture* out, std::string* error);

}  // namespace qlx::snapshot::testing
