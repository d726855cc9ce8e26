// Telling the player, once a run, that what they do is not being kept: the settings file is
// read-only, or a save failed (a full disk). Every later failure is silent, so one fault never
// becomes a cascade of message boxes.
#pragma once

#include "core/status.h"
#include "platform/backend.h"
#include "resources/string_table.h"

namespace qlx {

inline constexpr const char* kNotSavedMessage =
    "Quillorix could not save to its settings file. Your best times and games will not be kept "
    "until Quillorix next starts with a settings file it can write.";

struct SaveNotice {
  bool told = false;  // the player has been told (here or by start-up)
};

// Shows what a failed save means: a store that will not open at all says so each time (its
// message), any other failure kNotSavedMessage, unless the player has been told already.
inline void reportSave(SaveNotice* notice, Backend& backend, const Status& saved) {
  if (saved.code() == StatusCode::kRefused)
    return backend.messageBox(saved.message(), kApplicationTitle);
  if (saved.ok() || (notice && notice->told)) return;
  backend.messageBox(kNotSavedMessage, kApplicationTitle);
  if (notice) notice->told = true;
}

}  // namespace qlx
