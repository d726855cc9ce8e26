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

std::pair<int, int> PlayTest::openCell() const {
  const Puzzle& p = program.puzzle;
  for (int row = 0; row < p.gridRows; ++row)
    for (int col = 0; col < p.gridCols; ++col)
      if (const int num = numberAt(row, col); num != 0 && p.givenNums(num) != 1) return {row, col};
  ADD_FAILURE() << "every number is given";
  return {0, 0};
}

int PlayTest::selectOpenCell() {
  const auto [row, col] = openCell();
  pressCell(row, col);
  EXPECT_EQ(program.puzzle.selectedNum, numberAt(row, col));
  return numberAt(row, col);
}

void PlayTest::select(int num) {
  const int perCol = (program.puzzle.letterCount + 1) / 2;
  const DrawRect& s = w->codeStrip;
  press(s.left + 2 * ((num - 1) / perCol) * s.width + s.width / 2.0f,
        s.top + (num - 1) % perCol * s.width + s.width / 2.0f);
  ASSERT_EQ(program.puzzle.selectedNum, num);
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
