// frmStats: the records are laid out once on load in dialog units; every handler draws with the
// drawing kit into the window's image and refreshes it.
#include "dialogs/stats_window.h"

#include <algorithm>

#include "core/numeric.h"
#include "dialogs/dialog_layout.h"
#include "dialogs/ok_cancel.h"
#include "drawkit/primitives.h"
#include "drawkit/time_format.h"
#include "game/levels.h"
#include "persistence/user_store.h"
#include "resources/string_table.h"

namespace qlx {
namespace {

constexpr ColorRef kBlack = rgb(0, 0, 0);
constexpr int kButtonHeight = 30;
constexpr int kTitleHeight = 30;

// A button's caption is always the string-table entry 90 + its number.
std::string buttonCaption(int k) { return loadString(90 + k); }

}  // namespace

FrmStats::FrmStats(const StatsContext& context)
    : Window(context.backend, kStatsWidth, kStatsHeight, context.graphics.brBackground.color),
      ctx_(context) {}

BestList* FrmStats::shownList() {
  Array1<BestList>& scores = ctx_.user.bestScores;
  if (modeNum < 1 || static_cast<std::size_t>(modeNum) > scores.size()) return nullptr;
  return &scores(modeNum);
}

void FrmStats::Form_Load() {
  const Graphics& g = ctx_.graphics;
  const int u = ctx_.dialogUnit;
  DeviceContext& hdc = dc();
  hdc.setFont(dialogFont());
  setIcon(g.windowIcon);

  const int w = clientWidth(), h = clientHeight();
  background_ = dialogRect(hdc, 0, 0, w, h, &g.brBackground, kBlack);
  const int titleLeft = static_cast<int>(roundHalfEven(w / 2.0 - 2 * u));
  title_ = dialogRect(hdc, titleLeft, u / 2, 4 * u, kTitleHeight, &g.brBackground, kBlack);
  // The band above the design's title and the first row is free for the level's name.
  levelTitle_ = dialogRect(hdc, 0, 2, w, u / 2 - 2, &g.brBackground, g.clrScoreText);
  for (int i = 1; i <= kBestPlaces; ++i) {
    nameRows_[static_cast<std::size_t>(i - 1)] =
        dialogRect(hdc, u, u * i, 6 * u, u, &g.brBackground, g.clrScoreText);
    timeRows_[static_cast<std::size_t>(i - 1)] =
        dialogRect(hdc, 8 * u, u * i, 2 * u, u, &g.brBackground, g.clrScoreText);
  }
  buttons_[0] =
      dialogRect(hdc, 2 * u, 9 * u, 3 * u, kButtonHeight, &g.brPanel, g.clrButtonText, &g.penFrame);
  buttons_[1] =
      dialogRect(hdc, 6 * u, 9 * u, 3 * u, kButtonHeight, &g.brPanel, g.clrButtonText, &g.penFrame);

  setCaption(std::string("Best Scores - ") + kApplicationTitle);
  drawBox(background_, 0);
  drawRows();
  drawButtonsAtRest();
  // The title is laid out but only Clear Scores draws it.
}

void FrmStats::drawRows() {
  drawText(levelTitle_, 1, levelName(modeNum), kCentredLine);
  const BestList* list = shownList();
  if (!list) return;
  const std::size_t places =
      std::min({list->names.size(), list->times.size(), std::size_t{kBestPlaces}});
  for (std::size_t i = 1; i <= places; ++i) {
    drawText(nameRows_[i - 1], 1, list->names(static_cast<long long>(i)), kTopLeftText);
    drawText(timeRows_[i - 1], 1, formatTime(list->times(static_cast<long long>(i)), kTimeShort),
             kTopLeftText);
  }
}

void FrmStats::drawButtonsAtRest() {
  for (int k = 1; k <= 2; ++k)
    drawButton(buttons_[static_cast<std::size_t>(k - 1)], 0, false, 4, buttonCaption(k),
               ctx_.graphics);
}

void FrmStats::Form_KeyPress(int& keyAscii) {
  if (keyAscii == VK_RETURN || keyAscii == VK_ESCAPE) unload();
}

void FrmStats::Form_KeyDown(int& keyCode, int& shift) {
  (void)shift;
  if (keyCode == VK_LEFT || keyCode == VK_RIGHT) switchList();
}

void FrmStats::switchList() {
  if (modeNum != kQuickLevel && modeNum != kStandardLevel) return;
  modeNum = otherLevel(modeNum);
  drawBox(background_, 0);
  drawRows();
  drawButtonsAtRest();
  refresh();
}

void FrmStats::Form_MouseDown(int button, int shift, float x, float y) {
  (void)button, (void)shift;
  if (hitTest(levelTitle_, x, y) || hitTest(title_, x, y))
    switchList();
  else if (hitTest(buttons_[0], x, y))
    unload();
  else if (hitTest(buttons_[1], x, y))
    clearScores();
}

void FrmStats::Form_MouseMove(int button, int shift, float x, float y) {
  (void)button, (void)shift;
  for (int k = 1; k <= 2; ++k) {
    DrawRect& b = buttons_[static_cast<std::size_t>(k - 1)];
    const bool on = hitTest(b, x, y);
    if (on && b.hover == 0) {
      drawButton(b, 1, true, 8, buttonCaption(k), ctx_.graphics);
      b.hover = -1;
      refresh();
    } else if (!on && b.hover != 0) {
      drawButton(b, 0, false, 6, buttonCaption(k), ctx_.graphics);
      b.hover = 0;
      refresh();
    }
  }
}

void FrmStats::clearScores() {
  const Question question{"Clear Scores", kClearQuestion, "Clear", "Keep"};
  if (askOKCancel(ctx_.backend, ctx_.graphics, ctx_.dialogUnit, question) != 1) return;
  drawBox(background_, 0);
  BestList* list = shownList();
  // Entries 31 and 32 name the two levels; a level outside the table gets no name.
  drawButton(title_, 0, false, 2, list ? loadString(modeNum + 30) : std::string(), ctx_.graphics);
  if (list) {
    const int level = modeNum;
    const Status saved =
        saveBestListChange(ctx_.registry, ctx_.user, [level](Array1<BestList>& lists) {
          if (level < 1 || static_cast<std::size_t>(level) > lists.size()) return;
          for (auto& name : lists(level).names) name = kClearedName;
          for (auto& time : lists(level).times) time = kClearedTime;
        });
    reportSave(ctx_.saveNotice, ctx_.backend, saved);
  }
  drawRows();
  // The buttons go back to rest; a hover flag stays as it was, so the hover look returns only
  // once the pointer has left the button and come back.
  drawButtonsAtRest();
  refresh();
}

void showStats(const StatsContext& context, int modeNum) {
  FrmStats window(context);
  window.modeNum = modeNum;
  window.showModal();
}

}  // namespace qlx
