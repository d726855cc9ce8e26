// A stored game shown again: the puzzle in memory laid out and painted as a game under way.
#include "playwindow/play_window.h"

namespace qlx {

void PlayWindow::resumeGame() {
  Puzzle& p = ctx_.puzzle;
  enablePause(false);

  // Only what a player could have made survives: an entry that is no letter is dropped, and a
  // selection must name a number of this puzzle that is not given away (typing would overwrite
  // a given letter otherwise).
  for (uint8_t& entry : p.entries)
    if (entry != 0 && (entry < 'A' || entry > 'Z')) entry = 0;
  if (!selectionValid() || p.givenNums(p.selectedNum) == 1) p.selectedNum = 0;

  if (elapsedTime < 0) elapsedTime = 0;  // a clock never runs from below zero
  timeConsumedInSec = elapsedTime / 10;
  setTimerInterval(kClockMillis);
  setTimerEnabled(true);
  paintGameUnderWay();
  gamePlaying = true;
}

}  // namespace qlx
