// frmOKCancel, the question dialog.
#include "dialogs/ok_cancel.h"

namespace qlx {

int askOKCancel(Backend&, const Graphics&, int) { return -1; }

}  // namespace qlx
