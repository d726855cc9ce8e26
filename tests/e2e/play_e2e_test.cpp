// The game itself in a real X server (Xvfb), played as a player would: New Game from the main
// menu, a number picked on the board and a letter typed into it, the Hall of Fame opened from the
// side panel and closed, then Quit Game and Exit; the settings store it leaves behind is read back
// with quillorix-reg. The main menu's High Scores and the close box are the other way through.
// Everything checked on screen is read from screenshots, kept as PNG files.
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

// The fixture adds what both tests check in the store a fresh start leaves behind.
class PlayE2eTest : public PlaySession {
 protected:
  // Exports the game's store with quillorix-reg and checks what a fresh store gets on the way
  // out; the SOLVINGDATA bytes, empty when they are missing.
  std::vector<int> savedSolvingData() {
    const std::string exported = exportStore();
    EXPECT_EQ(hexValue(exported, "NUMWFSF").size(), 4u) << exported;
    EXPECT_EQ(hexValue(exported, "SOUNDOPTIONS").size(), 14u) << exported;
    // Both levels' best lists: eight times of 3000 seconds by the default name.
    for (const std::string level : {"1", "2"}) {
      const std::vector<int> times = hexValue(exported, level + "STATS");
      EXPECT_EQ(times.size(), 32u) << exported;
      for (std::size_t i = 0; i + 3 < times.size(); i += 4)
        EXPECT_EQ(times[i] | times[i + 1] << 8 | times[i + 2] << 16 | times[i + 3] << 24, 30000) << level << "STATS";
      for (int place = 1; place <= 8; ++place) {
        const std::string name = level + "STATS" + std::to_string(place);
        EXPECT_NE(exported.find("\"" + name + "\"=\"Anononymous\""), std::string::npos) << name << "\n" << exported;
      }
    }
    const std::vector<int> solving = hexValue(exported, "SOLVINGDATA");
    EXPECT_EQ(solving.size(), 22u) << exported;
    return solving;
  }
};

