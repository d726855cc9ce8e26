// The command line of quillorix-dictc:
//   quillorix-dictc --scowl DIR --max-level N --blocklist FILE --out FILE [--spellings LIST]
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
  // The scowl spellings merged, e.g. english (spelling-neutral) or english,british,american.
  std::vector<std::string> spellings = {"english"};
};

inline constexpr const char* kUsage =
    "usage: quillorix-dictc --scowl DIR --max-level N --blocklist FILE --out FILE "
    "[--spellings english,british,american]";

// Parses the arguments after the program name. The first four options are required, each
// once; --spellings is optional; anything else is refused with the reason.
Status parseCommandLine(const std::vector<std::string>& args, Options* options);

}  // namespace qlx::dictc
