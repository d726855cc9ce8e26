// The question dialog frmOKCancel on the headless back end with the real fonts: its records and
// looks, the answers given by keys, buttons and the close box, presses that must do nothing, and
// the hover looks when the pointer goes from one button straight to the other.
#include <gtest/gtest.h>

#include <array>
#include <functional>
#include <sstream>
#include <string>

#include "box_fonts.h"
#include "dialogs/ok_cancel.h"
#include "drawkit/primitives.h"
#include "platform/headless/headless_backend.h"
#include "resources/string_table.h"

namespace qlx {
namespace {

class OKCancelTest : public ::testing::Test {
 protected:
  // Opens the dialog modally, runs step on it and returns the answer the caller reads.
  int ask(const std::function<void(FrmOKCancel&)>& step) {
    backend.onNextModal([&](Window& w) { step(dynamic_cast<FrmOKCancel&>(w)); });
    const int answer = askOKCancel(backend, graphics);
    EXPECT_EQ(backend.pendingModalSteps(), 0u);
    return answer;
  }

  void press(FrmOKCancel& d, float x, float y) { backend.mouseDown(d, x, y); }
  void press(FrmOKCancel& d, const DrawRect& r, int button = vbLeftButton) {
    backend.mouseDown(d, centreX(r), centreY(r), button);
  }
  static float centreX(const DrawRect& r) { return r.left + r.width / 2.0f; }
  static float centreY(const DrawRect& r) { return r.top + r.height / 2.0f; }

  // Pixels of colour c inside the record.
  static int count(const FrmOKCancel& d, const DrawRect& r, ColorRef c) {
    return testing::countOf(d.dc(), c, {r.left, r.top, r.left + r.width, r.top + r.height});
  }
  // The hover look has a second frame line just inside the first, and its caption in the hover
  // colour.
  bool looksHovered(const FrmOKCancel& d, int k) {
    const DrawRect& b = d.button(k);
    return d.dc().pixel(b.left + 1, b.top + 1) == graphics.penFrame.color &&
           count(d, b, graphics.clrHoverText) > 0;
  }
  bool looksAtRest(const FrmOKCancel& d, int k) {
    const DrawRect& b = d.button(k);
    return d.dc().pixel(b.left, b.top) == graphics.penFrame.color &&
           d.dc().pixel(b.left + 1, b.top + 1) == graphics.brPanel.color &&
           count(d, b, graphics.clrHoverText) == 0 && count(d, b, graphics.clrButtonText) > 0;
  }

