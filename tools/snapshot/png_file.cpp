// The PNG container: signature, IHDR, one IDAT of unfiltered rows, IEND, each chunk with its CRC.
#include "png_file.h"

#include <array>
#include <fstream>

#include "zlib_stream.h"

namespace qlx::snapshot {
namespace {

uint32_t crc32(const uint8_t* data, std::size_t size, uint32_t crc = 0) {
  static const std::array<uint32_t, 256> table = [] {
    std::array<uint32_t, 256> t{};
    for (uint32_t i = 0; i < 256; ++i) {
      uint32_t c = i;
      for (int k = 0; k < 8; ++k) c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
      t[i] = c;
    }
    return t;
  }();
  crc = ~crc;
  for (std::size_t i = 0; i < size; ++i) crc = table[(crc ^ data[i]) & 0xff] ^ (crc >> 8);
  return ~crc;
}

void put32(std::vector<uint8_t>& out, uint32_t v) {
  for (int shift = 24; shift >= 0; shift -= 8) out.push_back(static_cast<uint8_t>(v >> shift));
}

void chunk(std::vector<uint8_t>& out, const char (&type)[5], const std::vector<uint8_t>& body) {
  put32(out, static_cast<uint32_t>(body.size()));
  const std::size_t typeAt = out.size();
  out.insert(out.end(), type, type + 4);
  out.insert(out.end(), body.begin(), body.end());
  // The CRC covers the type and the body.
  put32(out, crc32(&out[typeAt], out.size() - typeAt));
}

}  // namespace

std::vector<uint8_t> encodePng(int width, int height, const std::vector<uint32_t>& pixels) {
  std::vector<uint8_t> out = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};

  std::vector<uint8_t> header;
  put32(header, static_cast<uint32_t>(width));
  put32(header, static_cast<uint32_t>(height));
  header.insert(header.end(),
                {8, 2, 0, 0, 0});  // 8 bits, RGB, deflate, no filter method, no interlace
  chunk(out, "IHDR", header);

  std::vector<uint8_t> rows;
  rows.reserve(static_cast<std::size_t>(height) * (1 + 3 * static_cast<std::size_t>(width)));
  for (int y = 0; y < height; ++y) {
    rows.push_back(0);  // filter type None: the compressor finds the repeats by itself
    for (int x = 0; x < width; ++x) {
      const uint32_t px = pixels[static_cast<std::size_t>(y) * width + x];
      rows.insert(rows.end(), {static_cast<uint8_t>(px >> 16), static_cast<uint8_t>(px >> 8),
                               static_cast<uint8_t>(px)});
    }
  }
  chunk(out, "IDAT", zlibCompress(rows));
  chunk(out, "IEND", {});
  return out;
}

Status writePng(const std::string& path, int width, int height,
                const std::vector<uint32_t>& pixels) {
  if (width <= 0 || height <= 0 || pixels.size() != static_cast<std::size_t>(width) * height) {
    return Status::Error("no picture to write to " + path);
  }
  const std::vector<uint8_t> png = encodePng(width, height, pixels);
  std::ofstream file(path, std::ios::binary | std::ios::trunc);
  file.write(reinterpret_cast<const char*>(png.data()), static_cast<std::streamsize>(png.size()));
  file.close();
  if (!file) return Status::Error("cannot write " + path);
  return Status::Ok();
}

}  // namespace qlx::snapshot
