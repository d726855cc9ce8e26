// Checks pattern files grid by grid and gathers the groups of the grid file.
#include "compile.h"

#include "gridkit/rules.h"

#include <cstdio>
#include <map>

namespace qlx::gridc {

namespace {

struct Origin {
  std::string file;
  int grid = 0;
  int line = 0;
};

std::string gridPlace(const std::string& file, int line, int grid) {
  return file + ":" + std::to_string(line) + ": grid " + std::to_string(grid);
}

}  // namespace

CompileResult compileGridSources(const std::vector<std::string>& paths) {
  CompileResult result;
  std::map<std::pair<std::pair<int, int>, std::vector<std::uint8_t>>, Origin> seen;
  for (const std::string& path : paths) {
    gridkit::ParseResult parsed = gridkit::readPatternFile(path);
    for (const gridkit::ParseError& e : parsed.errors) result.problems.push_back(e.text());
    if (parsed.ok() && parsed.patterns.empty())
      result.problems.push_back(path + ": holds no grid; every group needs at least one");

    int number = 0;
    for (const gridkit::Pattern& p : parsed.patterns) {
      ++number;
      for (const std::string& rule : gridkit::checkGridRules(p))
        result.problems.push_back(gridPlace(path, p.line, number) + ": " + rule);
      const auto key = std::make_pair(std::make_pair(p.rows, p.cols), p.cells);
      const auto [it, fresh] = seen.try_emplace(key, Origin{path, number, p.line});
      if (!fresh)
        result.problems.push_back(gridPlace(path, p.line, number) + ": repeats grid " +
                                  std::to_string(it->second.grid) + " of " + it->second.file +
                                  " (line " + std::to_string(it->second.line) + ")");
    }
    result.groups.push_back(std::move(parsed.patterns));
  }
  return result;
}

std::string statsLine(const std::string& file, int gridNumber, const gridkit::Pattern& p) {
  const gridkit::GridStats s = gridkit::gridStats(p);
  char buf[200];
  std::snprintf(buf, sizeof buf,
                "%s:%d: grid %d: %dx%d blocks %.1f%% checked %.1f%% words %d longest %d",
                file.c_str(), p.line, gridNumber, p.rows, p.cols, s.blockPercent(),
                s.checkedPercent(), s.words, s.longestWord);
  return buf;
}

}  // namespace qlx::gridc
