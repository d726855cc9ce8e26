// qlx-window-demo: one 800 × 600 window of the real SDL back end painting a fixed puzzle board
// with the drawing kit, for the end-to-end test under a virtual display. It writes one line to
// standard output (line-buffered) for each thing its handlers receive, so the test can check them:
//   shown | down <button> <shift> <x> <y> | key <code> <shift> | char <code> | message closed
// The M key shows a message box.
#include <cstdio>
#include <string>

#include "demo_board.h"
#include "drawkit/graphics.h"
#include "drawkit/painters.h"
#include "drawkit/primitives.h"
#include "platform/message_box.h"
#include "platform/sdl/sdl_backend.h"
#include "platform/window.h"

namespace qlx::demo {
namespace {

DrawRect boardRect(DeviceContext& dc, const Board& b) {
  DrawRect r;
  r.hDC = &dc;
  r.left = b.left;
  r.top = b.top;
  r.width = b.cell;
  r.height = b.cell;
  return r;
}

class DemoWindow : public Window {
 public:
  DemoWindow(Backend& backend, const Graphics& g)
      : Window(backend, kLayoutWidth, kLayoutHeight, g.brBackground.color), g_(g) {}

  void Form_Load() override { paint(); }

  void Form_MouseDown(int button, int shift, float x, float y) override {
    std::printf("down %d %d %.1f %.1f\n", button, shift, double(x), double(y));
  }
  void Form_KeyDown(int& keyCode, int& shift) override {
    std::printf("key %d %d\n", keyCode, shift);
    if (keyCode == 'M') {
      backend().messageBox(
          "The board is painted by the drawing kit.\nPress Enter to close this box.", "Quillorix");
      std::printf("message closed\n");
    }
  }
  void Form_KeyPress(int& keyAscii) override { std::printf("char %d\n", keyAscii); }

 private:
  void paint() {
    DeviceContext& dc = this->dc();
    dc.fillRect(Rect{0, 0, kLayoutWidth, kLayoutHeight}, &g_.brBackground);

    DrawRect title;
    title.hDC = &dc;
    title.left = 0, title.top = 10, title.width = kLayoutWidth, title.height = 44;
    title.textColor = g_.clrButtonText;
    dc.setFont(FontSpec{"Arial", 20, FW_BOLD});
    drawText(title, 2, "Quillorix board", kCentredLine);

    const Puzzle p = demoPuzzle();
    dc.setFont(FontSpec{"Arial", 16, FW_BOLD});
    const DrawRect grid = boardRect(dc, kGrid);
    for (int mode = 0; mode <= 2; ++mode) paintGrid(grid, p, mode, g_);
    dc.setFont(FontSpec{"Arial", 12, FW_BOLD});
    const DrawRect strip = boardRect(dc, kStrip);
    paintCodeStrip(strip, p, 0, g_);
    paintCodeStrip(strip, p, 1, g_);
    paintAlphabet(boardRect(dc, kAlphabet), p, g_);

    refresh();
  }

  const Graphics& g_;
};

}  // namespace
}  // namespace qlx::demo

int main() {
  using namespace qlx;
  std::setvbuf(stdout, nullptr, _IOLBF, 0);
  Status status;
  std::unique_ptr<Backend> backend = makeSdlBackend(&status);
  if (!backend) {
    std::fprintf(stderr, "qlx-window-demo: %s\n", status.message().c_str());
    return 1;
  }
  Graphics g;
  initGraphics(g, std::string(QLX_BIN_DIR) + "/");

  MessageBoxStyle style;
  style.background = g.brPanel.color;
  style.text = g.clrMessageText;
  style.buttonFill = g.brBackground.color;
  style.buttonFrame = g.penFrame.color;
  style.buttonText = g.clrButtonText;
  backend->setMessageBoxStyle(style);

  demo::DemoWindow window(*backend, g);
  window.setCaption("Quillorix board demo");
  if (g.windowIcon) window.setIcon(g.windowIcon);
  window.show();
  std::printf("shown\n");
  backend->run();
  return 0;
}
