// The level chosen on the main menu, kept in a value of our own beside the game's values
// ("PLAYLEVEL", 4 bytes little-endian, under the game's key): read at start-up and written the
// moment the player changes it.
#pragma once

#include <cstdint>

#include "core/status.h"
#include "platform/registry.h"

namespace qlx {

inline constexpr const char* kLevelValueName = "PLAYLEVEL";

// The stored level: 1 or 2; 2 (Standard) when the value is missing or holds anything else.
int16_t loadChosenLevel(Registry& registry);
Status saveChosenLevel(Registry& registry, int16_t level);

}  // namespace qlx
