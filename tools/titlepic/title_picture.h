// The main menu's title picture: the game's name lettered large over a row of codeword cells,
// painted in the game's own colours; and the copy of a painted image into a bitmap to save.
#pragma once

#include "drawkit/graphics.h"
#include "platform/bitmap.h"
#include "platform/dc.h"

namespace qlx::titlepic {

// The title picture is this block at the top-left corner of the picture sheet.
inline constexpr int kWidth = 249;
inline constexpr int kHeight = 100;

// Paints the title picture into dc's top-left kWidth × kHeight pixels.
void drawTitlePicture(DeviceContext& dc, const Graphics& g);

// The whole image of dc as a bitmap.
Bitmap snapshot(const DeviceContext& dc);

}  // namespace qlx::titlepic