  HeadlessBackend backend;
  Graphics graphics;
};

TEST_F(OKCancelTest, LaysOutItsRecordsAndPaintsTheQuestionInTwelvePointsAndTheButtonsAtRest) {
  graphics.windowIcon = std::make_shared<Bitmap>(Bitmap{2, 2, {1, 2, 3, 4}});
  FrmOKCancel d(backend, graphics);
  d.show();

  EXPECT_EQ(d.caption(), "Do you want to exit");
  EXPECT_EQ(d.icon(), graphics.windowIcon);
  EXPECT_EQ(d.clickedBtnNum, -1);
  ASSERT_EQ(d.clientWidth(), 422);
  ASSERT_EQ(d.clientHeight(), 220);
  const auto rectOf = [](const DrawRect& r) {
    return std::array{r.left, r.top, r.width, r.height};
  };
  EXPECT_EQ(rectOf(d.background()), (std::array{1, 1, 420, 218}));
  EXPECT_EQ(rectOf(d.message()), (std::array{44, 44, 332, 42}));
  EXPECT_EQ(rectOf(d.button(1)), (std::array{20, 130, 176, 30}));
  EXPECT_EQ(rectOf(d.button(2)), (std::array{216, 130, 176, 30}));
  EXPECT_EQ(d.dc().font().points, 14);  // the buttons' size stays in force for their redraws

  // The background is framed in the default black pen, inside one pixel of the window's colour.
  EXPECT_EQ(d.dc().pixel(1, 1), rgb(0, 0, 0));
  EXPECT_EQ(d.dc().pixel(420, 218), rgb(0, 0, 0));
  EXPECT_EQ(d.dc().pixel(2, 2), graphics.brPanel.color);

  // The message, drawn alone in Arial 12 on the panel, must match pixel for pixel (one row above
  // the record too: the coloured copy is lifted), and each line must fit the record.
  DeviceContext ref(422, 220, graphics.brPanel.color);
  ref.setFont(FontSpec{"Arial", 12, FW_NORMAL});
  DrawRect m = d.message();
  m.hDC = &ref;
  const std::string text = loadString(230);
  drawText(m, 1, text, kTopLeftText);
  int inked = 0;
  for (int y = m.top - 1; y < m.top + m.height; ++y)
    for (int x = m.left; x < m.left + m.width + 1; ++x) {
      ASSERT_EQ(d.dc().pixel(x, y), ref.pixel(x, y)) << "at (" << x << ", " << y << ")";
      inked += ref.pixel(x, y) == graphics.clrMessageText;
    }
  EXPECT_GT(inked, 50);
  std::istringstream lines(text);
  int lineCount = 0;
  for (std::string line; std::getline(lines, line); ++lineCount)
    EXPECT_LE(ref.textExtent(line).cx + 1, m.width)
        << "\"" << line << "\" is wider than the message";
  EXPECT_LE(lineCount * ref.textExtent("Ag").cy, m.height)
      << "the question is taller than its record";
  EXPECT_TRUE(looksAtRest(d, 1));
  EXPECT_TRUE(looksAtRest(d, 2));
}

TEST_F(OKCancelTest,
       EnterAndButtonOneAnswerOneEscapeAndButtonTwoAnswerTwoTheCloseBoxLeavesMinusOne) {
  EXPECT_EQ(ask([&](FrmOKCancel& d) { backend.keyPress(d, VK_RETURN); }), 1);
  EXPECT_EQ(ask([&](FrmOKCancel& d) { press(d, d.button(1)); }), 1);
  EXPECT_EQ(ask([&](FrmOKCancel& d) { backend.keyPress(d, VK_ESCAPE); }), 2);
  EXPECT_EQ(ask([&](FrmOKCancel& d) { press(d, d.button(2), vbRightButton); }),
            2);  // any mouse button counts
  EXPECT_EQ(ask([&](FrmOKCancel& d) { backend.closeBox(d); }), -1);
}

TEST_F(OKCancelTest, OtherKeysPressesOutsideTheButtonsAndOnTheirEdgesLeaveItOpen) {
  const int answer = ask([&](FrmOKCancel& d) {
    for (int key : {int{'y'}, int{'n'}, int{VK_SPACE}, int{VK_BACK}}) backend.keyPress(d, key);
    press(d, 210, 145);  // between the buttons
    press(d, d.message());
    for (int k = 1; k <= 2; ++k) {
      const DrawRect& b = d.button(k);
      press(d, static_cast<float>(b.left), centreY(b));
      press(d, static_cast<float>(b.left + b.width), centreY(b));
      press(d, centreX(b), static_cast<float>(b.top));
      press(d, centreX(b), static_cast<float>(b.top + b.height));
    }
    EXPECT_TRUE(d.isVisible());
    EXPECT_EQ(d.clickedBtnNum, -1);
    // Just inside the corner is on the button.
    press(d, d.button(2).left + 0.5f, d.button(2).top + 0.5f);
  });
  EXPECT_EQ(answer, 2);
}

TEST_F(OKCancelTest, HoverLooksFollowThePointerAndGoingStraightAcrossSwapsThemInOneMove) {
  FrmOKCancel d(backend, graphics);
  d.show();
  const DrawRect& b1 = d.button(1);
  const DrawRect& b2 = d.button(2);

  backend.mouseMove(d, centreX(b1), centreY(b1));
  EXPECT_TRUE(looksHovered(d, 1));
  EXPECT_EQ(b1.hover, -1);
  int presents = backend.presentCount(d);
  backend.mouseMove(d, centreX(b1) + 5, centreY(b1));  // still on it: nothing redrawn
  EXPECT_EQ(backend.presentCount(d), presents);

  backend.mouseMove(d, centreX(b2), centreY(b2));
  EXPECT_TRUE(looksAtRest(d, 1));
  EXPECT_TRUE(looksHovered(d, 2));
  EXPECT_EQ(b1.hover, 0);
  EXPECT_EQ(b2.hover, -1);
  EXPECT_EQ(backend.presentCount(d), presents + 2);

  backend.mouseMove(d, static_cast<float>(b2.left), centreY(b2));  // the edge is off the button
  EXPECT_TRUE(looksAtRest(d, 2));
  EXPECT_EQ(b2.hover, 0);
}

}  // namespace
}  // namespace qlx
