// Window creation with the high-DPI rule, upload of the image to a streaming texture, and the
// window's caption, icon and state.
#include "platform/sdl/sdl_screen.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "platform/fonts/cp1252.h"

namespace qlx {

namespace {

// A display of at least this many dots per inch gets the layout doubled.
constexpr float kHighDpi = 144.0f;

// 2 when the layout should be doubled: the display is dense, the system does not already give
// the window more pixels than points, and the doubled window fits the display.
int chooseScale(SDL_Window* window, SDL_Renderer* renderer, int width, int height) {
  int ww = 0, wh = 0, ow = 0, oh = 0;
  SDL_GetWindowSize(window, &ww, &wh);
  if (SDL_GetRendererOutputSize(renderer, &ow, &oh) == 0 && (ow > ww || oh > wh)) return 1;
  const int display = SDL_GetWindowDisplayIndex(window);
  float ddpi = 0, hdpi = 0, vdpi = 0;
  if (display < 0 || SDL_GetDisplayDPI(display, &ddpi, &hdpi, &vdpi) != 0 || hdpi < kHighDpi)
    return 1;
  SDL_Rect usable{};
  if (SDL_GetDisplayUsableBounds(display, &usable) == 0 &&
      (2 * width > usable.w || 2 * height > usable.h))
    return 1;
  return 2;
}

}  // namespace

std::unique_ptr<SdlScreen> SdlScreen::open(Window& window, Status* status) {
  std::unique_ptr<SdlScreen> screen(new SdlScreen);
  const int width = window.clientWidth();
  const int height = window.clientHeight();
  screen->window_ = SDL_CreateWindow(
      cp1252ToUtf8(window.caption()).c_str(), SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED, width,
      height, SDL_WINDOW_HIDDEN | SDL_WINDOW_RESIZABLE | SDL_WINDOW_ALLOW_HIGHDPI);
  if (screen->window_ == nullptr) {
    *status = Status::Error(std::string("Cannot open a window: ") + SDL_GetError());
    return nullptr;
  }
  screen->renderer_ = SDL_CreateRenderer(screen->window_, -1, 0);
  if (screen->renderer_ == nullptr)
    screen->renderer_ = SDL_CreateRenderer(screen->window_, -1, SDL_RENDERER_SOFTWARE);
  if (screen->renderer_ == nullptr) {
    *status = Status::Error(std::string("Cannot draw in a window: ") + SDL_GetError());
    return nullptr;
  }
  screen->scale_ = chooseScale(screen->window_, screen->renderer_, width, height);
  if (screen->scale_ != 1) {
    const int display = SDL_GetWindowDisplayIndex(screen->window_);
    SDL_SetWindowSize(screen->window_, width * screen->scale_, height * screen->scale_);
    const int centred = SDL_WINDOWPOS_CENTERED_DISPLAY(display);
    SDL_SetWindowPosition(screen->window_, centred, centred);
  }
  SDL_SetWindowMinimumSize(screen->window_, std::max(1, width / 4), std::max(1, height / 4));
  screen->setIcon(window.icon().get());
  screen->fitLayout(width, height);
  SDL_ShowWindow(screen->window_);
  if (window.windowState() != vbNormal) screen->setState(window.windowState());
  screen->present(window.dc());
  return screen;
}

SdlScreen::~SdlScreen() {
  if (texture_ != nullptr) SDL_DestroyTexture(texture_);
  if (renderer_ != nullptr) SDL_DestroyRenderer(renderer_);
  if (window_ != nullptr) SDL_DestroyWindow(window_);
}

void SdlScreen::fitLayout(int width, int height) {
  if (texture_ != nullptr && width == layoutWidth_ && height == layoutHeight_) return;
  if (texture_ != nullptr) {
    SDL_DestroyTexture(texture_);
    texture_ = nullptr;
    // An image that changed size after the window opened takes the window along, unless the
    // player has maximised it.
    if ((SDL_GetWindowFlags(window_) & SDL_WINDOW_MAXIMIZED) == 0)
      SDL_SetWindowSize(window_, width * scale_, height * scale_);
  }
  layoutWidth_ = width;
  layoutHeight_ = height;
  // The image's pixels are 0x00RRGGBB: a format whose top byte is ignored.
  texture_ = SDL_CreateTexture(renderer_, SDL_PIXELFORMAT_RGB888, SDL_TEXTUREACCESS_STREAMING,
                               std::max(1, width), std::max(1, height));
  SDL_RenderSetLogicalSize(renderer_, std::max(1, width), std::max(1, height));
}

void SdlScreen::present(const DeviceContext& image) {
  fitLayout(image.width(), image.height());
  if (texture_ == nullptr) return;
  const std::vector<uint32_t>& bits = image.bits();
  if (!bits.empty()) SDL_UpdateTexture(texture_, nullptr, bits.data(), image.width() * 4);
  shown_ = bits;

  // Whole multiples keep pixels sharp; any other scale is smoothed.
  int ow = 0, oh = 0;
  SDL_GetRendererOutputSize(renderer_, &ow, &oh);
  const double factor =
      std::min(double(ow) / std::max(1, layoutWidth_), double(oh) / std::max(1, layoutHeight_));
  const bool whole = factor >= 1.0 && std::fabs(factor - std::round(factor)) < 1e-6;
  SDL_SetTextureScaleMode(texture_, whole ? SDL_ScaleModeNearest : SDL_ScaleModeLinear);

  SDL_SetRenderDrawColor(renderer_, 0, 0, 0, 255);
  SDL_RenderClear(renderer_);
  SDL_RenderCopy(renderer_, texture_, nullptr, nullptr);
  SDL_RenderPresent(renderer_);
}

bool SdlScreen::differs(const DeviceContext& image) const {
  const std::vector<uint32_t>& bits = image.bits();
  return bits.size() != shown_.size() ||
         (!bits.empty() &&
          std::memcmp(bits.data(), shown_.data(), bits.size() * sizeof(uint32_t)) != 0);
}

void SdlScreen::setCaption(const std::string& ansiCaption) {
  SDL_SetWindowTitle(window_, cp1252ToUtf8(ansiCaption).c_str());
}

void SdlScreen::setIcon(const Bitmap* icon) {
  if (icon == nullptr || icon->width <= 0 || icon->height <= 0 ||
      icon->pixels.size() !=
          static_cast<std::size_t>(icon->width) * static_cast<std::size_t>(icon->height))
    return;
  SDL_Surface* surface =
      SDL_CreateRGBSurfaceWithFormat(0, icon->width, icon->height, 32, SDL_PIXELFORMAT_ARGB8888);
  if (surface == nullptr) return;
  SDL_LockSurface(surface);
  for (int y = 0; y < icon->height; ++y) {
    auto* row =
        reinterpret_cast<Uint32*>(static_cast<Uint8*>(surface->pixels) + y * surface->pitch);
    for (int x = 0; x < icon->width; ++x) {
      const ColorRef c = icon->at(x, y);
      row[x] = 0xFF000000u | Uint32(redOf(c)) << 16 | Uint32(greenOf(c)) << 8 | Uint32(blueOf(c));
    }
  }
  SDL_UnlockSurface(surface);
  SDL_SetWindowIcon(window_, surface);
  SDL_FreeSurface(surface);
}

void SdlScreen::setState(int state) {
  switch (state) {
    case vbMinimized:
      SDL_MinimizeWindow(window_);
      break;
    case vbMaximized:
      SDL_MaximizeWindow(window_);
      break;
    default:
      SDL_RestoreWindow(window_);
      break;
  }
}

void SdlScreen::takeFocus() {
  SDL_RaiseWindow(window_);
  SDL_SetWindowInputFocus(window_);
}

}  // namespace qlx
