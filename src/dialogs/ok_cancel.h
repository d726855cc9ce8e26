// frmOKCancel, the two-button question dialog: start-up asks with it whether to resume a stored
// game, the Hall of Fame whether to clear a list. Button 1 (or Enter) says yes, button 2 (or
// Escape) no.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "dialogs/dialog_layout.h"
#include "drawkit/draw_rect.h"
#include "drawkit/graphics.h"
#include "platform/backend.h"
#include "platform/window.h"

namespace qlx {

// Client size of the dialog in pixels.
inline constexpr int kOKCancelWidth = 422;
inline constexpr int kOKCancelHeight = 220;
inline constexpr const char* kOKCancelCaption = "Do you want to exit";

// What the dialog asks and its two buttons' captions; by default the resume question.
struct Question {
  std::string caption = kOKCancelCaption;
  std::string message;  // empty: the string table's question and buttons
  std::string yes;
  std::string no;
};

class FrmOKCancel : public Window {
 public:
  FrmOKCancel(Backend& backend, const Graphics& graphics, int dialogUnit = kDialogUnit,
              Question question = {});

  // The answer: -1 while open and when closed other than by a button or key; 1 for button 1 or
  // Enter; 2 for button 2 or Escape.
  int clickedBtnNum = -1;

  void Form_Load() override;
  void Form_KeyPress(int& keyAscii) override;
  void Form_MouseDown(int button, int shift, float x, float y) override;
  void Form_MouseMove(int button, int shift, float x, float y) override;

  // The records, for the tests; buttons are numbered 1 and 2.
  const DrawRect& background() const { return background_; }
  const DrawRect& message() const { return message_; }
  const DrawRect& button(int k) const { return buttons_.at(static_cast<std::size_t>(k - 1)); }

 private:
  void drawAtRest(int k);
  void drawHover(int k);
  std::string buttonCaption(int k) const;

  const Graphics& graphics_;
  int dialogUnit_;
  Question question_;
  DrawRect background_;
  DrawRect message_;
  std::array<DrawRect, 2> buttons_{};
};

// Shows frmOKCancel modally and returns clickedBtnNum: 1, 2, or -1 when it was closed any other
// way.
int askOKCancel(Backend& backend, const Graphics& graphics, int dialogUnit = kDialogUnit,
                Question question = {});

}  // namespace qlx
