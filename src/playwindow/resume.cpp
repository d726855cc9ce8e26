// A stored game shown again: the puzzle in memory taken up by the game and painted as a game
// under way, the clock running on from the stored time.
#include "playwindow/play_window.h"

namespace qlx {

void PlayWindow::resumeGame(int32_t elapsed, int32_t puzzleNum, int16_t group) {
  enablePause(false);
  game_.resume(elapsed, puzzleNum, group);
  setTimerInterval(kClockMillis);
  setTimerEnabled(true);
  paintGameUnderWay();
  gamePlaying = true;
}

}  // namespace qlx
