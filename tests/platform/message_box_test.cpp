// The message box on the headless back end: its layout (the text, the OK button centred below
// it), line wrapping, and the ways it closes (Enter, Escape, a click on OK; nothing else).
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "box_fonts.h"
#include "platform/headless/headless_backend.h"
#include "platform/message_box.h"

namespace qlx {
namespace {

using testing::countOf;

TEST(MessageBox, LaysOutTextAboveACentredOkButtonAndFitsShortAndLongTexts) {
  HeadlessBackend backend;
  MessageBoxStyle style;
  style.buttonText = rgb(255, 255, 255);
  MessageBoxWindow box(backend, "First line of the message\nSecond", "Quillorix", style);
  const DeviceContext& dc = box.dc();
  const Rect& text = box.textArea();
  const Rect& ok = box.okButton();
  EXPECT_GE(ok.top, text.bottom) << "the button lies below the text";
  EXPECT_LE(ok.bottom, box.clientHeight());
  EXPECT_LE(std::abs(ok.left + ok.right - box.clientWidth()), 1) << "centred";
  EXPECT_EQ(text.height(), 2 * dc.textExtent("Ag").cy);
  EXPECT_GE(text.width(), dc.textExtent("First line of the message").cx);
  EXPECT_LE(text.right, box.clientWidth());
  EXPECT_EQ(countOf(dc, style.text, Rect{0, 0, box.clientWidth(), text.top}), 0)
      << "nothing above the text";
  const Rect inner{ok.left + 2, ok.top + 2, ok.right - 2, ok.bottom - 2};
  EXPECT_GT(countOf(dc, style.buttonText, inner), 0) << "the label OK in the button's colour";

  MessageBoxWindow small(backend, "Hi", "T");
  EXPECT_LE(small.clientWidth(), 300) << "a short text gives a small box";
  // A long paragraph wraps between words instead of making a box wider than the screen.
  std::string paragraph;
  for (int i = 0; i < 40; ++i) paragraph += "word" + std::to_string(i) + " ";
  MessageBoxWindow wide(backend, paragraph, "T");
  EXPECT_LE(wide.textArea().width(), MessageBoxWindow::kMaxTextWidth);
  EXPECT_GT(wide.textArea().height(), 2 * wide.dc().textExtent("Ag").cy);
}

TEST(MessageBox, WrapKeepsTextAndBreaksAtBlanks) {
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
}

TEST(MessageBox, ClosesOnEnterEscapeOrAClickOnOkAndStaysOpenOnOtherInput) {
  HeadlessBackend backend;
  const Rect ok = MessageBoxWindow(backend, "Text", "Title").okButton();
  struct Case {
    const char* what;
    int key, x, y, button;  // a key, or a click where key is 0
    bool closes;
  };
  const Case cases[] = {
      {"Enter", VK_RETURN, 0, 0, 0, true},
      {"Escape", VK_ESCAPE, 0, 0, 0, true},
      {"a click on OK", 0, ok.left, ok.bottom - 1, vbLeftButton, true},
      {"a click left of OK", 0, ok.left - 1, ok.top, vbLeftButton, false},
      {"a click below OK", 0, ok.left, ok.bottom, vbLeftButton, false},
      {"a click elsewhere", 0, 2, 2, vbLeftButton, false},
      {"the right button on OK", 0, ok.left + 2, ok.top + 2, vbRightButton, false},
      {"X", 'X', 0, 0, 0, false},
      {"Space", VK_SPACE, 0, 0, 0, false},
      {"Delete", VK_DELETE, 0, 0, 0, false},
  };
  for (const Case& c : cases) {
    MessageBoxWindow box(backend, "Text", "Title");
    backend.onNextModal([&](Window&) {
      if (c.key != 0) backend.keyDown(box, c.key);
      if (c.key == 0) backend.mouseDown(box, float(c.x), float(c.y), c.button);
      EXPECT_EQ(!box.isVisible(), c.closes) << c.what;
      if (box.isVisible()) backend.keyDown(box, VK_ESCAPE);  // so the modal show returns
    });
    box.showModal();
  }
}

}  // namespace
}  // namespace qlx
