// The shared GDI objects and the title picture: the sheet and icon loaded from the program
// folder, a missing or damaged sheet leaving nothing to copy, and a sheet smaller than the
// title block copying only what exists.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "canvas.h"
#include "drawkit/primitives.h"

namespace qlx {
namespace {

using testing::Canvas;
using testing::countOf;
using testing::kBackground;

class Folder {
 public:
  Folder() {
    std::string pattern = (std::filesystem::temp_directory_path() / "qlx-drawkit-XXXXXX").string();
    if (!mkdtemp(pattern.data())) throw std::runtime_error("cannot make a temporary folder");
    path_ = pattern + "/";
  }
  ~Folder() {
    std::error_code ec;
    std::filesystem::remove_all(path_, ec);
  }
  const std::string& path() const { return path_; }

 private:
  std::string path_;
};

Bitmap patterned(int width, int height) {
  Bitmap b;
  b.width = width;
  b.height = height;
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) b.pixels.push_back(rgb(static_cast<uint8_t>(x), static_cast<uint8_t>(y), 200));
  return b;
}

TEST(Graphics, LoadsTheSheetAndIconAndForgetsThemWhenTheyAreGone) {
  Folder folder;
  ASSERT_TRUE(saveBmp(folder.path() + kPictureSheetFileName, patterned(300, 120)).ok());
  ASSERT_TRUE(saveBmp(folder.path() + kWindowIconFileName, patterned(32, 32)).ok());
  Graphics g;
  EXPECT_FALSE(g.picDC.holdsBitmap());
  initGraphics(g, folder.path());
  EXPECT_TRUE(g.picDC.holdsBitmap());
  EXPECT_EQ(g.picDC.width(), 300);
  EXPECT_EQ(g.picDC.pixel(248, 99), rgb(248, 99, 200));
  ASSERT_NE(g.windowIcon, nullptr);
  EXPECT_EQ(g.windowIcon->width, 32);

  initGraphics(g, folder.path() + "elsewhere/");
  EXPECT_FALSE(g.picDC.holdsBitmap());
  EXPECT_EQ(g.windowIcon, nullptr);
}

TEST(Graphics, ADamagedSheetIsQuietlyLeftOut) {
  Folder folder;
  std::ofstream(folder.path() + kPictureSheetFileName) << "BM not really a bitmap";
  Graphics g;
  EXPECT_NO_THROW(initGraphics(g, folder.path()));
  EXPECT_FALSE(g.picDC.holdsBitmap());
}

class PictureTest : public ::testing::Test {
 protected:
  PictureTest() {
    rec.hDC = &canvas.dc;
    rec.left = 50, rec.top = 60, rec.width = 10, rec.height = 10;
  }
  Canvas canvas;
  Graphics g;
  DrawRect rec;
};

TEST_F(PictureTest, TheTitleBlockIsCopiedAtItsOwnSizeWhateverTheRecordsSize) {
  g.picDC.selectBitmap(patterned(300, 120));
  drawPicture(rec, kTitlePicturePiece, true, g);
  EXPECT_EQ(canvas.dc.pixel(50, 60), rgb(0, 0, 200));
  EXPECT_EQ(canvas.dc.pixel(50 + 248, 60 + 99), rgb(248, 99, 200));
  EXPECT_EQ(canvas.dc.pixel(50 + 249, 60), kBackground);
  EXPECT_EQ(canvas.dc.pixel(50, 60 + 100), kBackground);
  EXPECT_EQ(countOf(canvas.dc, kBackground), 800 * 600 - 249 * 100);
}

TEST_F(PictureTest, ASmallSheetCopiesOnlyWhatExists) {
  g.picDC.selectBitmap(patterned(100, 50));
  drawPicture(rec, kTitlePicturePiece, false, g);
  EXPECT_EQ(canvas.dc.pixel(50 + 99, 60 + 49), rgb(99, 49, 200));
  EXPECT_EQ(canvas.dc.pixel(50 + 100, 60), kBackground);
  EXPECT_EQ(canvas.dc.pixel(50, 60 + 50), kBackground);
  EXPECT_EQ(countOf(canvas.dc, kBackground), 800 * 600 - 100 * 50);
}

TEST_F(PictureTest, NoSheetOrAnotherPieceCopiesNothing) {
  drawPicture(rec, kTitlePicturePiece, true, g);
  EXPECT_EQ(countOf(canvas.dc, kBackground), 800 * 600);
  g.picDC.selectBitmap(patterned(300, 120));
  drawPicture(rec, 4, true, g);
  EXPECT_EQ(countOf(canvas.dc, kBackground), 800 * 600);
}

}  // namespace
}  // namespace qlx
