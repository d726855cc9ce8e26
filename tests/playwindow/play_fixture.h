// A real start-up on the headless back end: the built program folder, a seeded generator and
// fill library, an in-memory settings store, and the play window showing its main menu.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "platform/headless/headless_backend.h"
#include "playwindow/play_window.h"
#include "startup/program.h"

namespace qlx::testing_play {

class PlayTest : public ::testing::Test {
 protected:
  void SetUp() override;

  // A press and a move at a point of the client area.
  void press(float x, float y) { backend.mouseDown(*w, x, y); }
  void move(float x, float y) { backend.mouseMove(*w, x, y); }
  int presents() const { return backend.presentCount(*w); }
  // The colour on screen at (x, y) after the last refresh.
  ColorRef shown(int x, int y) const;
  void newGame();
  // The centre of grid cell (row, col) and of code-strip entry num.
  void pressCell(int row, int col);
  // A white cell whose number is given (given = true) or not; false when there is none.
  bool findCell(bool given, int* row, int* col) const;
  int numberAt(int row, int col) const;

  Program program;
  HeadlessBackend backend;
  std::unique_ptr<PlayWindow> w;
  std::vector<int> hallOfFameShown;
};

}  // namespace qlx::testing_play
