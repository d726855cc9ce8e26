// quillorix-reg: exports the game's settings to a .reg text file and imports one back.
//   quillorix-reg [--store PATH] export [FILE]     (standard output without FILE)
//   quillorix-reg [--store PATH] import FILE
#include <cstdio>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>
#include <vector>
#include "core/program_options.h"

#include "reg_transfer.h"

namespace {

constexpr const char* kUsage =
    "usage: quillorix-reg [--store PATH] export [FILE]\n"
    "       quillorix-reg [--store PATH] import FILE\n";

int usage() {
  std::cerr << kUsage;
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  if (const auto done = qlx::standardOption(argc, argv, "quillorix-reg", kUsage)) return *done;
  std::vector<std::string> args(argv + 1, argv + argc);
  std::string storePath = qlx::defaultRegistryPath();
  if (args.size() >= 2 && args[0] == "--store") {
    storePath = args[1];
    args.erase(args.begin(), args.begin() + 2);
  }
  if (args.empty()) return usage();
  const std::string command = args[0];
  if (!((command == "export" && args.size() <= 2) || (command == "import" && args.size() == 2)))
    return usage();

  // Export only reads: the store is never changed, and a damaged one is reported, not replaced.
  std::unique_ptr<qlx::Registry> store;
  std::string notice;
  qlx::RegistryOptions options;
  options.readOnly = command == "export";
  const qlx::Status status = qlx::openRegistry(storePath, options, &store, &notice);
  if (!notice.empty()) std::cerr << "quillorix-reg: " << notice << "\n";
  if (!status.ok()) {
    std::cerr << "quillorix-reg: " << status.message() << "\n";
    return 1;
  }
  if (command == "export") {
    std::string text;
    if (const qlx::Status exported = qlx::regtool::exportGameKey(*store, &text); !exported) {
      std::cerr << "quillorix-reg: " << exported.message() << "\n";
      return 1;
    }
    if (args.size() == 1) {
      std::cout << text << std::flush;
      return std::cout ? 0 : 1;
    }
    std::ofstream out(args[1], std::ios::binary);
    out << text;
    out.close();
    if (!out) {
      std::cerr << "quillorix-reg: cannot write " << args[1] << "\n";
      return 1;
    }
    return 0;
  }
  std::ifstream in(args[1], std::ios::binary);
  if (!in) {
    std::cerr << "quillorix-reg: cannot read " << args[1] << "\n";
    return 1;
  }
  std::ostringstream text;
  text << in.rdbuf();
  if (const qlx::Status imported = qlx::regtool::importRegText(*store, text.str()); !imported) {
    std::cerr << "quillorix-reg: " << args[1] << ": " << imported.message() << "\n";
    return 1;
  }
  return 0;
}
