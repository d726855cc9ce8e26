// The close box as a window manager reports it. Xlib comes last: its macros (Status, None, ...)
// would clash with the game's names.
#include "game_session.h"

#include <X11/Xlib.h>

namespace qlx::e2e {

bool sendClose(const std::string& display, unsigned long window) {
  Display* d = XOpenDisplay(display.c_str());
  if (d == nullptr) return false;
  XEvent event{};
  event.xclient.type = ClientMessage;
  event.xclient.window = window;
  event.xclient.message_type = XInternAtom(d, "WM_PROTOCOLS", False);
  event.xclient.format = 32;
  event.xclient.data.l[0] = static_cast<long>(XInternAtom(d, "WM_DELETE_WINDOW", False));
  event.xclient.data.l[1] = CurrentTime;
  const bool sent = XSendEvent(d, window, False, NoEventMask, &event) != 0;
  XCloseDisplay(d);  // which sends the event
  return sent;
}

}  // namespace qlx::e2e
