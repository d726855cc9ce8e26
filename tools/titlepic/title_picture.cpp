// The title picture: a framed panel holding "Quillorix" in large serif capitals with the game's
// dropped shadow, above a grid row that spells the name in code, half solved, as the board shows
// a puzzle in play (numbers in grey, given letters in black, entries in blue, the selected
// number's cells pale yellow).
#include "title_picture.h"

#include <string>

#include "drawkit/painters.h"
#include "drawkit/primitives.h"

namespace qlx::titlepic {

namespace {

constexpr ColorRef kBlack = rgb(0, 0, 0);

// One cell of the codeword row: a block, a number still to be found, or a letter.
struct RowCell {
  enum Kind { Block, Number, Given, Entry } kind;
  std::string text;
  bool selected = false;
};

// Q U I L L O R I X with I given, U and L entered (L selected), between two blocks.
const RowCell kRow[] = {
    {RowCell::Block, ""},    {RowCell::Number, "19"},     {RowCell::Entry, "U"},
    {RowCell::Given, "I"},   {RowCell::Entry, "L", true}, {RowCell::Entry, "L", true},
    {RowCell::Number, "21"}, {RowCell::Number, "5"},      {RowCell::Given, "I"},
    {RowCell::Number, "26"}, {RowCell::Block, ""},
};
constexpr int kCells = sizeof(kRow) / sizeof(kRow[0]);

// Draws text centred in r twice, as the game draws captions: a black copy, then the coloured one
// `lift` pixels up and to the right.
void liftedText(DeviceContext& dc, const std::string& text, Rect r, int lift, ColorRef colour) {
  dc.setTextColor(kBlack);
  dc.drawText(text, r, kCentredLine);
  r.left += lift, r.right += lift, r.top -= lift, r.bottom -= lift;
  dc.setTextColor(colour);
  dc.drawText(text, r, kCentredLine);
}

void drawRow(DeviceContext& dc, const Graphics& g, int top, int cell) {
  const int left = (kWidth - kCells * cell) / 2;
  // The board frame shows through the gaps between cells, as on the play window.
  dc.fillRect(Rect{left - 2, top - 2, left + kCells * cell + 2, top + cell + 2}, &g.brBackground);
  for (int i = 0; i < kCells; ++i) {
    const RowCell& c = kRow[i];
    const Rect r{left + i * cell + 1, top + 1, left + (i + 1) * cell - 1, top + cell - 1};
    if (c.kind == RowCell::Block) {
      dc.fillRect(r, &g.brBlock);
      continue;
    }
    dc.fillRect(r, c.selected ? &g.brSelected : &g.brCell);
    const bool number = c.kind == RowCell::Number;
    dc.setFont(FontSpec{"Arial", number ? 7.5 : 11.0, number ? FW_NORMAL : FW_BOLD});
    dc.setTextColor(number                     ? kClrGridNumber
                    : c.kind == RowCell::Given ? kClrGivenLetter
                                               : kClrEntry);
    dc.drawText(c.text, r, kCentredLine);
  }
}

}  // namespace

void drawTitlePicture(DeviceContext& dc, const Graphics& g) {
  dc.fillRect(Rect{0, 0, kWidth, kHeight}, &g.brBackground);

  // A panel framed as the game frames its buttons: an outer line and an inner light one.
  const Rect panel{2, 2, kWidth - 2, kHeight - 2};
  dc.fillRect(panel, &g.brPanel);
  dc.selectPen(&g.penMenu);
  dc.rectangle(panel.left, panel.top, panel.right, panel.bottom);
  dc.selectPen(&g.penFrame);
  dc.rectangle(panel.left + 2, panel.top + 2, panel.right - 2, panel.bottom - 2);

  dc.setFont(FontSpec{"Times New Roman", 30.0, FW_BOLD});
  liftedText(dc, "Quillorix", Rect{0, 6, kWidth, 50}, 2, g.clrHoverText);

  drawRow(dc, g, 54, 21);

  dc.setFont(FontSpec{"Arial", 7.5, FW_BOLD});
  liftedText(dc, "A  CODEWORD  PUZZLE", Rect{0, 80, kWidth, 94}, 1, g.clrButtonText);
}

Bitmap snapshot(const DeviceContext& dc) {
  Bitmap b;
  b.width = dc.width();
  b.height = dc.height();
  b.pixels.reserve(static_cast<std::size_t>(b.width) * static_cast<std::size_t>(b.height));
  for (int y = 0; y < b.height; ++y)
    for (int x = 0; x < b.width; ++x) b.pixels.push_back(dc.pixel(x, y));
  return b;
}

}  // namespace qlx::titlepic
