// The game in a real X server (Xvfb), played as a player would: New Game, a number picked on the
// board and a letter typed into all its cells, the Hall of Fame opened from the side panel and
// closed, Quit Game and Exit; the user data are then read back with quillorix-reg.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "play_session.h"

namespace qlx::e2e {
namespace {

using PlayE2eTest = PlaySession;

TEST_F(PlayE2eTest, APlayerStartsAGameFillsANumberVisitsTheHallOfFameAndQuits) {
  ASSERT_EQ(session_->geometry(window_).width, kWidth)
      << "the play window, not a message box; " << errors();
  const Image board = newGame();
  ASSERT_EQ(board.width, kWidth);
  save(board, "play-board.png");
  const Board b = findBoard(board, background());
  ASSERT_TRUE(b.found());
  EXPECT_EQ(b.cell, kBoardEdge / b.rows) << "the cell size follows the rows";
  for (int n = kHallOfFameItem; n <= kQuitItem; ++n)
    EXPECT_TRUE(sideShows(board, n)) << "side panel button " << n;
  const Strip s = findStrip(board, b, rgbOf(g_.brBlock.color));
  ASSERT_GE(s.count, 2) << "no code strip";

  // Every cell is a block or a plain cell; nothing is selected yet. Cells of one number that is
  // not given look alike pixel for pixel.
  int blocks = 0, given = 0;
  std::map<std::vector<uint32_t>, std::vector<std::pair<int, int>>> looks;
  for (int row = 0; row < b.rows; ++row)
    for (int col = 0; col < b.cols; ++col) {
      const Box sq = b.square(col, row);
      const Kind k = kindOf(board, sq);
      ASSERT_TRUE(k == Kind::Block || k == Kind::Plain) << "cell " << col << "," << row;
      if (k == Kind::Block)
        ++blocks;
      else if (showsBlackText(board, sq))
        ++given;
      else
        looks[pixelsOf(board, sq)].emplace_back(col, row);
    }
  EXPECT_GT(blocks, 0);
  EXPECT_GT(given, 0) << "some letters are given";
  ASSERT_FALSE(looks.empty()) << "no cell to fill";

  // The number with most cells, picked by a click on one of them.
  const auto most = std::max_element(looks.begin(), looks.end(), [](const auto& x, const auto& y) {
    return x.second.size() < y.second.size();
  });
  const std::set<std::pair<int, int>> wanted(most->second.begin(), most->second.end());
  const Box picked = b.square(most->second[0].first, most->second[0].second);
  clickIn(picked);
  const Image selected = shot([&](const Image& i) { return kindOf(i, picked) == Kind::Selected; });
  save(selected, "play-selected.png");
  ASSERT_EQ(kindOf(selected, picked), Kind::Selected) << "the pressed cell is not selected";
  std::set<std::pair<int, int>> selectedCells;
  for (int row = 0; row < b.rows; ++row)
    for (int col = 0; col < b.cols; ++col)
      if (kindOf(selected, b.square(col, row)) == Kind::Selected) selectedCells.insert({col, row});
  EXPECT_EQ(selectedCells, wanted) << "every cell of the number, and only those, is selected";
  Box stripLetter;
  for (int n = 1; n <= s.count; ++n)
    if (kindOf(selected, s.letterBox(n)) == Kind::Selected) stripLetter = s.letterBox(n);
  ASSERT_GT(stripLetter.width, 0) << "the number's letter box in the code strip is not selected";
  EXPECT_EQ(countIn(selected, stripLetter, bluish), 0) << "an empty letter box";
  auto inSelection = [&](int x, int y) {
    return stripLetter.contains(x, y) || std::any_of(wanted.begin(), wanted.end(), [&](auto c) {
             return b.square(c.first, c.second).contains(x, y);
           });
  };
  for (const auto& [x, y] : changes(board, selected))
    ASSERT_TRUE(inSelection(x, y)) << "pixel " << x << "," << y << " changed on selecting";

  // A letter typed shows alike in every cell of the number and the code strip, and marks the
  // alphabet; nothing else changes.
  const Box alphabetK{kAlphabetLeft + 10 * kAlphabetBox + 1, kAlphabetTop + 1, kAlphabetBox - 2,
                      kAlphabetBox - 2};
  EXPECT_EQ(hex(selected.at(alphabetK.x + 2, alphabetK.y + 2)), hex(rgbOf(g_.brCell.color)))
      << "K is free";
  key("k");
  const Image typed = shot([&](const Image& i) { return countIn(i, picked, bluish) > 10; });
  save(typed, "play-typed.png");
  const std::vector<uint32_t> letterLook = pixelsOf(typed, picked);
  EXPECT_GT(countIn(typed, picked, bluish), 10) << "the letter";
  for (const auto& [col, row] : wanted)
    EXPECT_EQ(pixelsOf(typed, b.square(col, row)), letterLook) << "cell " << col << "," << row;
  EXPECT_EQ(pixelsOf(typed, stripLetter), letterLook)
      << "the code strip shows the same letter as the board";
  EXPECT_EQ(hex(typed.at(alphabetK.x + 2, alphabetK.y + 2)), hex(rgbOf(g_.brUsedLetter.color)))
      << "K is used";
  for (const auto& [x, y] : changes(selected, typed))
    ASSERT_TRUE(inSelection(x, y) || alphabetK.contains(x, y))
        << "pixel " << x << "," << y << " changed on typing";

  // The Hall of Fame from the side panel; OK closes it and the game is as it was left.
  clickSide(kHallOfFameItem);
  unsigned long stats = 0;
  const Image fame = hallOfFame(stats);
  ASSERT_NE(stats, 0u);
  save(fame, "play-hall-of-fame.png");
  ASSERT_TRUE(statsShows(fame)) << "OK's caption";
  click(stats, kOkLeft + kOkWidth / 2, kOkTop + kOkHeight / 2);
  EXPECT_TRUE(session_->waitForNoWindow(kStatsName, 10000)) << "OK did not close the Hall of Fame";
  const Image back = shot([&](const Image& i) { return changes(typed, i).empty(); }, 5000);
  EXPECT_TRUE(changes(typed, back).empty()) << "the board changed while the Hall of Fame was open";

  // Quit Game back to the main menu, then Exit, which saves the user data.
  clickSide(kQuitItem);
  const Image menu = shot([&](const Image& i) { return mainMenuShows(i); });
  save(menu, "play-menu-again.png");
  ASSERT_TRUE(mainMenuShows(menu)) << "the side panel is gone, the menu back";
  clickMenu(4);
  ASSERT_EQ(program_->wait(60000), 0) << errors();
  const std::string exported = exportStore();
  EXPECT_EQ(hexValue(exported, "NUMWFSF").size(), 4u) << exported;
  EXPECT_EQ(hexValue(exported, "SOUNDOPTIONS").size(), 14u) << exported;
  for (const std::string level : {"1", "2"}) {
    const std::vector<int> times = hexValue(exported, level + "STATS");
    EXPECT_EQ(times.size(), 32u) << exported;
    EXPECT_EQ(le32(times), 30000) << level << "STATS: the default time";
    EXPECT_NE(exported.find("\"" + level + "STATS8\"=\"Anononymous\""), std::string::npos)
        << exported;
  }
  // The level New Game plays, and the grid group it draws from, are remembered.
  const std::vector<int> solving = hexValue(exported, "SOLVINGDATA");
  ASSERT_EQ(solving.size(), 22u) << exported;
  EXPECT_EQ(solving[10] | solving[11] << 8, 2) << "level";
  EXPECT_EQ(solving[12] | solving[13] << 8, 2) << "grid group";
}

}  // namespace
}  // namespace qlx::e2e
