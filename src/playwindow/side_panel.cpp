// The side panel of a game: the best-time and clock labels, the seven buttons, what the buttons
// do, and the clock's tick.
#include "drawkit/help.h"
#include "drawkit/primitives.h"
#include "drawkit/time_format.h"
#include "platform/backend.h"
#include "playwindow/play_window.h"
#include "resources/string_table.h"

namespace qlx {

void PlayWindow::initRPBtns() {
  const Graphics& g = ctx_.graphics;
  sidePanel.left = 0;
  sidePanel.top = 0;
  sidePanel.width = 125;
  sidePanel.height = 800;
  sidePanel.hDC = &dc();
  sidePanel.hBrush = &g.brPanel;
  for (int i = 3; i <= kSideItems; ++i) {
    DrawRect& it = sideItems(i);
    it.active = 1;
    it.left = 1;
    it.width = 120;
    it.height = 25;
    it.hBrush = &g.brPanel;
    it.textColor = g.clrButtonText;
    it.hPen = &g.penFrame;
    it.hDC = &dc();
    it.top = 10 + 38 * (i - 1);
    it.hover = 0;  // every item is drawn at rest by the game start
  }
  sideItems(3).textColor = g.clrMessageText;
  sideItems(5).textColor = g.clrMessageText;
  for (int j = 3; j <= 6; ++j) {
    sideItems(j).active = 0;
    sideItems(j).top = (j % 2 == 1) ? (j - 1) * 40 + 20 : sideItems(j - 1).top + 20;
  }
}

std::string PlayWindow::sideCaption(int i) const {
  if (i == 4) return bestScoreValString;
  if (i == 6) return timerStr;
  return loadString(60 + i);
}

void PlayWindow::drawSideItem(int i, int32_t lift) {
  drawButton(sideItems(i), 0, false, lift, sideCaption(i), ctx_.graphics);
}

void PlayWindow::rightMenuAction(int itemClicked) {
  switch (itemClicked) {
    case 7:
      if (ctx_.showHallOfFame) ctx_.showHallOfFame(ctx_.user.chosenLevel);
      break;
    case 8:
      enablePause(true);
      break;
    case 9:
      openDocument(backend(), helpPagePath(ctx_.appFolder));
      break;
    case 10:
      revealCurrentCell();
      break;
    case 11:
      if (checkSolution()) backend().messageBox(loadString(IDS_ENTRIES_MATCH), kApplicationTitle);
      break;
    case 12:
      showSolution();
      break;
    case 13:
      gamePlaying = false;
      mainMenu(true);
      break;
    default:
      break;
  }
}

void PlayWindow::timr_Timer() {
  if (!gamePlaying) return;
  showChanges(game_.tick());
}

}  // namespace qlx
