// Whole games through the real window under Xvfb: one solved by revealing every number, through
// the completion message, the Best Score name and the Hall of Fame to the best list in the store,
// where it is saved at once (the game is then killed, and the next start still shows it);
// one closed with the close box mid-game, resumed at the next start exactly as it was left, then
// closed and discarded, leaving no stored game.
#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <vector>

#include "play_session.h"

namespace qlx::e2e {
namespace {

using Clock = std::chrono::steady_clock;

const char* const kNameDialog = "^Best Score$";
const char* const kQuestion = "^Do you want to exit$";
// The clock, side item 6: 120 × 25 at (1, 200).
const Box kClockLabel{1, 200, 120, 25};
// Inside the name dialog's text box (2490 × 330 twips at (1995, 1515)) and its two-pixel edge.
const Box kNameBox{135, 103, 162, 18};
// A reveal costs 30 seconds, the clock counts tenths.
constexpr int kRevealPenalty = 300;

class WholeGameE2eTest : public PlaySession {
 protected:
  uint32_t block() const { return rgbOf(g_.brBlock.color); }

  // The strip's letter box of n shows a letter: black when given, blue when entered.
  bool stripShowsLetter(const Image& img, const Strip& s, int n) const {
    return showsBlackText(img, s.letterBox(n)) || countIn(img, s.letterBox(n), bluish) > 10;
  }

  // The numbers whose letter is not given, read from the strip's empty letter boxes.
  std::vector<int> numbersToFind(const Image& img, const Strip& s) const {
    std::vector<int> out;
    for (int n = 1; n <= s.count; ++n)
      if (!stripShowsLetter(img, s, n)) out.push_back(n);
    return out;
  }

