// Whole games through the real window under Xvfb: one solved by revealing every number, through
// the completion message, the Best Score name and the Hall of Fame to the best list in the store;
// one closed with the close box mid-game, resumed at the next start exactly as it was left, then
// closed and discarded so that the start after asks nothing.
#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <thread>
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
  uint32_t background() const { return rgbOf(g_.brBackground.color); }
  uint32_t block() const { return rgbOf(g_.brBlock.color); }

  // The strip's letter box of n shows a letter: black when given, blue when entered.
  bool stripShowsLetter(const Image& img, const Strip& s, int n) const {
    return showsBlackText(img, s.letterBox(n)) || countIn(img, s.letterBox(n), bluish) > 10;
  }

  // Selects n by its letter box in the code strip and waits for the box to show it selected.
  bool selectInStrip(const Strip& s, int n) {
    const Box box = s.letterBox(n);
    click(window_, box.x + box.width / 2, box.y + box.height / 2);
    const Image img =
        shotWhen(window_, kWidth, kHeight, [&](const Image& i) { return kindOf(i, box) == Kind::Selected; });
    return kindOf(img, box) == Kind::Selected;
  }

  // The numbers whose letter is not given, read from the strip's empty letter boxes.
  std::vector<int> numbersToFind(const Image& img, const Strip& s) const {
    std::vector<int> out;
    for (int n = 1; n <= s.count; ++n)
      if (!stripShowsLetter(img, s, n)) out.push_back(n);
    return out;
  }

  // Waits for the window's modal dialog named nameRegex and for it to take the keys.
  unsigned long waitForDialog(const std::string& nameRegex) {
    const unsigned long dialog = session_->waitForWindow(nameRegex, 30000);
    if (dialog != 0) {
      EXPECT_TRUE(waitForFocus(dialog)) << nameRegex << " did not take the focus";
    }
    return dialog;
  }

  // True when the window shows the main menu and no side panel.
  bool mainMenuShows(const Image& img) const {
    return menuShows(img, 1) && menuShows(img, 4) && img.at(5, 590) == background();
  }

  // The board's letter cells that show no letter, given or entered, as "col,row" items.
  std::string cellsWithoutLetter(const Image& img, const Board& b) const {
    std::string out;
    for (int row = 0; row < b.rows; ++row)
      for (int col = 0; col < b.cols; ++col) {
        const Box sq = b.square(col, row);
        if (kindOf(img, sq) == Kind::Block) continue;
        if (showsBlackText(img, sq) || countIn(img, sq, bluish) > 10) continue;
        out += ' ';
        out += std::to_string(col);
        out += ',';
        out += std::to_string(row);
      }
    return out;
  }
};

