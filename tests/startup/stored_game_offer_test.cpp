// The stored game offered at the end of start-up, on the headless back end with the real grid file
// and fill library: resumed and shown with the clock running on, declined in each way and never
// asked again, not asked at all when none is stored, and records that cannot be used.
#include <gtest/gtest.h>

#include <functional>
#include <vector>

#include "dialogs/ok_cancel.h"
#include "drawkit/time_format.h"
#include "persistence/le_bytes.h"
#include "persistence/saved_game.h"
#include "play_fixture.h"

namespace qlx::testing_play {
namespace {

class StoredGameOffer : public PlayTest {
 protected:
  // A stored game as a writer leaves it: the record and the play time, the flag last.
  void storeGame(int16_t group, int32_t puzzleNum, int32_t tenths) {
    SolvingData record;
    record.puzzleNum = puzzleNum;
    record.modeNum = 2;
    record.gridGroup = group;
    const SolvingData::Bytes bytes = record.toBytes();
    putSaveValue("MODE_NUM", std::vector<uint8_t>(bytes.begin(), bytes.end()));
    std::vector<uint8_t> time(4);
    le::put32(time.data(), static_cast<uint32_t>(tenths));
    putSaveValue("TIMEREM", time);
    putSaveValue("ISSTORED", {1});
  }
  // Offers the stored game, the dialog answered by step.
  void offer(const std::function<void(FrmOKCancel&)>& step) {
    backend.onNextModal([&](Window& d) { step(dynamic_cast<FrmOKCancel&>(d)); });
    offerStoredGame(program, *w, backend);
    EXPECT_EQ(backend.pendingModalSteps(), 0u) << "the question was not asked";
  }
  void pressButton(FrmOKCancel& d, int k) {
    const DrawRect& b = d.button(k);
    backend.mouseDown(d, b.left + b.width / 2.0f, b.top + b.height / 2.0f);
  }
  int32_t groupCount(int group) const { return program.grids.gridIndex(group).count; }
};

TEST_F(StoredGameOffer, AResumedGameIsShownWithTheClockRunningOnFromTheStoredTime) {
  ASSERT_GE(groupCount(2), 3);
  storeGame(2, 3, 1234);
  offer([&](FrmOKCancel& d) { pressButton(d, 1); });

  EXPECT_FALSE(stored()) << "a resumed game is not offered again";
  EXPECT_EQ(program.user.solving.puzzleNum, 3);
  EXPECT_EQ(program.user.solving.gridGroup, 2);
  EXPECT_TRUE(backend.messages.empty());
  ASSERT_TRUE(w->gamePlaying);
  EXPECT_FALSE(w->paused());
  EXPECT_TRUE(w->timerEnabled());
  EXPECT_EQ(w->timerInterval(), kClockMillis);
  EXPECT_EQ(w->game().elapsedTime(), 1234);

  // The board is painted, and the clock label shows the stored time.
  const Puzzle& p = program.puzzle;
  const DrawRect& g = w->gridBoard;
  int cellPixels = 0;
  for (int y = g.top; y < g.top + p.gridRows * g.width; ++y)
    for (int x = g.left; x < g.left + p.gridCols * g.width; ++x)
      cellPixels += shown(x, y) == program.graphics.brCell.color;
  EXPECT_GT(cellPixels, 1000);
  EXPECT_EQ(w->timerStr, "2:03.4");
  // Play goes on: the clock ticks from the stored time, and a press selects a number.
  backend.advance(kClockMillis);
  EXPECT_EQ(w->game().elapsedTime(), 1244);
  selectOpenCell();
}

TEST_F(StoredGameOffer, NothingIsAskedWhenNoneIsStoredNorAgainAfterDeclining) {
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
      if (no == 0 || no == 2) pressButton(d, 2);
      if (no == 1) backend.keyPress(d, VK_ESCAPE);
    });
    EXPECT_FALSE(stored());
    EXPECT_FALSE(w->gamePlaying);
    EXPECT_EQ(program.user.solving, before) << "nothing of the declined game is read";
    EXPECT_NO_THROW(offerStoredGame(program, *w, backend));
  }
  EXPECT_TRUE(backend.messages.empty());
}

TEST_F(StoredGameOffer, ARecordNamingNoGridOfTheFileFallsBackToADrawnPuzzleOfGroupTwo) {
  const int32_t groups = program.grids.groupCount;
  struct Case {
    int16_t group;
    int32_t puzzleNum;
  };
  for (const Case c : {Case{0, 1}, Case{static_cast<int16_t>(groups + 1), 1}, Case{-3, 99999},
                       Case{2, 0}, Case{2, groupCount(2) + 1}, Case{1, -1}}) {
    SCOPED_TRACE("group " + std::to_string(c.group) + ", puzzle " + std::to_string(c.puzzleNum));
    storeGame(c.group, c.puzzleNum, -50);
    offer([&](FrmOKCancel& d) { backend.keyPress(d, VK_RETURN); });
    EXPECT_TRUE(backend.messages.empty());
    ASSERT_TRUE(w->gamePlaying);
    EXPECT_EQ(program.user.solving.gridGroup, 2);
    EXPECT_GE(program.user.solving.puzzleNum, 1);
    EXPECT_LE(program.user.solving.puzzleNum, groupCount(2));
    EXPECT_EQ(w->game().elapsedTime(), 0) << "a negative stored time counts as zero";
    EXPECT_EQ(w->timerStr, formatTime(0, kTimeLong));
    w->rightMenuAction(13);  // Quit Game, back to the menu for the next case
  }
}

TEST_F(StoredGameOffer, APuzzleThatCannotBeMadeIsReportedAndTheMenuStays) {
  storeGame(2, 3, 1234);
  program.grids.gridFilePath =
      program.appFolder + "GONE.GFDB";  // the grid file went away since start-up
  const int presentsBefore = presents();
  offer([&](FrmOKCancel& d) { backend.keyPress(d, VK_RETURN); });
  ASSERT_EQ(backend.messages.size(), 1u);
  EXPECT_NE(backend.messages[0].text.find("GONE.GFDB"), std::string::npos)
      << backend.messages[0].text;
  EXPECT_FALSE(w->gamePlaying);
  EXPECT_FALSE(w->timerEnabled());
  EXPECT_EQ(presents(), presentsBefore) << "the main menu is left as it was";
  EXPECT_FALSE(stored()) << "a stored game that could not be read is not offered again";
}

// What resume keeps of the board is Game's (tests/game); the window comes out of a pause.
TEST_F(StoredGameOffer, ResumingInTheWindowEndsAPause) {
  newGame();
  w->enablePause(true);
  w->resumeGame(w->game().elapsedTime(), w->game().puzzleNum(), w->game().group());
  EXPECT_FALSE(w->paused());
}

}  // namespace
}  // namespace qlx::testing_play
