// Start-up's last steps on the headless back end with the real grid file and fill library: a game
// left open is kept by the close box and the next start resumes the very board; a stored game is
// offered, resumed with the clock running on, or declined in each way and never asked again;
// records and snapshots that cannot be used fall back, and puzzles that cannot be made (for a
// stored game or New Game) are reported; solved, quit and unstarted games store nothing.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "dialogs/ok_cancel.h"
#include "persistence/saved_game.h"
#include "play_fixture.h"

namespace qlx::testing_play {
namespace {

class StoredGame : public PlayTest {
 protected:
  // A stored game as a writer leaves it: the record and the play time, the flag last.
  void storeGame(int16_t group, int32_t puzzleNum, int32_t tenths) {
    SolvingData record;
    record.puzzleNum = puzzleNum;
    record.modeNum = 2;
    record.gridGroup = group;
    const SolvingData::Bytes bytes = record.toBytes();
    putSaveValue("MODE_NUM", std::vector<uint8_t>(bytes.begin(), bytes.end()));
    putSaveValue("TIMEREM", {uint8_t(tenths), uint8_t(tenths >> 8), uint8_t(tenths >> 16),
                             uint8_t(tenths >> 24)});
    putSaveValue("ISSTORED", {1});
  }
  // Offers the stored game, the question answered by step (by Enter when none is given).
  void offer(const std::function<void(FrmOKCancel&)>& step = nullptr) {
    backend.onNextModal([&](Window& d) {
      auto& question = dynamic_cast<FrmOKCancel&>(d);
      step ? step(question) : backend.keyPress(question, VK_RETURN);
    });
    offerStoredGame(program, *w, backend);
    EXPECT_EQ(backend.pendingModalSteps(), 0u) << "the question was not asked";
  }
  void pressButton(FrmOKCancel& d, int k) {
    const DrawRect& b = d.button(k);
    backend.mouseDown(d, b.left + b.width / 2.0f, b.top + b.height / 2.0f);
  }
  int32_t groupCount(int group) const { return program.grids.gridIndex(group).count; }
  // A game under way: three numbers entered, a fourth selected, 42.5 seconds on the clock.
  void playAWhile() {
    newGame();
    for (int n = 1, typed = 0; typed < 4; ++n) {
      if (program.puzzle.givenNums(n) == 1) continue;
      select(n);
      if (++typed < 4) backend.type(*w, std::string(1, static_cast<char>('a' + n % 26)));
    }
    for (int i = 0; i < 42; ++i) backend.tick(*w);
    w->enablePause(true);  // resuming in the window ends a pause
    w->resumeGame(w->game().elapsedTime() + 5, w->game().puzzleNum(), w->game().group());
    EXPECT_FALSE(w->paused());
  }
  // The window closed and opened again on the same store, as the next start does.
  void restart() {
    backend.closeBox(*w);
    openWindow();
  }
};

TEST_F(StoredGame, AGameLeftOpenComesBackExactlyUnlessItsSnapshotCannotBeTrusted) {
  playAWhile();
  const Puzzle left = program.puzzle;
  const int32_t grid = w->game().puzzleNum();
  const std::vector<uint32_t> board = backend.screen(*w);
  ASSERT_NE(left.selectedNum, 0);
  program.user.solving.puzzleNum = 999;  // a new game never changes the record's number

  restart();
  ASSERT_TRUE(stored());
  program.puzzle = Puzzle{};
  offer();
  EXPECT_EQ(program.puzzle, left);
  EXPECT_EQ(program.user.solving.puzzleNum, grid) << "the record names the grid actually played";
  EXPECT_EQ(w->game().elapsedTime(), 425);
  EXPECT_TRUE(w->gamePlaying);
  EXPECT_TRUE(w->timerEnabled());
  EXPECT_FALSE(stored()) << "a resumed game is not offered again";
  // The board, strip and alphabet look as they did; only the clock label may differ.
  const std::vector<uint32_t> now = backend.screen(*w);
  int differ = 0;
  for (int y = 0; y < kPlayHeight; ++y)
    for (int x = w->sidePanel.left + w->sidePanel.width + 1; x < kPlayWidth; ++x)
      differ += now[y * kPlayWidth + x] != board[y * kPlayWidth + x];
  EXPECT_EQ(differ, 0);

  // Kept again at the next close, with the time played since. A snapshot that cannot be trusted
  // is not used: the stored grid is made again, with only the given letters.
  backend.tick(*w);
  restart();
  SolvingData solving;
  SavedGame game;
  int32_t tenths = 0;
  (void)loadStoredGame(*program.registry, solving, game, tenths);
  const std::vector<uint8_t> bytes(game.savedBytes.begin(), game.savedBytes.end());
  ASSERT_GT(bytes.size(), 10u);
  std::vector<uint8_t> cut(bytes.begin(), bytes.end() - 1), version = bytes, letter = bytes;
  version[4] = 99;
  letter[7 + 2 * left.gridRows * left.gridCols + 1] = 40;  // number 1 stands for letter 40
  for (const auto& [what, snapshot] :
       {std::pair{"intact", bytes}, std::pair{"cut short", cut}, std::pair{"version", version},
        std::pair{"letter 40", letter}}) {
    putSaveValue("BYTE_DATA", snapshot);
    putSaveValue("LENGTH", {static_cast<uint8_t>(snapshot.size()),
                            static_cast<uint8_t>(snapshot.size() >> 8)});
    putSaveValue("ISSTORED", {1});
    program.puzzle = Puzzle{};
    offer();
    EXPECT_TRUE(w->gamePlaying) << what;
    EXPECT_EQ(w->game().elapsedTime(), 435) << what;
    if (snapshot == bytes) {
      EXPECT_EQ(program.puzzle, left);
      continue;
    }
    EXPECT_EQ(program.puzzle.gridShape, left.gridShape) << what << ": the same grid, made again";
    for (int n = 1; n <= program.puzzle.letterCount; ++n)
      EXPECT_EQ(program.puzzle.entries(n) != 0, program.puzzle.givenNums(n) == 1)
          << what << ": entry " << n;
  }
}

TEST_F(StoredGame, SolvedQuitAndUnstartedGamesStoreNothing) {
  restart();  // at the main menu
  EXPECT_FALSE(stored());
  newGame();
  pressItem(13);  // Quit Game
  ASSERT_FALSE(w->gamePlaying);
  restart();
  EXPECT_FALSE(stored());
  newGame();
  backend.onNextModal([this](Window& d) { backend.keyPress(d, VK_RETURN); });  // the name dialog
  typeAll();
  ASSERT_FALSE(w->gamePlaying);
  restart();
  EXPECT_FALSE(stored());
}

TEST_F(StoredGame, NothingIsAskedWhenNoneIsStoredNorAgainAfterDeclining) {
  // An unanswered question would throw from offerStoredGame.
  const int presentsBefore = presents();
  EXPECT_NO_THROW(offerStoredGame(program, *w, backend));
  putSaveValue("ISSTORED", {0});
  EXPECT_NO_THROW(offerStoredGame(program, *w, backend));
  EXPECT_EQ(presents(), presentsBefore) << "the menu is left as it was";
  for (int no = 0; no < 3; ++no) {
    SCOPED_TRACE("answer " + std::to_string(no));
    storeGame(2, 3, 1234);
    const SolvingData before = program.user.solving;
    // The close box is no answer: the game stays and is offered again at the next start.
    if (no == 2) {
      offer([&](FrmOKCancel& d) { backend.closeBox(d); });
      EXPECT_TRUE(stored());
    }
    offer([&](FrmOKCancel& d) {
      if (no == 1) backend.keyPress(d, VK_ESCAPE);
      if (no != 1) pressButton(d, 2);
    });
    EXPECT_FALSE(stored());
    EXPECT_FALSE(w->gamePlaying);
    EXPECT_EQ(program.user.solving, before) << "nothing of the declined game is read";
    EXPECT_NO_THROW(offerStoredGame(program, *w, backend));
  }
  EXPECT_TRUE(backend.messages.empty());
}

// Grid 3 of group 2 is played as stored; a record naming no grid of the file falls back to a
// puzzle drawn from group 2, and a negative stored time counts as zero.
TEST_F(StoredGame, AResumedRecordPlaysOnFromTheStoredTimeOrFallsBackToGroupTwo) {
  ASSERT_GE(groupCount(2), 3);
  const int32_t groups = program.grids.groupCount;
  using Record = std::pair<int16_t, int32_t>;  // group, puzzle number
  for (const auto& [group, puzzleNum] :
       {Record{2, 3}, Record{0, 1}, Record(groups + 1, 1), Record{-3, 99999}, Record{2, 0},
        Record(2, groupCount(2) + 1), Record{1, -1}}) {
    SCOPED_TRACE("group " + std::to_string(group) + ", puzzle " + std::to_string(puzzleNum));
    const bool valid = group == 2 && puzzleNum == 3;
    storeGame(group, puzzleNum, valid ? 1234 : -50);
    offer([&](FrmOKCancel& d) { pressButton(d, 1); });
    EXPECT_TRUE(backend.messages.empty());
    ASSERT_TRUE(w->gamePlaying);
    EXPECT_FALSE(w->paused());
    EXPECT_EQ(program.user.solving.gridGroup, 2);
    EXPECT_TRUE(!valid || program.user.solving.puzzleNum == 3) << "the stored grid is played";
    EXPECT_GE(program.user.solving.puzzleNum, 1);
    EXPECT_LE(program.user.solving.puzzleNum, groupCount(2));
    EXPECT_EQ(w->timerStr, valid ? "2:03.4" : "0:00.0");
    backend.advance(kClockMillis);
    EXPECT_EQ(w->game().elapsedTime(), valid ? 1244 : 10);
    w->rightMenuAction(13);  // Quit Game, back to the menu for the next case
  }
}

// A fill library gone since start-up: every fill fails, for a stored game and for New Game alike.
TEST_F(StoredGame, APuzzleThatCannotBeMadeIsReportedAndTheMenuStays) {
  program.fillLibrary = std::make_unique<FillLibrary>(program.appFolder + "gone.so");
  openWindow();
  storeGame(2, 3, 1234);
  const int presentsBefore = presents();
  offer();
  EXPECT_EQ(presents(), presentsBefore) << "the main menu is left as it was";
  EXPECT_FALSE(stored()) << "a stored game that could not be read is not offered again";
  const Puzzle before = program.puzzle;
  press(375, 260);  // New Game
  EXPECT_EQ(program.puzzle, before);
  ASSERT_EQ(backend.messages.size(), 2u);
  for (const auto& message : backend.messages)
    EXPECT_NE(message.text.find("could not fill"), std::string::npos) << message.text;
  EXPECT_FALSE(w->gamePlaying);
  EXPECT_FALSE(w->timerEnabled());
  press(375, 305);  // the menu is showing again and still works
  EXPECT_EQ(hallOfFameShown, std::vector<int>{2});
}

}  // namespace
}  // namespace qlx::testing_play
