// The GDI objects every window shares: text colours, solid brushes, pens, the memory context
// holding the picture sheet, and the window icon. Made once at start-up and passed to whatever
// draws, so a test can build a fresh set.
#pragma once

#include <memory>
#include <string>

#include "platform/bitmap.h"
#include "platform/dc.h"
#include "platform/gdi.h"

namespace qlx {

inline constexpr const char* kPictureSheetFileName = "ALLPICDATA.BMP";
inline constexpr const char* kWindowIconFileName = "QUILICON.BMP";

// Records hold pointers to these brushes and pens, so a Graphics stays where it was made.
struct Graphics {
  Graphics();
  Graphics(const Graphics&) = delete;
  Graphics& operator=(const Graphics&) = delete;

  ColorRef clrHoverText = rgb(200, 200, 80);
  ColorRef clrButtonText = rgb(140, 220, 140);
  ColorRef clrMessageText = rgb(209, 255, 209);
  ColorRef clrScoreText = rgb(74, 74, 50);

  Brush brBackground{rgb(100, 100, 66)};
  Brush brPanel{rgb(50, 50, 45)};
  Brush brBlock{rgb(50, 50, 50)};
  Brush brCell{rgb(224, 224, 255)};
  Brush brSelected{rgb(250, 255, 200)};
  Brush brUsedLetter{rgb(120, 120, 120)};

  Pen penMenu{rgb(140, 140, 120), 1};
  Pen penFrame{rgb(170, 200, 170), 1};

  // The picture sheet; without one it holds no bitmap and copies nothing.
  DeviceContext picDC;
  // The windows' icon; null when its file is missing or unreadable.
  std::shared_ptr<const Bitmap> windowIcon;
};

// Loads the picture sheet and the window icon from appFolder (ending in a separator). A missing
// or unreadable file leaves that piece out and says nothing: the game runs on without it.
void initGraphics(Graphics& g, const std::string& appFolder);

}  // namespace qlx
