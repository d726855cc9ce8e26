// A real start-up on the headless back end: the built program folder, a seeded generator and
// fill library, an in-memory settings store, and the play window showing its main menu.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "platform/headless/headless_backend.h"
#include "playwindow/play_window.h"
#include "startup/program.h"

namespace qlx::testing_play {

class PlayTest : public ::testing::Test {
 protected:
  void SetUp() override;

  void press(float x, float y) { backend.mouseDown(*w, x, y); }
  void move(float x, float y) { backend.mouseMove(*w, x, y); }
  int presents() const { return backend.presentCount(*w); }
  // The colour on screen at (x, y) after the last refresh.
  ColorRef shown(int x, int y) const {
    const uint32_t px = backend.screen(*w).at(static_cast<std::size_t>(y) * kPlayWidth + x);
    return rgb((px >> 16) & 0xff, (px >> 8) & 0xff, px & 0xff);
  }
  void newGame() {
    press(375, 260);
    ASSERT_TRUE(w->gamePlaying);
  }
  // Presses the centre of grid cell (row, col), or of side item i.
  void pressCell(int row, int col) {
    const DrawRect& g = w->gridBoard;
    press(g.left + (col + 0.5f) * g.width, g.top + (row + 0.5f) * g.width);
  }
  void pressItem(int i) {
    const DrawRect& r = w->sideItems(i);
    press(r.left + r.width / 2.0f, r.top + r.height / 2.0f);
  }
  int numberAt(int row, int col) const { return w->game().numberAt(row, col); }
  // The first cell, row by row, of a number not given: {row, col}.
  std::pair<int, int> openCell() const;
  // Presses a cell of a number not given and returns that number.
  int selectOpenCell();
  // Selects num through its code-strip entry.
  void select(int num);
  char letterOf(int num) const {
    return static_cast<char>('A' + program.puzzle.numToLetter(num) - 1);
  }
  char wrongLetterOf(int num) const { return letterOf(num) == 'Z' ? 'Y' : letterOf(num) + 1; }
  // Types the right letter for every number not given, in lower case, except wrong gets a wrong
  // one.
  void typeAll(int wrong = 0);
  // Writes a value under the stored-game key, as a writer (or a damaged store) leaves it.
  void putSaveValue(const char* name, const std::vector<uint8_t>& bytes);
  bool stored();

  Program program;
  HeadlessBackend backend;
  std::unique_ptr<PlayWindow> w;
  std::vector<int> hallOfFameShown;
};

}  // namespace qlx::testing_play
