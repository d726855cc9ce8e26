// Layout and behaviour of the message box: text from the top-left, OK centred below it; a click
// on OK, Enter or Escape closes it.
#include "platform/message_box.h"

#include <algorithm>

namespace qlx {

namespace {

constexpr int kPad = 16;        // margin around the content
constexpr int kGap = 16;        // between the text and the button
constexpr int kMinWidth = 200;  // client width of a box with a short text

}  // namespace

std::vector<std::string> wrapText(const DeviceContext& dc, std::string_view text, int maxWidth) {
  std::vector<std::string> lines;
  std::size_t from = 0;
  for (;;) {
    std::size_t lf = text.find('\n', from);
    std::string_view para =
        text.substr(from, lf == std::string_view::npos ? std::string_view::npos : lf - from);
    if (!para.empty() && para.back() == '\r') para.remove_suffix(1);
    if (para.empty()) lines.emplace_back();
    std::size_t start = 0;
    while (start < para.size()) {
      std::string_view rest = para.substr(start);
      if (dc.textExtent(rest).cx <= maxWidth) {
        lines.emplace_back(rest);
        break;
      }
      // The longest prefix that fits, at least one character so the loop always advances.
      std::size_t end = start + 1;
      while (end < para.size() && dc.textExtent(para.substr(start, end + 1 - start)).cx <= maxWidth)
        ++end;
      std::size_t cut = end;
      std::size_t next = end;
      if (para[end] != ' ') {
        const std::size_t blank = para.substr(start, end - start).rfind(' ');
        if (blank != std::string_view::npos && blank > 0) cut = start + blank, next = cut + 1;
      } else {
        next = end + 1;
      }
      lines.emplace_back(para.substr(start, cut - start));
      start = next;
    }
    if (lf == std::string_view::npos) break;
    from = lf + 1;
  }
  return lines;
}

MessageBoxWindow::MessageBoxWindow(Backend& backend, const std::string& text,
                                   const std::string& title, const MessageBoxStyle& style)
    : Window(backend, 1, 1, style.background),
      style_(style),
      backgroundBrush_{style.background},
      buttonBrush_{style.buttonFill},
      framePen_{style.buttonFrame, 1} {
  setCaption(title);
  DeviceContext& dc = this->dc();
  dc.setFont(style_.font);
  const std::vector<std::string> lines = wrapText(dc, text, kMaxTextWidth);
  const int lineHeight = std::max(1, dc.textExtent("Ag").cy);
  int textWidth = 0;
  std::string joined;
  for (const std::string& line : lines) {
    textWidth = std::max(textWidth, dc.textExtent(line).cx);
    if (&line != &lines.front()) joined += '\n';
    joined += line;
  }
  const int textHeight = lineHeight * static_cast<int>(lines.size());
  const int buttonWidth = std::max(75, dc.textExtent("OK").cx + 24);
  const int buttonHeight = std::max(23, lineHeight + 8);

  const int width = std::max({kMinWidth, textWidth + 2 * kPad, buttonWidth + 2 * kPad});
  const int height = kPad + textHeight + kGap + buttonHeight + kPad;
  dc.resize(width, height, style_.background);
  textArea_ = Rect{kPad, kPad, kPad + textWidth, kPad + textHeight};
  const int buttonLeft = (width - buttonWidth) / 2;
  const int buttonTop = kPad + textHeight + kGap;
  okButton_ = Rect{buttonLeft, buttonTop, buttonLeft + buttonWidth, buttonTop + buttonHeight};
  paint(joined);
}

void MessageBoxWindow::paint(const std::string& lines) {
  DeviceContext& dc = this->dc();
  dc.fillRect(Rect{0, 0, dc.width(), dc.height()}, &backgroundBrush_);
  dc.setFont(style_.font);
  dc.setTextColor(style_.text);
  dc.drawText(lines, textArea_, DT_LEFT | DT_TOP);

  // The OK button is the default one: a fill, a frame and a second frame inside it.
  dc.fillRect(okButton_, &buttonBrush_);
  const HPEN old = dc.selectPen(&framePen_);
  dc.rectangle(okButton_.left, okButton_.top, okButton_.right, okButton_.bottom);
  dc.rectangle(okButton_.left + 1, okButton_.top + 1, okButton_.right - 1, okButton_.bottom - 1);
  dc.selectPen(old);
  dc.setTextColor(style_.buttonText);
  dc.drawText("OK", okButton_, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
}

void MessageBoxWindow::Form_MouseDown(int button, int shift, float x, float y) {
  (void)shift;
  if (button != vbLeftButton) return;
  if (x >= static_cast<float>(okButton_.left) && x < static_cast<float>(okButton_.right) &&
      y >= static_cast<float>(okButton_.top) && y < static_cast<float>(okButton_.bottom))
    unload();
}

void MessageBoxWindow::Form_KeyDown(int& keyCode, int& shift) {
  (void)shift;
  if (keyCode == VK_RETURN || keyCode == VK_ESCAPE) unload();
}

void showMessageBox(Backend& backend, const std::string& text, const std::string& title,
                    const MessageBoxStyle& style) {
  MessageBoxWindow box(backend, text, title, style);
  box.showModal();
}

}  // namespace qlx
