// frmOKCancel, the two-button question dialog start-up shows when a stored game is waiting:
// button 1 (or Enter) resumes it, button 2 (or Escape) discards it.
#pragma once

#include "dialogs/dialog_layout.h"
#include "drawkit/graphics.h"
#include "platform/backend.h"

namespace qlx {

// Shows frmOKCancel modally and returns clickedBtnNum: 1, 2, or -1 when it was closed any other way.
int askOKCancel(Backend& backend, const Graphics& graphics, int dialogUnit = kDialogUnit);

}  // namespace qlx
