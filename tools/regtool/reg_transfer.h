// Moving the game's settings between the store and .reg text: export reads the game's key and
// its subkeys, import writes a whole file in one transaction or nothing at all.
#pragma once

#include <string>

#include "core/status.h"
#include "platform/registry.h"

namespace qlx::regtool {

// The game's key below HKEY_CURRENT_USER.
inline constexpr const char* kGameKey = "Software\\Tarnwick\\Quillorix\\1.0";

Status exportGameKey(Registry& store, std::string* text);

// Keys the file names are created when missing. A .reg file carries no classes, so a key the
// import creates gets the class the game itself gives it: "USERDATA" for the game key and the
// keys on the way to it, "SAVEDATA" for its SAVE subkey, none for any other key.
Status importRegText(Registry& store, const std::string& text);

}  // namespace qlx::regtool
