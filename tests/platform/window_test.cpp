// Windows on the headless back end: the auto-redraw image reaching the screen on refresh, the
// load and unload cycle with its cancel, modal shows that keep input from other windows, and
// timers driven by the clock.
#include <gtest/gtest.h>

#include <stdexcept>

#include "platform/headless/headless_backend.h"
#include "platform/window.h"

namespace qlx {
namespace {

// A window that writes down what its handlers receive.
class Probe : public Window {
 public:
  explicit Probe(Backend& backend) : Window(backend, 40, 30) {}
  void Form_Load() override { log += "load "; }
  void Form_Unload(int& cancel) override {
    log += "unload ";
    cancel = refuseClose ? 1 : 0;
  }
  void Form_MouseDown(int button, int, float x, float y) override {
    log += "down" + std::to_string(button) + "@" + ::testing::PrintToString(x) + "," +
           ::testing::PrintToString(y) + " ";
  }
  void Form_KeyDown(int& keyCode, int&) override { log += "d" + std::to_string(keyCode) + " "; }
  void Form_KeyPress(int& keyAscii) override { log += "p" + std::to_string(keyAscii) + " "; }
  void Timer_Tick() override { ++ticks; }

  std::string log;
  int ticks = 0;
  bool refuseClose = false;
};

TEST(WindowTest, TheImageReachesTheScreenOnRefreshAndUnloadMayBeCancelled) {
  HeadlessBackend backend;
  Probe w(backend);
  const Brush red{rgb(255, 0, 0)};
  w.dc().fillRect({0, 0, 10, 10}, &red);
  w.refresh();  // hidden: nothing to show yet
  EXPECT_EQ(backend.presentCount(w), 0);
  w.show();
  w.refresh();
  w.show();  // showing again loads nothing more
  EXPECT_EQ(backend.screen(w), w.dc().bits());
  EXPECT_EQ(backend.screen(w)[0], 0xff0000u);

  w.setTimerInterval(1000);
  w.setTimerEnabled(true);
  w.refuseClose = true;
  backend.closeBox(w);
  EXPECT_TRUE(backend.isShown(w));
  w.refuseClose = false;
  backend.closeBox(w);
  EXPECT_FALSE(w.isLoaded());
  EXPECT_FALSE(w.timerEnabled());
  w.show();  // loading again runs Form_Load again
  EXPECT_EQ(w.log, "load unload unload load ");
}

TEST(WindowTest, AModalWindowTakesAllInputUntilItCloses) {
  HeadlessBackend backend;
  Probe main(backend), dialog(backend);
  main.show();
  main.setTimerInterval(1000);
  main.setTimerEnabled(true);
  backend.onNextModal([&](Window&) {
    EXPECT_TRUE(dialog.isModal());
    backend.mouseDown(main, 5, 5);
    backend.advance(1000);  // timers still tick underneath, as on the real back end
    backend.mouseDown(dialog, 3.5f, 4, vbRightButton);
    backend.type(dialog, "r\r");
    backend.closeBox(dialog);
  });
  dialog.showModal();
  EXPECT_EQ(main.ticks, 1);
  EXPECT_EQ(dialog.log, "load down2@3.5,4 d82 p114 d13 p13 unload ");
  EXPECT_FALSE(dialog.isModal());
  backend.mouseDown(main, 1, 2);
  EXPECT_EQ(main.log, "load down1@1,2 ");

  // A modal window the test has not scripted is a test error, not a hang.
  Probe unscripted(backend);
  EXPECT_THROW(unscripted.showModal(), std::logic_error);
}

TEST(WindowTest, TimersTickAtTheirIntervalWhileEnabled) {
  HeadlessBackend backend;
  Probe a(backend), b(backend);
  a.show();
  b.show();
  a.setTimerInterval(1000);
  a.setTimerEnabled(true);
  b.setTimerInterval(300);
  backend.advance(2500);
  EXPECT_EQ(a.ticks, 2);
  EXPECT_EQ(b.ticks, 0);  // not enabled
  b.setTimerEnabled(true);
  backend.advance(700);
  EXPECT_EQ(a.ticks, 3);
  EXPECT_EQ(b.ticks, 2);
  a.setTimerInterval(0);  // an interval of 0 stops it
  backend.advance(5000);  // b: 3400, 3700, ... 8200
  EXPECT_EQ(a.ticks, 3);
  EXPECT_EQ(b.ticks, 2 + 17);
  b.unload();  // an unloaded window's timer does not tick
  backend.advance(5000);
  EXPECT_EQ(b.ticks, 19);
}

}  // namespace
}  // namespace qlx
