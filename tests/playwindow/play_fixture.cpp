// The shared set-up and helpers of the play window and start-up tests.
#include "play_fixture.h"

#include "persistence/app_key.h"
#include "persistence/saved_game.h"

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

void PlayTest::pressItem(int i) {
  const DrawRect& r = w->sideItems(i);
  press(r.left + r.width / 2.0f, r.top + r.height / 2.0f);
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

int PlayTest::selectOpenCell() {
  int row = 0, col = 0;
  EXPECT_TRUE(findCell(false, &row, &col));
  pressCell(row, col);
  EXPECT_EQ(program.puzzle.selectedNum, numberAt(row, col));
  return numberAt(row, col);
}

void PlayTest::select(int num) {
  const Puzzle& p = program.puzzle;
  const int perCol = (p.letterCount + 1) / 2;
  const int t = (num - 1) / perCol, r = (num - 1) % perCol;
  const DrawRect& s = w->codeStrip;
  press(s.left + 2 * t * s.width + s.width / 2.0f, s.top + r * s.width + s.width / 2.0f);
  ASSERT_EQ(p.selectedNum, num);
}

void PlayTest::typeAll(int wrong) {
  const Puzzle& p = program.puzzle;
  for (int n = 1; n <= p.letterCount && w->gamePlaying; ++n) {
    if (p.givenNums(n) == 1) continue;
    select(n);
    const char c = n == wrong ? wrongLetterOf(n) : letterOf(n);
    backend.type(*w, std::string(1, static_cast<char>(c - 'A' + 'a')));
  }
}

void PlayTest::putSaveValue(const char* name, const std::vector<uint8_t>& bytes) {
  Registry& r = *program.registry;
  OpenKey software(r);
  ASSERT_TRUE(openSoftware(r, software));
  OpenKey save(r);
  ASSERT_TRUE(
      createKey(r, software.get(), appKeyPath() + "\\" + kSaveKeyName, kSaveDataClass, save));
  ASSERT_EQ(r.RegSetValueExA(save.get(), name, 0, REG_BINARY, bytes.data(),
                             static_cast<DWORD>(bytes.size())),
            ERROR_SUCCESS);
}

bool PlayTest::stored() { return isGameStored(*program.registry); }

}  // namespace qlx::testing_play
