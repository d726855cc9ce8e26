// quillorix-icon: paints the window icon and writes it as a 24-bit BMP.
//   quillorix-icon --out FILE
// Exit 0 when the icon is written, 1 when it cannot be, 2 on a bad command line.
#include <iostream>
#include <string>

#include "icon_picture.h"
#include "title_picture.h"

int main(int argc, char** argv) {
  using namespace qlx;
  constexpr const char* kUsage = "usage: quillorix-icon --out FILE";
  std::string out;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    if (arg == "--out" && i + 1 < argc) {
      out = argv[++i];
    } else {
      std::cerr << "quillorix-icon: unknown or incomplete option " << arg << '\n' << kUsage << '\n';
      return 2;
    }
  }
  if (out.empty()) {
    std::cerr << "quillorix-icon: no output file given\n" << kUsage << '\n';
    return 2;
  }
  Graphics g;
  DeviceContext image(icon::kSize, icon::kSize, g.brBackground.color);
  icon::drawIcon(image, g);
  const Status saved = saveBmp(out, titlepic::snapshot(image));
  if (!saved.ok()) {
    std::cerr << "quillorix-icon: " << saved.message() << '\n';
    return 1;
  }
  std::cout << "quillorix-icon: " << out << ": " << icon::kSize << " x " << icon::kSize << '\n';
  return 0;
}
