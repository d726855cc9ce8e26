// The options every program of the game takes first: --help prints its usage and --version its
// name and the game's version (set once, in the top CMakeLists), both to standard output, exit 0.
#pragma once

#include <cstdio>
#include <optional>
#include <string_view>

#ifndef QLX_VERSION
#error "QLX_VERSION comes from the project's version in CMake"
#endif

namespace qlx {

inline constexpr const char* kVersion = QLX_VERSION;

// The exit code when the only argument is --help or --version (after printing), else nothing.
inline std::optional<int> standardOption(int argc, char** argv, std::string_view program,
                                         std::string_view usage) {
  if (argc != 2) return std::nullopt;
  const std::string_view arg = argv[1];
  if (arg == "--help") {
    std::printf("%.*s", static_cast<int>(usage.size()), usage.data());
    if (!usage.empty() && usage.back() != '\n') std::printf("\n");
    return 0;
  }
  if (arg == "--version") {
    std::printf("%.*s %s\n", static_cast<int>(program.size()), program.data(), kVersion);
    return 0;
  }
  return std::nullopt;
}

}  // namespace qlx
