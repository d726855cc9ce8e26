// The back end that puts windows on the desktop through SDL. This header names no SDL type, so
// the program can create the back end without seeing SDL.
#pragma once

#include <memory>

#include "core/status.h"
#include "platform/backend.h"

namespace qlx {

// Starts SDL's video and timers. With no display to show windows on it returns null and
// *status says why. One back end at a time drives the event loop.
std::unique_ptr<Backend> makeSdlBackend(Status* status);

}  // namespace qlx
