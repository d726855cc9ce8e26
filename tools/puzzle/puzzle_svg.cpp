// The printed page: everything is placed on a millimetre grid inside 15 mm margins, the grid as
// large as fits above the key and the checklist, so one layout serves A4 and Letter.
#include "tools/puzzle/puzzle_svg.h"

#include <algorithm>
#include <cstdio>
#include <string>

namespace qlx {
namespace {

constexpr double kMargin = 15;
constexpr double kKeyBox = 12;  // the key's and the checklist's boxes, 13 to a row

std::string num(double v) {
  char text[32];
  std::snprintf(text, sizeof text, "%.2f", v);
  return text;
}

std::string rect(double x, double y, double w, double h, bool filled) {
  return "<rect x=\"" + num(x) + "\" y=\"" + num(y) + "\" width=\"" + num(w) + "\" height=\"" +
         num(h) + "\" fill=\"" + (filled ? "black" : "white") +
         "\" stroke=\"black\" stroke-width=\"0.3\"/>\n";
}

// Text with its left (anchor "start") or middle at x and its baseline at y, size in millimetres.
std::string text(double x, double y, double size, const std::string& what, bool middle = true,
                 bool bold = false) {
  return "<text x=\"" + num(x) + "\" y=\"" + num(y) + "\" font-size=\"" + num(size) + "\"" +
         (middle ? " text-anchor=\"middle\"" : "") + (bold ? " font-weight=\"bold\"" : "") + ">" +
         what + "</text>\n";
}

std::string letter(int letterIndex) { return std::string(1, char('A' + letterIndex - 1)); }

}  // namespace

PageSize pageSize(Paper paper) {
  return paper == Paper::A4 ? PageSize{210, 297} : PageSize{215.9, 279.4};
}

std::string puzzleAsSvg(const Puzzle& p, Paper paper, bool solution) {
  const PageSize page = pageSize(paper);
  const double width = page.width - 2 * kMargin;
  // Below the grid: the key (two rows), the checklist (two rows) and their headings.
  const double below = 2 * kKeyBox + 2 * kKeyBox + 24;
  const double cell =
      std::min(width / std::max<int>(p.gridCols, 1),
               (page.height - 2 * kMargin - 14 - below) / std::max<int>(p.gridRows, 1));
  const double gridLeft = kMargin + (width - cell * p.gridCols) / 2, gridTop = kMargin + 14;

  std::string svg = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n";
  svg += "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"" + num(page.width) + "mm\" height=\"" +
         num(page.height) + "mm\" viewBox=\"0 0 " + num(page.width) + " " + num(page.height) +
         "\" font-family=\"Liberation Sans, Arial, sans-serif\">\n";
  svg += "<rect width=\"100%\" height=\"100%\" fill=\"white\"/>\n";
  svg += text(kMargin, kMargin + 6, 7,
              solution ? "Quillorix codeword: solution" : "Quillorix codeword", false, true);

  // The grid: blocks filled, white cells with their number in the top-left corner.
  for (int r = 0; r < p.gridRows; ++r)
    for (int c = 0; c < p.gridCols; ++c) {
      const int i = r * p.gridCols + c + 1;
      const double x = gridLeft + c * cell, y = gridTop + r * cell;
      if (p.gridShape(i) != 1) {
        svg += rect(x, y, cell, cell, true);
        continue;
      }
      svg += rect(x, y, cell, cell, false);
      const int n = p.letterToNum(p.gridLetters(i) - 96);
      svg += text(x + cell * 0.06, y + cell * 0.3, cell * 0.26, std::to_string(n), false);
      if (solution || p.givenNums(n) == 1)
        svg +=
            text(x + cell / 2, y + cell * 0.82, cell * 0.55, letter(p.numToLetter(n)), true, true);
    }

  // The key: 1 to 26 in two rows of 13, the given numbers' letters in.
  double y = gridTop + cell * p.gridRows + 10;
  svg += text(kMargin, y - 2, 4, "Key", false, true);
  const double keyLeft = kMargin + (width - 13 * kKeyBox) / 2;
  for (int n = 1; n <= p.letterCount; ++n) {
    const double x = keyLeft + (n - 1) % 13 * kKeyBox, top = y + (n - 1) / 13 * kKeyBox;
    svg += rect(x, top, kKeyBox, kKeyBox, false);
    svg += text(x + 0.8, top + 3.2, 2.8, std::to_string(n), false);
    if (solution || p.givenNums(n) == 1)
      svg += text(x + kKeyBox / 2, top + kKeyBox * 0.82, 7, letter(p.numToLetter(n)), true, true);
  }

  // The A-Z checklist, to cross off the letters as they are found.
  y += 2 * kKeyBox + 10;
  svg += text(kMargin, y - 2, 4, "Letters", false, true);
  for (int k = 1; k <= 26; ++k) {
    const double x = keyLeft + (k - 1) % 13 * kKeyBox, top = y + (k - 1) / 13 * kKeyBox;
    svg += rect(x, top, kKeyBox, kKeyBox, false);
    svg += text(x + kKeyBox / 2, top + kKeyBox * 0.72, 6, letter(k));
  }
  return svg + "</svg>\n";
}

}  // namespace qlx
