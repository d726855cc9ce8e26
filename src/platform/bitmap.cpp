// Windows BMP files: uncompressed 24- and 32-bit pictures read with every header field checked
// against the file's size, and 24-bit bottom-up pictures written.
#include "platform/bitmap.h"

#include <cstring>
#include <fstream>
#include <iterator>

namespace qlx {

namespace {

// The picture sheet is well under a megabyte; anything this big is not a file of ours.
constexpr std::uintmax_t kMaxFileBytes = 64u << 20;

uint32_t u16(const unsigned char* p) { return uint32_t(p[0]) | uint32_t(p[1]) << 8; }
uint32_t u32(const unsigned char* p) { return u16(p) | u16(p + 2) << 16; }
int32_t s32(const unsigned char* p) {
  const uint32_t v = u32(p);
  int32_t s;
  std::memcpy(&s, &v, sizeof s);
  return s;
}

void put16(std::vector<unsigned char>& out, uint32_t v) {
  out.push_back(static_cast<unsigned char>(v));
  out.push_back(static_cast<unsigned char>(v >> 8));
}
void put32(std::vector<unsigned char>& out, uint32_t v) {
  put16(out, v & 0xffff);
  put16(out, v >> 16);
}

// One colour channel of a BI_BITFIELDS pixel, scaled to 0..255.
struct Channel {
  uint32_t mask = 0;
  int shift = 0;
  uint32_t max = 0;
  bool set(uint32_t m) {
    mask = m;
    if (m == 0) return false;
    shift = 0;
    while (!((m >> shift) & 1)) ++shift;
    max = m >> shift;
    return (max & (max + 1)) == 0;  // the bits must be contiguous
  }
  uint8_t of(uint32_t pixel) const {
    const uint32_t v = (pixel & mask) >> shift;
    return static_cast<uint8_t>((uint64_t(v) * 255 + max / 2) / max);
  }
};

Status damaged(const std::string& path, const std::string& why) {
  return Status::Damaged("The picture file " + path + " is damaged or not a supported BMP file (" +
                         why + ").");
}

}  // namespace

Status loadBmp(const std::string& path, Bitmap* out) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return Status::NotFound("Cannot open the picture file " + path + ".");
  in.seekg(0, std::ios::end);
  const std::streamoff end = in.tellg();
  if (end < 0) return Status::IoError("Cannot read the picture file " + path + ".");
  if (static_cast<std::uintmax_t>(end) > kMaxFileBytes) return damaged(path, "file too large");
  in.seekg(0);
  std::vector<unsigned char> file(static_cast<std::size_t>(end));
  if (!file.empty() && !in.read(reinterpret_cast<char*>(file.data()), end))
    return Status::IoError("Cannot read the picture file " + path + ".");
  const std::size_t size = file.size();
  const unsigned char* d = file.data();

  // BITMAPFILEHEADER (14 bytes), then the info header, whose first field is its own size.
  if (size < 18 || d[0] != 'B' || d[1] != 'M') return damaged(path, "no BMP signature");
  const uint32_t dataOffset = u32(d + 10);
  const uint32_t infoSize = u32(d + 14);
  if (infoSize != 12 && infoSize < 40) return damaged(path, "unknown header size");
  if (infoSize > size - 14) return damaged(path, "header cut short");

  long long width = 0, height = 0;
  uint32_t planes = 0, bitCount = 0, compression = 0;
  const unsigned char* h = d + 14;
  if (infoSize == 12) {  // the old core header: 16-bit sizes, always bottom-up
    width = u16(h + 4);
    height = u16(h + 6);
    planes = u16(h + 8);
    bitCount = u16(h + 10);
  } else {
    width = s32(h + 4);
    height = s32(h + 8);
    planes = u16(h + 12);
    bitCount = u16(h + 14);
    compression = u32(h + 16);
  }
  if (planes != 1) return damaged(path, "plane count is not 1");
  if (bitCount != 24 && bitCount != 32)
    return damaged(path, std::to_string(bitCount) + " bits per pixel");
  if (width <= 0 || height == 0) return damaged(path, "empty picture");
  const bool topDown = height < 0;
  if (topDown) height = -height;

