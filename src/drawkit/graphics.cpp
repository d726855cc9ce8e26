// Making the shared GDI objects: the colours are fixed at construction; the picture sheet and
// the icon come from files beside the program.
#include "drawkit/graphics.h"

namespace qlx {

Graphics::Graphics() : picDC(DeviceContext::memoryContext()) {}

void initGraphics(Graphics& g, const std::string& appFolder) {
  g.picDC = DeviceContext::memoryContext();
  Bitmap sheet;
  if (loadBmp(appFolder + kPictureSheetFileName, &sheet).ok()) g.picDC.selectBitmap(sheet);

  auto icon = std::make_shared<Bitmap>();
  if (loadBmp(appFolder + kWindowIconFileName, icon.get()).ok())
    g.windowIcon = std::move(icon);
  else
    g.windowIcon.reset();
}

}  // namespace qlx
