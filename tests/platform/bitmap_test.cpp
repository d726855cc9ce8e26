// BMP files: pictures written and read back, the layouts the reader accepts, and damaged or
// unsupported files refused with a message naming the file.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "platform/bitmap.h"
#include "temp_folder.h"

namespace qlx {
namespace {

using Bytes = std::vector<unsigned char>;

// Appends x in little-endian order, in n bytes.
void put(Bytes& v, uint32_t x, int n = 4) {
  for (int i = 0; i < n; ++i) v.push_back(static_cast<unsigned char>(x >> (8 * i)));
}

// A file and info header (40 bytes) for a picture, then rest: extra bytes of header (masks),
// then the pixels.
Bytes header(int32_t width, int32_t height, uint16_t bits, uint32_t compression, Bytes rest = {},
             uint32_t extra = 0) {
  Bytes v{'B', 'M'};
  // File size (readers ignore it), reserved, pixel offset, info header size, width, height.
  for (uint32_t x : {0u, 0u, 54 + extra, 40u, uint32_t(width), uint32_t(height)}) put(v, x);
  put(v, 1, 2);
  put(v, bits, 2);
  put(v, compression);
  v.resize(v.size() + 20, 0);
  v.insert(v.end(), rest.begin(), rest.end());
  return v;
}

Bitmap sample(int w, int h) {
  Bitmap b{w, h, {}};
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x)
      b.pixels.push_back(rgb(static_cast<uint8_t>(40 * x + 1), static_cast<uint8_t>(60 * y + 2),
                             static_cast<uint8_t>(x ^ y)));
  return b;
}

TEST(BitmapTest, SavedPicturesReadBackExactly) {
  testing::TempFolder dir;
  for (int w : {1, 2, 3, 4, 5}) {  // every row padding
    const Bitmap original = sample(w, 3);
    const std::string file = dir.file("round" + std::to_string(w) + ".bmp");
    ASSERT_TRUE(saveBmp(file, original).ok());
    EXPECT_EQ(std::filesystem::file_size(file), 54u + 3u * ((w * 3 + 3) / 4 * 4));
    Bitmap back;
    const Status s = loadBmp(file, &back);
    ASSERT_TRUE(s.ok()) << s.message();
    EXPECT_EQ(back.width, w);
    EXPECT_EQ(back.height, 3);
    EXPECT_EQ(back.pixels, original.pixels);
  }
  Bitmap bad = sample(2, 2);
  bad.pixels.pop_back();
  EXPECT_FALSE(saveBmp(dir.file("bad.bmp"), bad).ok());
  EXPECT_FALSE(saveBmp(dir.file("no/such/folder.bmp"), sample(1, 1)).ok());
}

TEST(BitmapTest, ReadsTopDownAnd32BitLayouts) {
  testing::TempFolder dir;
  const std::pair<Bytes, std::vector<ColorRef>> cases[] = {
      // 2 × 2 top-down, 24-bit: rows of 6 bytes padded to 8, first row is the top.
      {header(2, -2, 24, 0, {3, 2, 1, 6, 5, 4, 0, 0, 9, 8, 7, 12, 11, 10, 0, 0}),
       {rgb(1, 2, 3), rgb(4, 5, 6), rgb(7, 8, 9), rgb(10, 11, 12)}},
      // 2 × 1 32-bit BI_RGB: blue, green, red, unused.
      {header(2, 1, 32, 0, {30, 20, 10, 255, 60, 50, 40, 0}), {rgb(10, 20, 30), rgb(40, 50, 60)}},
      // 1 × 2 32-bit BI_BITFIELDS with red in the low byte, blue in the third; bottom row first.
      {header(1, 2, 32, 3, {255, 0, 0, 0, 0, 255, 0, 0, 0, 0, 255, 0, 70, 80, 90, 0, 1, 2, 3, 0},
              12),
       {rgb(1, 2, 3), rgb(70, 80, 90)}},
  };
  for (const auto& [bytes, pixels] : cases) {
    Bitmap bmp;
    ASSERT_TRUE(loadBmp(dir.write("layout.bmp", bytes), &bmp).ok());
    EXPECT_EQ(bmp.pixels, pixels);
  }
}

TEST(BitmapTest, DamagedOrUnsupportedFilesAreRefusedByName) {
  testing::TempFolder dir;
  const Bytes good = header(3, 2, 24, 0, Bytes(2 * 12, 0));
  Bitmap bmp;
  ASSERT_TRUE(loadBmp(dir.write("good.bmp", good), &bmp).ok());  // the base of the damaged ones
  const auto changed = [&good](std::vector<std::pair<std::size_t, unsigned char>> edits) {
    Bytes v = good;
    for (auto [at, b] : edits) v[at] = b;
    return v;
  };
  const std::pair<std::string, Bytes> cases[] = {
      {"empty.bmp", {}},
      {"cut_header.bmp", Bytes(good.begin(), good.begin() + 30)},
      {"cut_pixels.bmp", Bytes(good.begin(), good.end() - 1)},
      {"not_bmp.bmp", Bytes{'P', 'K', 3, 4, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}},
      {"huge.bmp", header(0x7fffffff, 0x7fffffff, 24, 0, Bytes(64, 0))},
      {"tallest.bmp", header(1, INT32_MIN, 24, 0, Bytes(64, 0))},
      {"eight_bit.bmp", header(3, 2, 8, 0, Bytes(1024 + 16, 0))},
      {"sixteen_bit.bmp", header(3, 2, 16, 0, Bytes(16, 0))},
      {"rle.bmp", header(3, 2, 24, 1, Bytes(24, 0))},
      {"negative_width.bmp", header(-3, 2, 24, 0, Bytes(24, 0))},
      {"zero_height.bmp", header(3, 0, 24, 0)},
      {"far_offset.bmp", changed({{10, 0xff}, {11, 0xff}})},
      {"huge_header.bmp", changed({{14, 0xf0}, {17, 0x7f}})},
      {"planes.bmp", changed({{26, 0}})},
      {"bad_masks.bmp",  // red bits not contiguous
       header(1, 1, 32, 3, {0xf0, 0xf0, 0, 0, 0, 0xff, 0, 0, 0, 0, 0xff, 0, 0, 0, 0, 0}, 12)},
      {"missing.bmp", {}},
  };
  for (const auto& [name, bytes] : cases) {
    const std::string file = name == "missing.bmp" ? dir.file(name) : dir.write(name, bytes);
    bmp.width = 99;
    const Status s = loadBmp(file, &bmp);
    EXPECT_FALSE(s.ok()) << name;
    EXPECT_NE(s.message().find(name), std::string::npos) << s.message();
    EXPECT_EQ(bmp.width, 99) << name << ": the output is left alone";
  }
}

}  // namespace
}  // namespace qlx
