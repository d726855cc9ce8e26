// The help page and the shell.
#include "drawkit/help.h"

#include "platform/backend.h"
#include "resources/string_table.h"

namespace qlx {

void openDocument(Backend& backend, const std::string& target) {
  if (backend.openDocument(target)) return;
  backend.messageBox(
      "No program was found to show the help page. You can open it in a web browser yourself:\n" +
          target,
      kApplicationTitle);
}

std::string helpPagePath(const std::string& appFolder) { return appFolder + kHelpFileName; }

}  // namespace qlx
