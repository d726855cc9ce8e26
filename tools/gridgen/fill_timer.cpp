// quillorix-gridfill: fills every grid of pattern files or a grid file many times through the
// word-fill library and names the grids that fail or are slow, to weed out hard patterns.
//   quillorix-gridfill --dict XWORD.DICT [--fills N] [--seed S] [--slow-ms M] FILE...
// FILE is a pattern text file (*.txt) or a grid file. Exit 1 when any grid failed or was slow.
// Times are the thread's CPU time, so other work on a busy machine does not make a grid look hard.
#include "core/program_options.h"
#include "zandrel.h"

#include "gridkit/fill_check.h"
#include "gridkit/grid_file.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <string>
#include <utility>
#include <vector>

namespace {

using qlx::gridkit::Pattern;

struct Grid {
  Grid(std::string name_, Pattern pattern_)
      : name(std::move(name_)), pattern(std::move(pattern_)) {}
  std::string name;  // "file:line: grid n" or "file: group g grid n"
  Pattern pattern;
  double worstMs = 0;
  double totalMs = 0;
  int failures = 0;
  std::string firstProblem;
};

double cpuMs() {
  timespec t{};
  ::clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
  return static_cast<double>(t.tv_sec) * 1e3 + static_cast<double>(t.tv_nsec) / 1e6;
}

bool loadGrids(const std::string& path, std::vector<Grid>& out) {
  if (path.ends_with(".txt")) {
    const auto parsed = qlx::gridkit::readPatternFile(path);
    for (const auto& e : parsed.errors)
      std::fprintf(stderr, "quillorix-gridfill: %s\n", e.text().c_str());
    int n = 0;
    for (const Pattern& p : parsed.patterns)
      out.emplace_back(path + ":" + std::to_string(p.line) + ": grid " + std::to_string(++n), p);
    return parsed.ok();
  }
  std::vector<std::uint8_t> bytes;
  qlx::gridkit::GridGroups groups;
  qlx::Status st = qlx::gridkit::readWholeFile(path, &bytes);
  if (st.ok()) st = qlx::gridkit::decodeGridFile(bytes, &groups);
  if (!st.ok()) {
    std::fprintf(stderr, "quillorix-gridfill: %s: %s\n", path.c_str(), st.message().c_str());
    return false;
  }
  for (std::size_t g = 0; g < groups.size(); ++g)
    for (std::size_t n = 0; n < groups[g].size(); ++n)
      out.emplace_back(path + ": group " + std::to_string(g + 1) + " grid " + std::to_string(n + 1),
                       groups[g][n]);
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  constexpr const char* kUsage =
      "usage: quillorix-gridfill --dict XWORD.DICT [--fills N] [--seed S] [--slow-ms M] FILE...";
  if (const auto done = qlx::standardOption(argc, argv, "quillorix-gridfill", kUsage)) return *done;
  std::string dict;
  int fills = 20;
  unsigned long long seed = 1;
  double slowMs = 50;
  std::vector<std::string> files;
  for (int i = 1; i < argc; ++i) {
    const std::string a = argv[i];
    const bool more = i + 1 < argc;
    if (a == "--dict" && more)
      dict = argv[++i];
    else if (a == "--fills" && more)
      fills = std::atoi(argv[++i]);
    else if (a == "--seed" && more)
      seed = std::strtoull(argv[++i], nullptr, 10);
    else if (a == "--slow-ms" && more)
      slowMs = std::atof(argv[++i]);
    else if (!a.starts_with("-"))
      files.push_back(a);
    else
      files.clear(), i = argc;
  }
  if (dict.empty() || files.empty() || fills < 1) {
    std::fprintf(stderr, "%s\n", kUsage);
    return 2;
  }

  qlx::gridkit::WordSet words;
  const qlx::Status read = qlx::gridkit::readDictionaryWords(dict, &words);
  std::vector<char> dictPath(dict.begin(), dict.end());
  dictPath.push_back('\0');
  if (!read.ok() || loadLangDict(dictPath.data()) != ZANDREL_OK) {
    std::fprintf(stderr, "quillorix-gridfill: cannot load the dictionary %s %s\n", dict.c_str(),
                 read.message().c_str());
    return 1;
  }

  std::vector<Grid> grids;
  bool loaded = true;
  for (const std::string& f : files) loaded = loadGrids(f, grids) && loaded;
  if (!loaded) return 1;

  for (Grid& grid : grids)
    for (int k = 0; k < fills; ++k) {
      zandrelSetSeed(seed + static_cast<unsigned long long>(k));
      std::string letters = qlx::gridkit::fillTemplate(grid.pattern);
      const double start = cpuMs();
      const int32_t result =
          makeXWordPuzzle(reinterpret_cast<uint8_t*>(letters.data()),
                          static_cast<int32_t>(letters.size()), grid.pattern.cols);
      const double ms = cpuMs() - start;
      grid.worstMs = std::max(grid.worstMs, ms);
      grid.totalMs += ms;
      const auto problems =
          result == ZANDREL_OK
              ? qlx::gridkit::fillProblems(grid.pattern, letters, words)
              : std::vector<std::string>{std::string("no fill: ") + zandrelLastError()};
      if (!problems.empty() && grid.failures++ == 0) grid.firstProblem = problems.front();
    }

  std::vector<Grid*> order;
  for (Grid& g : grids) order.push_back(&g);
  std::sort(order.begin(), order.end(),
            [](const Grid* a, const Grid* b) { return a->worstMs > b->worstMs; });
  int bad = 0;
  for (const Grid* g : order) {
    const bool slow = g->worstMs > slowMs;
    if (slow || g->failures) ++bad;
    if (slow || g->failures || g == order.front())
      std::printf("%s: worst %.1f ms, mean %.2f ms, %d of %d fills failed%s%s\n", g->name.c_str(),
                  g->worstMs, g->totalMs / fills, g->failures, fills, g->failures ? ": " : "",
                  g->firstProblem.c_str());
  }
  double total = 0;
  for (const Grid& g : grids) total += g.totalMs;
  std::printf(
      "quillorix-gridfill: %zu grids, %d fills each, mean %.2f ms a fill, %d failed or slower than "
      "%.0f ms\n",
      grids.size(), fills, total / (static_cast<double>(grids.size()) * fills), bad, slowMs);
  return bad ? 1 : 0;
}
