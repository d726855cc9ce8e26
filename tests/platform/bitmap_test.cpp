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

namespace fs = std::filesystem;

class BitmapTest : public ::testing::Test {
 protected:
  std::string path(const std::string& name) const { return dir_.file(name); }
  std::string write(const std::string& name, const std::vector<unsigned char>& bytes) const {
    return dir_.write(name, bytes);
  }
  testing::TempFolder dir_;
};

void put16(std::vector<unsigned char>& v, uint32_t x) {
  v.push_back(static_cast<unsigned char>(x));
  v.push_back(static_cast<unsigned char>(x >> 8));
}
void put32(std::vector<unsigned char>& v, uint32_t x) {
  put16(v, x & 0xffff);
  put16(v, x >> 16);
}

// A file and info header (40 bytes) for a picture; pixel data is appended by the caller.
std::vector<unsigned char> header(int32_t width, int32_t height, uint16_t bits,
                                  uint32_t compression, uint32_t extra = 0) {
  std::vector<unsigned char> v{'B', 'M'};
  put32(v, 0);  // file size: readers ignore it
  put32(v, 0);
  put32(v, 54 + extra);
  put32(v, 40);
  put32(v, static_cast<uint32_t>(width));
  put32(v, static_cast<uint32_t>(height));
  put16(v, 1);
  put16(v, bits);
  put32(v, compression);
  for (int i = 0; i < 5; ++i) put32(v, 0);
  return v;
}

Bitmap sample(int w, int h) {
  Bitmap b;
  b.width = w;
  b.height = h;
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x)
      b.pixels.push_back(rgb(static_cast<uint8_t>(40 * x + 1), static_cast<uint8_t>(60 * y + 2),
                             static_cast<uint8_t>(x ^ y)));
  return b;
}

TEST_F(BitmapTest, SavedPicturesReadBackExactly) {
  for (int w : {1, 2, 3, 4, 5}) {  // every row padding
    const Bitmap original = sample(w, 3);
    const std::string file = path("round" + std::to_string(w) + ".bmp");
    ASSERT_TRUE(saveBmp(file, original).ok());
    const auto rowBytes = static_cast<std::uintmax_t>((w * 3 + 3) / 4 * 4);
    EXPECT_EQ(fs::file_size(file), 54 + 3 * rowBytes);
    Bitmap back;
    const Status s = loadBmp(file, &back);
    ASSERT_TRUE(s.ok()) << s.message();
    EXPECT_EQ(back.width, w);
    EXPECT_EQ(back.height, 3);
    EXPECT_EQ(back.pixels, original.pixels);
  }
  Bitmap bad = sample(2, 2);
  bad.pixels.pop_back();
  EXPECT_FALSE(saveBmp(path("bad.bmp"), bad).ok());
  EXPECT_FALSE(saveBmp(path("no/such/folder.bmp"), sample(1, 1)).ok());
}

TEST_F(BitmapTest, ReadsTopDownAnd32BitLayouts) {
  // 2 × 2 top-down, 24-bit: rows of 6 bytes padded to 8, first row is the top.
  std::vector<unsigned char> topDown = header(2, -2, 24, 0);
  for (unsigned char b : {3, 2, 1, 6, 5, 4, 0, 0, 9, 8, 7, 12, 11, 10, 0, 0}) topDown.push_back(b);
  Bitmap bmp;
  ASSERT_TRUE(loadBmp(write("td.bmp", topDown), &bmp).ok());
  EXPECT_EQ(bmp.at(0, 0), rgb(1, 2, 3));
  EXPECT_EQ(bmp.at(1, 0), rgb(4, 5, 6));
  EXPECT_EQ(bmp.at(0, 1), rgb(7, 8, 9));

  // 2 × 1 32-bit BI_RGB: blue, green, red, unused.
  std::vector<unsigned char> rgb32 = header(2, 1, 32, 0);
  for (unsigned char b : {30, 20, 10, 255, 60, 50, 40, 0}) rgb32.push_back(b);
  ASSERT_TRUE(loadBmp(write("rgb32.bmp", rgb32), &bmp).ok());
  EXPECT_EQ(bmp.at(0, 0), rgb(10, 20, 30));
  EXPECT_EQ(bmp.at(1, 0), rgb(40, 50, 60));

  // 32-bit BI_BITFIELDS with red in the low byte, blue in the third.
  std::vector<unsigned char> fields = header(1, 2, 32, 3, 12);
  put32(fields, 0x000000ff);
  put32(fields, 0x0000ff00);
  put32(fields, 0x00ff0000);
  for (unsigned char b : {70, 80, 90, 0, 1, 2, 3, 0}) fields.push_back(b);  // bottom row first
  ASSERT_TRUE(loadBmp(write("fields.bmp", fields), &bmp).ok());
  EXPECT_EQ(bmp.at(0, 1), rgb(70, 80, 90));
  EXPECT_EQ(bmp.at(0, 0), rgb(1, 2, 3));
}

