// The look of the game's message boxes, taken from the game's own colours so they match its
// windows; start-up hands it to the back end.
#pragma once

#include "drawkit/graphics.h"
#include "platform/message_box.h"

namespace qlx {

// Panel-coloured box and button, the message text colour, the frame pen, Arial 12.
MessageBoxStyle gameMessageBoxStyle(const Graphics& g);

}  // namespace qlx