  // The board's letter cells that show no letter, given or entered.
  int cellsWithoutLetter(const Image& img, const Board& b) const {
    int n = 0;
    for (int row = 0; row < b.rows; ++row)
      for (int col = 0; col < b.cols; ++col) {
        const Box sq = b.square(col, row);
        n += kindOf(img, sq) != Kind::Block && !showsBlackText(img, sq) &&
             countIn(img, sq, bluish) <= 10;
      }
    return n;
  }
};

TEST_F(WholeGameE2eTest, RevealingEveryNumberSolvesTheGameAndTheNameEntersTheHallOfFame) {
  const auto started =
      Clock::now();  // the clock starts after New Game, so it runs no longer than this
  const Image board = newGame();
  ASSERT_EQ(board.width, kWidth);
  const Board b = findBoard(board, background());
  const Strip s = findStrip(board, b, block());
  ASSERT_GE(s.count, 2) << "no code strip";
  const std::vector<int> hidden = numbersToFind(board, s);
  ASSERT_FALSE(hidden.empty()) << "every letter is given";
  ASSERT_LT(hidden.size(), static_cast<std::size_t>(s.count)) << "some letters are given";

  // Each hidden number picked in the strip and revealed; the last one solves the board. The game
  // takes the two clicks in order, so only the outcome is waited for (without a selection Reveal
  // Cell would only ask for one).
  unsigned long message = 0;
  for (std::size_t i = 0; i < hidden.size(); ++i) {
    const int n = hidden[i];
    clickIn(s.letterBox(n));
    clickSide(kRevealItem);
    if (i + 1 == hidden.size()) {
      message = waitForOtherWindow(kGameName, window_, 30000);
      break;
    }
    auto revealed = [&](const Image& img) {
      return kindOf(img, s.letterBox(n)) == Kind::Selected && stripShowsLetter(img, s, n);
    };
    ASSERT_TRUE(revealed(shot(revealed)))
        << "number " << n << " was not selected and revealed; " << errors();
    ASSERT_EQ(session_->windows(kGameName).size(), 1u)
        << "a message came up before the board was full";
  }
  const double seconds = std::chrono::duration<double>(Clock::now() - started).count();
  ASSERT_NE(message, 0u) << "no completion message; " << errors();

  // The message box opens over the board: moved aside, it uncovers the full board behind it.
  session_->run("xdotool windowmove " + std::to_string(message) + " 0 0");
  const Image solved = shot([&](const Image& img) {
    return cellsWithoutLetter(img, b) == 0 && numbersToFind(img, s).empty();
  });
  save(solved, "whole-solved.png");
  EXPECT_EQ(cellsWithoutLetter(solved, b), 0) << "cells with no letter";
  EXPECT_TRUE(numbersToFind(solved, s).empty()) << "strip numbers with no letter";
  ASSERT_TRUE(waitForFocus(message)) << "the completion message did not take the focus";
  key("Return");

  // The Best Score dialog: a name typed into its text box, Enter for OK.
  const unsigned long nameDialog = waitForDialog(kNameDialog);
  ASSERT_NE(nameDialog, 0u);
  const XSession::Geometry nameGeo = session_->geometry(nameDialog);
  session_->run("xdotool type --delay 40 Tester");
  // The caret alone is a line of a dozen pixels: a typed name is many more.
  auto typed = [&](const Image& img) {
    return countIn(img, kNameBox, [](uint32_t c) { return !near(c, 0xFFFFFF, 64); }) > 50;
  };
  const Image named = shotWhen(nameDialog, nameGeo.width, nameGeo.height, typed);
  save(named, "whole-best-score.png");
  EXPECT_TRUE(typed(named)) << "the name does not show in the text box";
  key("Return");

  // The Hall of Fame, then Enter to close it.
  unsigned long stats = 0;
  const Image fame = hallOfFame(stats);
  ASSERT_NE(stats, 0u);
  save(fame, "whole-hall-of-fame.png");
  ASSERT_EQ(fame.width, kStatsWidth);
  // Place 1 holds the new name and time, places 2 to 8 the default ones (read back below too).
  auto nameRow = [](int place) { return Box{44, 44 * place, 6 * 44, 44}; };
  auto timeRow = [](int place) { return Box{8 * 44, 44 * place, 2 * 44, 44}; };
  EXPECT_GT(
      countIn(fame, nameRow(1), [&](uint32_t c) { return near(c, rgbOf(g_.clrScoreText), 10); }),
      20);
  EXPECT_NE(pixelsOf(fame, nameRow(1)), pixelsOf(fame, nameRow(2)))
      << "place 1 shows the default name";
  EXPECT_NE(pixelsOf(fame, timeRow(1)), pixelsOf(fame, timeRow(2)))
      << "place 1 shows the default time";
  EXPECT_EQ(pixelsOf(fame, nameRow(8)), pixelsOf(fame, nameRow(2))) << "place 8";
  EXPECT_EQ(pixelsOf(fame, timeRow(8)), pixelsOf(fame, timeRow(2))) << "place 8";
  key("Return");
  ASSERT_TRUE(session_->waitForNoWindow(kStatsName, 10000))
      << "Enter did not close the Hall of Fame";

  // Back at the main menu the game is killed: the best time was saved when it was entered.
  ASSERT_TRUE(mainMenuShows(shot([&](const Image& img) { return mainMenuShows(img); })))
      << errors();
  ASSERT_TRUE(program_->killNow());
  const std::string exported = exportStore();
  EXPECT_NE(exported.find("\"2STATS1\"=\"Tester\""), std::string::npos) << exported;
  EXPECT_NE(exported.find("\"2STATS2\"=\"Anononymous\""), std::string::npos) << exported;
  const std::vector<int> times = hexValue(exported, "2STATS");
  ASSERT_EQ(times.size(), 32u) << exported;
  // Every reveal's penalty, plus the clock's whole seconds, no more than the game took.
  const int32_t time = le32(times);
  const int32_t penalties = static_cast<int32_t>(hidden.size()) * kRevealPenalty;
  EXPECT_GE(time, penalties);
  EXPECT_LE(time, penalties + 10 * (static_cast<int32_t>(seconds) + 1))
      << "the clock ran " << seconds << " s";
  EXPECT_EQ(time % 10, 0) << "the clock counts whole seconds";
  EXPECT_EQ(le32({times.begin() + 4, times.end()}), 30000) << "place 2 is the default time";

  // The next start shows the same list under High Scores, and Exit ends the game cleanly.
  ASSERT_TRUE(launch());
  ASSERT_TRUE(mainMenuShows(shot([&](const Image& img) { return mainMenuShows(img); })))
      << errors();
  clickMenu(2);
  const Image fameAgain = hallOfFame(stats);
  ASSERT_NE(stats, 0u);
  EXPECT_EQ(pixelsOf(fameAgain, nameRow(1)), pixelsOf(fame, nameRow(1)))
      << "place 1 after the restart";
  EXPECT_EQ(pixelsOf(fameAgain, timeRow(1)), pixelsOf(fame, timeRow(1)))
      << "place 1 after the restart";
  key("Return");
  ASSERT_TRUE(session_->waitForNoWindow(kStatsName, 10000));
  clickMenu(4);
  EXPECT_EQ(program_->wait(60000), 0) << errors();
}

TEST_F(WholeGameE2eTest, AGameClosedMidwayIsResumedAsItWasLeftOrDiscarded) {
  const Image board = newGame();
  ASSERT_EQ(board.width, kWidth);
  const Strip s = findStrip(board, findBoard(board, background()), block());
  const std::vector<int> hidden = numbersToFind(board, s);
  ASSERT_GE(hidden.size(), 2u);

  // Two numbers get a letter each; the second stays selected.
  for (std::size_t i = 0; i < 2; ++i) {
    const Box box = s.letterBox(hidden[i]);
    clickIn(box);
    ASSERT_EQ(
        kindOf(shot([&](const Image& img) { return kindOf(img, box) == Kind::Selected; }), box),
        Kind::Selected)
        << "number " << hidden[i] << " was not selected; " << errors();
    key(i == 0 ? "q" : "z");
    ASSERT_GT(countIn(shot([&](const Image& img) { return countIn(img, box, bluish) > 10; }), box,
                      bluish),
              10)
        << "number " << hidden[i] << " shows no letter";
  }

  // The clock runs for a few seconds, to 0:03 at least: each new look of its label is a later
  // time, the first one 0:00.0 or later.
  std::vector<std::vector<uint32_t>> clockLooks;
  Image before;
  const auto start = Clock::now();
  pollUntil(
      [&] {
        before = session_->screenshot(window_);
        const std::vector<uint32_t> look = pixelsOf(before, kClockLabel);
        if (before.width == kWidth && (clockLooks.empty() || clockLooks.back() != look))
          clockLooks.push_back(look);
        return clockLooks.size() >= 4 && Clock::now() - start >= std::chrono::seconds(3);
      },
      30000, 150);
  ASSERT_GE(clockLooks.size(), 4u) << "the clock did not run";
  save(before, "resume-before-close.png");

  // The close box stores the game.
  ASSERT_TRUE(closeGame()) << errors();
  std::string exported = exportStore();
  EXPECT_EQ(hexValue(exported, "ISSTORED"), std::vector<int>{1}) << exported;
  EXPECT_GE(le32(hexValue(exported, "TIMEREM")), 30) << "the clock's time, in tenths";

  // The next start asks; Enter resumes the very board, letters, selection and strip.
  ASSERT_TRUE(launch());
  ASSERT_NE(waitForDialog(kQuestion), 0u) << "the stored game was not offered";
  key("Return");
  ASSERT_TRUE(session_->waitForNoWindow(kQuestion, 10000));
  const Image after = shot(
      [&](const Image& img) { return sideShows(img, kQuitItem) && changes(before, img).empty(); });
  save(after, "resume-after.png");
  const auto differing = changes(before, after);
  ASSERT_TRUE(differing.empty()) << differing.size()
                                 << " pixels right of the side panel differ, the first at "
                                 << differing[0].first << "," << differing[0].second;
  // The clock runs on from the stored time: its next look is a time after every one seen before
  // the close.
  const std::vector<uint32_t> resumedClock = pixelsOf(after, kClockLabel);
  const Image ticked =
      shot([&](const Image& img) { return pixelsOf(img, kClockLabel) != resumedClock; });
  const std::vector<uint32_t> tickedClock = pixelsOf(ticked, kClockLabel);
  ASSERT_NE(tickedClock, resumedClock) << "the clock does not run";
  for (std::size_t i = 0; i < clockLooks.size(); ++i)
    EXPECT_NE(tickedClock, clockLooks[i]) << "the clock shows an earlier time, look " << i;
  EXPECT_TRUE(changes(before, ticked).empty()) << "the board changed as the clock ran";

  // Closed again and offered again: Escape discards it and the main menu shows.
  ASSERT_TRUE(closeGame()) << errors();
  ASSERT_TRUE(launch());
  ASSERT_NE(waitForDialog(kQuestion), 0u) << "the game closed again was not offered";
  key("Escape");
  ASSERT_TRUE(session_->waitForNoWindow(kQuestion, 10000));
  EXPECT_TRUE(mainMenuShows(shot([&](const Image& img) { return mainMenuShows(img); })));
  ASSERT_TRUE(closeGame()) << errors();
  exported = exportStore();
  EXPECT_EQ(hexValue(exported, "ISSTORED"), std::vector<int>{0})
      << "the next start would ask again\n"
      << exported;
}

}  // namespace
}  // namespace qlx::e2e
