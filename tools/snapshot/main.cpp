// quillorix-snapshot: pictures of the game's windows for the documentation, taken from a real
// start-up on the headless back end.
//   quillorix-snapshot [--out DIR] [--seed N]
#include <charconv>
#include <exception>
#include <iostream>
#include <string>
#include <vector>
#include "core/program_options.h"

#include "platform/folders.h"
#include "snapshot.h"

namespace {

constexpr const char* kUsage =
    "usage: quillorix-snapshot [--out DIR] [--seed N]\n"
    "  Starts the game without a screen and writes menu.png, new-game.png, game-in-progress.png\n"
    "  and hall-of-fame.png into DIR (default: the current folder).\n"
    "  --seed N  the puzzle's random seed (default 20261206, so the pictures come out the same)\n";

int usageError(const std::string& problem) {
  std::cerr << "quillorix-snapshot: " << problem << "\n" << kUsage;
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  if (const auto done = qlx::standardOption(argc, argv, "quillorix-snapshot", kUsage)) return *done;
  qlx::snapshot::Options options;
  options.dataFolder = qlx::executableFolder();
  const std::vector<std::string> args(argv + 1, argv + argc);
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    if (arg == "--help" || arg == "-h") {
      std::cout << kUsage;
      return 0;
    }
    if (arg != "--out" && arg != "--seed") return usageError("unknown option " + arg);
    if (i + 1 >= args.size()) return usageError(arg + " needs a value");
    const std::string& value = args[++i];
    if (arg == "--out") {
      if (value.empty()) return usageError("--out needs a folder");
      options.outFolder = value;
    } else {
      const char* end = value.data() + value.size();
      auto [ptr, ec] = std::from_chars(value.data(), end, options.seed);
      if (ec != std::errc() || ptr != end)
        return usageError("--seed needs a whole number, not " + value);
    }
  }
  qlx::Status status;
  try {
    status = qlx::snapshot::takeSnapshots(options);
  } catch (const std::exception& e) {
    // The headless back end throws when a window it has no answer for opens modally.
    status = qlx::Status::Error(e.what());
  }
  if (!status) {
    std::cerr << "quillorix-snapshot: " << status.message() << "\n";
    return 1;
  }
  return 0;
}
