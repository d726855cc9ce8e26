// Window: a top-level window whose client area is a persistent image (auto-redraw). Drawing
// goes to the image even before the window is shown; refresh copies it to the screen. A window
// class overrides the handlers it needs and may use its one timer. Coordinates are layout
// pixels of the client area, whatever size the real window has on screen.
#pragma once

#include <memory>
#include <string>

#include "platform/bitmap.h"
#include "platform/dc.h"

namespace qlx {

class Backend;

// Mouse buttons as the handlers receive them.
enum : int { vbLeftButton = 1, vbRightButton = 2, vbMiddleButton = 4 };
// Virtual-key codes the game tests.
enum : int {
  VK_BACK = 8,
  VK_TAB = 9,
  VK_RETURN = 13,
  VK_ESCAPE = 27,
  VK_SPACE = 32,
  VK_END = 35,
  VK_HOME = 36,
  VK_LEFT = 37,
  VK_UP = 38,
  VK_RIGHT = 39,
  VK_DOWN = 40,
  VK_DELETE = 46,
  VK_R = 82,
  VK_Y = 89,
  VK_Z = 90
};
// Modifier keys held, as the key handlers' shift mask reports them.
enum : int { vbShiftMask = 1, vbCtrlMask = 2, vbAltMask = 4 };
// Window states.
enum : int { vbNormal = 0, vbMinimized = 1, vbMaximized = 2 };

class Window {
 public:
  Window(Backend& backend, int clientWidth, int clientHeight,
         ColorRef background = rgb(240, 240, 240));
  virtual ~Window();
  Window(const Window&) = delete;
  Window& operator=(const Window&) = delete;

  Backend& backend() { return backend_; }
  DeviceContext& dc() { return dc_; }
  const DeviceContext& dc() const { return dc_; }
  int clientWidth() const { return dc_.width(); }
  int clientHeight() const { return dc_.height(); }

  void setCaption(const std::string& caption);
  const std::string& caption() const { return caption_; }
  void setIcon(std::shared_ptr<const Bitmap> icon);
  const std::shared_ptr<const Bitmap>& icon() const { return icon_; }

  // Loads the window (Form_Load runs once) without showing it.
  void load();
  // Shows the window, loading it first if need be.
  void show();
  // Shows the window modally: returns when it has been closed; meanwhile no other window gets
  // input.
  void showModal();
  // Asks the window to close: Form_Unload runs and may cancel; otherwise the window hides, is
  // unloaded and a modal show of it returns.
  void unload();
  // Copies the image to the screen.
  void refresh();
  void setWindowState(int state);
  int windowState() const { return windowState_; }

  bool isLoaded() const { return loaded_; }
  bool isVisible() const { return visible_; }
  bool isModal() const { return modal_; }

  // The window's one timer: ticks every interval milliseconds while enabled and the interval
  // is above 0, delivered on the event thread as Timer_Tick.
  void setTimerInterval(int millis);
  void setTimerEnabled(bool enabled);
  int timerInterval() const { return timerInterval_; }
  bool timerEnabled() const { return timerEnabled_; }

  // Event handlers; the back end calls them on the one user-interface thread.
  virtual void Form_Load() {}
  virtual void Form_Unload(int& cancel) { (void)cancel; }
  virtual void Form_MouseDown(int button, int shift, float x, float y) {
    (void)button, (void)shift, (void)x, (void)y;
  }
  virtual void Form_MouseMove(int button, int shift, float x, float y) {
    (void)button, (void)shift, (void)x, (void)y;
  }
  virtual void Form_KeyDown(int& keyCode, int& shift) { (void)keyCode, (void)shift; }
  virtual void Form_KeyPress(int& keyAscii) { (void)keyAscii; }
  virtual void Timer_Tick() {}

 private:
  Backend& backend_;
  DeviceContext dc_;
  std::string caption_;
  std::shared_ptr<const Bitmap> icon_;
  bool loaded_ = false;
  bool visible_ = false;
  bool modal_ = false;
  int windowState_ = vbNormal;
  int timerInterval_ = 0;
  bool timerEnabled_ = false;
};

}  // namespace qlx
