// SdlBackend: every shown Window gets an SdlScreen; one event loop on the calling thread
// delivers pointer, keyboard, close and timer events to the windows' handlers, blocking input
// to all but the top modal window, and repaints any window whose image changed.
#include "platform/sdl/sdl_backend.h"

#include <SDL.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include "platform/message_box.h"
#include "platform/sdl/ansi_text.h"
#include "platform/sdl/sdl_keys.h"
#include "platform/sdl/sdl_screen.h"
#include "platform/sdl/sdl_shell.h"
#include "platform/sdl/sdl_sound.h"
#include "platform/sdl/ttf_font_engine.h"
#include "platform/window.h"

namespace qlx {

namespace {

constexpr Uint32 kSubsystems = SDL_INIT_VIDEO | SDL_INIT_TIMER;
// Longest wait for an event when no timer falls due sooner.
constexpr uint64_t kIdleWaitMs = 1000;
// The longest an idle loop sleeps before it looks for input again.
constexpr uint64_t kPollMs = 8;

class SdlBackend final : public Backend {
 public:
  ~SdlBackend() override;

  void showWindow(Window& window) override;
  void hideWindow(Window& window) override;
  void present(Window& window) override;
  void captionChanged(Window& window) override;
  void iconChanged(Window& window) override;
  void windowStateChanged(Window& window) override;
  void timerChanged(Window& window) override;
  void runModal(Window& window) override;
  void run() override;
  void messageBox(const std::string& text, const std::string& title) override;
  void setMessageBoxStyle(const MessageBoxStyle& style) override { messageBoxStyle_ = style; }
  void playSound(const std::string& path) override { sound_->play(path); }
  bool openDocument(const std::string& path) override { return openWithDefaultViewer(path); }
  uint64_t millis() override { return SDL_GetTicks64(); }

 private:
  struct Shown {
    Window* window;
    std::unique_ptr<SdlScreen> screen;
    uint64_t nextTick;
  };

  Shown* find(const Window& window);
  Shown* find(Uint32 windowId);
  // Whether window takes input: only the top modal window while one is open, else any.
  bool acceptsInput(const Window& window) const;
  // Input aimed at a window that must not take it brings the modal window forward instead.
  Window* inputTarget(Uint32 windowId);
  void focusTop();

  void loop(const std::function<bool()>& keepGoing);
  void handle(const SDL_Event& event);
  void handleWindowEvent(const SDL_WindowEvent& event);
  void handleKeyDown(const SDL_KeyboardEvent& event);
  void handleText(const SDL_TextInputEvent& event);
  void handleQuit();
  void fireDueTimers();
  uint64_t millisToNextTick();
  void repaintChanged();