  Channel red, green, blue;
  if (compression == 3 && bitCount == 32) {  // BI_BITFIELDS: masks in the header or after it
    const std::size_t masksAt = 14 + (infoSize >= 52 ? 40 : infoSize);
    if (masksAt + 12 > size) return damaged(path, "colour masks cut short");
    if (!red.set(u32(d + masksAt)) || !green.set(u32(d + masksAt + 4)) ||
        !blue.set(u32(d + masksAt + 8)))
      return damaged(path, "unusable colour masks");
  } else if (compression != 0) {
    return damaged(path, "compressed pictures are not supported");
  }

  // Rows are padded to four bytes; the pixel data must lie wholly inside the file.
  const unsigned long long rowBytes =
      (static_cast<unsigned long long>(width) * bitCount + 31) / 32 * 4;
  if (dataOffset < 14 + infoSize || dataOffset > size)
    return damaged(path, "pixel data offset outside the file");
  const unsigned long long available = size - dataOffset;
  if (static_cast<unsigned long long>(height) > available / rowBytes)
    return damaged(path, "pixel data cut short");

  Bitmap bmp;
  bmp.width = static_cast<int>(width);
  bmp.height = static_cast<int>(height);
  bmp.pixels.resize(static_cast<std::size_t>(width) * static_cast<std::size_t>(height));
  const std::size_t bytesPerPixel = bitCount / 8;
  for (long long row = 0; row < height; ++row) {
    const unsigned char* p = d + dataOffset + static_cast<std::size_t>(row) * rowBytes;
    const long long y = topDown ? row : height - 1 - row;
    ColorRef* dst = bmp.pixels.data() + y * width;
    for (long long x = 0; x < width; ++x, p += bytesPerPixel) {
      if (compression == 3) {
        const uint32_t v = u32(p);
        dst[x] = rgb(red.of(v), green.of(v), blue.of(v));
      } else {
        dst[x] = rgb(p[2], p[1], p[0]);  // stored blue, green, red
      }
    }
  }
  *out = std::move(bmp);
  return Status::Ok();
}

Status saveBmp(const std::string& path, const Bitmap& bitmap) {
  if (bitmap.width <= 0 || bitmap.height <= 0 ||
      bitmap.pixels.size() !=
          static_cast<std::size_t>(bitmap.width) * static_cast<std::size_t>(bitmap.height))
    return Status::Error("Cannot write " + path +
                         ": the picture has no pixels or the wrong number of them.");
  const unsigned long long rowBytes =
      (static_cast<unsigned long long>(bitmap.width) * 3 + 3) / 4 * 4;
  const unsigned long long imageBytes = rowBytes * static_cast<unsigned long long>(bitmap.height);
  if (54 + imageBytes > 0xffffffffULL)
    return Status::Error("Cannot write " + path + ": the picture is too large.");

  std::vector<unsigned char> out;
  out.reserve(static_cast<std::size_t>(54 + imageBytes));
  out.push_back('B');
  out.push_back('M');
  put32(out, static_cast<uint32_t>(54 + imageBytes));
  put32(out, 0);
  put32(out, 54);
  put32(out, 40);  // BITMAPINFOHEADER
  put32(out, static_cast<uint32_t>(bitmap.width));
  put32(out, static_cast<uint32_t>(bitmap.height));  // positive: bottom-up
  put16(out, 1);
  put16(out, 24);
  put32(out, 0);  // BI_RGB
  put32(out, static_cast<uint32_t>(imageBytes));
  put32(out, 3780);  // 96 dpi in pixels per metre
  put32(out, 3780);
  put32(out, 0);
  put32(out, 0);
  for (int y = bitmap.height - 1; y >= 0; --y) {
    const std::size_t rowStart = out.size();
    for (int x = 0; x < bitmap.width; ++x) {
      const ColorRef c = bitmap.at(x, y);
      out.push_back(blueOf(c));
      out.push_back(greenOf(c));
      out.push_back(redOf(c));
    }
    out.resize(rowStart + rowBytes, 0);
  }

  std::ofstream file(path, std::ios::binary | std::ios::trunc);
  if (!file) return Status::IoError("Cannot create " + path + ".");
  file.write(reinterpret_cast<const char*>(out.data()), static_cast<std::streamsize>(out.size()));
  file.close();
  if (!file) return Status::IoError("Cannot write " + path + ".");
  return Status::Ok();
}

}  // namespace qlx
