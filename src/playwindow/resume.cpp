// A stored game shown again: the puzzle in memory laid out and painted as a game under way.
#include "playwindow/play_window.h"

namespace qlx {

void PlayWindow::resumeGame() {}

}  // namespace qlx
