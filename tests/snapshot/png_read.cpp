// Chunks are walked in order; IHDR must come first and IEND last, as every viewer expects.
#include "png_read.h"

#include <zlib.h>

#include <cstring>
#include <fstream>
#include <iterator>

namespace qlx::snapshot::testing {
namespace {

uint32_t get32(const uint8_t* p) {
  return (uint32_t{p[0]} << 24) | (p[1] << 16) | (p[2] << 8) | p[3];
}

bool fail(std::string* error, const std::string& why) {
  *error = why;
  return false;
}

}  // namespace

bool decodePng(const std::vector<uint8_t>& png, Picture* out, std::string* error) {
  static const uint8_t kSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
  if (png.size() < 8 || std::memcmp(png.data(), kSignature, 8) != 0)
    return fail(error, "no PNG signature");
  std::vector<uint8_t> compressed;
  bool sawHeader = false, sawEnd = false;
  for (std::size_t at = 8; at < png.size() && !sawEnd;) {
    if (png.size() - at < 12) return fail(error, "truncated chunk");
    const uint32_t length = get32(&png[at]);
    if (png.size() - at - 12 < length) return fail(error, "chunk runs past the end");
    const uint8_t* type = &png[at + 4];
    const uint8_t* body = type + 4;
    const uint32_t crc = static_cast<uint32_t>(::crc32(0, type, length + 4));
    if (crc != get32(body + length))
      return fail(error, "bad CRC on " + std::string(type, type + 4));
    const std::string name(type, type + 4);
    if (!sawHeader && name != "IHDR") return fail(error, "IHDR is not first");
    if (name == "IHDR") {
      if (length != 13) return fail(error, "IHDR of the wrong size");
      out->width = static_cast<int>(get32(body));
      out->height = static_cast<int>(get32(body + 4));
      if (body[8] != 8 || body[9] != 2 || body[10] != 0 || body[11] != 0 || body[12] != 0) {
        return fail(error, "not 8-bit RGB without interlace");
      }
      sawHeader = true;
    } else if (name == "IDAT") {
      compressed.insert(compressed.end(), body, body + length);
    } else if (name == "IEND") {
      sawEnd = true;
    }
    at += 12 + length;
  }
  if (!sawEnd) return fail(error, "no IEND");
  if (out->width <= 0 || out->height <= 0) return fail(error, "empty picture");

  const std::size_t stride = 1 + 3 * static_cast<std::size_t>(out->width);
  std::vector<uint8_t> rows(stride * out->height + 1);  // one spare byte shows a stream too long
  uLongf size = rows.size();
  if (::uncompress(rows.data(), &size, compressed.data(), compressed.size()) != Z_OK) {
    return fail(error, "image data does not inflate");
  }
  if (size != stride * out->height) return fail(error, "image data of the wrong length");
  out->pixels.clear();
  for (int y = 0; y < out->height; ++y) {
    const uint8_t* row = &rows[y * stride];
    if (row[0] != 0) return fail(error, "row filter other than None");
    for (int x = 0; x < out->width; ++x) {
      const uint8_t* px = row + 1 + 3 * x;
      out->pixels.push_back((uint32_t{px[0]} << 16) | (px[1] << 8) | px[2]);
    }
  }
  return true;
}

bool readPng(const std::string& path, Picture* out, std::string* error) {
  std::ifstream file(path, std::ios::binary);
  if (!file) return fail(error, "cannot open " + path);
  const std::vector<uint8_t> png((std::istreambuf_iterator<char>(file)),
                                 std::istreambuf_iterator<char>());
  return decodePng(png, out, error);
}

}  // namespace qlx::snapshot::testing
