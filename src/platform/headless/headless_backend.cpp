// The headless back end: every event goes straight to the window's handler on the caller's
// thread, as the single user-interface thread of the real back end would deliver it.
#include "platform/headless/headless_backend.h"

#include <cctype>
#include <stdexcept>

#include "platform/sdl/ttf_font_engine.h"

namespace qlx {

HeadlessBackend::HeadlessBackend() { useTtfFonts(); }

void HeadlessBackend::showWindow(Window& window) {
  Shown& s = shown_[&window];
  s.nextTick = now_ + static_cast<uint64_t>(window.timerInterval());
  // A window appears with whatever it painted before it was shown, as on a real screen.
  s.screen = window.dc().bits();
}

void HeadlessBackend::hideWindow(Window& window) { shown_.erase(&window); }

void HeadlessBackend::present(Window& window) {
  auto it = shown_.find(&window);
  if (it == shown_.end()) return;
  it->second.presents += 1;
  it->second.screen = window.dc().bits();
}

void HeadlessBackend::timerChanged(Window& window) {
  auto it = shown_.find(&window);
  if (it != shown_.end())
    it->second.nextTick = now_ + static_cast<uint64_t>(window.timerInterval());
}

void HeadlessBackend::runModal(Window& window) {
  modalStack_.push_back(&window);
  while (window.isVisible()) {
    if (modalSteps_.empty()) {
      modalStack_.pop_back();
      throw std::logic_error("a modal window \"" + window.caption() +
                             "\" opened with no test step to answer it");
    }
    auto step = std::move(modalSteps_.front());
    modalSteps_.pop_front();
    step(window);
  }
  modalStack_.pop_back();
}

void HeadlessBackend::messageBox(const std::string& text, const std::string& title) {
  messages.push_back({text, title});
}

bool HeadlessBackend::acceptsInput(const Window& window) const {
  if (!window.isVisible()) return false;
  return modalStack_.empty() || modalStack_.back() == &window;
}

void HeadlessBackend::mouseDown(Window& window, float x, float y, int button) {
  if (acceptsInput(window)) window.Form_MouseDown(button, 0, x, y);
}

void HeadlessBackend::mouseMove(Window& window, float x, float y) {
  if (acceptsInput(window)) window.Form_MouseMove(0, 0, x, y);
}

void HeadlessBackend::keyDown(Window& window, int keyCode, int shift) {
  if (!acceptsInput(window)) return;
  window.Form_KeyDown(keyCode, shift);
}

void HeadlessBackend::keyPress(Window& window, int keyAscii) {
  if (acceptsInput(window)) window.Form_KeyPress(keyAscii);
}

void HeadlessBackend::type(Window& window, const std::string& text) {
  for (unsigned char c : text) {
    // Letter keys' codes are the upper-case letters; the other keys the game knows share their
    // character's code.
    keyDown(window, std::toupper(c));
    keyPress(window, c);
  }
}

void HeadlessBackend::tick(Window& window) {
  // Timers keep ticking under a modal window, as they do on the real back end.
  if (window.isVisible() && window.timerEnabled() && window.timerInterval() > 0)
    window.Timer_Tick();
}

void HeadlessBackend::advance(uint64_t millis) {
  const uint64_t end = now_ + millis;
  for (;;) {
    // The earliest due timer among the windows shown.
    Window* due = nullptr;
    uint64_t when = end + 1;
    for (auto& [w, s] : shown_) {
      Window* win = const_cast<Window*>(w);
      if (win->timerEnabled() && win->timerInterval() > 0 && s.nextTick <= end &&
          s.nextTick < when) {
        due = win;
        when = s.nextTick;
      }
    }
    if (!due) break;
    now_ = when;
    shown_[due].nextTick = when + static_cast<uint64_t>(due->timerInterval());
    tick(*due);
  }
  now_ = end;
}

int HeadlessBackend::presentCount(const Window& window) const {
  auto it = shown_.find(&window);
  return it == shown_.end() ? 0 : it->second.presents;
}

const std::vector<uint32_t>& HeadlessBackend::screen(const Window& window) const {
  static const std::vector<uint32_t> none;
  auto it = shown_.find(&window);
  return it == shown_.end() ? none : it->second.screen;
}

bool HeadlessBackend::isShown(const Window& window) const { return shown_.count(&window) > 0; }

}  // namespace qlx
