// The shared GDI objects and the title picture: the sheet and icon loaded from the program
// folder (a missing or damaged sheet leaves nothing to copy), and the title block copied at its
// own size or what a smaller sheet has.
#include <gtest/gtest.h>

#include "canvas.h"
#include "drawkit/primitives.h"
#include "temp_folder.h"

namespace qlx {
namespace {

using testing::Canvas;
using testing::kBackground;

Bitmap patterned(int width, int height) {
  Bitmap b{.width = width, .height = height, .pixels = {}};
  for (int i = 0; i < width * height; ++i)
    b.pixels.push_back(rgb(static_cast<uint8_t>(i % width), static_cast<uint8_t>(i / width), 200));
  return b;
}

TEST(Graphics, LoadsTheSheetAndIconAndLeavesOutWhatIsGoneOrDamaged) {
  testing::TempFolder folder;
  ASSERT_TRUE(saveBmp(folder.file(kPictureSheetFileName), patterned(300, 120)).ok());
  ASSERT_TRUE(saveBmp(folder.file(kWindowIconFileName), patterned(32, 32)).ok());
  Graphics g;
  initGraphics(g, folder.path());
  EXPECT_EQ(g.picDC.pixel(248, 99), rgb(248, 99, 200));
  ASSERT_NE(g.windowIcon, nullptr);
  EXPECT_EQ(g.windowIcon->width, 32);

  initGraphics(g, folder.path() + "elsewhere/");
  EXPECT_FALSE(g.picDC.holdsBitmap());
  EXPECT_EQ(g.windowIcon, nullptr);

  folder.write(kPictureSheetFileName, "BM not really a bitmap");
  EXPECT_NO_THROW(initGraphics(g, folder.path()));
  EXPECT_FALSE(g.picDC.holdsBitmap());
}

// The title block is 249 x 100 whatever the record's size; no sheet or another piece copies
// nothing.
TEST(Picture, TheTitleBlockIsCopiedAtItsOwnSizeOrWhatTheSheetHas) {
  struct Case {
    int sheetWidth, sheetHeight, piece, copiedWidth, copiedHeight;
  };
  for (const Case c :
       {Case{300, 120, kTitlePicturePiece, 249, 100}, Case{100, 50, kTitlePicturePiece, 100, 50},
        Case{0, 0, kTitlePicturePiece, 0, 0}, Case{300, 120, 4, 0, 0}}) {
    Canvas canvas;
    DrawRect rec;
    rec.hDC = &canvas.dc;
    rec.left = 50, rec.top = 60, rec.width = 10, rec.height = 10;
    Graphics g;
    if (c.sheetWidth > 0) g.picDC.selectBitmap(patterned(c.sheetWidth, c.sheetHeight));
    drawPicture(rec, c.piece, true, g);
    EXPECT_EQ(testing::countOf(canvas.dc, kBackground), 800 * 600 - c.copiedWidth * c.copiedHeight)
        << c.sheetWidth;
    if (c.copiedWidth == 0) continue;
    EXPECT_EQ(canvas.dc.pixel(50, 60), rgb(0, 0, 200));
    EXPECT_EQ(canvas.dc.pixel(49 + c.copiedWidth, 59 + c.copiedHeight),
              rgb(static_cast<uint8_t>(c.copiedWidth - 1), static_cast<uint8_t>(c.copiedHeight - 1),
                  200));
  }
}

}  // namespace
}  // namespace qlx
