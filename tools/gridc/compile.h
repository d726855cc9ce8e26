// Turns pattern files into grid groups (file i = group i), collecting every reason to refuse.
#pragma once

#include "gridkit/grid_file.h"

#include <string>
#include <vector>

namespace qlx::gridc {

struct CompileResult {
  gridkit::GridGroups groups;
  std::vector<std::string> problems;  // "file:line: grid n: what is wrong"; empty = good
  bool ok() const { return problems.empty(); }
};

// Parses every file, checks every grid against the rules and refuses grids that repeat an
// earlier one (in any file) and files that hold no grid.
CompileResult compileGridSources(const std::vector<std::string>& paths);

// One line of figures per grid, for reviewing a pattern file.
std::string statsLine(const std::string& file, int gridNumber, const gridkit::Pattern& pattern);

}  // namespace qlx::gridc
