// PNG pictures of window images: 8-bit RGB, written with the tool's own compressor so nothing
// outside the game is needed at run time.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "core/status.h"

namespace qlx::snapshot {

// pixels: width * height values 0x00RRGGBB, row by row from the top.
std::vector<uint8_t> encodePng(int width, int height, const std::vector<uint32_t>& pixels);

// The picture written to path; a file that cannot be written is an error naming it.
Status writePng(const std::string& path, int width, int height,
                const std::vector<uint32_t>& pixels);

}  // namespace qlx::snapshot
