// A whole game through the real window under Xvfb, solved by revealing every number, through the
// completion message, the Best Score name and the Hall of Fame to the best list in the store,
// saved at once (the game is then killed, and the next start still shows it).
#include <chrono>

#include "game_session.h"

namespace qlx::e2e {
namespace {

const char* const kNameDialog = "^Best Score$";
// Inside the name dialog's text box and its two-pixel edge.
const Box kNameBox{135, 103, 162, 18};

using WholeGameE2eTest = GameTest;

TEST_F(WholeGameE2eTest, RevealingEveryNumberSolvesTheGameAndTheNameEntersTheHallOfFame) {
  const auto started = std::chrono::steady_clock::now();  // the game's clock starts later
  const Image board = newGame();
  ASSERT_EQ(board.width, kWidth);
  const Strip s = findStrip(board, findBoard(board, background_), block_);
  auto numbersToFind = [&](const Image& img) {  // the numbers whose letter the strip does not show
    std::vector<int> out;
    for (int n = 1; n <= s.count; ++n)
      if (!showsLetter(img, s.letterBox(n))) out.push_back(n);
    return out;
  };
  const std::vector<int> hidden = numbersToFind(board);
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
  const Image solved = shot([&](const Image& img) { return numbersToFind(img).empty(); });
  save(solved, "whole-solved.png");
  EXPECT_EQ(numbersToFind(solved), std::vector<int>{}) << "strip numbers with no letter";
  ASSERT_TRUE(waitForFocus(message)) << "the completion message did not take the focus";
  key("Return");

  // The Best Score dialog: a name typed into its text box (the caret alone is a dozen pixels),
  // Enter for OK.
  const unsigned long nameDialog = waitForDialog(kNameDialog);
  ASSERT_NE(nameDialog, 0u);
  run("xdotool type --delay 40 Tester");
  auto typed = [&](const Image& img) {
    return img.count(kNameBox, [](uint32_t c) { return !near(c, 0xFFFFFF, 64); }) > 50;
  };
  const Image named = shotWhen(nameDialog, typed);
  save(named, "whole-best-score.png");
  EXPECT_TRUE(typed(named)) << "the name does not show in the text box";
  key("Return");

  // The Hall of Fame: place 1 holds the new name and time, unlike place 2; Enter closes it.
  unsigned long stats = 0;
  const Image fame = hallOfFame(stats);
  save(fame, "whole-hall-of-fame.png");
  auto place = [](int n) { return Box{44, 44 * n, 9 * 44, 44}; };
  EXPECT_NE(fame.pixelsOf(place(1)), fame.pixelsOf(place(2)));
  key("Return");
  ASSERT_TRUE(waitForNoWindow(kStatsName)) << "Enter did not close the Hall of Fame";

  // Back at the main menu the game is killed: the best time was saved when it was entered.
  ASSERT_TRUE(mainMenuShows(shot([&](const Image& img) { return mainMenuShows(img); })));
  ASSERT_TRUE(kill(game_, SIGKILL) == 0 && wait() == -1);  // as a crash or a power cut would
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

}  // namespace
}  // namespace qlx::e2e
