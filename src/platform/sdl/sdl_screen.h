// SdlScreen: one shown Window on the desktop — its SDL window, the renderer and the texture the
// window's image is uploaded to. The renderer's logical size is the window's layout size, so
// the picture scales to any window size with its aspect kept and pointer positions come back
// in layout pixels.
#pragma once

#include <SDL.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "core/status.h"
#include "platform/bitmap.h"
#include "platform/window.h"

namespace qlx {

class SdlScreen {
 public:
  // Opens the SDL window for window (caption, icon, state, layout size — doubled on a high-DPI
  // display) and shows it with the window's current image.
  static std::unique_ptr<SdlScreen> open(Window& window, Status* status);
  ~SdlScreen();
  SdlScreen(const SdlScreen&) = delete;
  SdlScreen& operator=(const SdlScreen&) = delete;

  Uint32 id() const { return SDL_GetWindowID(window_); }
  SDL_Window* sdlWindow() const { return window_; }
  // The factor the layout was multiplied by when the window opened (1 or 2).
  int scale() const { return scale_; }

  // Uploads the image and draws it; the image's size becomes the logical size.
  void present(const DeviceContext& image);
  // Whether the image differs from what was last drawn (the auto-redraw of an idle window).
  bool differs(const DeviceContext& image) const;

  void setCaption(const std::string& ansiCaption);
  void setIcon(const Bitmap* icon);
  void setState(int state);
  void takeFocus();

 private:
  SdlScreen() = default;
  void fitLayout(int width, int height);

  SDL_Window* window_ = nullptr;
  SDL_Renderer* renderer_ = nullptr;
  SDL_Texture* texture_ = nullptr;
  int layoutWidth_ = 0;
  int layoutHeight_ = 0;
  int scale_ = 1;
  std::vector<uint32_t> shown_;
};

}  // namespace qlx
