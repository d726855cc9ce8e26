// The SDL back end's event loop on SDL's dummy video driver (no display needed): events pushed
// into SDL's queue reach the handlers as the game expects them — virtual-key codes and
// characters, pointer positions in layout pixels, close with a cancellable unload — a modal
// window takes all input, timers tick, and an idle window shows what was drawn.
#include <gtest/gtest.h>

#include <SDL.h>

#include <cstdlib>
#include <cstring>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/sdl/sdl_backend.h"
#include "platform/window.h"

namespace qlx {
namespace {

std::unique_ptr<Backend> dummyBackend() {
  ::setenv("SDL_VIDEODRIVER", "dummy", 1);
  ::setenv("SDL_AUDIODRIVER", "dummy", 1);
  Status status;
  auto backend = makeSdlBackend(&status);
  EXPECT_TRUE(status.ok()) << status.message();
  return backend;
}

// The SDL window showing the window with this caption.
Uint32 sdlIdOf(const std::string& caption) {
  for (Uint32 id = 1; id < 1000; ++id)
    if (SDL_Window* w = SDL_GetWindowFromID(id); w != nullptr && caption == SDL_GetWindowTitle(w))
      return id;
  ADD_FAILURE() << "no SDL window titled " << caption;
  return 0;
}

void pushKey(Uint32 id, SDL_Keycode key, Uint16 mod = KMOD_NONE, Uint8 repeat = 0) {
  SDL_Event e{};
  e.key = {SDL_KEYDOWN, 0, id, SDL_PRESSED,
           repeat,      0, 0,  {SDL_GetScancodeFromKey(key), key, mod, 0}};
  SDL_PushEvent(&e);
}

void pushText(Uint32 id, const char* utf8) {
  SDL_Event e{};
  e.text = {SDL_TEXTINPUT, 0, id, {}};
  std::strncpy(e.text.text, utf8, sizeof e.text.text - 1);
  SDL_PushEvent(&e);
}

void pushClick(Uint32 id, int x, int y, Uint8 button = SDL_BUTTON_LEFT) {
  SDL_Event e{};
  e.button = {SDL_MOUSEBUTTONDOWN, 0, id, 0, button, SDL_PRESSED, 1, 0, x, y};
  SDL_PushEvent(&e);
}

void pushMotion(Uint32 id, int x, int y, Uint32 held) {
  SDL_Event e{};
  e.motion = {SDL_MOUSEMOTION, 0, id, 0, held, x, y, 0, 0};
  SDL_PushEvent(&e);
}

void pushClose(Uint32 id) {
  SDL_Event e{};
  e.window = {SDL_WINDOWEVENT, 0, id, SDL_WINDOWEVENT_CLOSE, 0, 0, 0, 0, 0};
  SDL_PushEvent(&e);
}

// A window that writes down what its handlers receive.
class Recorder : public Window {
 public:
  Recorder(Backend& b, const std::string& caption, int w = 800, int h = 600) : Window(b, w, h) {
    setCaption(caption);
  }
  std::vector<std::string> log;
  int refuseUnloads = 0;
  std::function<void()> onTick;
  std::function<void(int)> onKey;

  void Form_MouseDown(int button, int shift, float x, float y) override {
    pointer("down", button, shift, x, y);
  }
  void Form_MouseMove(int button, int shift, float x, float y) override {
    pointer("move", button, shift, x, y);
  }
  void Form_KeyDown(int& keyCode, int& shift) override {
    log.push_back("key " + std::to_string(keyCode) + " " + std::to_string(shift));
    if (onKey) onKey(keyCode);
  }
  void Form_KeyPress(int& keyAscii) override { log.push_back("char " + std::to_string(keyAscii)); }
  void Form_Unload(int& cancel) override {
    log.push_back("unload");
    if (refuseUnloads > 0) --refuseUnloads, cancel = 1;
  }
  void Timer_Tick() override {
    log.push_back("tick");
    if (onTick) onTick();
  }

