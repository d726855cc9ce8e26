// The command line of quillorix-dictc:
//   quillorix-dictc --scowl DIR --max-level N --blocklist FILE --out FILE
#pragma once

#include <filesystem>
#include <string>
#include <vector>
#include "core/status.h"

namespace qlx::dictc {

struct Options {
  std::filesystem::path scowlDir;
  int maxLevel = 0;
  std::filesystem::path blocklist;
  std::filesystem::path out;
};

inline constexpr const char* kUsage =
    "usage: quillorix-dictc --scowl DIR --max-level N --blocklist FILE --out FILE";

// Parses the arguments after the program name. All four options are required, each
// once; anything else is refused with the reason.
Status parseCommandLine(const std::vector<std::string>& args, Options* options);

}  // namespace qlx::dictc
