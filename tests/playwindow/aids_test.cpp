// Whole games on the headless back end: the clock and its penalties, Reveal Cell, Check Entries
// and Show Solution, the end of a game, the best-time check with the name dialog and applause.
#include <algorithm>
#include <string>

#include "play_fixture.h"
#include "resources/string_table.h"

namespace qlx::testing_play {
namespace {

const char* const kAlreadyRight =
    "The entry for this number is correct - please select another number to decode";

class AidsTest : public PlayTest {
 protected:
  int firstOpenNumber(int after = 0) const {
    const Puzzle& p = program.puzzle;
    for (int n = after + 1; n <= p.letterCount; ++n)
      if (p.givenNums(n) != 1) return n;
    return 0;
  }
  int messagesWith(const std::string& text) const {
    return static_cast<int>(std::count_if(backend.messages.begin(), backend.messages.end(),
                                          [&](const auto& m) { return m.text == text; }));
  }
  // The name dialog answers with name and Enter.
  void answerName(const std::string& name) {
    backend.onNextModal([this, name](Window& dialog) {
      nameDialogCaption = dialog.caption();
      backend.type(dialog, name);
      backend.keyPress(dialog, 13);
    });
  }
  BestList& list() { return program.user.bestScores(2); }

  std::string nameDialogCaption;
};

TEST_F(AidsTest, CheckEntriesOnTheGivenLettersThenOnAWrongOne) {
  newGame();
  pressItem(11);
  ASSERT_EQ(backend.messages.size(), 1u);
  EXPECT_EQ(backend.messages.back().text, loadString(IDS_ENTRIES_MATCH));

  const int num = firstOpenNumber();
  select(num);
  backend.type(*w, std::string(1, wrongLetterOf(num)));
  pressItem(11);
  EXPECT_EQ(backend.messages.back().text, "Our solution is diffrent from the entries.\n ");
  EXPECT_EQ(backend.messages.size(), 2u) << "only the difference is reported";
  EXPECT_EQ(w->game().elapsedTime(), 0) << "checking costs nothing";
}

TEST_F(AidsTest, SolvedByTypingStopsTheClockRanksAndNamesTheTime) {
  newGame();
  for (int i = 0; i < 50; ++i) backend.tick(*w);
  answerName("Ada");
  typeAll();

  EXPECT_EQ(
      messagesWith("Congrats ! You have Successfully solved the puzzle\n Time consumed 0:50.0"), 1);
  EXPECT_EQ(nameDialogCaption, "Best Score");
  EXPECT_FALSE(w->gamePlaying);
  EXPECT_EQ(hallOfFameShown, std::vector<int>{2});
  // A first finish on the default list takes place 1 and pushes the defaults down.
  EXPECT_EQ(list().times(1), 500);
  EXPECT_EQ(list().names(1), "Ada");
  for (int i = 2; i <= kBestPlaces; ++i) EXPECT_EQ(list().times(i), 30000) << i;
  // The applause plays, and stops once the Hall of Fame has closed.
  ASSERT_GE(backend.sounds.size(), 2u);
  EXPECT_EQ(backend.sounds[backend.sounds.size() - 2], program.soundFiles[sndClap]);
  EXPECT_EQ(backend.sounds.back(), "0");

  // The clock is stopped and the menu is back.
  backend.advance(5000);
  EXPECT_EQ(w->game().elapsedTime(), 500);
  EXPECT_FALSE(w->timerEnabled());
}

TEST_F(AidsTest, RevealCostsThirtySecondsUpToTheLastNumberThatSolvesTheBoard) {
  newGame();
  for (int i = 0; i < 75; ++i) backend.tick(*w);
  EXPECT_EQ(w->timerStr, "1:15");
  answerName("");
  pressItem(10);  // nothing selected: told so, no penalty
  ASSERT_EQ(backend.messages.size(), 1u);
  EXPECT_EQ(backend.messages.back().text, loadString(IDS_SELECT_CODE_FIRST));

  const int first = firstOpenNumber();
  select(first);
  pressItem(10);
  EXPECT_EQ(w->timerStr, "1:45") << "the clock label shows the penalty at once";
  pressItem(10);  // already right: told so, no penalty
  EXPECT_EQ(backend.messages.back().text, kAlreadyRight);
  backend.type(*w, std::string(1, wrongLetterOf(first)));  // so the loop reveals it again

  int revealed = 1;
  for (int n = first; n != 0; n = firstOpenNumber(n), ++revealed) {
    select(n);
    pressItem(10);
  }
  EXPECT_FALSE(w->gamePlaying);
  EXPECT_EQ(w->game().elapsedTime(), 750 + 300 * revealed)
      << "the last reveal's penalty is in the time";
  EXPECT_EQ(list().times(1), 750 + 300 * revealed);
  EXPECT_EQ(list().names(1), "-") << "an empty name is stored as a dash";
}

TEST_F(AidsTest, AFullBoardWithAWrongEntryIsReportedOnEveryChangeButNeverOnErase) {
  newGame();
  const int wrong = firstOpenNumber();
  typeAll(wrong);
  const std::string differ = loadString(IDS_ENTRIES_DIFFER);
  EXPECT_EQ(messagesWith(differ), 1);
  EXPECT_TRUE(w->gamePlaying);
  select(wrong);
  backend.keyDown(*w, 46);  // Delete
  EXPECT_EQ(messagesWith(differ), 1) << "erasing never reports";
  backend.type(*w, std::string(1, wrongLetterOf(wrong)));
  EXPECT_EQ(messagesWith(differ), 2);
  // Putting it right finishes the game.
  answerName("Bo");
  backend.type(*w, std::string(1, letterOf(wrong)));
  EXPECT_FALSE(w->gamePlaying);
  EXPECT_EQ(list().names(1), "Bo");
}

TEST_F(AidsTest, ShowSolutionCostsFortyMinutesEachTimeItIsShownAgainAndEarnsNoPlace) {
  newGame();
  pressItem(12);
  pressItem(12);  // the solution on the board is already paid for
  EXPECT_EQ(w->game().elapsedTime(), 24000);
  select(firstOpenNumber());  // a move puts the board back; the next showing costs again
  pressItem(12);
  EXPECT_EQ(w->game().elapsedTime(), 48000);
  EXPECT_TRUE(w->gamePlaying);
  // The board shows the solution: every letter cell carries a letter, in the cell colour.
  const std::size_t pending = backend.pendingModalSteps();
  typeAll();
  EXPECT_FALSE(w->gamePlaying);
  EXPECT_EQ(
      messagesWith("Congrats ! You have Successfully solved the puzzle\n Time consumed 80:00.0"),
      1);
  EXPECT_EQ(backend.pendingModalSteps(), pending) << "no name asked";
  EXPECT_TRUE(hallOfFameShown.empty());
  EXPECT_EQ(list().times(1), 30000);
}

TEST_F(AidsTest, ATimeEqualToPlaceEightEarnsNothingAndABadLevelRanksNothing) {
  for (int i = 1; i <= kBestPlaces; ++i) list().times(i) = 100 * i;
  newGame();
  for (int i = 0; i < 80; ++i) backend.tick(*w);
  typeAll();
  EXPECT_FALSE(w->gamePlaying);
  EXPECT_TRUE(hallOfFameShown.empty());
  EXPECT_EQ(list().times(8), 800);
  EXPECT_TRUE(backend.sounds.empty() || backend.sounds.back() != program.soundFiles[sndClap]);

  // A level that has no list (only possible from a stored record) ranks nothing, safely.
  newGame();
  program.user.solving.modeNum = 7;
  typeAll();
  EXPECT_FALSE(w->gamePlaying);
  EXPECT_TRUE(hallOfFameShown.empty());
}

TEST_F(AidsTest, EitherSwitchSilencesTheApplauseButNotTheDialogs) {
  for (int off : {0, 6}) {
    program.user.soundOptions.fill(1);
    program.user.soundOptions[static_cast<std::size_t>(off)] = 0;
    backend.sounds.clear();
    hallOfFameShown.clear();
    newGame();
    answerName("A long name of twenty-five");
    typeAll();
    EXPECT_EQ(backend.pendingModalSteps(), 0u) << "switch " << off;
    EXPECT_EQ(hallOfFameShown, std::vector<int>{2});
    for (const std::string& s : backend.sounds)
      EXPECT_NE(s, program.soundFiles[sndClap]) << "switch " << off;
    EXPECT_EQ(list().names(1), "A long name of twen") << "cut to 19 characters";
  }
}

}  // namespace
}  // namespace qlx::testing_play
