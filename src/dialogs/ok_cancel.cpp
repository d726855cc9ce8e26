// frmOKCancel: the records are laid out on load from the client size and the dialog unit; the
// message is drawn once in 12 points, the buttons in 14 points from then on.
#include "dialogs/ok_cancel.h"

#include <string>
#include <utility>

#include "drawkit/primitives.h"
#include "resources/string_table.h"

namespace qlx {
namespace {

constexpr int kButtonHeight = 30;
constexpr double kMessagePoints = 12;
constexpr double kButtonPoints = 14;

}  // namespace

FrmOKCancel::FrmOKCancel(Backend& backend, const Graphics& graphics, int dialogUnit,
                         Question question)
    : Window(backend, kOKCancelWidth, kOKCancelHeight),
      graphics_(graphics),
      dialogUnit_(dialogUnit),
      question_(std::move(question)) {}

// The resume question's captions are the string-table entries 230 + the button's number.
std::string FrmOKCancel::buttonCaption(int k) const {
  if (question_.message.empty()) return loadString(IDS_RESUME_QUESTION + k);
  return k == 1 ? question_.yes : question_.no;
}

void FrmOKCancel::Form_Load() {
  const Graphics& g = graphics_;
  const int u = dialogUnit_;
  DeviceContext& hdc = dc();
  clickedBtnNum = -1;
  setCaption(question_.caption);
  setIcon(g.windowIcon);
  hdc.setFont(FontSpec{"Arial", kMessagePoints, FW_NORMAL});

  const int w = clientWidth(), h = clientHeight();
  background_ = dialogRect(hdc, 1, 1, w - 2, h - 2, &g.brPanel, 0);
  message_ = dialogRect(hdc, u, u, (w - 2) - 2 * u, (h - 2) - 4 * u, &g.brPanel, g.clrMessageText);
  buttons_[0] = dialogRect(hdc, 20, (h - 2) - 2 * u, 4 * u, kButtonHeight, &g.brPanel,
                           g.clrButtonText, &g.penFrame);
  buttons_[1] = dialogRect(hdc, 4 * u + 40, (h - 2) - 2 * u, 4 * u, kButtonHeight, &g.brPanel,
                           g.clrButtonText, &g.penFrame);

  // The frame takes the pen a fresh context holds: the default black one.
  drawBox(background_, 2);
  drawText(message_, 1,
           question_.message.empty() ? loadString(IDS_RESUME_QUESTION) : question_.message,
           kTopLeftText);
  hdc.setFontSize(kButtonPoints);
  drawAtRest(1);
  drawAtRest(2);
}

void FrmOKCancel::drawAtRest(int k) {
  drawButton(buttons_[static_cast<std::size_t>(k - 1)], 1, false, 4, buttonCaption(k), graphics_);
}

void FrmOKCancel::drawHover(int k) {
  drawButton(buttons_[static_cast<std::size_t>(k - 1)], 2, true, 8, buttonCaption(k), graphics_);
}

void FrmOKCancel::Form_KeyPress(int& keyAscii) {
  if (keyAscii == VK_RETURN) {
    clickedBtnNum = 1;
    unload();
  } else if (keyAscii == VK_ESCAPE) {
    clickedBtnNum = 2;
    unload();
  }
}

void FrmOKCancel::Form_MouseDown(int button, int shift, float x, float y) {
  (void)button, (void)shift;
  for (int k = 1; k <= 2; ++k) {
    if (hitTest(buttons_[static_cast<std::size_t>(k - 1)], x, y)) {
      clickedBtnNum = k;
      unload();
      return;
    }
  }
}

void FrmOKCancel::Form_MouseMove(int button, int shift, float x, float y) {
  (void)button, (void)shift;
  // Both buttons are looked at in every move, so going straight from one to the other puts the
  // first back at rest and lights the second in the same event.
  for (int k = 1; k <= 2; ++k) {
    DrawRect& b = buttons_[static_cast<std::size_t>(k - 1)];
    const bool on = hitTest(b, x, y);
    if (on && b.hover == 0) {
      drawHover(k);
      b.hover = -1;
      refresh();
    } else if (!on && b.hover != 0) {
      drawAtRest(k);
      b.hover = 0;
      refresh();
    }
  }
}

int askOKCancel(Backend& backend, const Graphics& graphics, int dialogUnit, Question question) {
  FrmOKCancel dialog(backend, graphics, dialogUnit, std::move(question));
  dialog.showModal();
  return dialog.clickedBtnNum;
}

}  // namespace qlx
