// Translation of SDL's input into what the game's handlers take (virtual-key codes, character
// codes in Windows-1252, shift masks, button numbers) and the file URL handed to the desktop.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "platform/sdl/ansi_text.h"
#include "platform/sdl/sdl_keys.h"
#include "platform/sdl/sdl_shell.h"
#include "platform/window.h"

namespace qlx {
namespace {

TEST(SdlKeys, KeysBecomeWindowsVirtualKeysAndControlCharacters) {
  struct Case {
    SDL_Keycode key;
    int virtualKey, controlChar;
  };
  // Letters by their upper case whatever the shift state; both Enter keys are one key to the
  // game; keys without a code are not reported. Space and letters arrive as text, so making a
  // character from them here too would deliver them twice.
  const Case cases[] = {
      {SDLK_a, 'A', 0},
      {SDLK_z, 'Z', 0},
      {SDLK_r, VK_R, 0},
      {SDLK_0, '0', 0},
      {SDLK_9, '9', 0},
      {SDLK_KP_0, 96, 0},
      {SDLK_KP_9, 105, 0},
      {SDLK_DELETE, VK_DELETE, 0},
      {SDLK_SPACE, 32, 0},
      {SDLK_BACKSPACE, 8, 8},
      {SDLK_RETURN, VK_RETURN, 13},
      {SDLK_KP_ENTER, VK_RETURN, 13},
      {SDLK_ESCAPE, 27, 27},
      {SDLK_APPLICATION, 0, 0},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(virtualKeyOf(c.key), c.virtualKey) << SDL_GetKeyName(c.key);
    EXPECT_EQ(controlCharOf(c.key), c.controlChar) << SDL_GetKeyName(c.key);
  }
  EXPECT_EQ(shiftMaskOf(KMOD_RSHIFT | KMOD_LCTRL | KMOD_RALT | KMOD_NUM | KMOD_CAPS), 7)
      << "lock keys do not count";
  EXPECT_EQ(buttonOf(SDL_BUTTON_MIDDLE), vbMiddleButton);
  EXPECT_EQ(buttonOf(SDL_BUTTON_X1), 0);
  EXPECT_EQ(buttonsHeldOf(SDL_BUTTON_RMASK | SDL_BUTTON_X2MASK), vbRightButton);
}

TEST(AnsiText, TypedUtf8BecomesWindows1252AndMalformedBytesAreDropped) {
  const std::pair<const char*, const char*> cases[] = {
      {"aZ 9", "aZ 9"},
      {"\xC3\xA9", "\xE9"},        // é
      {"\xE2\x82\xAC", "\x80"},    // €
      {"\xC5\xB8", "\x9F"},        // Ÿ
      {"\xE2\x80\x9C", "\x93"},    // left double quote
      {"\xD0\xB6x", "x"},          // Cyrillic has no byte: dropped
      {"\xF0\x9F\x98\x80!", "!"},  // an emoji too
      {"\xC2\x81", ""},            // C1 controls are not text
      {"\x80"
       "a",
       "a"},  // stray continuation byte
      {"\xC3"
       "a",
       "a"},                 // truncated sequence, next char kept
      {"b\xE2\x82", "b"},    // truncated at the end
      {"\xC0\x8D", ""},      // overlong CR
      {"\xE0\x80\x81", ""},  // overlong control
      {"\xFF\xFE"
       "c",
       "c"},
  };
  for (const auto& [utf8, ansi] : cases) EXPECT_EQ(utf8ToAnsi(utf8), ansi) << ansi;
}

TEST(FileUrl, AbsolutePercentEncoded) {
  EXPECT_EQ(fileUrl("/opt/quillorix/QUILHLP.HTM"), "file:///opt/quillorix/QUILHLP.HTM");
  EXPECT_EQ(fileUrl("/a b/c#d%e?f.htm"), "file:///a%20b/c%23d%25e%3Ff.htm");
  EXPECT_EQ(fileUrl("/caf\xC3\xA9/x~y_z-1.htm"), "file:///caf%C3%A9/x~y_z-1.htm");
  EXPECT_EQ(fileUrl("/a/./b/../c.htm"), "file:///a/c.htm");
  // A relative path is taken from the working folder.
  const std::string cwd = std::filesystem::current_path().string();
  EXPECT_EQ(fileUrl("QUILHLP.HTM"), fileUrl(cwd + "/QUILHLP.HTM"));
  EXPECT_EQ(fileUrl("QUILHLP.HTM").rfind("file:///", 0), 0u);
}

}  // namespace
}  // namespace qlx
