// quillorix-dictc: compiles the scowl word lists and the blocklist into XWORD.DICT.
// Exit 0 on success, 1 on a bad input file, 2 on a bad command line.
#include <iostream>
#include <string>
#include <vector>
#include "core/program_options.h"

#include "command_line.h"
#include "dictionary.h"
#include "word_list.h"

int main(int argc, char** argv) {
  if (const auto done = qlx::standardOption(argc, argv, "quillorix-dictc", qlx::dictc::kUsage))
    return *done;
  using namespace qlx::dictc;
  Options options;
  const qlx::Status parsed =
      parseCommandLine(std::vector<std::string>(argv + 1, argv + argc), &options);
  if (!parsed.ok()) {
    std::cerr << "quillorix-dictc: " << parsed.message() << '\n' << kUsage << '\n';
    return 2;
  }
  // Any failure is reported and nothing is written, which fails the build step.
  Blocklist blocklist;
  Dictionary dict;
  qlx::Status st = readBlocklist(options.blocklist, &blocklist);
  if (st.ok())
    st = buildDictionary(options.scowlDir, options.maxLevel, blocklist, &dict, options.spellings);
  if (st.ok()) st = writeDictionary(options.out, dict, options.maxLevel);
  if (!st.ok()) {
    std::cerr << "quillorix-dictc: " << st.message() << '\n';
    return 1;
  }
  std::cout << "quillorix-dictc: " << options.out.string() << ": " << summaryLine(dict) << '\n';
  return 0;
}
