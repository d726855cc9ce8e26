// The .reg text format the settings tool reads and writes: a header line, then [KEY] sections
// with "NAME"=... value lines (text, hex:, hex(N):, dword:), hex lines continued with a backslash.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/registry.h"

namespace qlx::regtool {

struct RegFileKey {
  std::string path;  // full path as written, e.g. HKEY_CURRENT_USER\Software\...
  std::vector<RegValueEntry> values;
};

inline constexpr const char* kRegHeader = "Windows Registry Editor Version 5.00";

// Writes the keys as .reg text. Fails (with *error naming the key or value) only for a name that
// cannot be written on one line.
bool writeRegFile(const std::vector<RegFileKey>& keys, std::string* text, std::string* error);

// Reads .reg text; on failure *error names the line and says what is wrong.
bool parseRegFile(const std::string& text, std::vector<RegFileKey>* keys, std::string* error);

}  // namespace qlx::regtool
