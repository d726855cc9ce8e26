// The main menu: layout, hover looks redrawn only on crossing a button's edge, the actions, a
// puzzle that cannot be made, and Exit saving the player's data.
#include "persistence/user_store.h"
#include "play_fixture.h"
#include "resources/string_table.h"

namespace qlx::testing_play {
namespace {

TEST_F(PlayTest, MainMenuLaidOutAndShown) {
  EXPECT_EQ(w->caption(), "Quillorix");
  EXPECT_FALSE(w->gamePlaying);
  EXPECT_FALSE(w->timerEnabled());
  const int tops[] = {245, 290, 335, 380};
  for (int i = 1; i <= 4; ++i) {
    const DrawRect& b = w->mainBtns(i);
    EXPECT_EQ(b.left, 275) << i;
    EXPECT_EQ(b.top, tops[i - 1]) << i;
    EXPECT_EQ(b.width, 200);
    EXPECT_EQ(b.height, 30);
    EXPECT_EQ(b.hPen, &program.graphics.penMenu);
  }
  EXPECT_EQ(w->titleRect.left, 249);
  EXPECT_EQ(w->titleRect.top, 100);
  // The background fills the client area; a resting button has no frame.
  EXPECT_EQ(shown(5, 5), program.graphics.brBackground.color);
  EXPECT_EQ(shown(275, 245), program.graphics.brBackground.color);
}

TEST_F(PlayTest, HoverRedrawsOnlyWhenThePointerCrossesAnEdge) {
  const Graphics& g = program.graphics;
  const int before = presents();
  move(300, 260);  // into New Game: framed, lift 8
  EXPECT_EQ(presents(), before + 1);
  EXPECT_EQ(w->mainBtns(1).hover, -1);
  EXPECT_EQ(shown(275, 250), g.penMenu.color);
  move(310, 262);  // within it: nothing drawn
  move(460, 270);
  EXPECT_EQ(presents(), before + 1);
  move(300, 100);  // out: unframed, lift 4
  EXPECT_EQ(presents(), before + 2);
  EXPECT_EQ(w->mainBtns(1).hover, 0);
  EXPECT_EQ(shown(275, 250), g.brBackground.color);
  // An edge pixel is outside the button.
  move(275, 260);
  EXPECT_EQ(presents(), before + 2);
}

TEST_F(PlayTest, MenuActionsWithAnyMouseButton) {
  backend.mouseDown(*w, 375, 305, vbRightButton);  // High Scores
  EXPECT_EQ(hallOfFameShown, std::vector<int>{2});
  backend.mouseDown(*w, 375, 350, vbMiddleButton);  // Help
  ASSERT_EQ(backend.documents.size(), 1u);
  EXPECT_EQ(backend.documents[0], program.appFolder + "QUILHLP.HTM");
  press(100, 100);  // on no button
  EXPECT_FALSE(w->gamePlaying);
  EXPECT_TRUE(backend.messages.empty());
}

// A library that never fills a grid.
struct FailingFiller : WordFiller {
  int32_t makeXWordPuzzle(uint8_t*, int32_t, int32_t) override { return 3; }
};

TEST_F(PlayTest, PuzzleThatCannotBeMadeIsReportedAndTheMenuStays) {
  w.reset();
  FailingFiller failing;
  program.puzzle.selectedNum = 0;
  const Puzzle before = program.puzzle;
  PlayWindow window(backend, PlayContext{program.puzzle, program.grids, failing, program.user,
                                         program.registry.get(), program.graphics, program.soundFiles,
                                         program.appFolder, {}});
  window.show();
  window.resizeWindow();
  window.initMainMenuVar();
  window.mainMenu(true);
  backend.mouseDown(window, 375, 260);
  ASSERT_EQ(backend.messages.size(), 1u);
  EXPECT_NE(backend.messages[0].text.find("could not fill"), std::string::npos);
  EXPECT_EQ(backend.messages[0].title, "Quillorix");
  EXPECT_FALSE(window.gamePlaying);
  EXPECT_FALSE(window.timerEnabled());
  EXPECT_EQ(program.puzzle, before);
  // The menu is showing again and still works.
  backend.mouseDown(window, 375, 305);
  EXPECT_EQ(backend.messages.size(), 1u);
}

TEST_F(PlayTest, ExitAndTheCloseBoxSaveThePlayersData) {
  newGame();
  press(60, 10 + 38 * 12 + 12);  // Quit Game
  program.user.bestScores(2).times(1) = 1234;
  program.user.bestScores(2).names(1) = "Ada";
  press(375, 395);  // Exit
  EXPECT_FALSE(w->isVisible());
  EXPECT_FALSE(w->isLoaded());

  UserData stored;
  stored.bestScores.redim(kLevels);
  loadUserData(*program.registry, backend, stored);
  EXPECT_EQ(stored.bestScores(2).times(1), 1234);
  EXPECT_EQ(stored.bestScores(2).names(1), "Ada");
  EXPECT_EQ(stored.solving.modeNum, 2);
  EXPECT_EQ(stored.solving.gridGroup, 2);
  EXPECT_TRUE(backend.messages.empty());
}

TEST_F(PlayTest, CloseBoxDuringAGameSavesToo) {
  newGame();
  program.user.bestScores(1).times(3) = 777;
  backend.closeBox(*w);
  UserData stored;
  stored.bestScores.redim(kLevels);
  loadUserData(*program.registry, backend, stored);
  EXPECT_EQ(stored.bestScores(1).times(3), 777);
}

}  // namespace
}  // namespace qlx::testing_play
