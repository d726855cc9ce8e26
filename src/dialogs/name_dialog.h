// diagUN, the "Best Score" dialog: congratulates the player on a place in the best list and
// asks for the name to put there, in a text box with a caret; OK or Enter closes it.
#pragma once

#include <cstddef>
#include <string>

#include "drawkit/graphics.h"
#include "platform/backend.h"
#include "platform/dc.h"
#include "platform/font.h"
#include "platform/gdi.h"
#include "platform/window.h"

namespace qlx {

// Client size in pixels: 4935 × 3105 twips at 15 twips a pixel.
inline constexpr int kNameDialogWidth = 329;
inline constexpr int kNameDialogHeight = 207;
// A name this long or longer is cut to one character less.
inline constexpr std::size_t kNameCutLength = 20;
// The text box takes at most this many characters.
inline constexpr std::size_t kNameMaxLength = kNameCutLength - 1;

// The name stored for what the text box holds: 20 or more characters cut to the first 19, an
// empty box gives "-", anything else (blanks included) unchanged.
std::string nameFromEntry(const std::string& text);

class DiagUN : public Window {
 public:
  DiagUN(Backend& backend, const Graphics& graphics);

  int bestNo = 0;           // the place earned; set by the opener, not shown
  int modeNum = 0;          // the level named in the message; set by the opener
  std::string nameEntered;  // set from the text box when the dialog unloads

  void Form_Load() override;
  void Form_Unload(int& cancel) override;
  void Form_KeyDown(int& keyCode, int& shift) override;
  void Form_KeyPress(int& keyAscii) override;
  void Form_MouseDown(int button, int shift, float x, float y) override;
  void Timer_Tick() override;

  // What the controls hold and where they lie, for the tests and the snapshot tool.
  const std::string& congratulation() const { return congratulation_; }
  static const char* prompt() { return "Enter Your Name"; }
  const std::string& text() const { return text_; }
  std::size_t caret() const { return caret_; }
  bool caretShown() const { return caretOn_; }
  const Rect& messageLabel() const { return messageLabel_; }
  const Rect& promptLabel() const { return promptLabel_; }
  const Rect& textBox() const { return textBox_; }
  const Rect& okButton() const { return okButton_; }
  // Where the text box's text starts and where its caret lies, in client pixels.
  int textLeft() const;
  int caretX() const;

 private:
  void paintAll();
  void paintTextBox();
  void paintButton();
  // Text box changes: the caret is shown again, scrolled into view, and the box repainted.
  void edited();
  void scrollToCaret();
  int textWidth(std::size_t from, std::size_t to) const;

  const Graphics& graphics_;
  DeviceContext measure_;  // measures the text box's text in its font
  std::string congratulation_;
  std::string text_;
  std::size_t caret_ = 0;         // characters of text_ before the caret
  std::size_t firstVisible_ = 0;  // first character shown when the text is wider than the box
  bool caretOn_ = true;
  Rect messageLabel_;
  Rect promptLabel_;
  Rect textBox_;
  Rect okButton_;
};

// Shows diagUN modally for a place bestNo earned on level modeNum and returns the name entered
// (cut to 19 characters, "-" when empty, nothing trimmed).
std::string askBestName(Backend& backend, const Graphics& graphics, int bestNo, int modeNum);

}  // namespace qlx
