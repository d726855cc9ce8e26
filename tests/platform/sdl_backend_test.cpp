// The SDL back end: SDL's input translated into what the game's handlers take (virtual-key codes,
// Windows-1252 characters, shift masks, buttons), the file URL handed to the desktop, and the
// event loop on SDL's dummy video driver (no display needed): pushed events reach the handlers, a
// modal window takes all input while timers tick underneath, and an idle window shows what was
// drawn. Plain keys, clicks on a picture with bars beside it and the message box are pinned by
// the end-to-end window test.
#include <gtest/gtest.h>

#include <SDL.h>

#include <array>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <functional>

#include "platform/sdl/ansi_text.h"
#include "platform/sdl/sdl_backend.h"
#include "platform/sdl/sdl_keys.h"
#include "platform/sdl/sdl_shell.h"
#include "platform/window.h"

namespace qlx {
namespace {

TEST(SdlKeys, KeysBecomeWindowsVirtualKeysAndControlCharacters) {
  // Letters by their upper case whatever the shift state; both Enter keys are one key to the
  // game; keys without a code are not reported. Space and letters arrive as text, so making a
  // character from them here too would deliver them twice.
  const std::array<int, 3> cases[] = {
      {SDLK_a, 'A', 0},        {SDLK_z, 'Z', 0},        {SDLK_0, '0', 0},
      {SDLK_9, '9', 0},        {SDLK_KP_0, 96, 0},      {SDLK_KP_9, 105, 0},
      {SDLK_DELETE, 46, 0},    {SDLK_SPACE, 32, 0},     {SDLK_BACKSPACE, 8, 8},
      {SDLK_RETURN, 13, 13},   {SDLK_KP_ENTER, 13, 13}, {SDLK_ESCAPE, 27, 27},
      {SDLK_APPLICATION, 0, 0}};
  for (auto [key, virtualKey, controlChar] : cases) {
    EXPECT_EQ(virtualKeyOf(key), virtualKey) << SDL_GetKeyName(key);
    EXPECT_EQ(controlCharOf(key), controlChar) << SDL_GetKeyName(key);
  }
  EXPECT_EQ(shiftMaskOf(KMOD_RSHIFT | KMOD_LCTRL | KMOD_RALT | KMOD_NUM | KMOD_CAPS), 7)
      << "lock keys do not count";
  EXPECT_EQ(buttonOf(SDL_BUTTON_MIDDLE), vbMiddleButton);
  EXPECT_EQ(buttonOf(SDL_BUTTON_X1), 0);
  EXPECT_EQ(buttonsHeldOf(SDL_BUTTON_RMASK | SDL_BUTTON_X2MASK), vbRightButton);
}

TEST(AnsiText, TypedUtf8BecomesWindows1252AndMalformedBytesAreDropped) {
  // é, €, Ÿ and a curly quote have bytes; Cyrillic, emoji and C1 controls do not; stray,
  // truncated and overlong sequences are dropped and the next character kept.
  const char* const pairs[] = {
      // typed, then what the handlers get
      "aZ 9",         "aZ 9", "\303\251",  "\351", "\342\202\254",      "\200", "\305\270", "\237",
      "\342\200\234", "\223", "\320\266x", "x",    "\360\237\230\200!", "!",    "\302\201", "",
      "\200a",        "a",    "\303a",     "a",    "b\342\202",         "b",    "\300\215", "",
      "\340\200\201", "",     "\377\376c", "c"};
  for (std::size_t i = 0; i < std::size(pairs); i += 2)
    EXPECT_EQ(utf8ToAnsi(pairs[i]), pairs[i + 1]) << pairs[i];
}

TEST(FileUrl, AbsolutePercentEncoded) {
  EXPECT_EQ(fileUrl("/opt/quillorix/QUILHLP.HTM"), "file:///opt/quillorix/QUILHLP.HTM");
  EXPECT_EQ(fileUrl("/a b/c#d%e?f.htm"), "file:///a%20b/c%23d%25e%3Ff.htm");
  EXPECT_EQ(fileUrl("/caf\xC3\xA9/x~y_z-1.htm"), "file:///caf%C3%A9/x~y_z-1.htm");
  EXPECT_EQ(fileUrl("/a/./b/../c.htm"), "file:///a/c.htm");
  // A relative path is taken from the working folder.
  EXPECT_EQ(fileUrl("QUILHLP.HTM"),
            fileUrl(std::filesystem::current_path().string() + "/QUILHLP.HTM"));
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

void pushClick(Uint32 id, int x, int y, Uint8 button = SDL_BUTTON_LEFT) {
  SDL_Event e{};
  e.button = {SDL_MOUSEBUTTONDOWN, 0, id, 0, button, SDL_PRESSED, 1, 0, x, y};
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
  Recorder(Backend& b, const std::string& caption) : Window(b, 800, 600) { setCaption(caption); }
  void Form_MouseDown(int button, int shift, float x, float y) override {
    note("down", button, shift, int(x), int(y));
  }
  void Form_KeyDown(int& keyCode, int& shift) override { note("key", keyCode, shift); }
  void Form_KeyPress(int& keyAscii) override { note("char", keyAscii); }
  void Form_Unload(int&) override { note("unload"); }
  void Timer_Tick() override {
    note("tick");
    if (onTick) onTick();
  }
  template <typename... Ints>
  void note(const char* what, Ints... values) {
    log.push_back(what);
    ((log.back() += " " + std::to_string(values)), ...);
  }

  std::vector<std::string> log;
  std::function<void()> onTick;
};

using Log = std::vector<std::string>;

class SdlBackendTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ::setenv("SDL_VIDEODRIVER", "dummy", 1);
    ::setenv("SDL_AUDIODRIVER", "dummy", 1);
    Status status;
    backend = makeSdlBackend(&status);
    ASSERT_TRUE(backend) << status.message();
  }
  std::unique_ptr<Backend> backend;
};

TEST_F(SdlBackendTest, InputReachesTheHandlersAndAQuitRequestClosesEveryWindow) {
  Recorder w(*backend, "input"), other(*backend, "other");
  w.show();
  other.show();
  const Uint32 id = sdlIdOf("input");
  pushKey(id, SDLK_KP_ENTER);  // no text: the character is made from the key
  pushKey(id, SDLK_r, KMOD_LCTRL);
  // A held key repeats, except Enter and Escape, which must not run on into the next dialog.
  pushKey(id, SDLK_BACKSPACE, KMOD_NONE, 1);
  pushKey(id, SDLK_RETURN, KMOD_NONE, 1);
  pushKey(id, SDLK_ESCAPE, KMOD_NONE, 1);
  // Half as wide: the picture is 400 × 300 in the middle, with bars above and below that are
  // nobody's; a button without a handler code is not reported.
  SDL_SetWindowSize(SDL_GetWindowFromID(id), 400, 600);
  pushClick(id, 200, 250, SDL_BUTTON_RIGHT);
  pushClick(id, 0, 150);
  pushClick(id, 200, 100);
  pushClick(id, 200, 460);
  pushClick(id, 5, 200, SDL_BUTTON_X1);
  SDL_Event quit{};
  quit.type = SDL_QUIT;  // closes every window
  SDL_PushEvent(&quit);
  backend->run();
  EXPECT_EQ(w.log, (Log{"key 13 0", "char 13", "key 82 2", "key 8 0", "char 8", "down 2 0 400 200",
                        "down 1 0 0 0", "unload"}));
  EXPECT_EQ(other.log, Log{"unload"});
  EXPECT_EQ(SDL_GetWindowFromID(id), nullptr) << "the SDL window is gone";
}

TEST_F(SdlBackendTest, AModalWindowTakesAllInputWhileTimersTickUnderneath) {
  Recorder main(*backend, "main"), idle(*backend, "idle");
  idle.setTimerInterval(5);  // never enabled: never ticks
  const uint64_t start = backend->millis();
  uint64_t answered = 0;
  main.onTick = [&] {
    if (main.log.size() == 1) {
      backend->messageBox("Paused?", "Quillorix");  // answered on the next tick
      answered = backend->millis();
      pushClose(sdlIdOf("main"));  // the close box works again
      pushClose(sdlIdOf("idle"));
      return;
    }
    main.setTimerEnabled(false);
    const Uint32 id = sdlIdOf("main");
    pushKey(id, SDLK_x);
    pushClick(id, 1, 1);
    pushClose(id);
    pushKey(sdlIdOf("Quillorix"), SDLK_RETURN);
  };
  main.setTimerInterval(20);
  main.setTimerEnabled(true);
  main.show();
  idle.show();
  backend->run();
  EXPECT_GE(answered - start, 40u) << "two intervals passed before the message closed";
  EXPECT_EQ(main.log, (Log{"tick", "tick", "unload"}));
  EXPECT_EQ(idle.log, Log{"unload"});
}

TEST_F(SdlBackendTest, AnIdleWindowShowsWhatWasDrawnWithoutARefresh) {
  Recorder w(*backend, "picture");
  const Brush red{rgb(255, 0, 0)}, green{rgb(0, 255, 0)};
  w.dc().fillRect(Rect{0, 0, 800, 600}, &red);
  w.show();
  const auto pixel = [id = sdlIdOf("picture")](int x, int y) {
    SDL_Surface* s = SDL_GetWindowSurface(SDL_GetWindowFromID(id));
    Uint32 p = 0;
    std::memcpy(&p, static_cast<Uint8*>(s->pixels) + y * s->pitch + x * s->format->BytesPerPixel,
                s->format->BytesPerPixel);
    Uint8 r, g, b;
    SDL_GetRGB(p, s->format, &r, &g, &b);
    return rgb(r, g, b);
  };
  EXPECT_EQ(pixel(10, 30), red.color);
  w.setTimerInterval(1);
  w.setTimerEnabled(true);
  w.onTick = [&] {
    if (w.log.size() == 1) return w.dc().fillRect(Rect{0, 0, 40, 10}, &green);
    EXPECT_EQ(pixel(5, 5), green.color);
    EXPECT_EQ(pixel(45, 5), red.color);
    w.unload();
  };
  backend->run();
}

TEST(SdlBackend, NoDisplayIsAClearErrorNotACrash) {
  ::setenv("SDL_VIDEODRIVER", "no-such-driver", 1);
  Status status;
  EXPECT_EQ(makeSdlBackend(&status), nullptr);
  EXPECT_NE(status.message().find("display"), std::string::npos) << status.message();
  // With no display and no driver asked for, SDL would settle on one that draws nowhere.
  ::unsetenv("SDL_VIDEODRIVER");
  ::unsetenv("DISPLAY");
  ::unsetenv("WAYLAND_DISPLAY");
  EXPECT_EQ(makeSdlBackend(&status), nullptr);
  EXPECT_NE(status.message().find("DISPLAY"), std::string::npos) << status.message();
}

}  // namespace
}  // namespace qlx