TEST_F(BitmapTest, DamagedOrUnsupportedFilesAreRefusedByName) {
  std::vector<unsigned char> good = header(3, 2, 24, 0);
  good.resize(good.size() + 2 * 12, 0x7f);
  struct Case {
    std::string name;
    std::vector<unsigned char> bytes;
  };
  std::vector<Case> cases;
  cases.push_back({"empty.bmp", {}});
  cases.push_back({"cut_header.bmp", std::vector<unsigned char>(good.begin(), good.begin() + 30)});
  cases.push_back({"cut_pixels.bmp", std::vector<unsigned char>(good.begin(), good.end() - 1)});
  cases.push_back(
      {"not_bmp.bmp", {'P', 'K', 3, 4, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}});
  const auto padded = [](std::vector<unsigned char> v, std::size_t n) {
    v.resize(v.size() + n, 0);
    return v;
  };
  cases.push_back({"huge.bmp", padded(header(0x7fffffff, 0x7fffffff, 24, 0), 64)});
  cases.push_back({"tallest.bmp", padded(header(1, INT32_MIN, 24, 0), 64)});
  cases.push_back({"eight_bit.bmp", padded(header(3, 2, 8, 0), 1024 + 16)});
  cases.push_back({"sixteen_bit.bmp", padded(header(3, 2, 16, 0), 16)});
  cases.push_back({"rle.bmp", padded(header(3, 2, 24, 1), 24)});
  cases.push_back({"negative_width.bmp", padded(header(-3, 2, 24, 0), 24)});
  cases.push_back({"zero_height.bmp", header(3, 0, 24, 0)});
  auto farOffset = good;
  farOffset[10] = 0xff;
  farOffset[11] = 0xff;
  cases.push_back({"far_offset.bmp", farOffset});
  auto hugeHeader = good;
  hugeHeader[14] = 0xf0;
  hugeHeader[17] = 0x7f;
  cases.push_back({"huge_header.bmp", hugeHeader});
  auto planes = good;
  planes[26] = 0;
  cases.push_back({"planes.bmp", planes});
  auto badMasks = header(1, 1, 32, 3, 12);
  put32(badMasks, 0x0000f0f0);  // red bits not contiguous
  put32(badMasks, 0x0000ff00);
  put32(badMasks, 0x00ff0000);
  put32(badMasks, 0);
  cases.push_back({"bad_masks.bmp", badMasks});

  for (const Case& c : cases) {
    Bitmap bmp;
    bmp.width = 99;
    const std::string file = write(c.name, c.bytes);
    const Status s = loadBmp(file, &bmp);
    EXPECT_FALSE(s.ok()) << c.name;
    EXPECT_NE(s.message().find(c.name), std::string::npos) << s.message();
    EXPECT_EQ(bmp.width, 99) << c.name << ": the output is left alone";
  }
  Bitmap bmp;
  ASSERT_TRUE(loadBmp(write("good.bmp", good), &bmp).ok());  // the base of the damaged ones
  const Status missing = loadBmp(path("missing.bmp"), &bmp);
  EXPECT_FALSE(missing.ok());
  EXPECT_NE(missing.message().find("missing.bmp"), std::string::npos);
}

}  // namespace
}  // namespace qlx
