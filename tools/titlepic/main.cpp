// quillorix-titlepic: paints the picture sheet (the title picture) and the window icon in the
// game's colours and writes them as 24-bit BMP files, and the desktop icons as PNG files.
//   quillorix-titlepic [--sheet FILE] [--icon FILE] [--icons DIR]
// --icons writes DIR/quillorix-SIZE.png at every size of the icon theme, each painted at its size.
// Exit 0 when every file asked for is written, 1 when one cannot be, 2 on a bad command line.
#include <iostream>
#include <string>

#include "core/program_options.h"
#include "icon_picture.h"
#include "platform/sdl/ttf_font_engine.h"
#include "png_file.h"
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

// Paints the icon at each size of the icon theme and writes it as DIR/quillorix-SIZE.png.
bool writeIcons(const std::string& folder) {
  using namespace qlx;
  Graphics g;
  for (const int size : icon::kThemeSizes) {
    DeviceContext image(size, size, g.brBackground.color);
    icon::drawIcon(image, g, size);
    std::vector<uint32_t> pixels;
    for (int y = 0; y < size; ++y)
      for (int x = 0; x < size; ++x) {
        const ColorRef c = image.pixel(x, y);
        pixels.push_back(uint32_t(redOf(c)) << 16 | uint32_t(greenOf(c)) << 8 | blueOf(c));
      }
    const std::string path = folder + "/quillorix-" + std::to_string(size) + ".png";
    if (const Status s = snapshot::writePng(path, size, size, pixels); !s.ok()) {
      std::cerr << "quillorix-titlepic: " << s.message() << '\n';
      return false;
    }
  }
  std::cout << "quillorix-titlepic: " << folder << ": icons of " << std::size(icon::kThemeSizes)
            << " sizes\n";
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  constexpr const char* kUsage =
      "usage: quillorix-titlepic [--sheet FILE] [--icon FILE] [--icons DIR]";
  if (const auto done = qlx::standardOption(argc, argv, "quillorix-titlepic", kUsage)) return *done;
  using namespace qlx;
  useTtfFonts();
  std::string sheet, iconFile, iconFolder;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    if ((arg == "--sheet" || arg == "--icon" || arg == "--icons") && i + 1 < argc) {
      (arg == "--sheet" ? sheet : arg == "--icon" ? iconFile : iconFolder) = argv[++i];
    } else {
      std::cerr << "quillorix-titlepic: unknown or incomplete option " << arg << '\n'
                << kUsage << '\n';
      return 2;
    }
  }
  if (sheet.empty() && iconFile.empty() && iconFolder.empty()) {
    std::cerr << "quillorix-titlepic: no output file given\n" << kUsage << '\n';
    return 2;
  }
  bool ok = true;
  if (!sheet.empty())
    ok &= writePicture(sheet, titlepic::kWidth, titlepic::kHeight, titlepic::drawTitlePicture);
  if (!iconFile.empty())
    ok &= writePicture(iconFile, icon::kSize, icon::kSize,
                       [](DeviceContext& dc, const Graphics& g) { icon::drawIcon(dc, g); });
  if (!iconFolder.empty()) ok &= writeIcons(iconFolder);
  return ok ? 0 : 1;
}
