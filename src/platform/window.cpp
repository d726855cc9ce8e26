// Window: load, show, modal show and unload as the game's windows expect them; the back end
// does the rest.
#include "platform/window.h"

#include "platform/backend.h"

namespace qlx {

Window::Window(Backend& backend, int clientWidth, int clientHeight, ColorRef background)
    : backend_(backend), dc_(clientWidth, clientHeight, background) {}

Window::~Window() {
  if (visible_) backend_.hideWindow(*this);
}

void Window::setCaption(const std::string& caption) {
  caption_ = caption;
  backend_.captionChanged(*this);
}

void Window::setIcon(std::shared_ptr<const Bitmap> icon) {
  icon_ = std::move(icon);
  backend_.iconChanged(*this);
}

void Window::load() {
  if (loaded_) return;
  loaded_ = true;
  Form_Load();
}

void Window::show() {
  load();
  if (!loaded_ || visible_) return;  // Form_Load may have unloaded the window
  visible_ = true;
  backend_.showWindow(*this);
}

void Window::showModal() {
  load();
  if (!loaded_) return;
  modal_ = true;
  if (!visible_) {
    visible_ = true;
    backend_.showWindow(*this);
  }
  backend_.runModal(*this);
  modal_ = false;
}

void Window::unload() {
  if (!loaded_) return;
  int cancel = 0;
  Form_Unload(cancel);
  if (cancel != 0) return;
  timerEnabled_ = false;
  backend_.timerChanged(*this);
  loaded_ = false;
  if (visible_) {
    visible_ = false;
    backend_.hideWindow(*this);
  }
}

void Window::refresh() {
  if (visible_) backend_.present(*this);
}

void Window::setWindowState(int state) {
  windowState_ = state;
  backend_.windowStateChanged(*this);
}

void Window::setTimerInterval(int millis) {
  timerInterval_ = millis < 0 ? 0 : millis;
  backend_.timerChanged(*this);
}

void Window::setTimerEnabled(bool enabled) {
  timerEnabled_ = enabled;
  backend_.timerChanged(*this);
}

}  // namespace qlx
