// The main menu of frmQLX: the title picture above New Game, High Scores, Help and Exit, and
// what each of them does.
#include "drawkit/help.h"
#include "drawkit/primitives.h"
#include "game/levels.h"
#include "persistence/level_store.h"
#include "playwindow/play_window.h"
#include "resources/string_table.h"

namespace qlx {

void PlayWindow::initMainMenuVar() {
  titleRect = DrawRect{};
  titleRect.hDC = &dc();
  titleRect.left = 249;
  titleRect.top = 100;
  titleRect.width = 200;
  titleRect.height = 101;
  for (int i = 1; i <= 4; ++i) {
    DrawRect& b = mainBtns(i);
    b.width = 200;
    b.height = 30;
    b.left = (myWid - 200) / 2;
    b.top = static_cast<int32_t>(b.height * i * 3 / 2 + 200);
    b.textColor = ctx_.graphics.clrHoverText;
    b.hBrush = &ctx_.graphics.brBackground;
  }
  // The level switch sits in the free band between the title picture and New Game.
  levelSwitch = mainBtns(1);
  levelSwitch.top = 207;
  levelSwitch.height = 28;
  sidePanel.left = 0;
  sidePanel.top = 0;
  sidePanel.width = 125;
  sidePanel.height = 800;
}

void PlayWindow::mainMenu(bool boolShow) {
  if (!boolShow) return;
  // No number of the last puzzle may stay selected into the next one.
  ctx_.puzzle.selectedNum = 0;
  titleRect.hDC = &dc();
  drawBox(bgRect, 1);
  setFont(12, true);
  for (int i = 1; i <= 4; ++i) {
    DrawRect& b = mainBtns(i);
    b.hDC = &dc();
    drawButton(b, 0, false, 2, loadString(IDS_NEW_GAME - 1 + i), ctx_.graphics);
    // The hover flag is left as it was: a button the pointer was on is redrawn at rest when the
    // pointer leaves it.
    b.hPen = &ctx_.graphics.penMenu;
  }
  levelSwitch.hDC = &dc();
  drawButton(levelSwitch, 0, false, 2, levelCaption(), ctx_.graphics);
  levelSwitch.hPen = &ctx_.graphics.penMenu;
  dc().setFontSize(10);
  drawPicture(titleRect, kTitlePicturePiece, true, ctx_.graphics);
  setTimerEnabled(false);
  refresh();
}

void PlayWindow::hoverMainButton(int i) {
  for (int k = 1; k <= 4; ++k) {
    const DrawRect& b = mainBtns(k);
    const float x = k == i ? b.left + b.width / 2.0f : -1,
                y = k == i ? b.top + b.height / 2.0f : -1;
    hoverButton(mainBtns(k), loadString(IDS_NEW_GAME - 1 + k), x, y);
  }
}

void PlayWindow::menuKeyDown(int keyCode) {
  int hovered = 0;
  for (int k = 1; k <= 4; ++k)
    if (mainBtns(k).hover != 0) hovered = k;
  if (keyCode == VK_UP || keyCode == VK_DOWN) {
    // From no hovered button, Down starts at the first and Up at the last.
    const int step = keyCode == VK_DOWN ? 1 : -1;
    hoverMainButton(hovered == 0 ? (step > 0 ? 1 : 4) : (hovered - 1 + step + 4) % 4 + 1);
  } else if (keyCode == VK_RETURN && hovered != 0) {
    mainMenuAction(hovered);
  } else if (keyCode == VK_LEFT || keyCode == VK_RIGHT) {
    switchLevel();
  }
}

std::string PlayWindow::levelCaption() const {
  return std::string("Level: ") + levelName(ctx_.user.chosenLevel);
}

void PlayWindow::switchLevel() {
  ctx_.user.chosenLevel = otherLevel(ctx_.user.chosenLevel);
  if (ctx_.registry)
    reportSave(ctx_.saveNotice, backend(), saveChosenLevel(*ctx_.registry, ctx_.user.chosenLevel));
  setFont(12, true);
  const bool hovered = levelSwitch.hover != 0;
  drawButton(levelSwitch, hovered ? 1 : 0, hovered, hovered ? 8 : 2, levelCaption(), ctx_.graphics);
  refresh();
}

void PlayWindow::mainMenuAction(int i) {
  switch (i) {
    case 1:
      // Standard is the level as designed: modeNum 2 on grid group 2.
      ctx_.user.solving.modeNum = ctx_.user.chosenLevel;
      ctx_.user.solving.gridGroup = gridGroupOf(ctx_.user.chosenLevel);
      startGame();
      break;
    case 2:
      if (ctx_.showHallOfFame) ctx_.showHallOfFame(ctx_.user.chosenLevel);
      break;
    case 3:
      openDocument(backend(), helpPagePath(ctx_.appFolder));
      break;
    case 4:
      unload();
      break;
    default:
      break;
  }
}

}  // namespace qlx
