// diagUN: laid out as the form's twips divided by 15 and painted like an ordinary system dialog
// (light grey face, sunken white text box, raised default button). The text box is ours: the
// characters arrive through Form_KeyPress, the caret keys through Form_KeyDown.
#include "dialogs/name_dialog.h"

#include <algorithm>
#include <cstdlib>

#include "resources/string_table.h"

namespace qlx {
namespace {

// Caret keys; their codes are the virtual-key codes the back ends deliver.
constexpr int kKeyEnd = 35, kKeyHome = 36, kKeyLeft = 37, kKeyRight = 39;

constexpr int kCaretBlinkMillis = 530;
constexpr int kTextMargin = 3;  // between the box's inner edge and the text

constexpr ColorRef kFace = rgb(240, 240, 240);
const Brush kFaceBrush{kFace};
const Brush kWhite{rgb(255, 255, 255)};
const Brush kBlack{rgb(0, 0, 0)};
const Brush kLight{rgb(227, 227, 227)};
const Brush kShadow{rgb(160, 160, 160)};
const Brush kDarkShadow{rgb(105, 105, 105)};
const Brush kButtonFace{rgb(225, 225, 225)};
const Brush kDefaultFrame{rgb(120, 120, 120)};

FontSpec formFont() { return FontSpec{"Arial", 8, FW_NORMAL}; }
FontSpec messageFont() { return FontSpec{"Arial", 8.25, FW_BOLD}; }

Rect twips(int left, int top, int width, int height) {
  return Rect{left / 15, top / 15, (left + width) / 15, (top + height) / 15};
}

// A label sized to its text, lines broken at CR LF, from its top-left corner.
Rect autoSized(const DeviceContext& dc, const std::string& text, int left, int top) {
  int width = 0, lines = 0;
  std::size_t start = 0;
  for (;;) {
    const std::size_t end = text.find("\r\n", start);
    width = std::max(width, dc.textExtent(std::string_view(text).substr(start, end - start)).cx);
    ++lines;
    if (end == std::string::npos) break;
    start = end + 2;
  }
  return Rect{left, top, left + width, top + lines * dc.textExtent("Ag").cy};
}

// Two one-pixel edges: top and left in one brush, bottom and right in the other.
void edge(DeviceContext& dc, const Rect& r, HBRUSH topLeft, HBRUSH bottomRight) {
  dc.fillRect(Rect{r.left, r.top, r.right - 1, r.top + 1}, topLeft);
  dc.fillRect(Rect{r.left, r.top, r.left + 1, r.bottom - 1}, topLeft);
  dc.fillRect(Rect{r.left, r.bottom - 1, r.right, r.bottom}, bottomRight);
  dc.fillRect(Rect{r.right - 1, r.top, r.right, r.bottom}, bottomRight);
}

Rect inset(const Rect& r, int by) {
  return Rect{r.left + by, r.top + by, r.right - by, r.bottom - by};
}

}  // namespace

std::string nameFromEntry(const std::string& text) {
  if (text.size() >= kNameCutLength) return text.substr(0, kNameCutLength - 1);
  if (text.empty()) return "-";
  return text;
}

DiagUN::DiagUN(Backend& backend, const Graphics& graphics)
    : Window(backend, kNameDialogWidth, kNameDialogHeight, kFace),
      graphics_(graphics),
      measure_(DeviceContext::memoryContext()) {
  measure_.setFont(formFont());
}

void DiagUN::Form_Load() {
  setCaption("Best Score");
  setIcon(graphics_.windowIcon);
  congratulation_.clear();
  congratulation_ += " Congratulations ! ";
  congratulation_ += "\r\n";
  congratulation_ += " You have the best Score ";
  congratulation_ += "In ";
  congratulation_ += "\r\n";
  congratulation_ += loadString(30 + modeNum);

  DeviceContext& hdc = dc();
  hdc.setFont(messageFont());
  messageLabel_ = autoSized(hdc, congratulation_, 2295 / 15, 330 / 15);
  hdc.setFont(formFont());
  promptLabel_ = autoSized(hdc, prompt(), 345 / 15, 1590 / 15);
  textBox_ = twips(1995, 1515, 2490, 330);
  okButton_ = twips(1905, 2295, 1215, 375);

  text_.clear();
  caret_ = firstVisible_ = 0;
  caretOn_ = true;
  paintAll();
  setTimerInterval(kCaretBlinkMillis);
  setTimerEnabled(true);
}

void DiagUN::Form_Unload(int& cancel) {
  (void)cancel;
  nameEntered = nameFromEntry(text_);
}

void DiagUN::paintAll() {
  DeviceContext& hdc = dc();
  hdc.fillRect(Rect{0, 0, clientWidth(), clientHeight()}, &kFaceBrush);
  hdc.setTextColor(rgb(0, 0, 0));
  hdc.setFont(messageFont());
  hdc.drawText(congratulation_, messageLabel_, DT_LEFT | DT_TOP);
  hdc.setFont(formFont());
  hdc.drawText(prompt(), promptLabel_, DT_LEFT | DT_TOP);
  paintTextBox();
  paintButton();
  refresh();
}

void DiagUN::paintTextBox() {
  DeviceContext& hdc = dc();
  edge(hdc, textBox_, &kShadow, &kWhite);
  edge(hdc, inset(textBox_, 1), &kDarkShadow, &kLight);
  const Rect inner = inset(textBox_, 2);
  hdc.fillRect(inner, &kWhite);
  hdc.setFont(formFont());
  hdc.setTextColor(rgb(0, 0, 0));
  const Rect textArea{textLeft(), inner.top, inner.right - 1, inner.bottom};
  hdc.drawText(std::string_view(text_).substr(firstVisible_), textArea,
               DT_LEFT | DT_VCENTER | DT_SINGLELINE);
  if (caretOn_) {
    const int height = hdc.textExtent("Ag").cy;
    const int top = std::max(inner.top, inner.top + (inner.bottom - inner.top) / 2 - height / 2);
    const int x = caretX();
    hdc.fillRect(Rect{x, top, x + 1, std::min(inner.bottom, top + height)}, &kBlack);
  }
}

void DiagUN::paintButton() {
  DeviceContext& hdc = dc();
  // The default button: a dark frame around a raised face.
  edge(hdc, okButton_, &kDefaultFrame, &kDefaultFrame);
  const Rect raised = inset(okButton_, 1);
  edge(hdc, raised, &kWhite, &kDarkShadow);
  edge(hdc, inset(raised, 1), &kButtonFace, &kShadow);
  hdc.fillRect(inset(raised, 2), &kButtonFace);
  hdc.setFont(formFont());
  hdc.setTextColor(rgb(0, 0, 0));
  hdc.drawText("OK", raised, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
}

int DiagUN::textWidth(std::size_t from, std::size_t to) const {
  if (to <= from) return 0;
  return measure_.textExtent(std::string_view(text_).substr(from, to - from)).cx;
}

int DiagUN::textLeft() const { return textBox_.left + 2 + kTextMargin; }

int DiagUN::caretX() const { return textLeft() + textWidth(firstVisible_, caret_); }

void DiagUN::scrollToCaret() {
  // Room for the text and the caret after it.
  const int room = std::max(1, textBox_.right - 2 - kTextMargin - textLeft());
  if (caret_ < firstVisible_) firstVisible_ = caret_;
  if (textWidth(firstVisible_, caret_) >= room) {
    // The caret went past the right edge: show as much as fits before it.
    firstVisible_ = caret_;
    while (firstVisible_ > 0 && textWidth(firstVisible_ - 1, caret_) < room) --firstVisible_;
  }
  // Text scrolled off to the left comes back as soon as the rest leaves room for it.
  while (firstVisible_ > 0 && textWidth(firstVisible_ - 1, text_.size()) < room) --firstVisible_;
}

void DiagUN::edited() {
  caretOn_ = true;
  scrollToCaret();
  paintTextBox();
  refresh();
  setTimerInterval(kCaretBlinkMillis);  // a full blink period before the caret hides again
}

void DiagUN::Timer_Tick() {
  caretOn_ = !caretOn_;
  paintTextBox();
  refresh();
}

void DiagUN::Form_KeyDown(int& keyCode, int& shift) {
  (void)shift;
  switch (keyCode) {
    case VK_RETURN:
      unload();
      return;
    case kKeyLeft:
      if (caret_ > 0) --caret_;
      break;
    case kKeyRight:
      if (caret_ < text_.size()) ++caret_;
      break;
    case kKeyHome:
      caret_ = 0;
      break;
    case kKeyEnd:
      caret_ = text_.size();
      break;
    case VK_DELETE:
      if (caret_ < text_.size()) text_.erase(caret_, 1);
      break;
    default:
      return;
  }
  edited();
}

void DiagUN::Form_KeyPress(int& keyAscii) {
  if (keyAscii == VK_RETURN) {
    unload();
  } else if (keyAscii == VK_BACK) {
    if (caret_ == 0) return;
    text_.erase(--caret_, 1);
    edited();
  } else if (keyAscii >= 32 && keyAscii <= 255 && keyAscii != 127) {
    // A Windows-1252 character: one byte in the text. The box takes no more than the Hall of
    // Fame keeps, so what the player sees typed is what is stored.
    if (text_.size() >= kNameMaxLength) return;
    text_.insert(caret_++, 1, static_cast<char>(keyAscii));
    edited();
  }
}

void DiagUN::Form_MouseDown(int button, int shift, float x, float y) {
  (void)shift;
  if (button != vbLeftButton) return;
  const auto inside = [x, y](const Rect& r) {
    return x >= static_cast<float>(r.left) && x < static_cast<float>(r.right) &&
           y >= static_cast<float>(r.top) && y < static_cast<float>(r.bottom);
  };
  if (inside(okButton_)) {
    unload();
  } else if (inside(textBox_)) {
    // The caret goes to the character boundary nearest the click.
    std::size_t best = firstVisible_;
    float bestDistance = -1;
    for (std::size_t k = firstVisible_; k <= text_.size(); ++k) {
      const float d = std::abs(static_cast<float>(textLeft() + textWidth(firstVisible_, k)) - x);
      if (bestDistance < 0 || d < bestDistance) best = k, bestDistance = d;
      if (textLeft() + textWidth(firstVisible_, k) > textBox_.right) break;
    }
    caret_ = best;
    edited();
  }
}

std::string askBestName(Backend& backend, const Graphics& graphics, int bestNo, int modeNum) {
  DiagUN dialog(backend, graphics);
  dialog.bestNo = bestNo;
  dialog.modeNum = modeNum;
  dialog.showModal();
  return dialog.nameEntered;
}

}  // namespace qlx
