// The game's message box look: a message box painted in it takes the panel colour, the frame pen
// around its button and the message colour for its text.
#include <gtest/gtest.h>

#include "box_fonts.h"
#include "dialogs/message_box_style.h"
#include "platform/headless/headless_backend.h"

namespace qlx {
namespace {

TEST(GameMessageBoxStyle, PaintsAMessageBoxInThePanelColours) {
  Graphics g;
  const MessageBoxStyle style = gameMessageBoxStyle(g);
  EXPECT_EQ(style.font, (FontSpec{"Arial", 12, FW_NORMAL}));
  HeadlessBackend backend;
  MessageBoxWindow box(backend, "Please select a code first", "Quillorix", style);
  const DeviceContext& dc = box.dc();
  EXPECT_EQ(dc.pixel(0, 0), g.brPanel.color);
  const Rect& ok = box.okButton();
  EXPECT_EQ(dc.pixel(ok.left, ok.top), g.penFrame.color);
  EXPECT_GT(testing::countOf(dc, g.clrMessageText, box.textArea()), 20);
}

}  // namespace
}  // namespace qlx
