// The shared GDI objects and the title picture: the sheet and icon loaded from the program
// folder, a missing or damaged sheet leaving nothing to copy, and a sheet smaller than the
// title block copying only what exists.
#include <gtest/gtest.h>

#include "canvas.h"
#include "drawkit/primitives.h"
#include "temp_folder.h"

namespace qlx {
namespace {

using testing::Canvas;
using testing::countOf;
using testing::kBackground;

using Folder = qlx::testing::TempFolder;

Bitmap patterned(int width, int height) {
  Bitmap b;
  b.width = width;
  b.height = height;
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x)
      b.pixels.push_back(rgb(static_cast<uint8_t>(x), static_cast<uint8_t>(y), 200));
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
  folder.write(kPictureSheetFileName, "BM not really a bitmap");
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

// The title block is 249 x 100 whatever the record's size; a smaller sheet copies only what it
// has, no sheet or another piece nothing.
TEST_F(PictureTest, TheTitleBlockIsCopiedAtItsOwnSizeOrWhatTheSheetHas) {
  struct Case {
    int sheetWidth, sheetHeight, piece, copiedWidth, copiedHeight;
  };
  for (const Case c :
       {Case{300, 120, kTitlePicturePiece, 249, 100}, Case{100, 50, kTitlePicturePiece, 100, 50},
        Case{0, 0, kTitlePicturePiece, 0, 0}, Case{300, 120, 4, 0, 0}}) {
    Canvas fresh;
    rec.hDC = &fresh.dc;
    Graphics graphics;
    if (c.sheetWidth > 0) graphics.picDC.selectBitmap(patterned(c.sheetWidth, c.sheetHeight));
    drawPicture(rec, c.piece, true, graphics);
    EXPECT_EQ(countOf(fresh.dc, kBackground), 800 * 600 - c.copiedWidth * c.copiedHeight)
        << c.sheetWidth;
    if (c.copiedWidth == 0) continue;
    EXPECT_EQ(fresh.dc.pixel(50, 60), rgb(0, 0, 200));
    EXPECT_EQ(fresh.dc.pixel(50 + c.copiedWidth - 1, 60 + c.copiedHeight - 1),
              rgb(static_cast<uint8_t>(c.copiedWidth - 1), static_cast<uint8_t>(c.copiedHeight - 1),
                  200));
    EXPECT_EQ(fresh.dc.pixel(50 + c.copiedWidth, 60), kBackground);
    EXPECT_EQ(fresh.dc.pixel(50, 60 + c.copiedHeight), kBackground);
  }
}

}  // namespace
}  // namespace qlx
