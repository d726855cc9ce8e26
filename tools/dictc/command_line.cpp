// Parsing the four options of quillorix-dictc; anything unexpected is an error, not ignored.
#include "command_line.h"

#include <charconv>

namespace qlx::dictc {

namespace {

bool parseLevel(const std::string& text, int* value) {
  const char* end = text.data() + text.size();
  const auto [ptr, ec] = std::from_chars(text.data(), end, *value);
  return !text.empty() && ec == std::errc() && ptr == end;
}

}  // namespace

Status parseCommandLine(const std::vector<std::string>& args, Options* options) {
  bool seenScowl = false, seenLevel = false, seenBlocklist = false, seenOut = false;
  for (std::size_t i = 0; i < args.size(); i += 2) {
    const std::string& name = args[i];
    bool* seen = name == "--scowl"       ? &seenScowl
                 : name == "--max-level" ? &seenLevel
                 : name == "--blocklist" ? &seenBlocklist
                 : name == "--out"       ? &seenOut
                                         : nullptr;
    if (seen == nullptr) {
      return Status::Refused("unknown argument '" + name + "'");
    }
    if (*seen) {
      return Status::Refused(name + " given twice");
    }
    if (i + 1 >= args.size() || args[i + 1].empty()) {
      return Status::Refused(name + " needs a value");
    }
    *seen = true;
    const std::string& value = args[i + 1];
    if (name == "--scowl") {
      options->scowlDir = value;
    } else if (name == "--max-level") {
      if (!parseLevel(value, &options->maxLevel)) {
        return Status::Refused("--max-level needs a whole number, got '" + value + "'");
      }
    } else if (name == "--blocklist") {
      options->blocklist = value;
    } else {
      options->out = value;
    }
  }
  if (!seenScowl || !seenLevel || !seenBlocklist || !seenOut) {
    return Status::Refused("missing option(s):" + std::string(seenScowl ? "" : " --scowl") +
                           (seenLevel ? "" : " --max-level") +
                           (seenBlocklist ? "" : " --blocklist") + (seenOut ? "" : " --out"));
  }
  return Status::Ok();
}

}  // namespace qlx::dictc