  // In the order shown; the last is the newest.
  std::vector<std::unique_ptr<Shown>> shown_;
  std::vector<Window*> modalStack_;
  std::unique_ptr<SdlSound> sound_ = std::make_unique<SdlSound>();
  MessageBoxStyle messageBoxStyle_;
};

SdlBackend::~SdlBackend() {
  shown_.clear();
  sound_.reset();  // closes the audio device while SDL is still up
  SDL_QuitSubSystem(kSubsystems);
  if (SDL_WasInit(0) == 0) SDL_Quit();
}

SdlBackend::Shown* SdlBackend::find(const Window& window) {
  for (auto& s : shown_)
    if (s->window == &window) return s.get();
  return nullptr;
}

SdlBackend::Shown* SdlBackend::find(Uint32 windowId) {
  for (auto& s : shown_)
    if (s->screen->id() == windowId) return s.get();
  return nullptr;
}

bool SdlBackend::acceptsInput(const Window& window) const {
  if (!window.isVisible()) return false;
  return modalStack_.empty() || modalStack_.back() == &window;
}

Window* SdlBackend::inputTarget(Uint32 windowId) {
  Shown* s = find(windowId);
  if (s == nullptr) return nullptr;
  if (acceptsInput(*s->window)) return s->window;
  focusTop();
  return nullptr;
}

void SdlBackend::focusTop() {
  Shown* top = nullptr;
  if (!modalStack_.empty()) top = find(*modalStack_.back());
  if (top == nullptr && !shown_.empty()) top = shown_.back().get();
  if (top != nullptr) top->screen->takeFocus();
}

void SdlBackend::showWindow(Window& window) {
  if (find(window) != nullptr) return;
  Status status;
  std::unique_ptr<SdlScreen> screen = SdlScreen::open(window, &status);
  if (!screen) {
    SDL_LogError(SDL_LOG_CATEGORY_VIDEO, "%s", status.message().c_str());
    return;
  }
  screen->takeFocus();
  const uint64_t firstTick = millis() + static_cast<uint64_t>(window.timerInterval());
  shown_.push_back(std::make_unique<Shown>(Shown{&window, std::move(screen), firstTick}));
}

void SdlBackend::hideWindow(Window& window) {
  auto it = std::find_if(shown_.begin(), shown_.end(),
                         [&](const auto& s) { return s->window == &window; });
  if (it == shown_.end()) return;
  const bool hadFocus = SDL_GetKeyboardFocus() == (*it)->screen->sdlWindow();
  shown_.erase(it);
  // Without a window manager nobody else hands the focus on.
  if (hadFocus) focusTop();
}

void SdlBackend::present(Window& window) {
  if (Shown* s = find(window)) s->screen->present(window.dc());
}

void SdlBackend::captionChanged(Window& window) {
  if (Shown* s = find(window)) s->screen->setCaption(window.caption());
}

void SdlBackend::iconChanged(Window& window) {
  if (Shown* s = find(window)) s->screen->setIcon(window.icon().get());
}

void SdlBackend::windowStateChanged(Window& window) {
  if (Shown* s = find(window)) s->screen->setState(window.windowState());
}

void SdlBackend::timerChanged(Window& window) {
  if (Shown* s = find(window))
    s->nextTick = millis() + static_cast<uint64_t>(window.timerInterval());
}

void SdlBackend::runModal(Window& window) {
  // A window manager keeps a modal window above the one it belongs to: the modal window
  // below, else the newest other window.
  Shown* parent = modalStack_.empty() ? nullptr : find(*modalStack_.back());
  for (auto it = shown_.rbegin(); parent == nullptr && it != shown_.rend(); ++it)
    if ((*it)->window != &window) parent = it->get();
  modalStack_.push_back(&window);
  if (Shown* s = find(window)) {
    if (parent != nullptr)
      SDL_SetWindowModalFor(s->screen->sdlWindow(), parent->screen->sdlWindow());
    s->screen->takeFocus();
  }
  loop([&] { return window.isVisible() && find(window) != nullptr; });
  modalStack_.pop_back();
  focusTop();
}

void SdlBackend::run() {
  loop([&] { return !shown_.empty(); });
}

void SdlBackend::messageBox(const std::string& text, const std::string& title) {
  showMessageBox(*this, text, title, messageBoxStyle_);
}

void SdlBackend::loop(const std::function<bool()>& keepGoing) {
  while (keepGoing()) {
    repaintChanged();
    // Polled, not waited for: SDL's wait wakes itself by sending an X event to a window of ours,
    // and a window closed meanwhile (a dialog) makes that request fail, which ends the program.
    SDL_Event event;
    if (SDL_PollEvent(&event) != 0)
      handle(event);
    else
      SDL_Delay(static_cast<Uint32>(std::min(millisToNextTick(), kPollMs)));
    fireDueTimers();
  }
}

void SdlBackend::repaintChanged() {
  // The auto-redraw of an idle window: drawing without a refresh still reaches the screen.
  for (auto& s : shown_)
    if (s->screen->differs(s->window->dc())) s->screen->present(s->window->dc());
}

uint64_t SdlBackend::millisToNextTick() {
  const uint64_t now = millis();
  uint64_t wait = kIdleWaitMs;
  for (auto& s : shown_) {
    const Window& w = *s->window;
    if (!w.timerEnabled() || w.timerInterval() <= 0) continue;
    wait = std::min(wait, s->nextTick > now ? s->nextTick - now : 0);
  }
  return wait;
}

void SdlBackend::fireDueTimers() {
  // A tick may show, hide or close windows: collect first, then look each one up again.
  std::vector<Window*> due;
  const uint64_t now = millis();
  for (auto& s : shown_) {
    const Window& w = *s->window;
    if (w.timerEnabled() && w.timerInterval() > 0 && s->nextTick <= now) due.push_back(s->window);
  }
  for (Window* w : due) {
    Shown* s = find(*w);
    if (s == nullptr || !w->timerEnabled() || w->timerInterval() <= 0 || s->nextTick > now)
      continue;
    // Ticks missed while the thread was busy fold into one, as a window timer's do.
    s->nextTick += static_cast<uint64_t>(w->timerInterval());
    if (s->nextTick <= now) s->nextTick = now + static_cast<uint64_t>(w->timerInterval());
    w->Timer_Tick();
  }
}

void SdlBackend::handle(const SDL_Event& event) {
  switch (event.type) {
    case SDL_WINDOWEVENT:
      handleWindowEvent(event.window);
      break;
    case SDL_MOUSEBUTTONDOWN: {
      Window* w = inputTarget(event.button.windowID);
      const int button = buttonOf(event.button.button);
      // SDL has already mapped the position to the logical (layout) size; the bars around a
      // letterboxed picture lie outside it and are nobody's.
      const int x = event.button.x, y = event.button.y;
      if (w == nullptr || button == 0 || x < 0 || y < 0 || x >= w->clientWidth() ||
          y >= w->clientHeight())
        break;
      w->Form_MouseDown(button, shiftMaskOf(static_cast<Uint16>(SDL_GetModState())), float(x),
                        float(y));
      break;
    }
    case SDL_MOUSEMOTION: {
      Shown* s = find(event.motion.windowID);
      if (s == nullptr || !acceptsInput(*s->window)) break;
      Window* w = s->window;
      const int x = event.motion.x, y = event.motion.y;
      if (x < 0 || y < 0 || x >= w->clientWidth() || y >= w->clientHeight()) break;
      w->Form_MouseMove(buttonsHeldOf(event.motion.state),
                        shiftMaskOf(static_cast<Uint16>(SDL_GetModState())), float(x), float(y));
      break;
    }
    case SDL_KEYDOWN:
      handleKeyDown(event.key);
      break;
    case SDL_TEXTINPUT:
      handleText(event.text);
      break;
    case SDL_QUIT:
      handleQuit();
      break;
    default:
      break;
  }
}

void SdlBackend::handleWindowEvent(const SDL_WindowEvent& event) {
  Shown* s = find(event.windowID);
  if (s == nullptr) return;
  switch (event.event) {
    case SDL_WINDOWEVENT_EXPOSED:
    case SDL_WINDOWEVENT_SIZE_CHANGED:
    case SDL_WINDOWEVENT_RESTORED:
    case SDL_WINDOWEVENT_MAXIMIZED:
      s->screen->present(s->window->dc());
      break;
    case SDL_WINDOWEVENT_CLOSE:
      if (Window* w = inputTarget(event.windowID)) w->unload();
      break;
    default:
      break;
  }
}

void SdlBackend::handleKeyDown(const SDL_KeyboardEvent& event) {
  Window* w = inputTarget(event.windowID);
  if (w == nullptr) return;
  // Enter and Escape close dialogs: a held key must close the one it was pressed for, not run
  // on through the next dialog that opens (the name asked after the completion message).
  const SDL_Keycode sym = event.keysym.sym;
  if (event.repeat != 0 && (sym == SDLK_RETURN || sym == SDLK_KP_ENTER || sym == SDLK_ESCAPE))
    return;
  int keyCode = virtualKeyOf(event.keysym.sym);
  int shift = shiftMaskOf(event.keysym.mod);
  if (keyCode != 0) w->Form_KeyDown(keyCode, shift);
  // Backspace, Enter and Escape bring no text event: their characters are made here, for a
  // window that is still there to take them.
  int ch = controlCharOf(event.keysym.sym);
  if (ch == 0) return;
  Shown* s = find(event.windowID);
  if (s != nullptr && acceptsInput(*s->window)) s->window->Form_KeyPress(ch);
}

void SdlBackend::handleText(const SDL_TextInputEvent& event) {
  for (char byte : utf8ToAnsi(event.text)) {
    Shown* s = find(event.windowID);
    if (s == nullptr || !acceptsInput(*s->window)) return;
    int ch = static_cast<unsigned char>(byte);
    s->window->Form_KeyPress(ch);
  }
}

void SdlBackend::handleQuit() {
  // The session is ending (or the program was interrupted): close the top modal window, or
  // else every window, newest first; each may still refuse in its unload handler.
  if (!modalStack_.empty()) {
    modalStack_.back()->unload();
    return;
  }
  std::vector<Window*> windows;
  for (auto& s : shown_) windows.push_back(s->window);
  for (auto it = windows.rbegin(); it != windows.rend(); ++it)
    if (find(**it) != nullptr) (*it)->unload();
}

}  // namespace

std::unique_ptr<Backend> makeSdlBackend(Status* status) {
  useTtfFonts();
  // Closing the last window is the program's business, not a quit event; a puzzle left open
  // must not keep the screen saver away; the compositor stays on for a desktop window.
  SDL_SetHint(SDL_HINT_QUIT_ON_LAST_WINDOW_CLOSE, "0");
  SDL_SetHint(SDL_HINT_VIDEO_ALLOW_SCREENSAVER, "1");
  SDL_SetHint(SDL_HINT_VIDEO_X11_NET_WM_BYPASS_COMPOSITOR, "0");
  SDL_SetHint(SDL_HINT_MOUSE_FOCUS_CLICKTHROUGH, "1");
  if (SDL_InitSubSystem(kSubsystems) != 0) {
    *status = Status::Error(std::string("No display to open a window on: ") + SDL_GetError());
    return nullptr;
  }
  // With no display SDL falls back to a driver that draws nowhere, and the game would wait for
  // input that cannot come; only a driver asked for by name (SDL_VIDEODRIVER) may be one of those.
  const std::string driver = SDL_GetCurrentVideoDriver() ? SDL_GetCurrentVideoDriver() : "";
  const char* asked = SDL_getenv("SDL_VIDEODRIVER");
  if ((driver == "offscreen" || driver == "dummy" || driver == "evdev") &&
      (asked == nullptr || driver != asked)) {
    SDL_QuitSubSystem(kSubsystems);
    *status = Status::Error("No display to open a window on (is DISPLAY or WAYLAND_DISPLAY set?)");
    return nullptr;
  }
  *status = Status::Ok();
  return std::make_unique<SdlBackend>();
}

}  // namespace qlx
