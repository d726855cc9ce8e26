// Windows on the headless back end: the auto-redraw image reaching the screen on refresh, the
// load and unload cycle with its cancel, modal shows that keep input from other windows, and
// timers driven by the clock.
#include <gtest/gtest.h>

#include <stdexcept>

#include "platform/headless/headless_backend.h"
#include "platform/window.h"

namespace qlx {
namespace {

class Probe : public Window {
 public:
  explicit Probe(Backend& backend) : Window(backend, 40, 30) {}
  void Form_Load() override { ++loads; }
  void Form_Unload(int& cancel) override {
    ++unloads;
    cancel = refuseClose ? 1 : 0;
  }
  void Form_MouseDown(int button, int, float x, float y) override {
    lastButton = button;
    lastX = x;
    lastY = y;
  }
  void Form_KeyDown(int& keyCode, int&) override { note('d', keyCode); }
  void Form_KeyPress(int& keyAscii) override { note('p', keyAscii); }
  void Timer_Tick() override { ++ticks; }

  int loads = 0, unloads = 0, ticks = 0, lastButton = 0;
  float lastX = -1, lastY = -1;
  bool refuseClose = false;
  std::string keys;

 private:
  void note(char kind, int code) {
    keys += kind;
    keys += std::to_string(code);
    keys += ' ';
  }
};

TEST(WindowTest, TheImageDrawnBeforeShowingReachesTheScreenOnRefresh) {
  HeadlessBackend backend;
  Probe w(backend);
  EXPECT_EQ(w.clientWidth(), 40);
  const Brush red{rgb(255, 0, 0)};
  w.dc().fillRect({0, 0, 10, 10}, &red);
  w.refresh();  // hidden: nothing to show yet
  EXPECT_EQ(backend.presentCount(w), 0);
  w.show();
  EXPECT_EQ(w.loads, 1);
  w.refresh();
  ASSERT_EQ(backend.screen(w).size(), 40u * 30u);
  EXPECT_EQ(backend.screen(w)[0], 0xff0000u);
  EXPECT_EQ(backend.screen(w)[10], w.dc().bits()[10]);
  w.show();  // showing again loads nothing more
  EXPECT_EQ(w.loads, 1);
}

TEST(WindowTest, UnloadRunsTheHandlerWhichMayCancel) {
  HeadlessBackend backend;
  Probe w(backend);
  w.show();
  w.setTimerInterval(1000);
  w.setTimerEnabled(true);
  w.refuseClose = true;
  backend.closeBox(w);
  EXPECT_TRUE(w.isVisible());
  EXPECT_TRUE(backend.isShown(w));
  w.refuseClose = false;
  backend.closeBox(w);
  EXPECT_EQ(w.unloads, 2);
  EXPECT_FALSE(w.isVisible());
  EXPECT_FALSE(w.isLoaded());
  EXPECT_FALSE(w.timerEnabled());
  // Loading again runs Form_Load again.
  w.show();
  EXPECT_EQ(w.loads, 2);
}

TEST(WindowTest, AModalWindowTakesAllInputUntilItCloses) {
  HeadlessBackend backend;
  Probe main(backend), dialog(backend);
  main.show();
  main.setTimerInterval(1000);
  main.setTimerEnabled(true);
  bool mainHeardDuringModal = true;
  backend.onNextModal([&](Window& modal) {
    EXPECT_EQ(&modal, &dialog);
    EXPECT_TRUE(dialog.isModal());
    backend.mouseDown(main, 5, 5);
    mainHeardDuringModal = main.lastButton != 0;
    backend.advance(1000);  // timers still tick underneath, as on the real back end
    backend.mouseDown(dialog, 3.5f, 4, vbRightButton);
    backend.type(dialog, "r\r");
    backend.closeBox(dialog);
  });
  dialog.showModal();
  EXPECT_FALSE(mainHeardDuringModal);
  EXPECT_EQ(main.ticks, 1);
  EXPECT_EQ(dialog.lastButton, vbRightButton);
  EXPECT_FLOAT_EQ(dialog.lastX, 3.5f);
  EXPECT_EQ(dialog.keys, "d82 p114 d13 p13 ");
  EXPECT_FALSE(dialog.isModal());
  backend.mouseDown(main, 1, 2);
  EXPECT_EQ(main.lastButton, vbLeftButton);

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
  // An unloaded window's timer does not tick.
  b.unload();
  backend.advance(5000);
  EXPECT_EQ(b.ticks, 19);
}

}  // namespace
}  // namespace qlx
