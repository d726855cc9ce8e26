// Parsing the four options of quillorix-dictc; anything unexpected is an error, not ignored.
#include "command_line.h"

#include "dictc_error.h"

#include <charconv>

namespace qlx::dictc {

namespace {

int parseLevel(const std::string& text) {
  int value = 0;
  const char* end = text.data() + text.size();
  const auto [ptr, ec] = std::from_chars(text.data(), end, value);
  if (text.empty() || ec != std::errc() || ptr != end) {
    throw DictcError("--max-level needs a whole number, got '" + text + "'");
  }
  return value;
}

}  // namespace

Options parseCommandLine(const std::vector<std::string>& args) {
  Options options;
  bool seenScowl = false, seenLevel = false, seenBlocklist = false, seenOut = false;
  for (std::size_t i = 0; i < args.size(); i += 2) {
    const std::string& name = args[i];
    bool* seen = name == "--scowl"       ? &seenScowl
                 : name == "--max-level" ? &seenLevel
                 : name == "--blocklist" ? &seenBlocklist
                 : name == "--out"       ? &seenOut
                                         : nullptr;
    if (seen == nullptr) {
      throw DictcError("unknown argument '" + name + "'");
    }
    if (*seen) {
      throw DictcError(name + " given twice");
    }
    if (i + 1 >= args.size() || args[i + 1].empty()) {
      throw DictcError(name + " needs a value");
    }
    *seen = true;
    const std::string& value = args[i + 1];
    if (name == "--scowl") {
      options.scowlDir = value;
    } else if (name == "--max-level") {
      options.maxLevel = parseLevel(value);
    } else if (name == "--blocklist") {
      options.blocklist = value;
    } else {
      options.out = value;
    }
  }
  if (!seenScowl || !seenLevel || !seenBlocklist || !seenOut) {
    throw DictcError("missing option(s):" + std::string(seenScowl ? "" : " --scowl") +
                     (seenLevel ? "" : " --max-level") + (seenBlocklist ? "" : " --blocklist") +
                     (seenOut ? "" : " --out"));
  }
  return options;
}

}  // namespace qlx::dictc