TEST_F(PlayE2eTest, APlayerStartsAGameFillsANumberVisitsTheHallOfFameAndQuits) {
  const XSession::Geometry geo = session_->geometry(window_);
  ASSERT_EQ(geo.width, kWidth) << "the play window, not a message box; " << errors();
  ASSERT_EQ(geo.height, kHeight);
  const uint32_t background = rgbOf(g_.brBackground.color);

  // 1. The main menu, with its four buttons.
  const Image menu = shotWhen(window_, kWidth, kHeight, [&](const Image& i) { return menuShows(i, 4); }, 30000);
  save(menu, "play-menu.png");
  ASSERT_EQ(menu.width, kWidth) << errors();
  for (int n = 1; n <= 4; ++n) EXPECT_TRUE(menuShows(menu, n)) << "main menu button " << n;
  EXPECT_EQ(hex(menu.at(5, 590)), hex(background)) << "no side panel on the main menu";

  // 2. New Game: the board, the side panel down to Quit Game. Making the puzzle may take a while.
  click(window_, kMenuLeft + 100, menuTop(1) + 15);
  Image board = shotWhen(window_, kWidth, kHeight, [&](const Image& i) {
    return sideShows(i, kQuitItem) && findBoard(i, background).found();
  }, 60000);
  // Once more, so that the picture is the finished one.
  board = session_->screenshot(window_);
  save(board, "play-board.png");
  const Board b = findBoard(board, background);
  ASSERT_TRUE(b.found()) << "no board on screen; " << errors();
  EXPECT_EQ(b.cell, kBoardEdge / b.rows) << "the cell size follows the rows";
  EXPECT_LE(b.cols * b.cell, kWidth - kBoardLeft);
  for (int n = kHallOfFameItem; n <= kQuitItem; ++n) EXPECT_TRUE(sideShows(board, n)) << "side panel button " << n;

  // Every cell is a block or a plain white cell with its number or given letter; nothing is
  // selected yet. Cells of one number look alike pixel for pixel.
  int blocks = 0, given = 0;
  std::map<std::vector<uint32_t>, std::vector<std::pair<int, int>>> looks;
  for (int row = 0; row < b.rows; ++row)
    for (int col = 0; col < b.cols; ++col) {
      const Box sq = b.square(col, row);
      const Kind k = kindOf(board, sq);
      ASSERT_TRUE(k == Kind::Block || k == Kind::Plain) << "cell " << col << "," << row << ": "
                                                       << hex(board.at(sq.x + 1, sq.y + 1));
      if (k == Kind::Block) {
        ++blocks;
        continue;
      }
      EXPECT_GT(textPixels(board, sq), 5) << "cell " << col << "," << row << " shows its number or letter";
      if (showsBlackText(board, sq))
        ++given;
      else
        looks[pixelsOf(board, sq)].emplace_back(col, row);
    }
  EXPECT_GT(blocks, 0);
  EXPECT_GT(given, 0) << "some letters are given";
  ASSERT_FALSE(looks.empty()) << "no cell to fill";
  const Box noneSelected = stripBoxOf(board, b, rgbOf(g_.brSelected.color));
  EXPECT_EQ(noneSelected.width, 0) << "nothing selected in the code strip";

  // The number with most cells on the board, to see a letter go into all of them.
  auto most = std::max_element(looks.begin(), looks.end(),
                               [](const auto& x, const auto& y) { return x.second.size() < y.second.size(); });
  const std::vector<std::pair<int, int>> sameNumber = most->second;
  const auto [pickCol, pickRow] = sameNumber.front();
  const Box picked = b.square(pickCol, pickRow);

  click(window_, picked.x + picked.width / 2, picked.y + picked.height / 2);
  const Image selected = shotWhen(window_, kWidth, kHeight, [&](const Image& i) {
    return kindOf(i, picked) == Kind::Selected;
  });
  save(selected, "play-selected.png");
  ASSERT_EQ(kindOf(selected, picked), Kind::Selected) << "the pressed cell is not selected";
  std::set<std::pair<int, int>> selectedCells;
  for (int row = 0; row < b.rows; ++row)
    for (int col = 0; col < b.cols; ++col)
      if (kindOf(selected, b.square(col, row)) == Kind::Selected) selectedCells.insert({col, row});
  const std::set<std::pair<int, int>> wanted(sameNumber.begin(), sameNumber.end());
  EXPECT_EQ(selectedCells, wanted) << "every cell of the number, and only those, is selected";
  const Box stripLetter = stripBoxOf(selected, b, rgbOf(g_.brSelected.color));
  EXPECT_EQ(stripLetter.width, b.cell - 2) << "the code strip's letter box of the number is selected";
  EXPECT_EQ(stripLetter.height, b.cell - 2);
  EXPECT_EQ(countIn(selected, stripLetter, [&](uint32_t c) { return c == rgbOf(g_.brSelected.color); }),
            stripLetter.width * stripLetter.height)
      << "an empty letter box";
  auto inSelection = [&](int x, int y) {
    if (stripLetter.contains(x, y)) return true;
    for (const auto& [col, row] : selectedCells)
      if (b.square(col, row).contains(x, y)) return true;
    return false;
  };
  for (const auto& [x, y] : changes(board, selected))
    ASSERT_TRUE(inSelection(x, y)) << "pixel " << x << "," << y << " changed on selecting";

  // A letter typed goes into every cell of the number, the code strip, and marks the alphabet.
  const char letter = 'k';
  const Box alphabetBox{kAlphabetLeft + (letter - 'a') % 13 * kAlphabetBox + 1,
                        kAlphabetTop + (letter - 'a') / 13 * kAlphabetBox + 1, kAlphabetBox - 2, kAlphabetBox - 2};
  EXPECT_EQ(hex(selected.at(alphabetBox.x + 2, alphabetBox.y + 2)), hex(rgbOf(g_.brCell.color))) << "K is free";
  session_->run(std::string("xdotool key ") + letter);
  const Image typed = shotWhen(window_, kWidth, kHeight, [&](const Image& i) {
    return countIn(i, picked, bluish) > 10;
  });
  save(typed, "play-typed.png");
  std::vector<uint32_t> letterLook;
  for (const auto& [col, row] : selectedCells) {
    const Box sq = b.square(col, row);
    EXPECT_EQ(kindOf(typed, sq), Kind::Selected) << "cell " << col << "," << row;
    EXPECT_GT(countIn(typed, sq, bluish), 10) << "cell " << col << "," << row << " shows the letter";
    EXPECT_EQ(countIn(selected, sq, bluish), 0) << "cell " << col << "," << row << " had no letter before";
    if (letterLook.empty()) letterLook = pixelsOf(typed, sq);
    EXPECT_EQ(pixelsOf(typed, sq), letterLook) << "cell " << col << "," << row << " shows the same letter";
  }
  EXPECT_GT(countIn(typed, stripLetter, bluish), 10) << "the code strip shows the letter";
  EXPECT_EQ(pixelsOf(typed, stripLetter), letterLook) << "the code strip shows the same letter as the board";
  EXPECT_EQ(hex(typed.at(alphabetBox.x + 2, alphabetBox.y + 2)), hex(rgbOf(g_.brUsedLetter.color)))
      << "K is marked used";
  for (const auto& [x, y] : changes(selected, typed))
    ASSERT_TRUE(inSelection(x, y) || alphabetBox.contains(x, y)) << "pixel " << x << "," << y << " changed on typing";

  // 3. The Hall of Fame from the side panel: the best times of the level, and OK closes it.
  click(window_, 60, sideTop(kHallOfFameItem) + 12);
  const unsigned long stats = session_->waitForWindow(kStatsName, 20000);
  ASSERT_NE(stats, 0u) << "the Hall of Fame did not open; " << errors();
  const XSession::Geometry statsGeo = session_->geometry(stats);
  EXPECT_EQ(statsGeo.width, kStatsWidth);
  EXPECT_EQ(statsGeo.height, kStatsHeight);
  const Box ok{kOkLeft, kOkTop, kOkWidth, kOkHeight};
  auto okShows = [&](const Image& i) {
    return countIn(i, ok, [&](uint32_t c) { return near(c, rgbOf(g_.clrButtonText), 12); }) > 10;
  };
  const Image fame = shotWhen(stats, kStatsWidth, kStatsHeight, okShows);
  save(fame, "play-hall-of-fame.png");
  ASSERT_EQ(fame.width, kStatsWidth);
  EXPECT_EQ(hex(fame.at(2, 2)), hex(background));
  EXPECT_EQ(hex(fame.at(kOkLeft + 3, kOkTop + 3)), hex(rgbOf(g_.brPanel.color))) << "the OK button";
  EXPECT_TRUE(okShows(fame)) << "OK's caption";
  // Eight rows of names and times in the score colour.
  for (int place = 1; place <= 8; ++place)
    EXPECT_GT(countIn(fame, {44, 44 * place, 44 * 9, 44}, [&](uint32_t c) { return near(c, rgbOf(g_.clrScoreText), 10); }),
              20)
        << "place " << place;
  click(stats, kOkLeft + kOkWidth / 2, kOkTop + kOkHeight / 2);
  EXPECT_TRUE(session_->waitForNoWindow(kStatsName, 10000)) << "OK did not close the Hall of Fame";
  ASSERT_TRUE(game_->running()) << errors();

  // The game carries on underneath, as it was left.
  const Image back = shotWhen(window_, kWidth, kHeight, [&](const Image& i) {
    return changes(typed, i).empty();
  }, 5000);
  save(back, "play-after-hall-of-fame.png");
  EXPECT_TRUE(changes(typed, back).empty()) << "the board changed while the Hall of Fame was open";

  // 4. Quit Game back to the main menu, then Exit; the user data are saved on the way out.
  click(window_, 60, sideTop(kQuitItem) + 12);
  const Image menuAgain = shotWhen(window_, kWidth, kHeight, [&](const Image& i) {
    return i.at(5, 590) == background && menuShows(i, 4);
  });
  save(menuAgain, "play-menu-again.png");
  EXPECT_EQ(hex(menuAgain.at(5, 590)), hex(background)) << "the side panel is gone";
  EXPECT_TRUE(menuShows(menuAgain, 1));
  EXPECT_TRUE(menuShows(menuAgain, 4));
  click(window_, kMenuLeft + 100, menuTop(4) + 15);
  ASSERT_EQ(game_->wait(60000), 0) << errors();

  // The level New Game plays, and the grid group it draws from, are remembered.
  const std::vector<int> solving = savedSolvingData();
  ASSERT_EQ(solving.size(), 22u);
  EXPECT_EQ(solving[10] | solving[11] << 8, 2) << "level";
  EXPECT_EQ(solving[12] | solving[13] << 8, 2) << "grid group";
}

