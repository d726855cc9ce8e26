// A game left open is kept: the window closing on a running game stores it, and the next start
// resumes the very board (grid, letters, entries, selection, clock); a snapshot that cannot be
// trusted falls back to making the stored grid again; solved, quit and unstarted games store
// nothing.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "persistence/saved_game.h"
#include "play_fixture.h"

namespace qlx::testing_play {
namespace {

class KeepGame : public PlayTest {
 protected:
  // A game under way: three numbers entered, a fourth selected, 42.5 seconds on the clock.
  void playAWhile() {
    newGame();
    for (int n = 1, typed = 0; typed < 4; ++n) {
      if (program.puzzle.givenNums(n) == 1) continue;
      select(n);
      if (++typed < 4) backend.type(*w, std::string(1, static_cast<char>('a' + n % 26)));
    }
    for (int i = 0; i < 42; ++i) backend.tick(*w);
    w->game().resume(w->game().elapsedTime() + 5, w->game().puzzleNum(), w->game().group());
  }
  // The window closed and opened again on the same store, as the next start does.
  void restart() {
    backend.closeBox(*w);
    w = openPlayWindow(program, backend, [this](int mode) { hallOfFameShown.push_back(mode); });
  }
  void answerResume() {
    backend.onNextModal([this](Window& d) { backend.keyPress(d, 13); });
    offerStoredGame(program, *w, backend);
  }
  std::vector<uint8_t> storedBytes() {
    SolvingData s;
    SavedGame g;
    int32_t t = 0;
    (void)loadStoredGame(*program.registry, s, g, t);
    putSaveValue("ISSTORED", {1});
    return std::vector<uint8_t>(g.savedBytes.begin(), g.savedBytes.end());
  }
};

TEST_F(KeepGame, AGameLeftOpenComesBackExactly) {
  playAWhile();
  const Puzzle left = program.puzzle;
  const int32_t grid = w->game().puzzleNum();
  const std::vector<uint32_t> board = backend.screen(*w);
  ASSERT_NE(left.selectedNum, 0);
  program.user.solving.puzzleNum = 999;  // a new game never changes the record's number

  restart();
  ASSERT_TRUE(stored());
  program.puzzle = Puzzle{};
  answerResume();

  EXPECT_EQ(program.puzzle, left);
  EXPECT_EQ(program.user.solving.puzzleNum, grid) << "the record names the grid actually played";
  EXPECT_EQ(w->game().elapsedTime(), 425);
  EXPECT_TRUE(w->gamePlaying);
  EXPECT_TRUE(w->timerEnabled());
  EXPECT_FALSE(stored());
  // The board, strip and alphabet look as they did; only the clock label may differ.
  const int panel = w->sidePanel.left + w->sidePanel.width;
  int differ = 0;
  for (int y = 0; y < kPlayHeight; ++y)
    for (int x = panel + 1; x < kPlayWidth; ++x)
      differ += backend.screen(*w)[static_cast<std::size_t>(y) * kPlayWidth + x] !=
                board[static_cast<std::size_t>(y) * kPlayWidth + x];
  EXPECT_EQ(differ, 0);

  // Kept again at the next close, with the time played since.
  backend.tick(*w);
  restart();
  program.puzzle = Puzzle{};
  answerResume();
  EXPECT_EQ(program.puzzle, left);
  EXPECT_EQ(w->game().elapsedTime(), 435);
}

TEST_F(KeepGame, ASnapshotThatCannotBeTrustedRebuildsTheStoredGrid) {
  playAWhile();
  const Puzzle left = program.puzzle;
  restart();
  std::vector<uint8_t> bytes = storedBytes();
  ASSERT_GT(bytes.size(), 10u);
  struct Case {
    const char* what;
    std::vector<uint8_t> bytes;
  };
  std::vector<uint8_t> cut(bytes.begin(), bytes.end() - 1), version = bytes, letter = bytes;
  version[4] = 99;
  letter[7 + 2 * left.gridRows * left.gridCols + 1] = 40;  // number 1 stands for letter 40
  for (const Case& c :
       {Case{"cut short", cut}, Case{"another version", version}, Case{"letter 40", letter}}) {
    putSaveValue("BYTE_DATA", c.bytes);
    putSaveValue("LENGTH",
                 {static_cast<uint8_t>(c.bytes.size()), static_cast<uint8_t>(c.bytes.size() >> 8)});
    putSaveValue("ISSTORED", {1});
    answerResume();
    EXPECT_TRUE(w->gamePlaying) << c.what;
    EXPECT_EQ(program.puzzle.gridShape, left.gridShape) << c.what << ": the same grid, made again";
    for (int n = 1; n <= program.puzzle.letterCount; ++n)
      EXPECT_EQ(program.puzzle.entries(n) != 0, program.puzzle.givenNums(n) == 1)
          << c.what << ": entry " << n;
    EXPECT_EQ(w->game().elapsedTime(), 425) << c.what;
  }
}

TEST_F(KeepGame, SolvedQuitAndUnstartedGamesStoreNothing) {
  restart();  // at the main menu
  EXPECT_FALSE(stored());

  newGame();
  pressItem(13);  // Quit Game
  ASSERT_FALSE(w->gamePlaying);
  restart();
  EXPECT_FALSE(stored());

  newGame();
  backend.onNextModal([this](Window& d) { backend.keyPress(d, 13); });  // the name dialog
  typeAll();
  ASSERT_FALSE(w->gamePlaying);
  restart();
  EXPECT_FALSE(stored());
}

}  // namespace
}  // namespace qlx::testing_play
