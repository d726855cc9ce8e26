// The name dialog on the headless back end: editing in the text box, the three ways it closes
// and the name rules, and its texts and what the text box shows.
#include <gtest/gtest.h>

#include <array>
#include <functional>
#include <string>

#include "dialogs/name_dialog.h"
#include "platform/headless/headless_backend.h"

namespace qlx {
namespace {

constexpr int kKeyEnd = 35, kKeyHome = 36, kKeyLeft = 37;

class NameDialogTest : public ::testing::Test {
 protected:
  // Shows the dialog for level 2 and runs step on it; returns the name it gives back.
  std::string ask(const std::function<void(DiagUN&)>& step) {
    backend.onNextModal([&](Window& w) { step(dynamic_cast<DiagUN&>(w)); });
    return askBestName(backend, graphics, 3, 2);
  }

  // The screen pixel at (x, y) as 0x00RRGGBB.
  uint32_t shown(const DiagUN& d, int x, int y) {
    const auto& s = backend.screen(d);
    return s.at(static_cast<std::size_t>(y * kNameDialogWidth + x));
  }
  // Dark pixels in the columns [left, right) of the text box's inside.
  int darkIn(const DiagUN& d, int left, int right) {
    int n = 0;
    for (int y = d.textBox().top + 2; y < d.textBox().bottom - 2; ++y)
      for (int x = left; x < right; ++x) n += (shown(d, x, y) & 0xff) < 100;
    return n;
  }
  // Rows of the caret's column that are black.
  int caretRows(const DiagUN& d) {
    int n = 0;
    for (int y = d.textBox().top + 2; y < d.textBox().bottom - 2; ++y)
      n += shown(d, d.caretX(), y) == 0;
    return n;
  }

  HeadlessBackend backend;
  Graphics graphics;
};

TEST_F(NameDialogTest, TypingBackspaceAndTheCaretKeysEditWhereTheCaretIs) {
  const std::string name = ask([&](DiagUN& d) {
    backend.type(d, "Ann Leex");
    backend.keyPress(d, VK_BACK);
    EXPECT_EQ(d.text(), "Ann Lee");
    backend.keyDown(d, kKeyHome);
    backend.keyPress(d, VK_BACK);  // nothing before the caret
    backend.type(d, "Jo ");
    EXPECT_EQ(d.caret(), 3u);
    backend.keyDown(d, kKeyEnd);
    backend.keyDown(d, kKeyLeft);
    backend.keyPress(d, VK_BACK);   // the "e" before the caret
    backend.keyDown(d, VK_DELETE);  // and the one after it
    EXPECT_EQ(d.text(), "Jo Ann L");
    backend.keyPress(d, 0xe9);  // é, a Windows-1252 character
    for (int notACharacter : {9, 27, 127, 256, -1}) backend.keyPress(d, notACharacter);
    // A click in the box puts the caret at the nearest character boundary.
    backend.mouseDown(d, static_cast<float>(d.textLeft()), static_cast<float>(d.textBox().top + 5));
    EXPECT_EQ(d.caret(), 0u);
    backend.type(d, "<");
    backend.keyDown(d, VK_RETURN);
  });
  EXPECT_EQ(name, "<Jo Ann L\xe9");
}

TEST_F(NameDialogTest, EnterTheOkButtonAndTheCloseBoxAllCloseWithTheNameRulesApplied) {
  EXPECT_EQ(ask([&](DiagUN& d) {
              backend.type(d, "ABCDEFGHIJKLMNOPQRSTUVWXY");  // 25 characters: the box stops at 19
              EXPECT_EQ(d.text(), "ABCDEFGHIJKLMNOPQRS");
              const Rect ok = d.okButton();
              backend.mouseDown(d, (ok.left + ok.right) / 2.0f, (ok.top + ok.bottom) / 2.0f);
            }),
            "ABCDEFGHIJKLMNOPQRS");
  EXPECT_EQ(ask([&](DiagUN& d) { backend.keyPress(d, VK_RETURN); }), "-");
  EXPECT_EQ(ask([&](DiagUN& d) {
              backend.type(d, "  ");
              backend.closeBox(d);
              EXPECT_EQ(d.nameEntered, "  ");
            }),
            "  ");
  EXPECT_EQ(backend.pendingModalSteps(), 0u);
}

TEST_F(NameDialogTest, ItsTextsAndTheTextBoxWithABlinkingCaretThatStaysInView) {
  ask([&](DiagUN& d) {
    EXPECT_EQ(d.caption(), "Best Score");
    EXPECT_EQ(d.bestNo, 3);
    EXPECT_EQ(d.congratulation(),
              " Congratulations ! \r\n You have the best Score In \r\nQuillorix");
    EXPECT_STREQ(DiagUN::prompt(), "Enter Your Name");
    EXPECT_EQ(d.clientWidth(), 329);
    EXPECT_EQ(d.clientHeight(), 207);
    EXPECT_GT(d.messageLabel().height(), 30);  // three lines
    EXPECT_LT(d.promptLabel().right, d.textBox().left);
    const Rect box = d.textBox(), ok = d.okButton();
    EXPECT_EQ((std::array{box.left, box.top, box.right, box.bottom}),
              (std::array{133, 101, 299, 123}));
    EXPECT_EQ((std::array{ok.left, ok.top, ok.right, ok.bottom}), (std::array{127, 153, 208, 178}));

    backend.type(d, "Wm");
    const int caret = d.caretX();
    EXPECT_GT(caret, d.textLeft() + 10);
    EXPECT_GT(darkIn(d, d.textLeft(), caret), 20) << "the text";
    EXPECT_GE(caretRows(d), 10) << "the caret";
    EXPECT_EQ(darkIn(d, caret + 2, d.textBox().right - 2), 0) << "nothing after the caret";

    backend.advance(600);  // the caret blinks off
    EXPECT_FALSE(d.caretShown());
    EXPECT_EQ(caretRows(d), 0);
    backend.type(d, "W");  // and is back at once when the text changes
    EXPECT_GE(caretRows(d), 10);

    backend.type(d, std::string(60, 'W'));  // 16 more fit the box's 19: far wider than it shows
    EXPECT_LT(d.caretX(), d.textBox().right - 2);
    EXPECT_GE(caretRows(d), 10);
    EXPECT_GT(darkIn(d, d.textLeft(), d.caretX()), 100);
    backend.keyDown(d, kKeyHome);  // scrolled back to the start
    EXPECT_EQ(d.caretX(), d.textLeft());
    backend.keyDown(d, kKeyEnd);
    EXPECT_EQ(d.text().size(), 19u);
    for (int i = 0; i < 17; ++i) backend.keyPress(d, VK_BACK);  // back to "Wm", unscrolled
    EXPECT_EQ(d.text(), "Wm");
    EXPECT_EQ(d.caretX(), caret);
    backend.closeBox(d);
  });
}

}  // namespace
}  // namespace qlx
