// A real start-up on the headless back end: the built program folder, a seeded generator and
// fill library, an in-memory settings store, and the play window showing its main menu. The
// play window and start-up tests share it.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "persistence/app_key.h"
#include "persistence/saved_game.h"
#include "platform/headless/headless_backend.h"
#include "playwindow/play_window.h"
#include "startup/program.h"

namespace qlx::testing_play {

class PlayTest : public ::testing::Test {
 protected:
  void SetUp() override {
    const Status s = prepareProgram(program, QLX_BIN_DIR, 20261206);
    ASSERT_TRUE(s.ok()) << s.message();
    ASSERT_TRUE(program.fillLibrary->setSeed(20261206).ok());
    loadSettings(program, ":memory:", &backend);
    ASSERT_TRUE(program.registry);
    initGraphics(program.graphics, program.appFolder);
    initSoundFiles(program.soundFiles, program.appFolder);
    openWindow();
    backend.messages.clear();
  }
  // The play window opened on the program, as start-up opens it.
  void openWindow() {
    w = openPlayWindow(program, backend, [this](int mode) { hallOfFameShown.push_back(mode); });
  }

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
  // The first cell, row by row, of a number not given: {row, col}.
  std::pair<int, int> openCell() const {
    for (int row = 0; row < program.puzzle.gridRows; ++row)
      for (int col = 0; col < program.puzzle.gridCols; ++col)
        if (const int num = w->game().numberAt(row, col);
            num != 0 && program.puzzle.givenNums(num) != 1)
          return {row, col};
    ADD_FAILURE() << "every number is given";
    return {0, 0};
  }
  // Presses a cell of a number not given and returns that number.
  int selectOpenCell() {
    const auto [row, col] = openCell();
    pressCell(row, col);
    EXPECT_EQ(program.puzzle.selectedNum, w->game().numberAt(row, col));
    return program.puzzle.selectedNum;
  }
  // Selects num through its code-strip entry.
  void select(int num) {
    const int perCol = (program.puzzle.letterCount + 1) / 2;
    const DrawRect& s = w->codeStrip;
    press(s.left + 2 * ((num - 1) / perCol) * s.width + s.width / 2.0f,
          s.top + (num - 1) % perCol * s.width + s.width / 2.0f);
    ASSERT_EQ(program.puzzle.selectedNum, num);
  }
  char letterOf(int num) const { return char('A' + program.puzzle.numToLetter(num) - 1); }
  char wrongLetterOf(int num) const { return letterOf(num) == 'Z' ? 'Y' : letterOf(num) + 1; }
  // Types the right letter for every number not given, in lower case, except wrong gets a wrong
  // one.
  void typeAll(int wrong = 0) {
    for (int n = 1; n <= program.puzzle.letterCount && w->gamePlaying; ++n) {
      if (program.puzzle.givenNums(n) == 1) continue;
      select(n);
      const char c = n == wrong ? wrongLetterOf(n) : letterOf(n);
      backend.type(*w, std::string(1, static_cast<char>(c - 'A' + 'a')));
    }
  }
  // Writes a value under the stored-game key, as a writer (or a damaged store) leaves it.
  void putSaveValue(const char* name, const std::vector<uint8_t>& bytes) {
    Registry& r = *program.registry;
    OpenKey software(r), save(r);
    ASSERT_TRUE(openSoftware(r, software));
    ASSERT_TRUE(
        createKey(r, software.get(), appKeyPath() + "\\" + kSaveKeyName, kSaveDataClass, save));
    ASSERT_EQ(r.RegSetValueExA(save.get(), name, 0, REG_BINARY, bytes.data(),
                               static_cast<DWORD>(bytes.size())),
              ERROR_SUCCESS);
  }
  bool stored() { return isGameStored(*program.registry); }

  Program program;
  HeadlessBackend backend;
  std::unique_ptr<PlayWindow> w;
  std::vector<int> hallOfFameShown;
};

}  // namespace qlx::testing_play
