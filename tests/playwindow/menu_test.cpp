// The main menu: layout, hover looks redrawn only on crossing a button's edge, the actions, a
// puzzle that cannot be made, and Exit or the close box saving the player's data.
#include <array>

#include "persistence/user_store.h"
#include "play_fixture.h"

namespace qlx::testing_play {
namespace {

TEST_F(PlayTest, MainMenuLayoutAndHoverRedrawnOnlyOnCrossingAnEdge) {
  EXPECT_EQ(w->caption(), "Quillorix");
  EXPECT_FALSE(w->gamePlaying);
  EXPECT_FALSE(w->timerEnabled());
  for (int i = 1; i <= 4; ++i) {
    const DrawRect& b = w->mainBtns(i);
    EXPECT_EQ((std::array{b.left, b.top, b.width, b.height}),
              (std::array{275, 200 + 45 * i, 200, 30}))
        << i;
  }
  const Graphics& g = program.graphics;
  EXPECT_EQ(shown(275, 245), g.brBackground.color) << "a resting button has no frame";
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
  move(275, 260);  // an edge pixel is outside the button
  EXPECT_EQ(presents(), before + 2);

  // Back at the menu with the pointer on a button, its flag is kept: leaving it redraws it.
  move(300, 260);
  w->mainMenu(true);
  EXPECT_EQ(w->mainBtns(1).hover, -1);
  const int atMenu = presents();
  move(300, 100);
  EXPECT_EQ(presents(), atMenu + 1);
}

TEST_F(PlayTest, MenuActionsWithAnyMouseButton) {
  backend.mouseDown(*w, 375, 305, vbRightButton);  // High Scores
  EXPECT_EQ(hallOfFameShown, std::vector<int>{2});
  backend.mouseDown(*w, 375, 350, vbMiddleButton);  // Help
  EXPECT_EQ(backend.documents, std::vector<std::string>{program.appFolder + "QUILHLP.HTM"});
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
  PlayWindow window(backend, PlayContext{program.puzzle,
                                         program.grids,
                                         failing,
                                         program.user,
                                         program.random,
                                         program.registry.get(),
                                         nullptr,
                                         program.graphics,
                                         program.soundFiles,
                                         program.appFolder,
                                         {}});
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
  backend.mouseDown(window, 375, 305);  // the menu is showing again and still works
  EXPECT_EQ(backend.messages.size(), 1u);
}

class SaveTest : public PlayTest {
 protected:
  // A game started and a best time whose save failed, then saved by Exit (from the menu) or by
  // the close box.
  void playAndLeave(bool viaExit) {
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
    EXPECT_FALSE(w->isVisible());
    EXPECT_FALSE(w->isLoaded());
    UserData stored;
    stored.bestScores.redim(kLevels);
    (void)loadUserData(*program.registry, stored);
    EXPECT_EQ(stored.bestScores(2).times(1), 1234);
    EXPECT_EQ(stored.bestScores(2).names(1), "Ada");
    EXPECT_EQ(stored.solving.modeNum, 2);
    EXPECT_EQ(stored.solving.gridGroup, 2);
    EXPECT_TRUE(backend.messages.empty());
  }
};

TEST_F(SaveTest, ExitSavesThePlayersData) { playAndLeave(true); }
TEST_F(SaveTest, TheCloseBoxDuringAGameSavesToo) { playAndLeave(false); }

}  // namespace
}  // namespace qlx::testing_play
