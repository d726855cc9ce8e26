// quillorix-dictc: compiles the scowl word lists and the blocklist into XWORD.DICT.
// Exit 0 on success, 1 on a bad input file, 2 on a bad command line.
#include "command_line.h"
#include "dictc_error.h"
#include "dictionary.h"
#include "word_list.h"

#include <exception>
#include <iostream>
#include <string>
#include <vector>

int main(int argc, char** argv) {
  using namespace qlx::dictc;
  Options options;
  try {
    options = parseCommandLine(std::vector<std::string>(argv + 1, argv + argc));
  } catch (const DictcError& e) {
    std::cerr << "quillorix-dictc: " << e.what() << '\n' << kUsage << '\n';
    return 2;
  }
  try {
    const Blocklist blocklist = readBlocklist(options.blocklist);
    const Dictionary dict = buildDictionary(options.scowlDir, options.maxLevel, blocklist);
    writeDictionary(options.out, dict, options.maxLevel);
    std::cout << "quillorix-dictc: " << options.out.string() << ": " << summaryLine(dict) << '\n';
  } catch (const std::exception& e) {
    // DictcError and filesystem errors alike: report, write nothing, fail the build step.
    std::cerr << "quillorix-dictc: " << e.what() << '\n';
    return 1;
  }
  return 0;
}
