// The play window on the headless back end: what only the window does (the menu and its hover
// looks, the side panel, pause, where presses select, which keys make which move, what repaints,
// the messages and the end of a game). The rules behind the moves are Game's (tests/game); a
// puzzle that cannot be made is checked with the stored game (tests/startup).
#include <algorithm>

#include "drawkit/painters.h"
#include "drawkit/primitives.h"
#include "game/levels.h"
#include "persistence/level_store.h"
#include "persistence/user_store.h"
#include "play_fixture.h"
#include "resources/string_table.h"

namespace qlx::testing_play {
namespace {

TEST_F(PlayTest, MainMenuHoverIsRedrawnOnlyOnCrossingAnEdgeAndAnyMouseButtonActs) {
  const Graphics& g = program.graphics;
  EXPECT_EQ(shown(275, 250), g.brBackground.color) << "a resting button has no frame";
  const int before = presents();
  move(300, 260);  // into New Game: framed
  EXPECT_EQ(shown(275, 250), g.penMenu.color);
  move(460, 270);  // within it: nothing drawn
  EXPECT_EQ(presents(), before + 1);
  move(300, 100);  // out: unframed
  EXPECT_EQ(shown(275, 250), g.brBackground.color);
  move(275, 260);  // an edge pixel is outside the button
  EXPECT_EQ(presents(), before + 2);
  // Back at the menu with the pointer on a button, its flag is kept: leaving it redraws it.
  move(300, 260);
  w->mainMenu(true);
  const int atMenu = presents();
  move(300, 100);
  EXPECT_EQ(presents(), atMenu + 1);

  backend.mouseDown(*w, 375, 305, vbRightButton);  // High Scores
  EXPECT_EQ(hallOfFameShown, std::vector<int>{2});
  backend.mouseDown(*w, 375, 350, vbMiddleButton);  // Help
  EXPECT_EQ(backend.documents, std::vector<std::string>{program.appFolder + "QUILHLP.HTM"});
  press(100, 100);  // on no button
  EXPECT_FALSE(w->gamePlaying);
}

TEST_F(PlayTest, NewGameRunsTheClockAndOnlySideButtonsReactUntilQuitGame) {
  newGame();
  EXPECT_EQ(w->timerInterval(), 1000);
  EXPECT_EQ(w->timerStr, "0:00.0");
  EXPECT_EQ(w->bestScoreValString, "50:00");  // the default best time, 30000 tenths
  EXPECT_EQ(shown(60, 590), program.graphics.brPanel.color);
  int before = presents();
  for (int i = 3; i <= 6; ++i) {  // the labels
    move(60, w->sideItems(i).top + 12);
    pressItem(i);
  }
  EXPECT_EQ(presents(), before);
  move(60, 238 + 12);  // Hall of Fame: hover look
  EXPECT_EQ(presents(), before + 1);
  pressItem(7);
  backend.documentsOpen = false;  // with no program to show the page, a message says where it is
  pressItem(9);                   // Instructions
  EXPECT_EQ(hallOfFameShown, std::vector<int>{2});
  EXPECT_EQ(backend.documents, std::vector<std::string>{program.appFolder + "QUILHLP.HTM"});
  EXPECT_NE(backend.messages.at(0).text.find(program.appFolder + "QUILHLP.HTM"), std::string::npos);

  selectOpenCell();
  pressItem(13);  // Quit Game: the menu, where the side panel and the keys are dead
  EXPECT_FALSE(w->timerEnabled());
  EXPECT_EQ(program.puzzle.selectedNum, 0);
  EXPECT_EQ(shown(60, 590), program.graphics.brBackground.color);
  before = presents();
  pressItem(8);  // where Pause was
  move(60, 238 + 12);
  pressItem(7);
  backend.type(*w, "aB ");
  backend.keyDown(*w, VK_DELETE);
  EXPECT_EQ(hallOfFameShown.size(), 1u);
  EXPECT_EQ(presents(), before);
  program.puzzle.selectedNum = 25;  // whatever was left, a new game clears it
  newGame();
  EXPECT_EQ(program.puzzle.selectedNum, 0);
}

TEST_F(PlayTest, CodeStripTopRoundsHalvesToEvenAndMayRiseAboveTheBoard) {
  Puzzle& p = program.puzzle;  // 12 rows give cells of 35, 21 letters 11 strip rows
  p.gridRows = 12, p.gridCols = 15, p.letterCount = 21;
  w->initCWDi();
  w->initCWVar();
  EXPECT_EQ(w->codeStrip.top, 42);  // Round(17.5 + 25)
  p.gridRows = 4, p.letterCount = 26;
  w->initCWVar();
  EXPECT_EQ(w->codeStrip.top, 25 - 9 * 106 / 2);
}

TEST_F(PlayTest, PauseOrEscapeCoversTheBoardAndAClickPutsItBack) {
  backend.keyPress(*w, VK_ESCAPE);  // menu mode: nothing to pause, the window is minimised
  EXPECT_FALSE(w->paused());
  EXPECT_EQ(w->windowState(), vbMinimized);
  newGame();
  const std::vector<uint32_t> board = backend.screen(*w);
  pressItem(8);
  EXPECT_EQ(shown(w->gridBoard.left + 2, w->gridBoard.top + 2), program.graphics.brPanel.color);
  bool text = false;  // the notice, in the message colour somewhere in the middle
  for (int x = 0; x < kPlayWidth; ++x)
    text = text || shown(x, 300) == program.graphics.clrMessageText;
  EXPECT_TRUE(text);
  backend.advance(5000);
  // Keys and pointer moves under the notice change and paint nothing.
  const Puzzle model = program.puzzle;
  const int before = presents();
  backend.type(*w, "x ");
  backend.keyDown(*w, VK_DELETE);
  move(60, 238 + 12);
  EXPECT_EQ(presents(), before);
  EXPECT_EQ(program.puzzle, model);
  // A press anywhere, even on a cell, resumes without selecting.
  pressCell(openCell().first, openCell().second);
  EXPECT_FALSE(w->paused());
  EXPECT_EQ(program.puzzle.selectedNum, 0);
  EXPECT_EQ(backend.screen(*w), board);
  backend.tick(*w);
  EXPECT_EQ(w->game().elapsedTime(), 10) << "the paused time does not count";
  // Escape pauses and minimises; a second Escape keeps the board kept aside, not the notice.
  const std::vector<uint32_t> later = backend.screen(*w);
  backend.keyPress(*w, VK_ESCAPE);
  EXPECT_TRUE(w->paused());
  EXPECT_EQ(w->windowState(), vbMinimized);
  backend.keyPress(*w, VK_ESCAPE);
  press(400, 300);
  EXPECT_EQ(backend.screen(*w), later);
}

// Which cells repaint when a cell is pressed is checked end to end (tests/e2e); here the edges.
TEST_F(PlayTest, GridAndCodeStripEdgesAndPressesThatClearTheSelection) {
  newGame();
  const Puzzle& p = program.puzzle;
  const DrawRect &gb = w->gridBoard, &cs = w->codeStrip;
  const int num = selectOpenCell();
  // The grid's first pixel row and column are outside it: the selection stays.
  EXPECT_FALSE(w->hitTestGrid(gb.left, gb.top + 10));
  EXPECT_FALSE(w->hitTestGrid(gb.left + 10, gb.top));
  EXPECT_EQ(p.selectedNum, num);
  // A block is handled by the grid (the strip is not asked) and clears the selection.
  int block = 0;
  while (p.gridShape(block + 1) != 0) ++block;
  EXPECT_TRUE(w->hitTestGrid(gb.left + (block % p.gridCols + 0.5) * gb.width,
                             gb.top + (block / p.gridCols + 0.5) * gb.width));
  EXPECT_EQ(p.selectedNum, 0);
  selectOpenCell();
  press(gb.left + 10, gb.top + p.gridRows * gb.width + 5);  // below the grid
  EXPECT_EQ(p.selectedNum, 0);

  const int perCol = (p.letterCount + 1) / 2;
  int r = 0;  // a strip row whose two numbers are both not given
  while (p.givenNums(r + 1) == 1 || p.givenNums(perCol + r + 1) == 1) ++r;
  // Presses at x selecting a number: the strip's first pixel column is in it, the second
  // column's first pixel counts to the first, and a number's letter box selects it too.
  using Press = std::pair<int, int>;
  for (auto [x, selected] : {Press{cs.left, r + 1}, Press{cs.left + 2 * cs.width, r + 1},
                             Press{cs.left + 2 * cs.width + 1, perCol + r + 1},
                             Press{cs.left + 3 * cs.width + 3, perCol + r + 1}}) {
    press(x, cs.top + (r + 0.5f) * cs.width);
    EXPECT_EQ(p.selectedNum, selected) << x - cs.left;
  }
  press(cs.left + 5, cs.top + perCol * cs.width + 2);  // below the last strip row
  EXPECT_EQ(p.selectedNum, 0);
}

TEST_F(PlayTest, LettersEnterBackspaceSpaceAndDeleteEraseAndOnlyAChangeRepaints) {
  newGame();
  Puzzle& p = program.puzzle;
  const int num = selectOpenCell();
  backend.type(*w, "e");
  int before = presents();
  backend.type(*w, "E");  // the same letter again: nothing repainted
  EXPECT_EQ(presents(), before);
  backend.type(*w, "r");  // R is a letter like any other: no reveal, no penalty
  EXPECT_EQ(p.entries(num), 'R');
  EXPECT_EQ(w->game().elapsedTime(), 0);
  for (int erase : {VK_BACK, VK_SPACE, VK_DELETE}) {  // Delete is a key with no character
    const auto hit = [&] {
      erase == VK_DELETE ? backend.keyDown(*w, erase) : backend.keyPress(*w, erase);
    };
    backend.type(*w, "z");
    hit();
    EXPECT_EQ(p.entries(num), 0) << erase;
    before = presents();
    hit();                   // on the empty entry: nothing repainted
    backend.type(*w, "1.");  // keys that are no letter do nothing
    EXPECT_EQ(presents(), before);
  }
  EXPECT_TRUE(backend.messages.empty());
}

// Then the solution, paid again only after a move, and a time with no place that asks no name.
TEST_F(PlayTest, CheckRevealAndShowSolutionSayWhatTheyFoundAndCostAndAWrongFullBoardIsReported) {
  newGame();
  const auto said = [&] { return backend.messages.back().text; };
  pressItem(11);
  EXPECT_EQ(said(), loadString(IDS_ENTRIES_MATCH));
  pressItem(10);
  EXPECT_EQ(said(), loadString(IDS_SELECT_CODE_FIRST));
  const int num = selectOpenCell();
  pressItem(10);
  EXPECT_EQ(w->timerStr, "0:30") << "the clock label shows the penalty at once";
  pressItem(10);
  EXPECT_EQ(said(),
            "The entry for this number is correct - please select another number to decode");
  backend.type(*w, std::string(1, wrongLetterOf(num)));
  pressItem(11);
  EXPECT_EQ(said(), "Our solution is diffrent from the entries.\n ");
  EXPECT_EQ(backend.messages.size(), 4u) << "only the difference is reported";
  typeAll(num);  // the full board with a wrong entry
  EXPECT_EQ(backend.messages.size(), 5u);
  EXPECT_EQ(said(), loadString(IDS_ENTRIES_DIFFER));
  pressItem(12);
  pressItem(12);  // the solution on the board is already paid for
  select(num);    // a move puts the board back; the next showing costs again
  pressItem(12);
  EXPECT_EQ(w->game().elapsedTime(), 300 + 48000);
  backend.type(*w, std::string(1, letterOf(num)));
  EXPECT_FALSE(w->gamePlaying);
  EXPECT_TRUE(hallOfFameShown.empty());
  EXPECT_EQ(std::ranges::count(backend.sounds, program.soundFiles[sndClap]), 0);
}

// The applause needs sound switches 0 and 6 both on; the name and Hall of Fame come either way.
TEST_F(PlayTest, SolvingStopsTheClockAsksTheNameRanksTheTimeAndApplauds) {
  for (int k : {0, 1, 2}) {
    program.user.soundOptions.fill(1);
    if (k > 0) program.user.soundOptions[k == 1 ? 0 : 6] = 0;
    backend.sounds.clear();
    hallOfFameShown.clear();
    newGame();
    for (int i = 0; i < 50; ++i) backend.tick(*w);
    backend.onNextModal([&](Window& dialog) {
      backend.type(dialog, "Ada");
      backend.keyPress(dialog, 13);
    });
    typeAll();
    EXPECT_EQ(backend.messages.back().text,
              "Congrats ! You have Successfully solved the puzzle\n Time consumed 0:50.0");
    EXPECT_EQ(hallOfFameShown, std::vector<int>{2});
    // An equal time ranks below the ones already there.
    EXPECT_EQ(program.user.bestScores(2).times(k + 1), 500);
    EXPECT_EQ(program.user.bestScores(2).names(k + 1), "Ada");
    const auto claps =
        std::count(backend.sounds.begin(), backend.sounds.end(), program.soundFiles[sndClap]);
    EXPECT_EQ(claps, k == 0 ? 1 : 0) << k;
    EXPECT_EQ(backend.sounds.back(), "0") << "the applause stops once the Hall of Fame closed";
    EXPECT_FALSE(w->timerEnabled());
  }
}

// Leaving by Exit (from the menu) or by the close box during a game saves the player's data,
// including a best time whose own save failed.
TEST_F(PlayTest, ExitAndTheCloseBoxSaveThePlayersData) {
  for (const bool viaExit : {true, false}) {
    if (!viaExit) SetUp();  // a fresh start for the second way out
    newGame();
    program.user.unsavedChanges.push_back([](Array1<BestList>& lists) {
      lists(2).times(1) = 1234;
      lists(2).names(1) = "Ada";
    });
    if (viaExit) {
      pressItem(13);    // Quit Game
      press(375, 395);  // Exit
    } else {
      backend.closeBox(*w);
    }
    EXPECT_FALSE(w->isLoaded()) << viaExit;
    UserData stored;
    stored.bestScores.redim(kLevels);
    ASSERT_TRUE(loadUserData(*program.registry, stored).ok());
    EXPECT_EQ(stored.bestScores(2).times(1), 1234) << viaExit;
    EXPECT_EQ(stored.bestScores(2).names(1), "Ada") << viaExit;
    EXPECT_EQ(stored.solving.gridGroup, 2) << viaExit;
    EXPECT_TRUE(backend.messages.empty()) << viaExit;
  }
}

// Keyboard play as the player sees it: the cursor's outline follows Tab and the arrows, undo
// and redo repaint the entry, and a letter typed for two numbers turns red with its alphabet box.
TEST_F(PlayTest, KeysMoveTheOutlinedCursorUndoRedoAndClashingEntriesShowRed) {
  const Graphics& g = program.graphics;
  const Puzzle& p = program.puzzle;
  backend.keyDown(*w, VK_DOWN);  // the menu: Down hovers New Game, Enter starts it
  EXPECT_EQ(shown(275, 250), g.penMenu.color);
  backend.keyDown(*w, VK_RETURN);
  ASSERT_TRUE(w->gamePlaying);
  // The outline's corner pixel and a pixel next to it inside the cell.
  auto outlined = [&](Cell at) {
    const Rect r = cellSquare(w->gridBoard, at.col, at.row);
    return shown(r.left, r.top) == g.brBlock.color &&
           shown(r.left + kCursorLine, r.top + kCursorLine) != g.brBlock.color;
  };
  backend.keyDown(*w, VK_TAB);
  const int first = p.selectedNum;
  const Cell firstCell = w->game().cursor();
  ASSERT_TRUE(first != 0 && outlined(firstCell));
  for (const int arrow : {VK_RIGHT, VK_DOWN}) backend.keyDown(*w, arrow);
  if (w->game().cursor() != firstCell) {
    EXPECT_FALSE(outlined(firstCell)) << "one outline at a time";
    EXPECT_TRUE(outlined(w->game().cursor()));
  }

  backend.keyDown(*w, VK_HOME);
  EXPECT_EQ(p.selectedNum, first);
  char letter = 'A';  // a letter no given number shows
  for (int n = 1; n <= p.letterCount; ++n)
    if (p.givenNums(n) == 1 && letterOf(n) == letter) letter += 1, n = 0;
  backend.type(*w, std::string(1, letter));
  backend.keyDown(*w, VK_TAB);
  const int second = p.selectedNum;
  backend.type(*w, std::string(1, letter));  // the same letter: a clash
  auto clashPixels = [&](const DrawRect& area, int columns, int rows) {
    int n = 0;
    for (int y = area.top; y < area.top + rows * area.width; ++y)
      for (int x = area.left; x < area.left + columns * area.width; ++x)
        n += shown(x, y) == kClrClash;
    return n;
  };
  auto inGrid = [&] { return clashPixels(w->gridBoard, p.gridCols, p.gridRows); };
  const int clashing = inGrid();
  EXPECT_TRUE(clashing > 0 && clashPixels(w->codeStrip, 4, (p.letterCount + 1) / 2) > 0 &&
              clashPixels(w->alphabetPanel, 13, 2) > 0);

  backend.keyDown(*w, VK_Z, vbCtrlMask);  // the clash is taken back
  EXPECT_TRUE(p.entries(second) == 0 && inGrid() == 0 && clashPixels(w->alphabetPanel, 13, 2) == 0);
  backend.keyDown(*w, VK_Z, vbCtrlMask | vbShiftMask);
  EXPECT_TRUE(p.entries(second) == letter && inGrid() == clashing);
  backend.keyDown(*w, VK_Z, vbCtrlMask);
  backend.keyDown(*w, VK_Y, vbCtrlMask);
  EXPECT_EQ(p.entries(second), letter);
  backend.keyDown(*w, VK_Z);  // without Ctrl a Z is only a letter's key
  EXPECT_EQ(p.entries(second), letter);
}

// The quick level: chosen on the menu by a click or Left and Right, remembered in the store, and
// played on the small grids with a best-time list of its own.
TEST_F(PlayTest, TheQuickLevelIsChosenOnTheMenuRememberedAndRankedInItsOwnList) {
  const DrawRect s = w->levelSwitch;
  const auto switchPixels = [&] {
    std::vector<ColorRef> px;
    for (int y = s.top; y < s.top + s.height; ++y)
      for (int x = s.left; x < s.left + s.width; ++x) px.push_back(shown(x, y));
    return px;
  };
  const auto standard = switchPixels();
  EXPECT_GT(std::ranges::count(standard, program.graphics.clrHoverText), 30) << "captioned";
  press(s.left + 100, s.top + 14);
  EXPECT_EQ(program.user.chosenLevel, kQuickLevel);
  EXPECT_NE(switchPixels(), standard);
  backend.keyDown(*w, VK_RIGHT);
  EXPECT_EQ(switchPixels(), standard) << "Left and Right switch back";
  backend.keyDown(*w, VK_LEFT);
  EXPECT_EQ(loadChosenLevel(*program.registry), kQuickLevel) << "saved at once";

  press(375, 305);  // High Scores: the chosen level's list
  EXPECT_EQ(hallOfFameShown, std::vector<int>{kQuickLevel});
  newGame();
  EXPECT_EQ(w->game().group(), 1);
  EXPECT_EQ(program.user.solving.modeNum, kQuickLevel);
  EXPECT_TRUE(program.puzzle.gridRows == 11 || program.puzzle.gridRows == 12);
  backend.onNextModal([&](Window& dialog) {
    backend.type(dialog, "Kim");
    backend.keyPress(dialog, 13);
  });
  typeAll();
  EXPECT_EQ(hallOfFameShown, (std::vector<int>{kQuickLevel, kQuickLevel}));
  EXPECT_EQ(program.user.bestScores(kQuickLevel).names(1), "Kim");
  EXPECT_EQ(program.user.bestScores(kStandardLevel).names(1), "Anononymous");
}

}  // namespace
}  // namespace qlx::testing_play
