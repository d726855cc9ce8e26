// quillorix-gridgen: prints new grid patterns in the text format of data/grids, each after a
// comment line with its figures.
//   quillorix-gridgen --rows R --cols C [--count N] [--seed S] [--max-long K] [--full-rows F]
//                     [--avoid FILE]...
// --avoid skips shapes (or their mirror images and turns) already in a pattern file; --full-rows
// leaves F rows without a block, one word across the whole width (hard to fill: few crossings
// are free).
#include "core/program_options.h"
#include "generator.h"

#include "gridkit/rules.h"

#include <cstdio>
#include <iostream>
#include <string>

namespace {

constexpr const char* kUsage =
    "usage: quillorix-gridgen --rows R --cols C [--count N] [--seed S] [--max-long K] "
    "[--full-rows F] [--avoid FILE]...";

bool readInt(const std::string& text, long long lo, long long hi, long long& value) {
  try {
    std::size_t used = 0;
    value = std::stoll(text, &used);
    return used == text.size() && value >= lo && value <= hi;
  } catch (const std::exception&) {
    return false;
  }
}

}  // namespace

int main(int argc, char** argv) {
  if (const auto done = qlx::standardOption(argc, argv, "quillorix-gridgen", kUsage)) return *done;
  using namespace qlx;
  gridgen::Options options;
  std::set<std::string> avoid;
  bool haveRows = false, haveCols = false;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    if (i + 1 >= argc) {
      std::cerr << "quillorix-gridgen: " << arg << " needs a value\n" << kUsage << '\n';
      return 2;
    }
    const std::string value = argv[++i];
    long long number = 0;
    bool good = true;
    if (arg == "--rows") {
      good = haveRows = readInt(value, 3, gridkit::kMaxSide, number);
      options.rows = static_cast<int>(number);
    } else if (arg == "--cols") {
      good = haveCols = readInt(value, 3, gridkit::kMaxSide, number);
      options.cols = static_cast<int>(number);
    } else if (arg == "--count") {
      good = readInt(value, 1, 100000, number);
      options.count = static_cast<int>(number);
    } else if (arg == "--seed") {
      good = readInt(value, 0, (1LL << 62), number);
      options.seed = static_cast<std::uint64_t>(number);
    } else if (arg == "--max-long") {
      good = readInt(value, 0, 1000, number);
      options.maxLongWords = static_cast<int>(number);
    } else if (arg == "--full-rows") {
      good = readInt(value, 0, gridkit::kMaxSide, number);
      options.fullRows = static_cast<int>(number);
    } else if (arg == "--avoid") {
      const gridkit::ParseResult parsed = gridkit::readPatternFile(value);
      for (const gridkit::ParseError& e : parsed.errors)
        std::cerr << "quillorix-gridgen: " << e.text() << '\n';
      if (!parsed.ok()) return 1;
      for (const gridkit::Pattern& p : parsed.patterns) avoid.insert(gridgen::shapeKey(p));
    } else {
      std::cerr << "quillorix-gridgen: unknown option " << arg << '\n' << kUsage << '\n';
      return 2;
    }
    if (!good) {
      std::cerr << "quillorix-gridgen: bad value " << value << " for " << arg << '\n'
                << kUsage << '\n';
      return 2;
    }
  }
  if (!haveRows || !haveCols) {
    std::cerr << "quillorix-gridgen: --rows and --cols are needed\n" << kUsage << '\n';
    return 2;
  }
  if (options.fullRows > 0 && options.cols > gridkit::kMaxWordLength) {
    std::cerr << "quillorix-gridgen: a full row would be a word longer than "
              << gridkit::kMaxWordLength << " letters\n";
    return 2;
  }
  if (options.rows * options.cols >= gridkit::kCellLimit) {
    std::cerr << "quillorix-gridgen: a grid must have fewer than " << gridkit::kCellLimit
              << " cells\n";
    return 2;
  }

  const std::vector<gridkit::Pattern> grids = gridgen::generate(options, avoid);
  for (const gridkit::Pattern& p : grids) {
    const gridkit::GridStats s = gridkit::gridStats(p);
    char line[160];
    std::snprintf(line, sizeof line, "; %dx%d blocks %.1f%% checked %.1f%% words %d longest %d\n",
                  p.rows, p.cols, s.blockPercent(), s.checkedPercent(), s.words, s.longestWord);
    std::cout << line << gridkit::formatPattern(p) << '\n';
  }
  if (static_cast<int>(grids.size()) < options.count) {
    std::cerr << "quillorix-gridgen: found " << grids.size() << " of " << options.count
              << " grids\n";
    return 1;
  }
  return 0;
}
