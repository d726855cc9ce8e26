// quillorix-snapshot and its PNG writer, read back through zlib with every chunk's CRC checked:
// the writer's pictures decode exactly; the tool's four pictures show what a headless start-up
// with the same seed shows; a path that cannot be written or an unknown option ends the run with
// a message naming it.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <zlib.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>
#include <stdexcept>

#include "platform/headless/headless_backend.h"
#include "png_file.h"
#include "snapshot.h"
#include "startup/program.h"
#include "temp_folder.h"

namespace qlx::snapshot {
namespace {

namespace fs = std::filesystem;

struct Picture {
  int width = 0, height = 0;
  std::vector<uint32_t> pixels;  // 0x00RRGGBB, row by row from the top
  uint32_t at(int x, int y) const { return pixels[static_cast<std::size_t>(y) * width + x]; }
};

uint32_t get32(const uint8_t* p) {
  return (uint32_t{p[0]} << 24) | (p[1] << 16) | (p[2] << 8) | p[3];
}
ColorRef colorOf(uint32_t px) { return rgb(px >> 16 & 0xff, px >> 8 & 0xff, px & 0xff); }

// An 8-bit RGB picture without interlace or row filters, as the writer makes them; anything else
// throws. IHDR must come first and IEND last, as every viewer expects.
Picture decode(const std::vector<uint8_t>& png) {
  auto check = [](bool ok, const std::string& why) {
    if (!ok) throw std::runtime_error(why);
  };
  static const uint8_t kSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
  check(png.size() >= 8 && std::memcmp(png.data(), kSignature, 8) == 0, "no PNG signature");
  Picture out;
  std::vector<uint8_t> compressed;
  std::string name;
  for (std::size_t at = 8; name != "IEND";) {
    check(png.size() - at >= 12, "truncated chunk");
    const uint32_t length = get32(&png[at]);
    check(png.size() - at - 12 >= length, "chunk runs past the end");
    const uint8_t* body = &png[at + 8];
    name.assign(body - 4, body);
    check(::crc32(0, body - 4, length + 4) == get32(body + length), "bad CRC on " + name);
    check(at > 8 || name == "IHDR", "IHDR is not first");
    if (name == "IHDR") {
      check(length == 13 && body[8] == 8 && body[9] == 2 && !body[10] && !body[11] && !body[12],
            "not 8-bit RGB without interlace");
      out.width = static_cast<int>(get32(body));
      out.height = static_cast<int>(get32(body + 4));
    } else if (name == "IDAT") {
      compressed.insert(compressed.end(), body, body + length);
    }
    at += 12 + length;
  }
  check(out.width > 0 && out.height > 0, "empty picture");
  const std::size_t stride = 1 + 3 * static_cast<std::size_t>(out.width);
  std::vector<uint8_t> rows(stride * out.height + 1);  // one spare byte shows a stream too long
  uLongf size = rows.size();
  check(::uncompress(rows.data(), &size, compressed.data(), compressed.size()) == Z_OK &&
            size == stride * out.height,
        "image data that does not inflate to the picture");
  for (int y = 0; y < out.height; ++y) {
    const uint8_t* row = &rows[y * stride];
    check(row[0] == 0, "row filter other than None");
    for (int x = 0; x < out.width; ++x)
      out.pixels.push_back((uint32_t{row[1 + 3 * x]} << 16) | (row[2 + 3 * x] << 8) |
                           row[3 + 3 * x]);
  }
  return out;
}

Picture readPicture(const fs::path& path) {
  std::ifstream file(path, std::ios::binary);
  return decode({std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()});
}

TEST(PngFile, MixedImageReadsBackExactly) {
  // Rows of noise (all byte values, few matches), flat runs, and copies of a row 40 rows up,
  // 40 * 901 bytes back: over 32K, so only the nearer copies can be used.
  const int width = 300, height = 90;
  std::vector<uint32_t> pixels(static_cast<std::size_t>(width) * height);
  uint32_t noise = 12345;
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) {
      noise = noise * 1103515245u + 12345u;
      pixels[y * width + x] = y % 3 == 0 ? noise >> 8 & 0xffffff
                              : y % 3 == 1
                                  ? (x < y * 7 % width ? 0x646442u : 0xfafffcu)
                                  : pixels[(y >= 40 ? y - 40 : 0) * width + x] ^ (x % 17 == 0);
    }
  const Picture back = decode(encodePng(width, height, pixels));
  EXPECT_EQ(std::pair(back.width, back.height), std::pair(width, height));
  EXPECT_EQ(back.pixels, pixels);
  // One pixel, the smallest picture there is.
  EXPECT_EQ(decode(encodePng(1, 1, {0xabcdef})).pixels, std::vector<uint32_t>{0xabcdef});
}

// Runs the tool, its standard error written to errorFile: its exit code.
int runTool(const std::string& arguments, const std::string& errorFile) {
  const std::string command = std::string("'") + QLX_BIN_DIR + "/quillorix-snapshot' " + arguments +
                              " 2>'" + errorFile + "' >/dev/null";
  const int status = std::system(command.c_str());
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

TEST(SnapshotTool, PicturesMatchTheHeadlessScreenAndShowAGameInProgress) {
  const testing::TempFolder dir;
  const fs::path out = dir.file("made/pictures");  // two levels the tool must make
  const std::string errors = dir.file("errors");
  ASSERT_EQ(runTool("--out '" + out.string() + "'", errors), 0) << testing::readText(errors);
  // The same start-up in this process is the reference the pictures must match.
  Program program;
  HeadlessBackend backend;
  ASSERT_TRUE(prepareProgram(program, QLX_BIN_DIR, kDefaultSeed).ok());
  ASSERT_TRUE(program.fillLibrary->setSeed(kDefaultSeed).ok());
  const std::unique_ptr<PlayWindow> window = startPlay(program, backend, ":memory:");

  const Picture menu = readPicture(out / "menu.png");
  ASSERT_EQ(std::pair(menu.width, menu.height), std::pair(kPlayWidth, kPlayHeight));
  EXPECT_TRUE(menu.pixels == backend.screen(*window)) << "menu.png differs from the screen";
  backend.mouseDown(*window, 375, 260);
  ASSERT_TRUE(window->gamePlaying);
  const Picture before = readPicture(out / "new-game.png");
  EXPECT_TRUE(before.pixels == backend.screen(*window)) << "new-game.png differs from the screen";

  // In the game in progress one number is selected and three others have their letter typed.
  const Picture after = readPicture(out / "game-in-progress.png");
  ASSERT_EQ(after.pixels.size(), before.pixels.size());
  const Puzzle& p = program.puzzle;
  const DrawRect& g = window->gridBoard;
  std::set<int> selected, changed;
  for (int cell = 1; cell <= p.cellCount; ++cell) {
    if (p.gridShape(cell) == 0) continue;
    const int num = p.letterToNum(p.gridLetters(cell) - 96);
    const int left = g.left + ((cell - 1) % p.gridCols) * g.width,
              top = g.top + ((cell - 1) / p.gridCols) * g.width;
    if (colorOf(after.at(left + 2, top + 2)) == program.graphics.brSelected.color)
      selected.insert(num);
    for (int y = top + 2; y < top + g.width - 2; ++y)
      for (int x = left + 2; x < left + g.width - 2; ++x)
        if (before.at(x, y) != after.at(x, y)) changed.insert(num);
  }
  ASSERT_EQ(selected.size(), 1u);
  changed.erase(*selected.begin());
  EXPECT_EQ(changed.size(), 3u);
  changed.insert(*selected.begin());
  for (int num : changed) EXPECT_NE(p.givenNums(num), 1) << num;

  const Picture stats = readPicture(out / "hall-of-fame.png");  // smaller than the play window
  EXPECT_GT(stats.width, 100);
  EXPECT_LT(stats.height, kPlayHeight);
  EXPECT_EQ(colorOf(stats.at(2, 2)), Graphics{}.brBackground.color);
}

// The writer and the tool refuse paths under a file, naming them; the writer a size that does
// not match the pixels.
TEST(SnapshotTool, PathsUnderAFileAnUnknownOptionAndAMismatchedSizeAreRefused) {
  const testing::TempFolder dir;
  const std::string file = dir.write("file", "a file, not a folder"), errors = dir.file("errors");
  const Status s = writePng(file + "/x.png", 1, 1, {0});
  EXPECT_NE(s.message().find(file + "/x.png"), std::string::npos) << s.message();
  EXPECT_FALSE(writePng(file, 2, 2, {0}).ok());
  EXPECT_EQ(runTool("--out '" + file + "/pictures'", errors), 1);
  EXPECT_NE(testing::readText(errors).find("cannot make the folder " + file + "/pictures"),
            std::string::npos)
      << testing::readText(errors);
  EXPECT_EQ(runTool("--colour", errors), 2);
  EXPECT_NE(testing::readText(errors).find("unknown option --colour"), std::string::npos)
      << testing::readText(errors);
}

}  // namespace
}  // namespace qlx::snapshot
