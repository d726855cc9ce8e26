// The message box: a small modal window of ours with the text, an OK button only and the title
// as its caption, painted through the DeviceContext in a style the game sets once, so it looks
// like the game's other windows and works the same on every back end.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "platform/dc.h"
#include "platform/font.h"
#include "platform/gdi.h"
#include "platform/window.h"

namespace qlx {

struct MessageBoxStyle {
  ColorRef background = rgb(240, 240, 240);
  ColorRef text = rgb(0, 0, 0);
  ColorRef buttonFill = rgb(225, 225, 225);
  ColorRef buttonFrame = rgb(120, 120, 120);
  ColorRef buttonText = rgb(0, 0, 0);
  FontSpec font = FontSpec{"Arial", 10, FW_NORMAL};
};

class MessageBoxWindow : public Window {
 public:
  // Lays the box out to fit the text (lines wider than the box's limit are wrapped between
  // words) and paints it; showModal() then shows it.
  MessageBoxWindow(Backend& backend, const std::string& text, const std::string& title,
                   const MessageBoxStyle& style = MessageBoxStyle{});

  // Where the text and the OK button lie, in client pixels.
  const Rect& textArea() const { return textArea_; }
  const Rect& okButton() const { return okButton_; }

  // Widest line before the text wraps, in pixels.
  static constexpr int kMaxTextWidth = 480;

  void Form_MouseDown(int button, int shift, float x, float y) override;
  void Form_KeyDown(int& keyCode, int& shift) override;

 private:
  void paint(const std::string& lines);

  MessageBoxStyle style_;
  Brush backgroundBrush_;
  Brush buttonBrush_;
  Pen framePen_;
  Rect textArea_;
  Rect okButton_;
};

// Shows a message box modally and returns once it has been closed.
void showMessageBox(Backend& backend, const std::string& text, const std::string& title,
                    const MessageBoxStyle& style = MessageBoxStyle{});

// The text as lines no wider than maxWidth in dc's font: broken at line feeds (a CR LF pair
// counts as one), then at the last blank that fits; a word too long for a line is split.
std::vector<std::string> wrapText(const DeviceContext& dc, std::string_view text, int maxWidth);

}  // namespace qlx
