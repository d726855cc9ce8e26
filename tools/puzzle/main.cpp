// quillorix-puzzle: makes puzzles through the game's own start-up and puzzle code and prints them.
#include <cerrno>
#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <optional>
#include <string>
#include "core/program_options.h"

#include "platform/folders.h"
#include "puzzle/coding.h"
#include "puzzle/new_puzzle.h"
#include "puzzle/puzzle_source.h"
#include "tools/puzzle/pattern_grid.h"
#include "tools/puzzle/puzzle_print.h"
#include "tools/puzzle/puzzle_svg.h"

namespace {

constexpr const char* kUsage =
    "usage: quillorix-puzzle [--json] [--group G] [--number N] [--seed S] [--grid FILE] [--count "
    "K]\n"
    "  Makes K puzzles (default 1) as the game makes them and prints each one.\n"
    "  --group G   grid group to draw from (default 2, the group New Game uses)\n"
    "  --number N  grid number within the group (default: drawn as the game draws)\n"
    "  --seed S    seed of the game's generator and of the word-fill library\n"
    "  --grid FILE a text grid pattern ('#' block, '.' white) instead of the grid file\n"
    "  --json      one JSON object per puzzle, one per line\n"
    "  --svg FILE  a print-ready page of the (first) puzzle; --svg-solution FILE its solution\n"
    "  --paper P   the pages' paper: a4 (default) or letter\n";

struct Options {
  bool json = false;
  int32_t group = 2;
  int32_t number = -1;
  std::optional<uint64_t> seed;
  std::string gridPattern;
  long count = 1;
  std::string svg, svgSolution;
  qlx::Paper paper = qlx::Paper::A4;
};

bool parseLong(const std::string& text, long long lo, long long hi, long long* out) {
  char* end = nullptr;
  errno = 0;
  const long long v = std::strtoll(text.c_str(), &end, 10);
  if (text.empty() || *end != '\0' || errno != 0 || v < lo || v > hi) return false;
  *out = v;
  return true;
}

// Returns an error text, or "" when the options are good.
std::string parseOptions(int argc, char** argv, Options& o) {
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    if (arg == "--json") {
      o.json = true;
      continue;
    }
    if (arg == "--help" || arg == "-h") return "help";
    if (i + 1 >= argc) return "option " + arg + " needs a value";
    const std::string value = argv[++i];
    long long v = 0;
    if (arg == "--group") {
      if (!parseLong(value, 1, INT32_MAX, &v)) return "--group needs a group number of 1 or more";
      o.group = static_cast<int32_t>(v);
    } else if (arg == "--number") {
      if (!parseLong(value, 1, INT32_MAX, &v)) return "--number needs a grid number of 1 or more";
      o.number = static_cast<int32_t>(v);
    } else if (arg == "--seed") {
      if (!parseLong(value, 0, INT64_MAX, &v)) return "--seed needs a whole number of 0 or more";
      o.seed = static_cast<uint64_t>(v);
    } else if (arg == "--count") {
      if (!parseLong(value, 1, 1000000, &v)) return "--count needs a number from 1 to 1000000";
      o.count = static_cast<long>(v);
    } else if (arg == "--grid") {
      o.gridPattern = value;
    } else if (arg == "--svg" || arg == "--svg-solution") {
      (arg == "--svg" ? o.svg : o.svgSolution) = value;
    } else if (arg == "--paper") {
      if (value != "a4" && value != "letter") return "--paper is a4 or letter";
      o.paper = value == "a4" ? qlx::Paper::A4 : qlx::Paper::Letter;
    } else {
      return "unknown option " + arg;
    }
  }
  return "";
}

// Times the calls into the word-fill library.
class TimedFiller : public qlx::WordFiller {
 public:
  explicit TimedFiller(qlx::WordFiller& inner) : inner_(inner) {}
  int32_t makeXWordPuzzle(uint8_t* letters, int32_t cellCount, int32_t cols) override {
    const auto start = std::chrono::steady_clock::now();
    const int32_t result = inner_.makeXWordPuzzle(letters, cellCount, cols);
    micros += std::chrono::duration_cast<std::chrono::microseconds>(
                  std::chrono::steady_clock::now() - start)
                  .count();
    return result;
  }
  std::string lastError() const override { return inner_.lastError(); }
  int64_t micros = 0;

 private:
  qlx::WordFiller& inner_;
};

int fail(const std::string& message) {
  std::cerr << "quillorix-puzzle: " << message << "\n";
  return 1;
}

// Writes the puzzle's page (or its solution page) to path; false after saying why.
bool writePage(const std::string& path, const qlx::Puzzle& puzzle, qlx::Paper paper,
               bool solution) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out << qlx::puzzleAsSvg(puzzle, paper, solution);
  out.close();
  if (out) return true;
  fail("cannot write " + path);
  return false;
}

}  // namespace

int main(int argc, char** argv) {
  if (const auto done = qlx::standardOption(argc, argv, "quillorix-puzzle", kUsage)) return *done;
  Options o;
  if (std::string err = parseOptions(argc, argv, o); !err.empty()) {
    if (err == "help") {
      std::cout << kUsage;
      return 0;
    }
    std::cerr << "quillorix-puzzle: " << err << "\n" << kUsage;
    return 2;
  }

  qlx::PuzzleSource program;
  std::string folder;
  qlx::Status found = qlx::findProgramFolder(qlx::executableFolder(), &folder);
  if (qlx::Status s = found.ok() ? qlx::openPuzzleSource(program, folder, o.seed) : found; !s)
    return fail(s.message());
  qlx::Puzzle puzzle;
  if (o.seed)
    if (qlx::Status s = program.fillLibrary->setSeed(*o.seed); !s) return fail(s.message());

  qlx::Puzzle pattern;
  if (!o.gridPattern.empty())
    if (qlx::Status s = qlx::loadPatternGrid(o.gridPattern, pattern); !s) return fail(s.message());

  TimedFiller filler(*program.fillLibrary);
  for (long k = 1; k <= o.count; ++k) {
    qlx::MadePuzzle made;
    qlx::SolutionCheck check{&program.acceptance};
    filler.micros = 0;
    if (o.gridPattern.empty()) {
      made.group = o.group;
      if (qlx::Status s = qlx::newPuzzle(puzzle, program.grids, o.number, o.group, filler,
                                         program.random, &made.number, &check);
          !s)
        return fail(s.message());
    } else {
      made.number = static_cast<int32_t>(k);
      qlx::Puzzle p = pattern;
      if (qlx::Status s = qlx::fillAndCode(p, filler, program.random, o.gridPattern, &check); !s)
        return fail(s.message());
      puzzle = std::move(p);
    }
    made.fillMicros = filler.micros;
    made.fills = check.fills;
    made.solutions = check.solutions;
    if (k == 1 && ((!o.svg.empty() && !writePage(o.svg, puzzle, o.paper, false)) ||
                   (!o.svgSolution.empty() && !writePage(o.svgSolution, puzzle, o.paper, true))))
      return 1;
    if (o.json)
      std::cout << qlx::puzzleAsJson(puzzle, made) << "\n";
    else
      std::cout << (k > 1 ? "\n" : "") << qlx::puzzleAsText(puzzle, made);
  }
  return 0;
}
