// Parsing the options of quillorix-dictc; anything unexpected is an error, not ignored.
#include "command_line.h"

#include <algorithm>
#include <charconv>

namespace qlx::dictc {

namespace {

bool parseLevel(const std::string& text, int* value) {
  const char* end = text.data() + text.size();
  const auto [ptr, ec] = std::from_chars(text.data(), end, *value);
  return !text.empty() && ec == std::errc() && ptr == end;
}

// A comma-separated list of the scowl spellings, each once.
Status parseSpellings(const std::string& text, std::vector<std::string>* spellings) {
  spellings->clear();
  for (std::size_t start = 0; start <= text.size();) {
    const std::size_t comma = std::min(text.find(',', start), text.size());
    const std::string name = text.substr(start, comma - start);
    if (name != "english" && name != "british" && name != "american")
      return Status::Refused("--spellings takes english, british and american, got '" + name + "'");
    if (std::find(spellings->begin(), spellings->end(), name) != spellings->end())
      return Status::Refused("--spellings names " + name + " twice");
    spellings->push_back(name);
    start = comma + 1;
  }
  return Status::Ok();
}

}  // namespace

Status parseCommandLine(const std::vector<std::string>& args, Options* options) {
  bool seenScowl = false, seenLevel = false, seenBlocklist = false, seenOut = false,
       seenSpellings = false;
  for (std::size_t i = 0; i < args.size(); i += 2) {
    const std::string& name = args[i];
    bool* seen = name == "--scowl"       ? &seenScowl
                 : name == "--max-level" ? &seenLevel
                 : name == "--blocklist" ? &seenBlocklist
                 : name == "--out"       ? &seenOut
                 : name == "--spellings" ? &seenSpellings
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
    } else if (name == "--out") {
      options->out = value;
    } else if (Status st = parseSpellings(value, &options->spellings); !st.ok()) {
      return st;
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
