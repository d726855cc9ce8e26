// Whole games through the real window under Xvfb: one solved by revealing every number, through
// the completion message, the Best Score name and the Hall of Fame to the best list in the store,
// saved at once (the game is then killed, and the next start still shows it); one closed with the
// close box mid-game and resumed at the next start exactly as it was left.
#include <chrono>

#include "game_session.h"

namespace qlx::e2e {
namespace {

const char* const kNameDialog = "^Best Score$";
const char* const kQuestion = "^Do you want to exit$";
// The clock, side item 6.
const Box kClockLabel{1, 200, 120, 25};
// Inside the name dialog's text box and its two-pixel edge.
const Box kNameBox{135, 103, 162, 18};

class WholeGameE2eTest : public GameTest {
 protected:
  // A box shows a letter: black when given, blue when entered.
  bool showsLetter(const Image& img, const Box& box) const {
    return showsBlackText(img, box) || img.countIn(box, bluish) > 10;
  }
  // The numbers whose letter the strip does not show.
  std::vector<int> numbersToFind(const Image& img, const Strip& s) const {
    std::vector<int> out;
    for (int n = 1; n <= s.count; ++n)
      if (!showsLetter(img, s.letterBox(n))) out.push_back(n);
    return out;
  }
  Strip strip(const Image& img) const {
    return findStrip(img, findBoard(img, background_), block_);
  }
};

TEST_F(WholeGameE2eTest, RevealingEveryNumberSolvesTheGameAndTheNameEntersTheHallOfFame) {
  const auto started = std::chrono::steady_clock::now();  // the game's clock starts later
  const Image board = newGame();
  ASSERT_EQ(board.width, kWidth);
  const Strip s = strip(board);
  const std::vector<int> hidden = numbersToFind(board, s);
  ASSERT_LT(hidden.size(), std::size_t(s.count)) << "some letters are given";

  // Each hidden number picked in the strip and revealed, the game taking the clicks in order; the
  // last one solves the board and brings up the completion message, a second window of its name.
  for (int n : hidden) {
    clickIn(s.letterBox(n));
    clickSide(kRevealItem);
  }
  const unsigned long message = waitForWindow(kGameName, 30000, window_);
  const double seconds =
      std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
  ASSERT_NE(message, 0u) << "no completion message";
  // Moved aside, the message uncovers the solved board.
  run("xdotool windowmove " + std::to_string(message) + " 0 0");
  const Image solved = shot([&](const Image& img) { return numbersToFind(img, s).empty(); });
  save(solved, "whole-solved.png");
  EXPECT_EQ(numbersToFind(solved, s), std::vector<int>{}) << "strip numbers with no letter";
  ASSERT_TRUE(waitForFocus(message)) << "the completion message did not take the focus";
  key("Return");

  // The Best Score dialog: a name typed into its text box (the caret alone is a dozen pixels),
  // Enter for OK.
  const unsigned long nameDialog = waitForDialog(kNameDialog);
  ASSERT_NE(nameDialog, 0u);
  run("xdotool type --delay 40 Tester");
  auto typed = [&](const Image& img) {
    return img.countIn(kNameBox, [](uint32_t c) { return !near(c, 0xFFFFFF, 64); }) > 50;
  };
  const Image named = shotWhen(nameDialog, typed);
  save(named, "whole-best-score.png");
  EXPECT_TRUE(typed(named)) << "the name does not show in the text box";
  key("Return");

  // The Hall of Fame: place 1 holds the new name and time, unlike place 2; Enter closes it.
  unsigned long stats = 0;
  const Image fame = hallOfFame(stats);
  ASSERT_NE(stats, 0u);
  save(fame, "whole-hall-of-fame.png");
  auto place = [](int n) { return Box{44, 44 * n, 9 * 44, 44}; };
  EXPECT_NE(fame.pixelsOf(place(1)), fame.pixelsOf(place(2)));
  key("Return");
  ASSERT_TRUE(waitForNoWindow(kStatsName)) << "Enter did not close the Hall of Fame";

  // Back at the main menu the game is killed: the best time was saved when it was entered.
  ASSERT_TRUE(mainMenuShows(shot([&](const Image& img) { return mainMenuShows(img); })));
  ASSERT_TRUE(killNow());
  const std::string exported = exportStore();
  EXPECT_NE(exported.find("\"2STATS1\"=\"Tester\""), std::string::npos) << exported;
  const std::vector<int> times = hexValue(exported, "2STATS");
  ASSERT_EQ(times.size(), 32u) << exported;
  // Every reveal's 30-second penalty, plus the clock's whole seconds, no more than the game took.
  const int32_t time = le32(times), penalties = int32_t(hidden.size()) * 300;
  EXPECT_GE(time, penalties);
  EXPECT_LE(time, penalties + 10 * (int32_t(seconds) + 1)) << "the clock ran " << seconds << " s";
  EXPECT_EQ(time % 10, 0) << "the clock counts whole seconds";

  // The next start shows the same first place under High Scores.
  ASSERT_TRUE(launch());
  ASSERT_TRUE(mainMenuShows(shot([&](const Image& img) { return mainMenuShows(img); })));
  clickMenu(2);
  EXPECT_EQ(hallOfFame(stats).pixelsOf(place(1)), fame.pixelsOf(place(1)));
}

TEST_F(WholeGameE2eTest, AGameClosedMidwayIsResumedAsItWasLeft) {
  const Image board = newGame();
  ASSERT_EQ(board.width, kWidth);
  const Strip s = strip(board);
  const std::vector<int> hidden = numbersToFind(board, s);
  ASSERT_GE(hidden.size(), 2u);
  // Two numbers get a letter each; the second stays selected.
  for (int i : {0, 1}) {
    const Box box = s.letterBox(hidden[i]);
    clickIn(box);
    key(i == 0 ? "q" : "z");
    ASSERT_TRUE(showsLetter(shot([&](const Image& img) { return showsLetter(img, box); }), box))
        << "number " << hidden[i] << " shows no letter";
  }
  // The clock ticks at least once; then the close box stores the game.
  const std::vector<uint32_t> clock = screenshot(window_).pixelsOf(kClockLabel);
  const Image before = shot([&](const Image& img) { return img.pixelsOf(kClockLabel) != clock; });
  save(before, "resume-before-close.png");
  ASSERT_TRUE(closeGame());
  const std::string exported = exportStore();
  EXPECT_EQ(hexValue(exported, "ISSTORED"), std::vector<int>{1}) << exported;
  EXPECT_GT(le32(hexValue(exported, "TIMEREM")), 0) << "the clock's time, in tenths";

  // The next start asks; Enter resumes the very board, letters, selection and strip.
  ASSERT_TRUE(launch());
  ASSERT_NE(waitForDialog(kQuestion), 0u) << "the stored game was not offered";
  key("Return");
  const Image after = shot(
      [&](const Image& img) { return sideShows(img, kQuitItem) && changes(before, img).empty(); });
  save(after, "resume-after.png");
  EXPECT_EQ(changes(before, after).size(), 0u) << "pixels right of the side panel differ";
}

}  // namespace
}  // namespace qlx::e2e