TEST_F(WholeGameE2eTest, RevealingEveryNumberSolvesTheGameAndTheNameEntersTheHallOfFame) {
  const auto started = Clock::now();  // the clock starts after New Game, so it runs no longer than this
  const Image board = newGame();
  ASSERT_EQ(board.width, kWidth);
  save(board, "whole-board.png");
  const Board b = findBoard(board, background());
  ASSERT_TRUE(b.found());
  const Strip s = findStrip(board, b, block());
  ASSERT_GE(s.top, 0) << "the code strip starts above the window";
  ASSERT_GE(s.count, 2) << "no code strip";
  const std::vector<int> hidden = numbersToFind(board, s);
  ASSERT_FALSE(hidden.empty()) << "every letter is given";
  ASSERT_LT(hidden.size(), static_cast<std::size_t>(s.count)) << "some letters are given";

  // Each number picked in the strip and revealed; the last one solves the board. The game takes
  // the two clicks in order, so only the outcome is waited for: the number selected, its letter
  // shown (without a selection Reveal Cell would only ask for one).
  const Box reveal{1, sideTop(kRevealItem), 120, 25};
  unsigned long message = 0;
  for (std::size_t i = 0; i < hidden.size(); ++i) {
    const int n = hidden[i];
    const Box box = s.letterBox(n);
    click(window_, box.x + box.width / 2, box.y + box.height / 2);
    click(window_, reveal.x + reveal.width / 2, reveal.y + reveal.height / 2);
    if (i + 1 < hidden.size()) {
      auto revealed = [&](const Image& img) {
        return kindOf(img, box) == Kind::Selected && stripShowsLetter(img, s, n);
      };
      const Image shown = shotWhen(window_, kWidth, kHeight, revealed);
      ASSERT_EQ(windowsNamed(kGameName).size(), 1u) << "a message came up before the board was full";
      ASSERT_TRUE(revealed(shown)) << "number " << n << " was not selected and revealed; " << errors();
    } else {
      message = waitForOtherWindow(kGameName, window_, 30000);
    }
  }
  const double seconds = std::chrono::duration<double>(Clock::now() - started).count();
  ASSERT_NE(message, 0u) << "no completion message; " << errors();

  // The message box opens over the board: moved aside, it uncovers the full board behind it.
  session_->run("xdotool windowmove " + std::to_string(message) + " 0 0");
  const Image solved = shotWhen(window_, kWidth, kHeight, [&](const Image& img) {
    for (int n = 1; n <= s.count; ++n)
      if (!stripShowsLetter(img, s, n)) return false;
    return cellsWithoutLetter(img, b).empty();
  });
  save(solved, "whole-solved.png");
  save(session_->screenshot(message), "whole-completion-message.png");
  EXPECT_EQ(cellsWithoutLetter(solved, b), "") << "cells with no letter";
  for (int n = 1; n <= s.count; ++n) EXPECT_TRUE(stripShowsLetter(solved, s, n)) << "strip number " << n;

  ASSERT_TRUE(waitForFocus(message)) << "the completion message did not take the focus";
  key("Return");

  // The Best Score dialog: a name typed into its text box, Enter for OK.
  const unsigned long nameDialog = waitForDialog(kNameDialog);
  ASSERT_NE(nameDialog, 0u) << "the Best Score dialog did not open; " << errors();
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

  // The Hall of Fame: the new name and time at the top, the default names below.
  const unsigned long stats = waitForDialog(kStatsName);
  ASSERT_NE(stats, 0u) << "the Hall of Fame did not open; " << errors();
  auto okShows = [&](const Image& img) {
    const Box ok{kOkLeft, kOkTop, kOkWidth, kOkHeight};
    return countIn(img, ok, [&](uint32_t c) { return near(c, rgbOf(g_.clrButtonText), 12); }) > 10;
  };
  const Image fame = shotWhen(stats, kStatsWidth, kStatsHeight, okShows);
  save(fame, "whole-hall-of-fame.png");
  ASSERT_EQ(fame.width, kStatsWidth);
  auto nameRow = [](int place) { return Box{44, 44 * place, 6 * 44, 44}; };
  auto timeRow = [](int place) { return Box{8 * 44, 44 * place, 2 * 44, 44}; };
  auto scoreText = [&](uint32_t c) { return near(c, rgbOf(g_.clrScoreText), 10); };
  EXPECT_GT(countIn(fame, nameRow(1), scoreText), 20) << "the name in place 1";
  EXPECT_NE(pixelsOf(fame, nameRow(1)), pixelsOf(fame, nameRow(2))) << "place 1 shows the default name";
  EXPECT_NE(pixelsOf(fame, timeRow(1)), pixelsOf(fame, timeRow(2))) << "place 1 shows the default time";
  for (int place = 3; place <= 8; ++place) {
    EXPECT_EQ(pixelsOf(fame, nameRow(place)), pixelsOf(fame, nameRow(2))) << "place " << place;
    EXPECT_EQ(pixelsOf(fame, timeRow(place)), pixelsOf(fame, timeRow(2))) << "place " << place;
  }
  key("Return");
  ASSERT_TRUE(session_->waitForNoWindow(kStatsName, 10000)) << "Enter did not close the Hall of Fame";

  // Back at the main menu; Exit ends the program and writes the best list.
  const Image menu = shotWhen(window_, kWidth, kHeight, [&](const Image& img) { return mainMenuShows(img); });
  save(menu, "whole-menu-after.png");
  ASSERT_TRUE(mainMenuShows(menu)) << errors();
  click(window_, kMenuLeft + 100, menuTop(4) + 15);
  ASSERT_EQ(game_->wait(60000), 0) << errors();

  const std::string exported = exportStore();
  EXPECT_NE(exported.find("\"2STATS1\"=\"Tester\""), std::string::npos) << exported;
  EXPECT_NE(exported.find("\"2STATS2\"=\"Anononymous\""), std::string::npos) << exported;
  const std::vector<int> times = hexValue(exported, "2STATS");
  ASSERT_EQ(times.size(), 32u) << exported;
  // Every reveal's penalty, plus the clock's whole seconds, no more than the game took.
  const int32_t time = le32(times);
  const int32_t penalties = static_cast<int32_t>(hidden.size()) * kRevealPenalty;
  EXPECT_GE(time, penalties);
  EXPECT_LT(time, penalties + 600) << "the clock ran " << seconds << " s";
  EXPECT_LE(time, penalties + 10 * (static_cast<int32_t>(seconds) + 1)) << "the clock ran " << seconds << " s";
  EXPECT_EQ(time % 10, 0) << "the clock counts whole seconds";
  EXPECT_EQ(le32({times.begin() + 4, times.end()}), 30000) << "place 2 is the default time";
}

