// diagUN, the "Best Score" dialog: congratulates the player on a place in the best list and
// asks for the name to put there, in a text box with a caret; OK or Enter closes it.
#pragma once

#include <string>

#include "drawkit/graphics.h"
#include "platform/backend.h"

namespace qlx {

// Shows diagUN modally for a place bestNo earned on level modeNum and returns the name entered
// (cut to 19 characters, "-" when empty, nothing trimmed).
std::string askBestName(Backend& backend, const Graphics& graphics, int bestNo, int modeNum);

}  // namespace qlx
