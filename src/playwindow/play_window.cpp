// frmQLX's load and unload and the routing of presses, pointer moves and keys to the menus,
// the side panel, the board and the pause notice.
#include "playwindow/play_window.h"

#include "core/numeric.h"
#include "drawkit/primitives.h"
#include "persistence/saved_game.h"
#include "persistence/user_store.h"
#include "puzzle/snapshot.h"
#include "resources/string_table.h"

namespace qlx {

PlayWindow::PlayWindow(Backend& backend, PlayContext context)
    : Window(backend, kPlayWidth, kPlayHeight, context.graphics.brBackground.color),
      ctx_(std::move(context)),
      game_(ctx_.puzzle) {}

void PlayWindow::setFont(double points, bool bold) {
  dc().setFont(FontSpec{kPlayFontFace, points, bold ? FW_BOLD : FW_NORMAL});
}

void PlayWindow::Form_Load() {
  myHt = kPlayHeight;
  myWid = kPlayWidth;
  bgRect = DrawRect{};
  bgRect.hDC = &dc();
  bgRect.width = kPlayWidth;
  bgRect.height = kPlayHeight;
  bgRect.hBrush = &ctx_.graphics.brBackground;
  setCaption(kApplicationTitle);
  if (ctx_.graphics.windowIcon) setIcon(ctx_.graphics.windowIcon);
  setFont(8.25, false);
  paused_ = false;
  underPause_.reset();
}

void PlayWindow::Form_Unload(int& cancel) {
  (void)cancel;
  if (!ctx_.registry) return;
  reportSave(ctx_.saveNotice, backend(), saveUserData(*ctx_.registry, ctx_.user));
  // A game still running is kept for the next start; a solved, quit or unstarted one is not.
  if (gamePlaying) storeGameInPlay();
}

void PlayWindow::storeGameInPlay() {
  SolvingData record = ctx_.user.solving;
  record.puzzleNum = game_.puzzleNum();
  record.gridGroup = game_.group();
  reportSave(ctx_.saveNotice, backend(),
             storeGame(*ctx_.registry, record, game_.elapsedTime(), encodeSnapshot(ctx_.puzzle)));
}

void PlayWindow::resizeWindow() {
  myHt = kPlayHeight;
  myWid = 750;  // the main menu is centred on this width
}

void PlayWindow::Form_MouseDown(int button, int shift, float x, float y) {
  (void)button, (void)shift;  // every mouse button presses alike
  if (paused_) {
    enablePause(false);  // the notice covers the window: a press anywhere resumes
    return;
  }
  if (!gamePlaying) {
    for (int i = 1; i <= 4; ++i) {
      if (hitTest(mainBtns(i), x, y)) {
        mainMenuAction(i);
        return;
      }
    }
    if (hitTest(levelSwitch, x, y)) switchLevel();
    return;
  }
  for (int i = 1; i <= kSideItems; ++i) {
    if (sideItems(i).active > 0 && hitTest(sideItems(i), x, y)) {
      rightMenuAction(i);
      return;
    }
  }
  const int ix = static_cast<int>(roundHalfEven(x));
  const int iy = static_cast<int>(roundHalfEven(y));
  if (!hitTestGrid(ix, iy)) hitTestCodeGrid(ix, iy);
}

void PlayWindow::hoverButton(DrawRect& rec, const std::string& caption, float x, float y) {
  const bool inside = hitTest(rec, x, y);
  if (inside && rec.hover == 0) {
    setFont(12, true);
    drawButton(rec, 1, true, 8, caption, ctx_.graphics);
    rec.hover = -1;
    refresh();
  } else if (!inside && rec.hover != 0) {
    setFont(12, true);
    drawButton(rec, 0, false, 4, caption, ctx_.graphics);
    rec.hover = 0;
    refresh();
  }
}

void PlayWindow::Form_MouseMove(int button, int shift, float x, float y) {
  (void)button, (void)shift;
  if (paused_) return;  // nothing may draw over the notice
  if (!gamePlaying) {
    for (int i = 1; i <= 4; ++i) hoverButton(mainBtns(i), loadString(IDS_NEW_GAME - 1 + i), x, y);
    hoverButton(levelSwitch, levelCaption(), x, y);
    return;
  }
  for (int i = 1; i <= kSideItems; ++i) {
    if (sideItems(i).active > 0) hoverButton(sideItems(i), sideCaption(i), x, y);
  }
}

void PlayWindow::Form_KeyDown(int& keyCode, int& shift) {
  if (!gamePlaying) {
    menuKeyDown(keyCode);
    return;
  }
  // No key reveals: R comes through Form_KeyPress as any other letter.
  if (!paused_) playKeyDown(keyCode, (shift & vbShiftMask) != 0, (shift & vbCtrlMask) != 0);
}

void PlayWindow::Form_KeyPress(int& keyAscii) {
  const int c = keyAscii;
  if (c == VK_ESCAPE) {
    if (gamePlaying) enablePause(true);
    setWindowState(vbMinimized);
    return;
  }
  // Under the pause notice and in menu mode the keys change nothing.
  if (!gamePlaying || paused_) return;
  if (c >= 'a' && c <= 'z') {
    processKeyInput(c - 32);
  } else if (c >= 'A' && c <= 'Z') {
    processKeyInput(c);
  } else if (c == VK_SPACE || c == VK_BACK) {
    eraseCurrentVal();
  }
}

}  // namespace qlx