TEST_F(WholeGameE2eTest, AGameClosedMidwayIsResumedAsItWasLeftOrDiscarded) {
  const Image board = newGame();
  ASSERT_EQ(board.width, kWidth);
  const Board b = findBoard(board, background());
  ASSERT_TRUE(b.found());
  const Strip s = findStrip(board, b, block());
  ASSERT_GE(s.top, 0);
  const std::vector<int> hidden = numbersToFind(board, s);
  ASSERT_GE(hidden.size(), 2u);

  // Two numbers get a letter each; the second stays selected.
  const std::string letters = "qz";
  for (std::size_t i = 0; i < 2; ++i) {
    const int n = hidden[i];
    ASSERT_TRUE(selectInStrip(s, n)) << "number " << n << " was not selected; " << errors();
    key(std::string(1, letters[i]));
    const Image typed =
        shotWhen(window_, kWidth, kHeight, [&](const Image& img) { return countIn(img, s.letterBox(n), bluish) > 10; });
    ASSERT_GT(countIn(typed, s.letterBox(n), bluish), 10) << "number " << n << " shows no letter";
  }

  // The clock runs for a few seconds, to 0:03 at least: each new look of its label is a later
  // time, the first one 0:00.0 or later.
  std::vector<std::vector<uint32_t>> clockLooks;
  Image before;
  const auto start = Clock::now();
  while ((clockLooks.size() < 4 || Clock::now() - start < std::chrono::seconds(3)) &&
         Clock::now() - start < std::chrono::seconds(30)) {
    before = session_->screenshot(window_);
    const std::vector<uint32_t> look = pixelsOf(before, kClockLabel);
    if (before.width == kWidth && (clockLooks.empty() || clockLooks.back() != look)) clockLooks.push_back(look);
    std::this_thread::sleep_for(std::chrono::milliseconds(150));
  }
  ASSERT_GE(clockLooks.size(), 4u) << "the clock did not run";
  save(before, "resume-before-close.png");

  // The close box stores the game.
  ASSERT_TRUE(session_->sendClose(window_));
  ASSERT_EQ(game_->wait(60000), 0) << errors();
  std::string exported = exportStore();
  EXPECT_EQ(hexValue(exported, "ISSTORED"), std::vector<int>{1}) << exported;
  const int32_t stored = le32(hexValue(exported, "TIMEREM"));
  EXPECT_GE(stored, 30) << "the clock's time, in tenths";

  // The next start asks; Enter resumes the very board, letters, selection and strip.
  ASSERT_TRUE(launch());
  const unsigned long question = waitForDialog(kQuestion);
  ASSERT_NE(question, 0u) << "the stored game was not offered; " << errors();
  save(session_->screenshot(question), "resume-question.png");
  key("Return");
  ASSERT_TRUE(session_->waitForNoWindow(kQuestion, 10000));
  const Image after = shotWhen(window_, kWidth, kHeight, [&](const Image& img) {
    return sideShows(img, kQuitItem) && changes(before, img).empty();
  });
  save(after, "resume-after.png");
  const auto differing = changes(before, after);
  EXPECT_TRUE(differing.empty()) << differing.size() << " pixels right of the side panel differ, the first at "
                                 << (differing.empty() ? 0 : differing[0].first) << ","
                                 << (differing.empty() ? 0 : differing[0].second);
  // The clock runs on from the stored time: its next look is a time after every one seen before
  // the close.
  const std::vector<uint32_t> resumedClock = pixelsOf(after, kClockLabel);
  const Image ticked = shotWhen(window_, kWidth, kHeight, [&](const Image& img) {
    return pixelsOf(img, kClockLabel) != resumedClock;
  });
  save(ticked, "resume-ticked.png");
  const std::vector<uint32_t> tickedClock = pixelsOf(ticked, kClockLabel);
  ASSERT_NE(tickedClock, resumedClock) << "the clock does not run";
  for (std::size_t i = 0; i < clockLooks.size(); ++i)
    EXPECT_NE(tickedClock, clockLooks[i]) << "the clock shows an earlier time, look " << i;
  EXPECT_TRUE(changes(before, ticked).empty()) << "the board changed as the clock ran";

  // Closed again and offered again: Escape discards it and the main menu shows.
  ASSERT_TRUE(session_->sendClose(window_));
  ASSERT_EQ(game_->wait(60000), 0) << errors();
  ASSERT_TRUE(launch());
  ASSERT_NE(waitForDialog(kQuestion), 0u) << "the game closed again was not offered; " << errors();
  key("Escape");
  ASSERT_TRUE(session_->waitForNoWindow(kQuestion, 10000));
  const Image menu = shotWhen(window_, kWidth, kHeight, [&](const Image& img) { return mainMenuShows(img); });
  save(menu, "resume-discarded.png");
  EXPECT_TRUE(mainMenuShows(menu));
  ASSERT_TRUE(session_->sendClose(window_));
  ASSERT_EQ(game_->wait(60000), 0) << errors();
  exported = exportStore();
  EXPECT_EQ(hexValue(exported, "ISSTORED"), std::vector<int>{0}) << exported;

  // The next start asks nothing: the main menu takes a click at once.
  ASSERT_TRUE(launch());
  const Image fresh = shotWhen(window_, kWidth, kHeight, [&](const Image& img) { return mainMenuShows(img); }, 30000);
  ASSERT_TRUE(mainMenuShows(fresh));
  click(window_, kMenuLeft + 100, menuTop(2) + 15);
  ASSERT_NE(waitForDialog(kStatsName), 0u) << "High Scores did not open: something else is modal";
  EXPECT_TRUE(windowsNamed(kQuestion).empty()) << "the discarded game was offered again";
  key("Escape");
  EXPECT_TRUE(session_->waitForNoWindow(kStatsName, 10000));
  ASSERT_TRUE(session_->sendClose(window_));
  EXPECT_EQ(game_->wait(60000), 0) << errors();
}

}  // namespace
}  // namespace qlx::e2e