 private:
  void pointer(const char* what, int button, int shift, float x, float y) {
    log.push_back(std::string(what) + " " + std::to_string(button) + " " + std::to_string(shift) +
                  " " + std::to_string(int(x)) + " " + std::to_string(int(y)));
  }
};

using Log = std::vector<std::string>;

class SdlBackendTest : public ::testing::Test {
 protected:
  void SetUp() override {
    backend = dummyBackend();
    ASSERT_TRUE(backend);
  }
  std::unique_ptr<Backend> backend;
};

TEST_F(SdlBackendTest, KeysArriveAsVirtualKeysThenTheirCharacterOnce) {
  Recorder w(*backend, "keys");
  w.show();
  const Uint32 id = sdlIdOf("keys");
  pushKey(id, SDLK_a);
  pushText(id, "a");
  pushKey(id, SDLK_q, KMOD_LSHIFT);
  pushText(id, "Q");
  pushKey(id, SDLK_RETURN);  // no text: the character is made from the key
  pushKey(id, SDLK_KP_ENTER);
  pushKey(id, SDLK_BACKSPACE);
  pushKey(id, SDLK_ESCAPE);
  pushKey(id, SDLK_SPACE);  // the space's character comes once, from its text
  pushText(id, " ");
  pushKey(id, SDLK_DELETE);  // no character at all
  pushKey(id, SDLK_LEFT);
  pushText(id, "\xC3\xA9\xD0\xB6");  // é is typed; the Cyrillic letter has no ANSI code
  pushKey(id, SDLK_r, KMOD_LCTRL);
  // A held key repeats, except Enter and Escape, which must not run on into the next dialog.
  pushKey(id, SDLK_BACKSPACE, KMOD_NONE, 1);
  pushKey(id, SDLK_RETURN, KMOD_NONE, 1);
  pushKey(id, SDLK_ESCAPE, KMOD_NONE, 1);
  pushClose(id);
  backend->run();
  EXPECT_EQ(w.log, (Log{"key 65 0", "char 97", "key 81 1", "char 81",  "key 13 0", "char 13",
                        "key 13 0", "char 13", "key 8 0",  "char 8",   "key 27 0", "char 27",
                        "key 32 0", "char 32", "key 46 0", "key 37 0", "char 233", "key 82 2",
                        "key 8 0",  "char 8",  "unload"}));
  EXPECT_FALSE(w.isVisible());
}

TEST_F(SdlBackendTest, PointerPositionsComeBackInLayoutPixels) {
  Recorder w(*backend, "pointer");
  w.show();
  const Uint32 id = sdlIdOf("pointer");
  pushClick(id, 10, 20);
  pushClick(id, 799, 599, SDL_BUTTON_RIGHT);
  pushClick(id, 5, 5, SDL_BUTTON_MIDDLE);
  pushClick(id, 5, 5, SDL_BUTTON_X1);  // no handler button for it
  pushMotion(id, 30, 40, SDL_BUTTON_LMASK);
  // Half as wide: the picture is 400 × 300 in the middle, with bars above and below.
  SDL_SetWindowSize(SDL_GetWindowFromID(id), 400, 600);
  pushClick(id, 200, 250);
  pushClick(id, 0, 150);
  pushClick(id, 200, 100);  // on the bar above the picture: nobody's
  pushClick(id, 200, 460);  // on the bar below
  pushClose(id);
  backend->run();
  EXPECT_EQ(w.log, (Log{"down 1 0 10 20", "down 2 0 799 599", "down 4 0 5 5", "move 1 0 30 40",
                        "down 1 0 400 200", "down 1 0 0 0", "unload"}));
}

TEST_F(SdlBackendTest, CloseBoxRunsTheUnloadHandlerWhichMayRefuse) {
  Recorder w(*backend, "close");
  w.refuseUnloads = 1;
  w.show();
  const Uint32 id = sdlIdOf("close");
  pushClose(id);
  pushKey(id, SDLK_x);  // still open: takes input
  pushClose(id);
  backend->run();
  EXPECT_EQ(w.log, (Log{"unload", "key 88 0", "unload"}));
  EXPECT_EQ(SDL_GetWindowFromID(id), nullptr) << "the SDL window is gone";
}

TEST_F(SdlBackendTest, AQuitRequestClosesEveryWindow) {
  Recorder a(*backend, "a"), b(*backend, "b");
  a.show();
  b.show();
  SDL_Event quit{};
  quit.type = SDL_QUIT;
  SDL_PushEvent(&quit);
  backend->run();
  EXPECT_EQ(a.log, Log{"unload"});
  EXPECT_EQ(b.log, Log{"unload"});
}

TEST_F(SdlBackendTest, AModalWindowTakesAllInputUntilItCloses) {
  Recorder main(*backend, "main");
  Recorder dialog(*backend, "dialog", 200, 100);
  bool modalReturned = false;
  main.onKey = [&](int key) {
    if (key != 'M') return;
    dialog.showModal();
    modalReturned = true;
    pushClose(sdlIdOf("main"));
  };
  // Once the dialog is up, input for both windows arrives; only the dialog's counts.
  dialog.setTimerInterval(10);
  dialog.setTimerEnabled(true);
  dialog.onTick = [&] {
    dialog.setTimerEnabled(false);
    const Uint32 mainId = sdlIdOf("main"), dialogId = sdlIdOf("dialog");
    pushKey(mainId, SDLK_x);
    pushClick(mainId, 1, 1);
    pushClose(mainId);
    pushKey(dialogId, SDLK_y);
    pushClose(dialogId);
  };
  main.show();
  const Uint32 mainId = sdlIdOf("main");
  pushKey(mainId, SDLK_m);
  backend->run();
  EXPECT_TRUE(modalReturned);
  EXPECT_EQ(dialog.log, (Log{"tick", "key 89 0", "unload"}));
  EXPECT_EQ(main.log, (Log{"key 77 0", "unload"}))
      << "the close box worked again once the dialog had gone";

  pushKey(mainId, SDLK_z);  // the main window is gone with no handler left to run
  main.show();
  const Uint32 again = sdlIdOf("main");
  pushKey(again, SDLK_z);
  pushClose(again);
  backend->run();
  EXPECT_EQ(main.log, (Log{"key 77 0", "unload", "key 90 0", "unload"}));
}

TEST_F(SdlBackendTest, TimersTickWhileEnabledEvenUnderAModalWindow) {
  Recorder main(*backend, "main");
  Recorder idle(*backend, "idle", 10, 10);
  idle.setTimerInterval(5);  // never enabled: never ticks
  int ticks = 0;
  const uint64_t start = backend->millis();
  uint64_t tookMessage = 0;
  main.onTick = [&] {
    ++ticks;
    if (ticks == 2) {
      // The clock keeps running while a message is up; the third tick answers it.
      backend->messageBox("Paused?", "Quillorix");
      tookMessage = backend->millis();
    } else if (ticks == 3) {
      pushKey(sdlIdOf("Quillorix"), SDLK_RETURN);
    } else if (ticks == 4) {
      main.unload();
      idle.unload();
    }
  };
  main.setTimerInterval(20);
  main.setTimerEnabled(true);
  main.show();
  idle.show();
  backend->run();
  EXPECT_EQ(ticks, 4);
  EXPECT_GE(tookMessage - start, 60u) << "three intervals passed before the message closed";
  EXPECT_EQ(idle.log, Log{"unload"});
}

// Reads the pixel at window position (x, y) from the dummy driver's framebuffer.
Uint32 screenPixel(Uint32 id, int x, int y) {
  SDL_Surface* s = SDL_GetWindowSurface(SDL_GetWindowFromID(id));
  if (s == nullptr || x < 0 || y < 0 || x >= s->w || y >= s->h) return 0xDEADBEEF;
  Uint32 p = 0;
  std::memcpy(&p, static_cast<Uint8*>(s->pixels) + y * s->pitch + x * s->format->BytesPerPixel,
              sizeof p);
  Uint8 r, g, b;
  SDL_GetRGB(p, s->format, &r, &g, &b);
  return Uint32(r) << 16 | Uint32(g) << 8 | b;
}

TEST_F(SdlBackendTest, AnIdleWindowShowsItsImageScaledWithItsAspectKept) {
  Recorder w(*backend, "picture", 80, 60);
  const Brush red{rgb(255, 0, 0)}, blue{rgb(0, 0, 255)};
  w.dc().fillRect(Rect{0, 0, 40, 60}, &red);
  w.dc().fillRect(Rect{40, 0, 80, 60}, &blue);
  w.show();
  const Uint32 id = sdlIdOf("picture");
  EXPECT_EQ(screenPixel(id, 10, 30), 0xFF0000u);
  EXPECT_EQ(screenPixel(id, 70, 30), 0x0000FFu);

  // Twice as wide as the layout: the picture keeps its 4:3 shape in the middle, black beside.
  SDL_SetWindowSize(SDL_GetWindowFromID(id), 160, 60);
  // Drawn without a refresh: the idle loop puts it on the screen.
  const Brush green{rgb(0, 255, 0)};
  w.setTimerInterval(1);
  w.setTimerEnabled(true);
  int ticks = 0;
  w.onTick = [&] {
    if (++ticks == 1) {
      w.dc().fillRect(Rect{0, 0, 40, 10}, &green);
    } else {
      EXPECT_EQ(screenPixel(id, 5, 30), 0x000000u) << "bar";
      EXPECT_EQ(screenPixel(id, 155, 30), 0x000000u) << "bar";
      EXPECT_EQ(screenPixel(id, 45, 30), 0xFF0000u);
      EXPECT_EQ(screenPixel(id, 115, 30), 0x0000FFu);
      EXPECT_EQ(screenPixel(id, 45, 5), 0x00FF00u) << "drawn without a refresh, shown when idle";
      w.unload();
    }
  };
  backend->run();
}

TEST(SdlBackend, NoDisplayIsAClearErrorNotACrash) {
  ::setenv("SDL_VIDEODRIVER", "no-such-driver", 1);
  Status status;
  auto backend = makeSdlBackend(&status);
  EXPECT_EQ(backend, nullptr);
  EXPECT_FALSE(status.ok());
  EXPECT_NE(status.message().find("display"), std::string::npos) << status.message();

  // With no display and no driver asked for, SDL would settle on one that draws nowhere.
  ::unsetenv("SDL_VIDEODRIVER");
  ::unsetenv("DISPLAY");
  ::unsetenv("WAYLAND_DISPLAY");
  backend = makeSdlBackend(&status);
  EXPECT_EQ(backend, nullptr);
  EXPECT_NE(status.message().find("DISPLAY"), std::string::npos) << status.message();
}

}  // namespace
}  // namespace qlx
