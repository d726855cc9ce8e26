// The .reg text format the settings tool reads and writes: a header line, then [KEY] sections
// with "NAME"=... value lines (text, hex:, hex(N):, dword:), hex lines continued with a backslash.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "core/status.h"
#include "platform/registry.h"

namespace qlx::regtool {

struct RegFileKey {
  std::string path;  // full path as written, e.g. HKEY_CURRENT_USER\Software\...
  std::vector<RegValueEntry> values;
};

inline constexpr const char* kRegHeader = "Windows Registry Editor Version 5.00";

// Writes the keys as .reg text. Fails (refused, naming the key or value) only for a name that
// cannot be written on one line.
Status writeRegFile(const std::vector<RegFileKey>& keys, std::string* text);

// Reads .reg text; a file that is not .reg text is damaged, and the message names the line and
// says what is wrong.
Status parseRegFile(const std::string& text, std::vector<RegFileKey>* keys);

}  // namespace qlx::regtool
