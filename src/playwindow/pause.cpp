// Pausing a game: the clock stops and a notice covers the whole window; the board underneath is
// kept aside and put back unchanged on resume, since nothing repaints it.
#include "drawkit/primitives.h"
#include "playwindow/play_window.h"
#include "resources/string_table.h"

namespace qlx {

void PlayWindow::enablePause(bool b) {
  if (b && !paused_) {
    underPause_ = std::make_unique<DeviceContext>(dc());
    paintPauseNotice();
    paused_ = true;
    refresh();
  } else if (!b && paused_) {
    dc().bitBlt(0, 0, clientWidth(), clientHeight(), *underPause_, 0, 0);
    underPause_.reset();
    paused_ = false;
    refresh();
  }
  setTimerEnabled(!b);
}

void PlayWindow::paintPauseNotice() {
  const Graphics& g = ctx_.graphics;
  DeviceContext& d = dc();
  const FontSpec font = d.font();
  const ColorRef color = d.textColor();
  const Rect all{0, 0, clientWidth(), clientHeight()};
  d.fillRect(all, &g.brPanel);
  d.setFont(FontSpec{kPlayFontFace, 20, FW_BOLD});
  d.setTextColor(g.clrMessageText);
  d.drawText(loadString(IDS_PAUSED), all, kCentredLine);
  d.setFont(font);
  d.setTextColor(color);
}

}  // namespace qlx
