// The back ends. SDL's input translated into what the game's handlers take (virtual-key codes,
// Windows-1252 characters, shift masks, buttons) and the file URL handed to the desktop. The
// event loop on SDL's dummy video driver (no display needed): pushed events reach the handlers,
// a modal window takes all input while timers tick underneath, and idle windows show what was
// drawn. Windows on the headless back end: the image reaching the screen on refresh, the load
// and unload cycle with its cancel, timers driven by the clock, and modal shows. The message
// box: line wrapping, the OK button centred below the text, and the ways it closes. Last, wave
// playback through SDL's disk audio driver, which writes what the device plays to a file: the
// sound's samples reach it, a new sound cuts the old one off, "0" and unreadable files stop it,
// and a missing device stays sound.
#include <gtest/gtest.h>

#include <SDL.h>
#include <array>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <tuple>

#include "box_fonts.h"
#include "platform/headless/headless_backend.h"
#include "platform/message_box.h"
#include "platform/sdl/ansi_text.h"
#include "platform/sdl/sdl_backend.h"
#include "platform/sdl/sdl_keys.h"
#include "platform/sdl/sdl_shell.h"
#include "platform/sdl/sdl_sound.h"
#include "platform/window.h"
#include "temp_folder.h"

namespace qlx {
namespace {

TEST(SdlKeys, KeysBecomeWindowsVirtualKeysAndControlCharacters) {
  // Letters by their upper case whatever the shift state; keys without a code are not reported
  // (the keypad Enter and Backspace: in the input test below). Space and letters arrive as text, so
  // making a character from them here too would deliver them twice.
  const std::array<int, 3> cases[] = {
      {SDLK_a, 'A', 0},      {SDLK_z, 'Z', 0},      {SDLK_0, '0', 0},        {SDLK_9, '9', 0},
      {SDLK_KP_0, 96, 0},    {SDLK_KP_9, 105, 0},   {SDLK_DELETE, 46, 0},    {SDLK_SPACE, 32, 0},
      {SDLK_RETURN, 13, 13}, {SDLK_ESCAPE, 27, 27}, {SDLK_APPLICATION, 0, 0}};
  for (auto [key, virtualKey, controlChar] : cases)
    EXPECT_EQ(std::pair(virtualKeyOf(key), controlCharOf(key)), std::pair(virtualKey, controlChar))
        << SDL_GetKeyName(key);
  EXPECT_EQ(shiftMaskOf(KMOD_RSHIFT | KMOD_LCTRL | KMOD_RALT | KMOD_NUM | KMOD_CAPS), 7)
      << "lock keys do not count";
  EXPECT_EQ(buttonOf(SDL_BUTTON_MIDDLE), vbMiddleButton);
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

void push(SDL_Event e) { SDL_PushEvent(&e); }
void pushKey(Uint32 id, SDL_Keycode key, Uint16 mod = KMOD_NONE, Uint8 repeat = 0) {
  push({.key = {SDL_KEYDOWN, 0, id, 1, repeat, 0, 0, {SDL_GetScancodeFromKey(key), key, mod, 0}}});
}
void pushClick(Uint32 id, int x, int y, Uint8 button = SDL_BUTTON_LEFT) {
  push({.button = {SDL_MOUSEBUTTONDOWN, 0, id, 0, button, SDL_PRESSED, 1, 0, x, y}});
}
void pushClose(Uint32 id) {
  push({.window = {SDL_WINDOWEVENT, 0, id, SDL_WINDOWEVENT_CLOSE, 0, 0, 0, 0, 0}});
}

using Log = std::vector<std::string>;

// A window that writes down what its handlers receive, and refuses to close when told to.
class Recorder : public Window {
 public:
  Recorder(Backend& b, const char* caption = "") : Window(b, 800, 600) { setCaption(caption); }
  void Form_Load() override { note("load"); }
  void Form_MouseDown(int b, int s, float x, float y) override { note("down", b, s, x, y); }
  void Form_KeyDown(int& keyCode, int& shift) override { note("key", keyCode, shift); }
  void Form_KeyPress(int& keyAscii) override { note("char", keyAscii); }
  void Form_Unload(int& cancel) override { cancel = refuseClose, note("unload"); }
  void Timer_Tick() override { ++ticks, onTick(); }
  template <typename... Values>
  void note(const char* what, Values... values) {
    log.push_back(what);
    ((log.back() += " " + ::testing::PrintToString(values)), ...);
  }

  Log log;
  std::function<void()> onTick = [] {};
  int ticks = 0;
  bool refuseClose = false;
};

// The colour shown at (x, y) in the SDL window with this caption (the dummy driver's 32-bit
// surface).
ColorRef shownPixel(const char* caption, int x, int y) {
  SDL_Surface* s = SDL_GetWindowSurface(SDL_GetWindowFromID(sdlIdOf(caption)));
  Uint8 r, g, b;
  SDL_GetRGB(static_cast<Uint32*>(s->pixels)[y * s->pitch / 4 + x], s->format, &r, &g, &b);
  return rgb(r, g, b);
}

// Input first: a quit request closes every window. Then timers tick on under a modal window,
// which takes all input; an idle window, also one under a modal window, shows what was drawn
// without a refresh.
TEST(SdlBackend, InputReachesTheHandlersAndAModalWindowTakesAllInputWhileTimersTickUnderneath) {
  ::setenv("SDL_VIDEODRIVER", "dummy", 1);
  Status status;
  const std::unique_ptr<Backend> backend = makeSdlBackend(&status);
  ASSERT_TRUE(backend) << status.message();
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
  push({SDL_QUIT});  // closes every window
  backend->run();
  EXPECT_EQ(w.log, (Log{"load", "key 13 0", "char 13", "key 82 2", "key 8 0", "char 8",
                        "down 2 0 400 200", "down 1 0 0 0", "unload"}));
  EXPECT_EQ(other.log, (Log{"load", "unload"}));
  EXPECT_EQ(SDL_GetWindowFromID(id), nullptr) << "the SDL window is gone";

  Recorder main(*backend, "main"), idle(*backend, "idle");
  idle.setTimerInterval(5);  // never enabled: never ticks
  const Brush red{rgb(255, 0, 0)}, green{rgb(0, 255, 0)};
  main.dc().fillRect(Rect{0, 0, 800, 600}, &red);
  main.onTick = [&] {
    if (main.ticks == 1) {
      EXPECT_EQ(shownPixel("main", 10, 30), red.color);
      main.dc().fillRect(Rect{0, 0, 40, 10}, &green);
      backend->messageBox("Paused?", "Quillorix");  // answered on the next tick, 20 ms on
      pushClose(sdlIdOf("main"));                   // the close box works again
      pushClose(sdlIdOf("idle"));
      return;
    }
    EXPECT_EQ(shownPixel("main", 5, 5), green.color);
    EXPECT_EQ(shownPixel("main", 45, 5), red.color);
    main.setTimerEnabled(false);
    const Uint32 mainId = sdlIdOf("main");
    pushKey(mainId, SDLK_x);
    pushClick(mainId, 1, 1);
    pushClose(mainId);
    pushKey(sdlIdOf("Quillorix"), SDLK_RETURN);
  };
  main.setTimerInterval(20);
  main.setTimerEnabled(true);
  main.show();
  idle.show();
  backend->run();
  EXPECT_EQ(std::pair(main.ticks, idle.ticks), std::pair(2, 0));
  EXPECT_EQ(main.log, (Log{"load", "unload"}));
  EXPECT_EQ(idle.log, (Log{"load", "unload"}));
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

// The image reaches the screen on refresh; an unload may be cancelled. Timers tick at their
// interval once enabled, also under a modal window, which takes all input until it closes; an
// interval of 0 stops a timer, and so does an unload.
TEST(WindowTest, TheImageReachesTheScreenTimersTickAndAModalWindowTakesAllInputUntilItCloses) {
  HeadlessBackend backend;
  Recorder main(backend), other(backend), dialog(backend);
  const Brush red{rgb(255, 0, 0)};
  main.dc().fillRect({0, 0, 10, 10}, &red);
  main.refresh();  // hidden: nothing to show yet
  EXPECT_EQ(backend.presentCount(main), 0);
  main.show();
  main.refresh();
  main.show();  // showing again loads nothing more
  EXPECT_EQ(backend.screen(main), main.dc().bits());
  main.refuseClose = true;
  backend.closeBox(main);
  EXPECT_TRUE(backend.isShown(main));
  main.refuseClose = false;
  backend.closeBox(main);
  EXPECT_FALSE(main.isLoaded());
  main.show();  // loading again runs Form_Load again
  other.show();
  main.setTimerInterval(1000);
  main.setTimerEnabled(true);
  other.setTimerInterval(300);
  backend.advance(2500);
  other.setTimerEnabled(true);
  backend.onNextModal([&](Window&) {
    backend.mouseDown(main, 5, 5);
    backend.advance(700);
    backend.mouseDown(dialog, 3.5f, 4, vbRightButton);
    backend.type(dialog, "r\r");
    backend.closeBox(dialog);
  });
  dialog.showModal();
  EXPECT_EQ(std::pair(main.ticks, other.ticks), std::pair(3, 2));
  EXPECT_EQ(dialog.log, (Log{"load", "down 2 0 3.5 4", "key 82 0", "char 114", "key 13 0",
                             "char 13", "unload"}));
  backend.mouseDown(main, 1, 2);
  EXPECT_EQ(main.log, (Log{"load", "unload", "unload", "load", "down 1 0 1 2"}));
  main.setTimerInterval(0);
  backend.advance(600);
  other.unload();
  EXPECT_FALSE(other.timerEnabled());
  backend.advance(5000);
  EXPECT_EQ(std::pair(main.ticks, other.ticks), std::pair(3, 4));
}

TEST(MessageBox, WrapKeepsTextAndBreaksAtBlanksAboveACentredOkButtonThatAloneClosesTheBox) {
  testing::BoxFonts fonts(5, 5, 10);
  DeviceContext dc(10, 10, 0, &fonts);
  using Lines = std::vector<std::string>;
  // A leading blank is part of the message and stays.
  EXPECT_EQ(wrapText(dc, " Error Failerd", 1000), Lines{" Error Failerd"});
  EXPECT_EQ(wrapText(dc, "aaaa bbbb cccc", 45), (Lines{"aaaa bbbb", "cccc"}));
  EXPECT_EQ(wrapText(dc, "one\r\n\ntwo", 1000), (Lines{"one", "", "two"}));
  // A word wider than the line is split rather than left to overflow; nothing is lost.
  EXPECT_EQ(wrapText(dc, std::string(22, 'x'), 20),
            (Lines{"xxxx", "xxxx", "xxxx", "xxxx", "xxxx", "xx"}));

  // In the box, a long paragraph wraps between words instead of making a box wider than the
  // screen; the OK label is drawn centred below the text. The box closes on Enter, Escape or a
  // click on OK.
  HeadlessBackend backend;
  std::string paragraph;
  for (int i = 0; i < 40; ++i) paragraph += "word" + std::to_string(i) + " ";
  const MessageBoxStyle style{.buttonText = rgb(255, 255, 255)};
  const MessageBoxWindow wide(backend, paragraph, "T", style);
  const Rect text = wide.textArea(), ok = wide.okButton();
  EXPECT_LE(text.width(), MessageBoxWindow::kMaxTextWidth);
  EXPECT_GT(text.height(), 2 * wide.dc().textExtent("Ag").cy);
  EXPECT_GE(ok.top, text.bottom) << "the button lies below the text";
  EXPECT_LE(std::abs(ok.left + ok.right - wide.clientWidth()), 1) << "centred";
  const Rect label{ok.left + 2, ok.top + 2, ok.right - 2, ok.bottom - 2};
  EXPECT_GT(testing::countOf(wide.dc(), style.buttonText, label), 0)
      << "the label in the button's colour";
  EXPECT_LE(MessageBoxWindow(backend, "Hi", "T").clientWidth(), 300) << "a short text, a small box";
  // Other keys and clicks beside, below or off OK, or with the right button, leave it open.
  for (int closer : {int(VK_RETURN), int(VK_ESCAPE), 0}) {  // 0: a click on OK's bottom-left pixel
    MessageBoxWindow box(backend, paragraph, "T");
    backend.onNextModal([&](Window&) {
      for (int key : {int('X'), int(VK_SPACE), int(VK_DELETE)}) backend.keyDown(box, key);
      for (auto [x, y, button] : {std::tuple{ok.left - 1, ok.top, vbLeftButton},
                                  {ok.left, ok.bottom, vbLeftButton},
                                  {2, 2, vbLeftButton},
                                  {ok.left + 2, ok.top + 2, vbRightButton}})
        backend.mouseDown(box, float(x), float(y), button);
      EXPECT_TRUE(box.isVisible());
      closer ? backend.keyDown(box, closer) : backend.mouseDown(box, ok.left, ok.bottom - 1.0f);
      EXPECT_FALSE(box.isVisible()) << closer;
    });
    box.showModal();
  }
}

constexpr int kRate = 44100;
constexpr std::size_t kLongSamples = std::size_t(0.6 * kRate) * 2,
                      kShortSamples = std::size_t(0.15 * kRate) * 2;

// n little-endian bytes of v.
std::string le(uint32_t v, int n) {
  std::string s;
  for (int i = 0; i < n; ++i) s += char(v >> (8 * i));
  return s;
}

class SoundTest : public ::testing::Test {
 protected:
  SoundTest() {
    ::setenv("SDL_AUDIODRIVER", "disk", 1);
    ::setenv("SDL_DISKAUDIOFILE", dir_.file("played.raw").c_str(), 1);
  }

  // A 16-bit stereo wave at 44.1 kHz (the device's format, so the samples reach the file as
  // they are): a square wave of the given amplitude. dataBytes overrides the length the header
  // claims.
  std::string wave(const char* name, int amplitude, double seconds, long dataBytes = -1) const {
    const auto frames = static_cast<uint32_t>(seconds * kRate);
    const uint32_t bytes = dataBytes >= 0 ? uint32_t(dataBytes) : frames * 4;
    // Chunk size, PCM, channels, rate, bytes a second, bytes a frame, bits a sample.
    std::string w = "RIFF" + le(36 + bytes, 4) + "WAVEfmt " + le(16, 4) + le(1, 2) + le(2, 2) +
                    le(kRate, 4) + le(kRate * 4, 4) + le(4, 2) + le(16, 2) + "data" + le(bytes, 4);
    for (uint32_t i = 0; i < frames; ++i)  // the same sample on both channels
      w += le(uint16_t(int16_t((i / 50) % 2 ? amplitude : -amplitude)) * 0x10001u, 4);
    return dir_.write(name, w);
  }

  // Where in the output the samples of the sound of this amplitude lie.
  std::vector<long> heard(int amplitude) const {
    const std::string raw = testing::readText(dir_.file("played.raw"));
    std::vector<long> at;
    for (std::size_t i = 0; i + 1 < raw.size(); i += 2)
      if (std::abs(int16_t(uint8_t(raw[i]) | uint8_t(raw[i + 1]) << 8)) == amplitude)
        at.push_back(static_cast<long>(i / 2));
    return at;
  }

  testing::TempFolder dir_;
  const std::string longWav = wave("long.wav", 1000, 0.6), shortWav = wave("short.wav", 3000, 0.15);
};

TEST_F(SoundTest, ASoundPlaysWholeInTheBackgroundAndANewOneCutsTheOldOneOff) {
  {
    SdlSound sound;
    EXPECT_FALSE(sound.deviceOpen()) << "the device opens on the first play";
    sound.play(longWav);
    ASSERT_TRUE(sound.deviceOpen());
    EXPECT_GT(sound.pendingBytes(), 0u) << "play returns while the sound is still to come";
    // Waits (up to a few seconds) until some of the first sound has played, then all the second.
    for (int i = 0; i < 500 && sound.pendingBytes() >= 2 * kLongSamples; ++i) SDL_Delay(10);
    sound.play(shortWav);
    for (int i = 0; i < 500 && sound.pendingBytes() > 0; ++i) SDL_Delay(10);
    SDL_Delay(150);
  }  // closing the device flushes the file
  const std::vector<long> first = heard(1000), second = heard(3000);
  ASSERT_FALSE(first.empty());
  EXPECT_LT(first.size(), kLongSamples) << "the first sound was cut short";
  ASSERT_EQ(second.size(), kShortSamples) << "the second sound is played whole";
  EXPECT_LT(first.back(), second.front()) << "nothing of the first sound after the second starts";
}

TEST_F(SoundTest, ZeroAndUnreadableFilesStopTheSoundPlaying) {
  // A header that promises a second of samples over a file holding a few.
  const std::string truncated = wave("truncated.wav", 2000, 0.001, kRate * 4);
  SdlSound sound;
  for (const std::string& name :
       {dir_.file("missing.wav"), dir_.write("junk.wav", "RIFF\x10\0\0\0WAVEjunk and more junk"),
        truncated, std::string("0"), std::string(), dir_.path()}) {
    sound.play(longWav);
    sound.play(name);
    // At most the few samples the truncated file holds.
    EXPECT_LE(sound.pendingBytes(), name == truncated ? 4u * 44u : 0u) << name;
  }
}

TEST_F(SoundTest, TheDummyDriverAndNoDeviceAtAllAreSilent) {
  for (const std::string driver : {"dummy", "no-such-driver"}) {
    ::setenv("SDL_AUDIODRIVER", driver.c_str(), 1);
    SdlSound sound;
    sound.play(longWav);
    EXPECT_EQ(sound.deviceOpen(), driver == "dummy");
    sound.play(shortWav);
    sound.play("0");
    EXPECT_EQ(sound.pendingBytes(), 0u) << driver;
  }
}

}  // namespace
}  // namespace qlx
