// A small zlib-format compressor for the snapshot pictures: one deflate block with the fixed
// codes and plain LZ77 matching, which suits screen images made of flat colour and repeated rows.
#pragma once

#include <cstdint>
#include <vector>

namespace qlx::snapshot {

// data wrapped as a zlib stream (header, deflate, Adler-32), as a PNG's image data expects.
std::vector<uint8_t> zlibCompress(const std::vector<uint8_t>& data);

}  // namespace qlx::snapshot
