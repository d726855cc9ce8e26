// The help page and the shell.
#include "drawkit/help.h"

#include "platform/backend.h"

namespace qlx {

void openDocument(Backend& backend, const std::string& target) { backend.openDocument(target); }

std::string helpPagePath(const std::string& appFolder) { return appFolder + kHelpFileName; }

}  // namespace qlx
