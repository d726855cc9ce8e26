// The question dialog frmOKCancel on the headless back end with the real fonts: its looks, presses
// that must do nothing, and the hover looks when the pointer goes from one button straight to the
// other. Its answers by key, button and close box are checked through start-up's resume offer.
#include <gtest/gtest.h>

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
  OKCancelTest() { d.show(); }

  void press(float x, float y, int button = vbLeftButton) { backend.mouseDown(d, x, y, button); }
  static float midX(const DrawRect& r) { return r.left + r.width / 2.0f; }
  static float midY(const DrawRect& r) { return r.top + r.height / 2.0f; }
  int count(const DrawRect& r, ColorRef c) {
    return testing::countOf(d.dc(), c, {r.left, r.top, r.left + r.width, r.top + r.height});
  }
  // The hover look has a second frame line just inside the first, and its caption in the hover
  // colour.
  bool looksHovered(int k) {
    const DrawRect& b = d.button(k);
    return d.dc().pixel(b.left + 1, b.top + 1) == graphics.penFrame.color &&
           count(b, graphics.clrHoverText) > 0;
  }
  bool looksAtRest(int k) {
    const DrawRect& b = d.button(k);
    return d.dc().pixel(b.left, b.top) == graphics.penFrame.color &&
           d.dc().pixel(b.left + 1, b.top + 1) == graphics.brPanel.color &&
           count(b, graphics.clrHoverText) == 0 && count(b, graphics.clrButtonText) > 0;
  }

  HeadlessBackend backend;
  Graphics graphics;
  FrmOKCancel d{backend, graphics};
};

TEST_F(OKCancelTest, PaintsTheQuestionInTwelvePointsInAFramedPanelAndTheButtonsAtRest) {
  // The background is framed in the default black pen, inside one pixel of the window's colour.
  EXPECT_EQ(d.dc().pixel(1, 1), rgb(0, 0, 0));
  EXPECT_EQ(d.dc().pixel(420, 218), rgb(0, 0, 0));
  EXPECT_EQ(d.dc().pixel(2, 2), graphics.brPanel.color);
  EXPECT_EQ(d.dc().font().points, 14);  // the buttons' size stays in force for their redraws

  // The message, drawn alone in Arial 12 on the panel, must match pixel for pixel (one row above
  // the record too: the coloured copy is lifted), and each line must fit the record.
  DeviceContext ref(kOKCancelWidth, kOKCancelHeight, graphics.brPanel.color);
  ref.setFont(FontSpec{"Arial", 12, FW_NORMAL});
  DrawRect m = d.message();
  m.hDC = &ref;
  const std::string text = loadString(230);
  drawText(m, 1, text, kTopLeftText);
  for (int y = m.top - 1; y < m.top + m.height; ++y)
    for (int x = m.left; x < m.left + m.width + 1; ++x)
      ASSERT_EQ(d.dc().pixel(x, y), ref.pixel(x, y)) << "at (" << x << ", " << y << ")";
  EXPECT_GT(count(m, graphics.clrMessageText), 50);
  std::istringstream lines(text);
  int lineCount = 0;
  for (std::string line; std::getline(lines, line); ++lineCount)
    EXPECT_LE(ref.textExtent(line).cx + 1, m.width) << "\"" << line << "\" is too wide";
  EXPECT_LE(lineCount * ref.textExtent("Ag").cy, m.height) << "the question is too tall";
  EXPECT_TRUE(looksAtRest(1) && looksAtRest(2));
}

// Hover looks follow the pointer, going straight across swaps them in one move; other keys and
// presses outside the buttons or on their edges leave it open.
TEST_F(OKCancelTest, HoverLooksFollowThePointerAndOnlyPressesInsideAButtonCloseIt) {
  const DrawRect &b1 = d.button(1), &b2 = d.button(2);
  backend.mouseMove(d, midX(b1), midY(b1));
  EXPECT_TRUE(looksHovered(1));
  int presents = backend.presentCount(d);
  backend.mouseMove(d, midX(b1) + 5, midY(b1));  // still on it: nothing redrawn
  EXPECT_EQ(backend.presentCount(d), presents);
  backend.mouseMove(d, midX(b2), midY(b2));
  EXPECT_TRUE(looksAtRest(1) && looksHovered(2));
  EXPECT_EQ(backend.presentCount(d), presents + 2);
  backend.mouseMove(d, b2.left, midY(b2));  // the edge is off the button
  EXPECT_TRUE(looksAtRest(2));

  for (int key : {int{'y'}, int{'n'}, int{VK_SPACE}, int{VK_BACK}}) backend.keyPress(d, key);
  press(210, 145);  // between the buttons
  press(midX(d.message()), midY(d.message()));
  for (const DrawRect& b : {b1, b2}) {
    press(b.left, midY(b));
    press(b.left + b.width, midY(b));
    press(midX(b), b.top);
    press(midX(b), b.top + b.height);
  }
  EXPECT_TRUE(d.isVisible());
  EXPECT_EQ(d.clickedBtnNum, -1);
  // Just inside the corner is on the button, and any mouse button counts.
  press(b2.left + 0.5f, b2.top + 0.5f, vbRightButton);
  EXPECT_EQ(d.clickedBtnNum, 2);
  EXPECT_FALSE(d.isVisible());
}

}  // namespace
}  // namespace qlx