TEST_F(PlayE2eTest, TheMainMenuOpensTheHallOfFameAndTheCloseBoxSavesTheUserData) {
  const XSession::Geometry geo = session_->geometry(window_);
  ASSERT_EQ(geo.width, kWidth) << "the play window, not a message box; " << errors();
  const Image menu = shotWhen(window_, kWidth, kHeight, [&](const Image& i) { return menuShows(i, 4); }, 30000);
  ASSERT_TRUE(menuShows(menu, 2)) << errors();

  // High Scores shows the same window; Escape closes it and the menu is left as it was.
  click(window_, kMenuLeft + 100, menuTop(2) + 15);
  const unsigned long stats = session_->waitForWindow(kStatsName, 20000);
  ASSERT_NE(stats, 0u) << "the Hall of Fame did not open; " << errors();
  const Image fame = shotWhen(stats, kStatsWidth, kStatsHeight, [&](const Image& i) {
    return countIn(i, {kOkLeft, kOkTop, kOkWidth, kOkHeight}, [&](uint32_t c) {
      return near(c, rgbOf(g_.clrButtonText), 12);
    }) > 10;
  });
  save(fame, "menu-hall-of-fame.png");
  EXPECT_GT(countIn(fame, {44, 44, 44 * 9, 44 * 8}, [&](uint32_t c) { return near(c, rgbOf(g_.clrScoreText), 10); }),
            8 * 20)
      << "the eight places";
  session_->run("xdotool key Escape");
  EXPECT_TRUE(session_->waitForNoWindow(kStatsName, 10000)) << "Escape did not close the Hall of Fame";
  ASSERT_TRUE(game_->running()) << errors();
  const Image after = shotWhen(window_, kWidth, kHeight, [&](const Image& i) { return menuShows(i, 4); });
  save(after, "menu-after-hall-of-fame.png");
  EXPECT_TRUE(menuShows(after, 1)) << "the main menu is still up";
  EXPECT_EQ(session_->geometry(window_).width, kWidth) << "the play window is still shown at its size";

  // The close box ends the program the way Exit does: the user data are written.
  ASSERT_TRUE(session_->sendClose(window_));
  ASSERT_EQ(game_->wait(60000), 0) << errors();
  const std::vector<int> solving = savedSolvingData();
  ASSERT_EQ(solving.size(), 22u);
  // A fresh store's counters start at one.
  EXPECT_EQ(solving[16] | solving[17] << 8 | solving[18] << 16 | solving[19] << 24, 1) << "counter A";
  EXPECT_EQ(solving[20] | solving[21] << 8, 1) << "counter B";
}

}  // namespace
}  // namespace qlx::e2e
