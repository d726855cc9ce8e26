// quillorix-gridc: compiles grid pattern files into the grid file, file i = group i.
//   quillorix-gridc [--out FILE] [--stats] group1.txt group2.txt ...
// Without --out it only checks. Exit 0 when every grid is good, 1 when any is refused
// (nothing is written then), 2 on a bad command line.
#include "compile.h"
#include "core/program_options.h"

#include <iostream>
#include <string>
#include <vector>

namespace {

constexpr const char* kUsage = "usage: quillorix-gridc [--out FILE] [--stats] PATTERNS.txt...";

}  // namespace

int main(int argc, char** argv) {
  if (const auto done = qlx::standardOption(argc, argv, "quillorix-gridc", kUsage)) return *done;
  using namespace qlx;
  std::string out;
  bool stats = false;
  std::vector<std::string> inputs;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    if (arg == "--out" && i + 1 < argc) {
      out = argv[++i];
    } else if (arg == "--stats") {
      stats = true;
    } else if (arg.starts_with("-")) {
      std::cerr << "quillorix-gridc: unknown or incomplete option " << arg << '\n'
                << kUsage << '\n';
      return 2;
    } else {
      inputs.push_back(arg);
    }
  }
  if (inputs.empty()) {
    std::cerr << "quillorix-gridc: no pattern file given\n" << kUsage << '\n';
    return 2;
  }

  const gridc::CompileResult result = gridc::compileGridSources(inputs);
  if (stats)
    for (std::size_t g = 0; g < result.groups.size(); ++g)
      for (std::size_t n = 0; n < result.groups[g].size(); ++n)
        std::cout << gridc::statsLine(inputs[g], static_cast<int>(n + 1), result.groups[g][n])
                  << '\n';
  if (!result.ok()) {
    for (const std::string& problem : result.problems)
      std::cerr << "quillorix-gridc: " << problem << '\n';
    std::cerr << "quillorix-gridc: " << result.problems.size()
              << (result.problems.size() == 1 ? " problem" : " problems")
              << (out.empty() ? "" : "; " + out + " was not written") << '\n';
    return 1;
  }
  if (out.empty()) return 0;
  std::vector<std::uint8_t> bytes;
  qlx::Status st = gridkit::encodeGridFile(result.groups, &bytes);
  if (st.ok()) st = gridkit::writeFileAtomically(out, bytes);
  if (!st.ok()) {
    std::cerr << "quillorix-gridc: " << st.message() << '\n';
    return 1;
  }
  std::size_t total = 0;
  for (const auto& group : result.groups) total += group.size();
  std::cout << "quillorix-gridc: " << out << ": " << result.groups.size() << " groups, " << total
            << " grids\n";
  return 0;
}
