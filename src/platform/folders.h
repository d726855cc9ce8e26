// Where the program lives: every data file is looked for beside the executable.
#pragma once

#include <string>

namespace qlx {

// The folder of the running executable, ending in exactly one separator ("/" here).
std::string executableFolder();

// Returns folder with exactly one trailing separator appended when it has none.
std::string withTrailingSeparator(std::string folder);

}  // namespace qlx
