// The game executable: everything happens in Main; --help and --version answer without a window.
#include <cstdio>

#include "core/program_options.h"
#include "startup/program.h"

int main(int argc, char** argv) {
  constexpr const char* kUsage =
      "usage: quillorix [--help | --version]\n"
      "  Starts Quillorix, the codeword puzzle game, in a window of its own.\n";
  if (const auto done = qlx::standardOption(argc, argv, "quillorix", kUsage)) return *done;
  if (argc > 1) {
    std::fprintf(stderr, "quillorix: unknown argument '%s'\n%s", argv[1], kUsage);
    return 2;
  }
  return qlx::Main();
}
