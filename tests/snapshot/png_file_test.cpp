// The PNG writer read back through zlib: every literal byte value, matches of every length up to
// the longest, distances up to the far end of the window, and a file that cannot be written.
#include <gtest/gtest.h>

#include <filesystem>

#include "png_file.h"
#include "png_read.h"

namespace qlx::snapshot::testing {
namespace {

TEST(PngFile, MixedImageReadsBackExactly) {
  // Rows of noise (all byte values, few matches), flat runs, and copies of a row 40 rows up,
  // 40 * 901 bytes back: over 32K, so only the nearer copies can be used.
  const int width = 300, height = 90;
  std::vector<uint32_t> pixels(static_cast<std::size_t>(width) * height);
  uint32_t noise = 12345;
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      uint32_t& px = pixels[static_cast<std::size_t>(y) * width + x];
      if (y % 3 == 0) {
        noise = noise * 1103515245u + 12345u;
        px = noise >> 8 & 0xffffff;
      } else if (y % 3 == 1) {
        px = x < (y * 7) % width ? 0x646442u : 0xfafffcu;
      } else {
        px = pixels[static_cast<std::size_t>(y >= 40 ? y - 40 : 0) * width + x] ^
             (x % 17 == 0 ? 1u : 0u);
      }
    }
  }
  Picture back;
  std::string error;
  ASSERT_TRUE(decodePng(encodePng(width, height, pixels), &back, &error)) << error;
  EXPECT_EQ(back.width, width);
  EXPECT_EQ(back.height, height);
  EXPECT_EQ(back.pixels, pixels);

  // One pixel, the smallest picture there is.
  ASSERT_TRUE(decodePng(encodePng(1, 1, {0xabcdef}), &back, &error)) << error;
  EXPECT_EQ(back.pixels, std::vector<uint32_t>{0xabcdef});
}

TEST(PngFile, UnwritablePathAndMismatchedSizeAreErrors) {
  const std::string blocker =
      (std::filesystem::temp_directory_path() / "qlx-png-not-a-folder").string();
  ASSERT_TRUE(writePng(blocker, 1, 1, {0}).ok());
  const Status s = writePng(blocker + "/x.png", 1, 1, {0});
  EXPECT_FALSE(s.ok());
  EXPECT_NE(s.message().find(blocker + "/x.png"), std::string::npos);
  EXPECT_FALSE(writePng(blocker, 2, 2, {0}).ok());
  std::filesystem::remove(blocker);
}

}  // namespace
}  // namespace qlx::snapshot::testing
