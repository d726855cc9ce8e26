// quillorix-titlepic: paints the picture sheet (the title picture) and the window icon in the
// game's colours and writes them as 24-bit BMP files.
//   quillorix-titlepic [--sheet FILE] [--icon FILE]
// Exit 0 when every file asked for is written, 1 when one cannot be, 2 on a bad command line.
#include <iostream>
#include <string>

#include "icon_picture.h"
#include "platform/sdl/ttf_font_engine.h"
#include "title_picture.h"

namespace {

// Paints an image of the given size with paint and writes it to path.
template <typename Paint>
bool writePicture(const std::string& path, int width, int height, Paint paint) {
  using namespace qlx;
  Graphics g;
  DeviceContext image(width, height, g.brBackground.color);
  paint(image, g);
  const Status saved = saveBmp(path, titlepic::snapshot(image));
  if (!saved.ok()) {
    std::cerr << "quillorix-titlepic: " << saved.message() << '\n';
    return false;
  }
  std::cout << "quillorix-titlepic: " << path << ": " << width << " x " << height << '\n';
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  using namespace qlx;
  useTtfFonts();
  constexpr const char* kUsage = "usage: quillorix-titlepic [--sheet FILE] [--icon FILE]";
  std::string sheet, iconFile;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    if ((arg == "--sheet" || arg == "--icon") && i + 1 < argc) {
      (arg == "--sheet" ? sheet : iconFile) = argv[++i];
    } else {
      std::cerr << "quillorix-titlepic: unknown or incomplete option " << arg << '\n'
                << kUsage << '\n';
      return 2;
    }
  }
  if (sheet.empty() && iconFile.empty()) {
    std::cerr << "quillorix-titlepic: no output file given\n" << kUsage << '\n';
    return 2;
  }
  bool ok = true;
  if (!sheet.empty())
    ok &= writePicture(sheet, titlepic::kWidth, titlepic::kHeight, titlepic::drawTitlePicture);
  if (!iconFile.empty()) ok &= writePicture(iconFile, icon::kSize, icon::kSize, icon::drawIcon);
  return ok ? 0 : 1;
}
