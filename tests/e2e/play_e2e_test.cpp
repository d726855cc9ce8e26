// The game in a real X server (Xvfb), played as a player would: New Game, a number picked on the
// board and a letter typed into its cells, a second one picked in the code strip, the game closed
// with the close box and resumed at the next start exactly as it was left, then Quit Game and Exit
// clicked in a resized window; and the window doubled at 192 dpi.
#include <algorithm>
#include <cmath>

#include "game_session.h"

namespace qlx::e2e {
namespace {

using PlayE2eTest = GameTest;

const char* const kQuestion = "^Do you want to exit$";
const Box kClockLabel{1, 200, 120, 25};  // side item 6

TEST_F(PlayE2eTest, APlayerFillsNumbersClosesTheGameResumesItAsItWasLeftAndExits) {
  const Image board = newGame();
  ASSERT_EQ(board.width, kWidth) << "the window opens at its layout size";
  save(board, "play-board.png");
  const Board b = findBoard(board, background_);
  const Strip s = findStrip(board, b, block_);
  ASSERT_GE(s.count, 2) << "no code strip";

  // A cell whose letter is not given, clicked and a letter typed: its number's cells and strip
  // letter box are selected and show the letter alike, the alphabet marks it, and nothing else
  // changes.
  Box picked;
  for (int row = 0; row < b.rows; ++row)
    for (int col = 0; col < b.cols; ++col)
      if (fill(board, b.square(col, row)) == plain_ && !showsBlackText(board, b.square(col, row)))
        picked = b.square(col, row);
  ASSERT_GT(picked.width, 0) << "no cell to fill";
  clickIn(picked);
  key("k");
  const Image typed = shot([&](const Image& i) { return i.count(picked, bluish) > 10; });
  save(typed, "play-typed.png");
  ASSERT_EQ(fill(typed, picked), selected_) << "the pressed cell is not selected";
  EXPECT_EQ(typed.at(picked.x, picked.y), block_) << "the keyboard cursor outlines it";
  std::vector<Box> selection;
  for (int row = 0; row < b.rows; ++row)
    for (int col = 0; col < b.cols; ++col)
      if (fill(typed, b.square(col, row)) == selected_) selection.push_back(b.square(col, row));
  const std::size_t cells = selection.size();
  for (int n = 1; n <= s.count; ++n)
    if (fill(typed, s.letterBox(n)) == selected_) selection.push_back(s.letterBox(n));
  EXPECT_EQ(selection.size(), cells + 1) << "one letter box of the strip is selected";
  // Within the cursor's outline, every selected box shows the letter alike.
  const auto inner = [](Box box) {
    return Box{box.x + 2, box.y + 2, box.width - 4, box.height - 4};
  };
  for (const Box& box : selection)
    EXPECT_EQ(typed.pixelsOf(inner(box)), typed.pixelsOf(inner(picked)))
        << "at " << box.x << "," << box.y;
  const Box alphabetK{kBoardLeft + 50 + 10 * 25 + 1, kBoardTop + kBoardEdge + 25 + 1, 23, 23};
  EXPECT_EQ(fill(board, alphabetK), plain_) << "K is free";
  EXPECT_EQ(fill(typed, alphabetK), rgbOf(g_.brUsedLetter.color)) << "K is used";
  selection.push_back(alphabetK);
  for (const auto& at : changes(board, typed))  // a pair: clang 14 cannot capture bindings
    ASSERT_TRUE(std::ranges::any_of(selection,
                                    [&](const Box& box) { return box.has(at.first, at.second); }))
        << "pixel " << at.first << "," << at.second << " changed";

  // A second number picked in the strip gets a Z and stays selected; once the clock has ticked,
  // the close box stores the game.
  int second = 1;
  while (second < s.count && showsLetter(typed, s.letterBox(second))) ++second;
  clickIn(s.letterBox(second));
  key("z");
  const std::vector<uint32_t> clock = typed.pixelsOf(kClockLabel);
  const Image before = shot([&](const Image& i) {
    return showsLetter(i, s.letterBox(second)) && i.pixelsOf(kClockLabel) != clock;
  });
  save(before, "resume-before-close.png");
  ASSERT_TRUE(sendClose(display_, window_) && wait() == 0);
  const std::string exported = exportStore();
  EXPECT_EQ(hexValue(exported, "ISSTORED"), std::vector<int>{1}) << exported;
  EXPECT_GT(le32(hexValue(exported, "TIMEREM")), 0) << "the clock's time, in tenths";
  // The level New Game plays, and the grid group it draws from, are remembered.
  const std::vector<int> solving = hexValue(exported, "SOLVINGDATA");
  ASSERT_EQ(solving.size(), 22u);
  EXPECT_EQ(solving[10] | solving[11] << 8, 2) << "level";
  EXPECT_EQ(solving[12] | solving[13] << 8, 2) << "grid group";

  // The next start asks; Enter resumes the very board, letters, selection and strip.
  ASSERT_TRUE(launch());
  ASSERT_NE(waitForDialog(kQuestion), 0u) << "the stored game was not offered";
  key("Return");
  const Image after =
      shot([&](const Image& i) { return sideShows(i, kQuitItem) && changes(before, i).empty(); });
  save(after, "resume-after.png");
  EXPECT_EQ(changes(before, after).size(), 0u) << "pixels right of the side panel differ";

  // Quit Game back to the main menu. Resized to 1000 × 500, the window shows the picture 666 ×
  // 500 between black bars, and a click on Exit there still reaches it.
  clickSide(kQuitItem);
  ASSERT_TRUE(mainMenuShows(shot([&](const Image& i) { return mainMenuShows(i); })));
  run("xdotool windowsize " + std::to_string(window_) + " 1000 500");
  const Image resized = shotWhen(
      window_, [](const Image& i) { return i.width == 1000 && i.at(20, 250) == 0; }, 5000);
  save(resized, "play-resized.png");
  const double scale = 500.0 / 600.0;
  const int offset = (1000 - 666) / 2;
  EXPECT_EQ(resized.at(1000 - offset + 2, 490), 0u) << "the bar on the right";
  EXPECT_TRUE(near(resized.at(offset + 1, 250), background_, 8)) << "the picture's edge";
  click(window_, offset + int(std::lround((kMenuLeft + 100) * scale)),
        int(std::lround((menuTop(4) + 15) * scale)));
  EXPECT_EQ(wait(), 0);
}

// Xvfb's RandR output has no physical size, so SDL reads the resolution from the core protocol,
// which knows the -dpi given.
class HighDpiE2eTest : public GameTest {
 protected:
  void SetUp() override { start(2560, 1600, 192, {{"SDL_VIDEO_X11_XRANDR", "0"}}); }
};

TEST_F(HighDpiE2eTest, DoublesTheWindowSharplyAndClicksMapBack) {
  // Each layout pixel is a 2 × 2 block of one colour, and those blocks make the main menu.
  Image half{kWidth, kHeight, {}};
  int blurred = 0;
  const Image menu = shotWhen(
      window_,
      [&](const Image& img) {
        half.px.clear();
        blurred = 0;
        for (int y = 0; y < 2 * kHeight; y += 2)
          for (int x = 0; x < 2 * kWidth; x += 2) {
            half.px.push_back(img.at(x, y));
            blurred += img.at(x + 1, y + 1) != img.at(x, y);
          }
        return mainMenuShows(half);
      },
      30000);
  save(menu, "high-dpi-menu.png");
  EXPECT_EQ(std::pair(menu.width, menu.height), std::pair(2 * kWidth, 2 * kHeight));
  EXPECT_TRUE(mainMenuShows(half));
  EXPECT_EQ(blurred, 0);
  click(window_, 2 * (kMenuLeft + 100), 2 * (menuTop(4) + 15));  // Exit
  EXPECT_EQ(wait(), 0);
}

}  // namespace
}  // namespace qlx::e2e
