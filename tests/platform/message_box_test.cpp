// The message box on the headless back end: its layout and painting (the text inside, the OK
// button below it) and the ways it closes (Enter, Escape, a click on OK; nothing else).
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

MessageBoxStyle testStyle() {
  MessageBoxStyle s;
  s.background = rgb(10, 20, 30);
  s.text = rgb(250, 250, 0);
  s.buttonFill = rgb(0, 128, 0);
  s.buttonFrame = rgb(255, 0, 0);
  s.buttonText = rgb(255, 255, 255);
  return s;
}

bool inside(const Rect& outer, const Rect& inner) {
  return inner.left >= outer.left && inner.top >= outer.top && inner.right <= outer.right &&
         inner.bottom <= outer.bottom;
}

TEST(MessageBox, LaysOutTextAboveACentredOkButtonAndPaintsInItsStyle) {
  HeadlessBackend backend;
  const MessageBoxStyle style = testStyle();
  MessageBoxWindow box(backend, "First line of the message\nSecond", "Quillorix", style);
  const DeviceContext& dc = box.dc();
  const Rect client{0, 0, box.clientWidth(), box.clientHeight()};

  EXPECT_EQ(box.caption(), "Quillorix");
  EXPECT_TRUE(inside(client, box.textArea()));
  EXPECT_TRUE(inside(client, box.okButton()));
  EXPECT_GE(box.okButton().top, box.textArea().bottom) << "the button lies below the text";
  EXPECT_LE(std::abs((box.okButton().left + box.okButton().right) - box.clientWidth()), 1)
      << "centred";
  // Two lines of text, each as tall as the font's line.
  EXPECT_EQ(box.textArea().height(), 2 * dc.textExtent("Ag").cy);
  EXPECT_GE(box.textArea().width(), dc.textExtent("First line of the message").cx);

  EXPECT_EQ(dc.pixel(0, 0), style.background);
  EXPECT_EQ(dc.pixel(box.clientWidth() - 1, box.clientHeight() - 1), style.background);
  EXPECT_GT(countOf(dc, style.text, box.textArea()), 20) << "text drawn in the text colour";
  EXPECT_EQ(countOf(dc, style.text, Rect{0, 0, client.right, box.textArea().top}), 0)
      << "nothing above the text";

  const Rect& ok = box.okButton();
  EXPECT_EQ(dc.pixel(ok.left, ok.top), style.buttonFrame);
  EXPECT_EQ(dc.pixel(ok.right - 1, ok.bottom - 1), style.buttonFrame);
  EXPECT_EQ(dc.pixel(ok.left + 3, ok.top + 3), style.buttonFill);
  const Rect inner{ok.left + 2, ok.top + 2, ok.right - 2, ok.bottom - 2};
  EXPECT_GT(inner.width() * inner.height() - countOf(dc, style.buttonFill, inner), 10)
      << "the label OK";
  EXPECT_GT(countOf(dc, style.buttonText, inner), 0) << "in the button's text colour";
}

TEST(MessageBox, FitsShortAndLongTexts) {
  HeadlessBackend backend;
  MessageBoxWindow small(backend, "Hi", "T");
  EXPECT_GE(small.clientWidth(), small.okButton().width());
  EXPECT_LE(small.clientWidth(), 300) << "a short text gives a small box";

  // A long paragraph wraps between words instead of making a box wider than the screen.
  std::string text;
  for (int i = 0; i < 40; ++i) text += "word" + std::to_string(i) + " ";
  MessageBoxWindow wide(backend, text, "T");
  EXPECT_LE(wide.textArea().width(), MessageBoxWindow::kMaxTextWidth);
  EXPECT_GT(wide.textArea().height(), 2 * wide.dc().textExtent("Ag").cy);
}

TEST(MessageBox, WrapKeepsTextAndBreaksAtBlanks) {
  DeviceContext dc(10, 10);
  const int width = dc.textExtent("aaaa bbbb").cx;
  // A leading blank is part of the message and stays.
  EXPECT_EQ(wrapText(dc, " Error Failerd", 1000), std::vector<std::string>{" Error Failerd"});
  EXPECT_EQ(wrapText(dc, "aaaa bbbb cccc", width), (std::vector<std::string>{"aaaa bbbb", "cccc"}));
  EXPECT_EQ(wrapText(dc, "one\r\n\ntwo", 1000), (std::vector<std::string>{"one", "", "two"}));
  // A word wider than the line is split rather than left to overflow; nothing is lost.
  const std::vector<std::string> split =
      wrapText(dc, "xxxxxxxxxxxxxxxxxxxxxxxx", dc.textExtent("xxxx").cx);
  std::string joined;
  for (const std::string& line : split) {
    EXPECT_LE(dc.textExtent(line).cx, dc.textExtent("xxxx").cx);
    joined += line;
  }
  EXPECT_EQ(joined, "xxxxxxxxxxxxxxxxxxxxxxxx");
  EXPECT_GT(split.size(), 1u);
}

// Shows a box modally and runs step on it; returns whether the box closed.
template <typename Step>
bool closesAfter(Step step) {
  HeadlessBackend backend;
  MessageBoxWindow box(backend, "Text", "Title");
  bool closed = false;
  backend.onNextModal([&](Window& w) {
    EXPECT_EQ(&w, &box);
    step(backend, box);
    closed = !box.isVisible();
    if (!closed) backend.keyDown(box, VK_ESCAPE);  // so the modal show returns
  });
  box.showModal();
  EXPECT_FALSE(box.isVisible());
  return closed;
}

TEST(MessageBox, ClosesOnEnterEscapeOrAClickOnOkAndStaysOpenOnOtherInput) {
  EXPECT_TRUE(
      closesAfter([](HeadlessBackend& b, MessageBoxWindow& box) { b.keyDown(box, VK_RETURN); }));
  EXPECT_TRUE(
      closesAfter([](HeadlessBackend& b, MessageBoxWindow& box) { b.keyDown(box, VK_ESCAPE); }));
  EXPECT_TRUE(closesAfter([](HeadlessBackend& b, MessageBoxWindow& box) {
    b.mouseDown(box, float(box.okButton().left), float(box.okButton().bottom - 1));
  }));
  EXPECT_FALSE(closesAfter([](HeadlessBackend& b, MessageBoxWindow& box) {
    const Rect& ok = box.okButton();
    b.mouseDown(box, float(ok.left - 1), float(ok.top));  // just left of the button
    b.mouseDown(box, float(ok.left), float(ok.bottom));   // just below it
    b.mouseDown(box, 2, 2);
    b.mouseDown(box, float(ok.left + 2), float(ok.top + 2), vbRightButton);
    b.type(box, "x ");
    b.keyDown(box, VK_DELETE);
  }));
}

}  // namespace
}  // namespace qlx
