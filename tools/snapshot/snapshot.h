// The snapshot run: the game started on the headless back end, played a little through its real
// input handlers, and its windows saved as PNG pictures.
#pragma once

#include <cstdint>
#include <string>

#include "core/status.h"

namespace qlx::snapshot {

inline constexpr uint64_t kDefaultSeed = 20261206;

struct Options {
  std::string dataFolder;       // the program folder with the game's data files
  std::string outFolder = ".";  // made when missing
  uint64_t seed = kDefaultSeed;
};

// Writes menu.png, hall-of-fame.png, new-game.png and game-in-progress.png into outFolder.
Status takeSnapshots(const Options& options);

}  // namespace qlx::snapshot
