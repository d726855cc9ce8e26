// Showing a document (the help page) in the user's default viewer.
#pragma once

#include <string>

namespace qlx {

class Backend;

inline constexpr const char* kHelpFileName = "QUILHLP.HTM";

// Hands target to the shell; when no viewer takes it, a message box gives its path instead so
// the player can open it another way.
void openDocument(Backend& backend, const std::string& target);

// appFolder (ending in a separator) followed by the help page's name.
std::string helpPagePath(const std::string& appFolder);

}  // namespace qlx
