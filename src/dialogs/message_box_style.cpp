// The message box style from the shared GDI objects.
#include "dialogs/message_box_style.h"

namespace qlx {

MessageBoxStyle gameMessageBoxStyle(const Graphics& g) {
  MessageBoxStyle s;
  s.background = g.brPanel.color;
  s.text = g.clrMessageText;
  s.buttonFill = g.brPanel.color;
  s.buttonFrame = g.penFrame.color;
  s.buttonText = g.clrButtonText;
  s.font = FontSpec{"Arial", 12, FW_NORMAL};
  return s;
}

}  // namespace qlx
