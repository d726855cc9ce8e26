// The shared set-up of the play window tests.
#include "play_fixture.h"

namespace qlx::testing_play {

void PlayTest::SetUp() {
  Status s = prepareProgram(program, QLX_BIN_DIR, 20261206);
  ASSERT_TRUE(s.ok()) << s.message();
  ASSERT_TRUE(program.fillLibrary->setSeed(20261206).ok());
  loadSettings(program, ":memory:", &backend);
  ASSERT_TRUE(program.registry);
  initGraphics(program.graphics, program.appFolder);
  initSoundFiles(program.soundFiles, program.appFolder);
  w = openPlayWindow(program, backend, [this](int mode) { hallOfFameShown.push_back(mode); });
  backend.messages.clear();
}

ColorRef PlayTest::shown(int x, int y) const {
  const uint32_t px = backend.screen(*w).at(static_cast<std::size_t>(y) * kPlayWidth + x);
  return rgb((px >> 16) & 0xff, (px >> 8) & 0xff, px & 0xff);
}

void PlayTest::newGame() {
  press(375, 260);
  ASSERT_TRUE(w->gamePlaying);
}

void PlayTest::pressCell(int row, int col) {
  const DrawRect& g = w->gridBoard;
  press(g.left + col * g.width + g.width / 2.0f, g.top + row * g.width + g.width / 2.0f);
}

int PlayTest::numberAt(int row, int col) const {
  const Puzzle& p = program.puzzle;
  const int cell = row * p.gridCols + col + 1;
  if (p.gridShape(cell) == 0) return 0;
  return p.letterToNum(p.gridLetters(cell) - 96);
}

bool PlayTest::findCell(bool given, int* row, int* col) const {
  const Puzzle& p = program.puzzle;
  for (int r = 0; r < p.gridRows; ++r) {
    for (int c = 0; c < p.gridCols; ++c) {
      const int num = numberAt(r, c);
      if (num != 0 && (p.givenNums(num) == 1) == given) {
        *row = r;
        *col = c;
        return true;
      }
    }
  }
  return false;
}

}  // namespace qlx::testing_play
