// diagUN, the "Best Score" name dialog.
#include "dialogs/name_dialog.h"

namespace qlx {

std::string askBestName(Backend&, const Graphics&, int, int) { return "-"; }

}  // namespace qlx
