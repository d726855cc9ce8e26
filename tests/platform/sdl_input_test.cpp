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

TEST(SdlKeys, VirtualKeyCodesAreThoseOfAWindowsKeyboard) {
  // Letters by their upper case whatever the shift state, digits by themselves.
  EXPECT_EQ(virtualKeyOf(SDLK_a), 'A');
  EXPECT_EQ(virtualKeyOf(SDLK_z), 'Z');
  EXPECT_EQ(virtualKeyOf(SDLK_r), VK_R);
  EXPECT_EQ(virtualKeyOf(SDLK_0), '0');
  EXPECT_EQ(virtualKeyOf(SDLK_9), '9');
  EXPECT_EQ(virtualKeyOf(SDLK_KP_ENTER), VK_RETURN) << "both Enter keys are one key to the game";
  EXPECT_EQ(virtualKeyOf(SDLK_DELETE), VK_DELETE);
  EXPECT_EQ(virtualKeyOf(SDLK_KP_0), 96);
  EXPECT_EQ(virtualKeyOf(SDLK_KP_9), 105);
  EXPECT_EQ(virtualKeyOf(SDLK_APPLICATION), 0) << "keys without a code are not reported";
}

TEST(SdlKeys, ControlCharactersComeFromTheKeysThatTypeNoText) {
  EXPECT_EQ(controlCharOf(SDLK_BACKSPACE), 8);
  EXPECT_EQ(controlCharOf(SDLK_RETURN), 13);
  EXPECT_EQ(controlCharOf(SDLK_KP_ENTER), 13);
  EXPECT_EQ(controlCharOf(SDLK_ESCAPE), 27);
  // Space and letters arrive as text; making them here too would deliver them twice.
  EXPECT_EQ(controlCharOf(SDLK_SPACE), 0);
  EXPECT_EQ(controlCharOf(SDLK_a), 0);
  EXPECT_EQ(controlCharOf(SDLK_DELETE), 0);
}

TEST(SdlKeys, ShiftMaskAndButtons) {
  EXPECT_EQ(shiftMaskOf(KMOD_RSHIFT | KMOD_LCTRL | KMOD_RALT | KMOD_NUM | KMOD_CAPS), 7) << "lock keys do not count";
  EXPECT_EQ(buttonOf(SDL_BUTTON_MIDDLE), vbMiddleButton);
  EXPECT_EQ(buttonOf(SDL_BUTTON_X1), 0);
  EXPECT_EQ(buttonsHeldOf(SDL_BUTTON_RMASK | SDL_BUTTON_X2MASK), vbRightButton);
}

TEST(AnsiText, TypedUtf8BecomesWindows1252) {
  EXPECT_EQ(utf8ToAnsi("aZ 9"), "aZ 9");
  EXPECT_EQ(utf8ToAnsi("\xC3\xA9"), "\xE9");           // é
  EXPECT_EQ(utf8ToAnsi("\xE2\x82\xAC"), "\x80");       // €
  EXPECT_EQ(utf8ToAnsi("\xC5\xB8"), "\x9F");           // Ÿ
  EXPECT_EQ(utf8ToAnsi("\xE2\x80\x9C"), "\x93");       // left double quote
  EXPECT_EQ(utf8ToAnsi("\xD0\xB6x"), "x");             // Cyrillic has no byte: dropped
  EXPECT_EQ(utf8ToAnsi("\xF0\x9F\x98\x80!"), "!");     // an emoji too
  EXPECT_EQ(utf8ToAnsi("\xC2\x81"), "");               // C1 controls are not text
}

TEST(AnsiText, MalformedUtf8IsDroppedWithoutEatingGoodText) {
  EXPECT_EQ(utf8ToAnsi("\x80" "a"), "a");              // stray continuation byte
  EXPECT_EQ(utf8ToAnsi("\xC3" "a"), "a");              // truncated sequence, next char kept
  EXPECT_EQ(utf8ToAnsi("b\xE2\x82"), "b");             // truncated at the end
  EXPECT_EQ(utf8ToAnsi("\xC0\x8D"), "");               // overlong CR
  EXPECT_EQ(utf8ToAnsi("\xE0\x80\x81"), "");           // overlong control
  EXPECT_EQ(utf8ToAnsi("\xFF\xFE" "c"), "c");
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
