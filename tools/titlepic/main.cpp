// quillorix-titlepic: paints the title picture and writes it as the picture sheet.
//   quillorix-titlepic --out FILE
// Exit 0 when the sheet is written, 1 when it cannot be, 2 on a bad command line.
#include <iostream>
#include <string>

#include "title_picture.h"

int main(int argc, char** argv) {
  using namespace qlx;
  constexpr const char* kUsage = "usage: quillorix-titlepic --out FILE";
  std::string out;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    if (arg == "--out" && i + 1 < argc) {
      out = argv[++i];
    } else {
      std::cerr << "quillorix-titlepic: unknown or incomplete option " << arg << '\n' << kUsage << '\n';
      return 2;
    }
  }
  if (out.empty()) {
    std::cerr << "quillorix-titlepic: no output file given\n" << kUsage << '\n';
    return 2;
  }
  Graphics g;
  DeviceContext sheet(titlepic::kWidth, titlepic::kHeight, g.brBackground.color);
  titlepic::drawTitlePicture(sheet, g);
  const Status saved = saveBmp(out, titlepic::snapshot(sheet));
  if (!saved.ok()) {
    std::cerr << "quillorix-titlepic: " << saved.message() << '\n';
    return 1;
  }
  std::cout << "quillorix-titlepic: " << out << ": " << titlepic::kWidth << " x " << titlepic::kHeight << '\n';
  return 0;
}
