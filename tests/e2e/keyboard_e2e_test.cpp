// Keyboard play in the real window under Xvfb: the quick level chosen and a game started with the
// keys, a number picked with Tab, a letter typed, undone and redone, the cursor moved with the
// arrows, then the quick game finished by Tab and Reveal Cell alone, into its own best-time list.
#include "game_session.h"

namespace qlx::e2e {
namespace {

using KeyboardE2eTest = GameTest;

TEST_F(KeyboardE2eTest, AQuickGamePlayedAndFinishedWithTheKeysRanksInItsOwnList) {
  const Image menu = shot([&](const Image& i) { return mainMenuShows(i); }, 30000);
  ASSERT_TRUE(mainMenuShows(menu));
  const Box levelSwitch{kMenuLeft, 207, 200, 28};
  // The pointer kept off the buttons, so that only the keys light them: Left switches to the
  // quick level, Down lights New Game and Enter chooses it.
  run("xdotool mousemove --window " + std::to_string(window_) + " 10 590");
  key("Left");
  const Image quick =
      shot([&](const Image& i) { return i.pixelsOf(levelSwitch) != menu.pixelsOf(levelSwitch); });
  EXPECT_NE(quick.pixelsOf(levelSwitch), menu.pixelsOf(levelSwitch)) << "the switch did not change";
  key("Down");
  key("Return");
  auto gameShows = [&](const Image& i) {
    return sideShows(i, kQuitItem) && findBoard(i, background_).rows > 0;
  };
  const Image board = shot(gameShows, 60000);
  ASSERT_TRUE(gameShows(board)) << "the keys started no game";
  const Board b = findBoard(board, background_);
  EXPECT_TRUE(b.cols == 11 || b.cols == 12) << b.cols << " columns: not a quick grid";
  const Strip s = findStrip(board, b, block_);
  auto selectedNumber = [&](const Image& img) {  // the selected strip letter box, or 0
    for (int n = 1; n <= s.count; ++n)
      if (fill(img, s.letterBox(n)) == selected_) return n;
    return 0;
  };

  // Tab picks a number; a letter typed shows in its strip box, Ctrl+Z takes it back, Ctrl+Y
  // brings it again.
  key("Tab");
  const Image picked = shot([&](const Image& i) { return selectedNumber(i) != 0; });
  const int first = selectedNumber(picked);
  ASSERT_NE(first, 0) << "Tab selected nothing";
  const Box box = s.letterBox(first);
  key("q");
  EXPECT_TRUE(showsLetter(shot([&](const Image& i) { return showsLetter(i, box); }), box));
  key("ctrl+z");
  EXPECT_FALSE(showsLetter(shot([&](const Image& i) { return !showsLetter(i, box); }), box));
  key("ctrl+y");
  const Image redone = shot([&](const Image& i) { return showsLetter(i, box); });
  EXPECT_TRUE(showsLetter(redone, box)) << "Ctrl+Y did not bring the letter back";
  save(redone, "keys-typed.png");

  // The arrows move the outlined cell, and with it the selection.
  auto outlined = [&](const Image& i) {
    for (int row = 0; row < b.rows; ++row)
      for (int col = 0; col < b.cols; ++col)
        if (const Box c = b.square(col, row); fill(i, c) == selected_ && i.at(c.x, c.y) == block_)
          return row * b.cols + col;
    return -1;
  };
  const int before = outlined(redone);
  ASSERT_GE(before, 0) << "no cell cursor";
  key("Right Right Down Down");
  const Image moved = shot([&](const Image& i) { return outlined(i) != before; });
  EXPECT_NE(outlined(moved), before) << "the arrows did not move the cursor";
  save(moved, "keys-moved.png");

  // Ctrl+Z leaves the board empty again; then Tab and Reveal Cell for every number without a
  // letter solve it.
  key("ctrl+z");
  const Image empty = shot([&](const Image& i) { return !showsLetter(i, box); });
  int open = 0;
  for (int n = 1; n <= s.count; ++n) open += !showsLetter(empty, s.letterBox(n));
  ASSERT_GT(open, 0);
  for (int k = 0; k < open; ++k) {
    key("Tab");
    clickSide(kRevealItem);
  }
  const unsigned long message = waitForWindow(kGameName, 30000, window_);
  ASSERT_NE(message, 0u) << "no completion message";
  ASSERT_TRUE(waitForFocus(message));
  key("Return");
  ASSERT_NE(waitForDialog("^Best Score$"), 0u);
  run("xdotool type --delay 40 Quick");
  key("Return");
  unsigned long stats = 0;
  save(hallOfFame(stats), "keys-hall-of-fame.png");
  key("Return");
  ASSERT_TRUE(waitForNoWindow(kStatsName));

  // The time went into the quick level's list, and the level is remembered.
  ASSERT_TRUE(sendClose(display_, window_) && wait() == 0);
  const std::string exported = exportStore();
  EXPECT_NE(exported.find("\"1STATS1\"=\"Quick\""), std::string::npos) << exported;
  EXPECT_NE(exported.find("\"2STATS1\"=\"Anononymous\""), std::string::npos) << exported;
  EXPECT_EQ(hexValue(exported, "PLAYLEVEL"), (std::vector<int>{1, 0, 0, 0}));
  ASSERT_TRUE(launch());  // the next start shows the quick level chosen
  const Image again = shot([&](const Image& i) { return mainMenuShows(i); });
  EXPECT_EQ(again.pixelsOf(levelSwitch), quick.pixelsOf(levelSwitch));
}

}  // namespace
}  // namespace qlx::e2e
