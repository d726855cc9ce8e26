// The levels' names, as the menu switch and the Hall of Fame show them.
#include "game/levels.h"

namespace qlx {

const char* levelName(int modeNum) {
  return modeNum == kQuickLevel ? "Quick" : modeNum == kStandardLevel ? "Standard" : "";
}

}  // namespace qlx
