// The drawing primitives every window paints with, one DrawRect at a time: the hit test, the
// title picture, framed buttons with a shadowed caption, boxes, shadowed free text and the text
// of one grid cell. None of them refreshes the window; a record without a device context draws
// nothing.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "drawkit/draw_rect.h"
#include "drawkit/graphics.h"

namespace qlx {

// The one piece of the picture sheet the game shows: the title picture at the sheet's (0, 0).
inline constexpr int kTitlePicturePiece = 5;
inline constexpr int kTitlePictureWidth = 249;
inline constexpr int kTitlePictureHeight = 100;

// DrawText format for captions and cell text: DT_CENTER | DT_VCENTER | DT_SINGLELINE.
inline constexpr uint32_t kCentredLine = DT_CENTER | DT_VCENTER | DT_SINGLELINE;
static_assert(kCentredLine == 37);
// drawText's stand-in for DT_VCENTER alone: top-left lines broken only at line feeds.
inline constexpr int32_t kTopLeftText = -1;

// True when (x, y) lies strictly inside the record: a point on any edge is outside.
bool hitTest(const DrawRect& rec, float x, float y);

// Copies a piece of the picture sheet to the record's top-left corner. Only piece 5, the
// 249 × 100 title picture, exists; it is copied at that size whatever the record's size.
void drawPicture(const DrawRect& rec, int piece, bool highlighted, const Graphics& g);

// Fills the record and frames it (style 1: hPen; 2: hPen and an inner penFrame line; other
// values: no frame and the pen left alone). The pen used last stays selected. The caption is
// drawn centred in black, then again in the hover colour (highlighted) or the record's colour
// with the rectangle's right edge moved by +lift and its bottom by -lift.
void drawButton(const DrawRect& rec, int frameStyle, bool highlighted, int32_t lift,
                std::string_view caption, const Graphics& g);

// Fills the record; framed > 0 outlines it with whatever pen is selected.
void drawBox(const DrawRect& rec, int framed);

// Draws text in black, then in the record's colour with the left edge moved by +lift and the
// top by -lift. format is passed to DrawText; kTopLeftText (-1) stands for DT_VCENTER alone.
void drawText(const DrawRect& rec, int32_t lift, std::string_view text, int32_t format);

// Fills the inner square of grid cell cellIndex (from 1, row by row over gridCols columns) with
// brush, leaving a one-pixel gap on each side, and draws text centred in the colour already set.
// text comes back in upper case; an empty text only fills.
void drawCellText(const DrawRect& grid, int gridCols, int cellIndex, HBRUSH brush,
                  std::string& text);

// The inner square of the cell at (column, row) of a board of square cells of size pixels.
Rect cellSquare(const DrawRect& board, int column, int row);

}  // namespace qlx
