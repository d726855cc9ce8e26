// frmQLX, the one window the game is played in: the main menu, the side panel, the board with
// its code strip and alphabet panel, selection and typing, pause and the play clock. Everything
// is painted onto the window's image; the handlers route every press and key.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <utility>

#include "core/array1.h"
#include "core/random.h"
#include "drawkit/draw_rect.h"
#include "drawkit/graphics.h"
#include "drawkit/sounds.h"
#include "game/game.h"
#include "persistence/save_notice.h"
#include "persistence/user_data.h"
#include "platform/registry.h"
#include "platform/window.h"
#include "puzzle/fill_library.h"
#include "puzzle/model.h"

namespace qlx {

// The program-wide pieces the play window works on; they outlive the window.
struct PlayContext {
  Puzzle& puzzle;
  const GridIndex& grids;
  WordFiller& filler;
  const WordTable* acceptance;  // a new puzzle has one solution under these words; null: unchecked
  UserData& user;
  Random& random;          // the draws of new games
  Registry* registry;      // where the user data are saved; null saves nothing
  SaveNotice* saveNotice;  // tells the player once that saving failed; null: told nothing
  const Graphics& graphics;
  const SoundFiles& sounds;
  std::string appFolder;  // ends in a separator
  // Shows the Hall of Fame of a level modally; unset shows nothing.
  std::function<void(int modeNum)> showHallOfFame;
};

// Layout constants of the window, in client pixels.
inline constexpr int kPlayWidth = 800;
inline constexpr int kPlayHeight = 600;
inline constexpr int kBoardEdge = 425;
inline constexpr int kBoardTop = 25;
inline constexpr int kClockMillis = 1000;
inline constexpr int kSideItems = 13;
// The typeface of every caption and cell; the window sets only sizes and weight.
inline constexpr const char* kPlayFontFace = "Arial";

class PlayWindow : public Window {
 public:
  PlayWindow(Backend& backend, PlayContext context);

  // Start-up, after show(): the menu is centred on the layout width set here.
  void resizeWindow();
  void initMainMenuVar();
  void mainMenu(bool boolShow);
  void mainMenuAction(int i);

  // Game start.
  void startGame();
  void initCWDi();
  void initCWVar();
  void initRPBtns();
  void rightMenuAction(int itemClicked);

  // Selection and input.
  bool hitTestGrid(int x, int y);
  // The keys of the board: Delete erases; Tab, Shift+Tab, Home and End pick a number without
  // entry; the arrows move the cell cursor; Ctrl+Z undoes, Ctrl+Y and Ctrl+Shift+Z redo.
  void playKeyDown(int keyCode, bool shifted, bool ctrl);
  // The keys of the main menu: Up and Down move the hover look, Enter chooses.
  void menuKeyDown(int keyCode);
  // The main menu's level switch: the other level chosen, shown and saved at once.
  void switchLevel();
  bool hitTestCodeGrid(int x, int y);
  void processKeyInput(int charVal);
  void eraseCurrentVal();
  void refreshSelectionChange();

  // Pause: true covers the window with the pause notice and stops the clock; false puts the
  // board back as it was and starts the clock again.
  void enablePause(bool b);
  bool paused() const { return paused_; }

  // The clock's tick: ten tenths more and the clock label redrawn.
  void timr_Timer();

  // The aids and the end of a game, as moves of the game. revealCurrentCell enters the selected
  // number's letter; checkSolution is true when no entry is wrong (and says so when one is);
  // showSolution paints the solution over the board; checkGameOver ends a solved game: the clock
  // stops, the time is shown, ranked and perhaps named (checkIfBest).
  void revealCurrentCell();
  bool checkSolution();
  void showSolution();
  void checkGameOver();
  void checkIfBest();

  // Shows the puzzle in memory as a game under way on grid puzzleNum of group: the board, strip
  // and side panel laid out and painted with its entries and selection, and the clock running on
  // from elapsed.
  void resumeGame(int32_t elapsed, int32_t puzzleNum, int16_t group);

  // Stores the game on the board for the next start (the window closing while a game runs).
  void storeGameInPlay();

  // Window events.
  void Form_Load() override;
  void Form_Unload(int& cancel) override;
  void Form_MouseDown(int button, int shift, float x, float y) override;
  void Form_MouseMove(int button, int shift, float x, float y) override;
  void Form_KeyDown(int& keyCode, int& shift) override;
  void Form_KeyPress(int& keyAscii) override;
  void Timer_Tick() override { timr_Timer(); }

  // The game on the board: its rules, its clock and the grid it was made from.
  Game& game() { return game_; }
  const Game& game() const { return game_; }

  // State, readable by tests.
  bool gamePlaying = false;  // game mode (else the main menu shows)
  std::string bestScoreValString;
  std::string timerStr;
  int32_t myHt = 0;  // layout size in pixels (twips are not used on this platform)
  int32_t myWid = 0;

  DrawRect bgRect;
  DrawRect titleRect;
  Array1<DrawRect> mainBtns{4};
  DrawRect levelSwitch;  // "Level: Standard" / "Level: Quick", between the title and New Game
  DrawRect sidePanel;
  Array1<DrawRect> sideItems{kSideItems};
  DrawRect boardFrame;
  DrawRect gridBoard;
  DrawRect codeStrip;
  DrawRect alphabetPanel;

  const PlayContext& context() const { return ctx_; }

 private:
  void setFont(double points, bool bold);
  void drawSideItem(int i, int32_t lift);
  std::string sideCaption(int i) const;
  void hoverButton(DrawRect& rec, const std::string& caption, float x, float y);
  void clearSelection();
  // Repaints what a move of the game changed and says what it means (a wrong board, the end).
  void showChanges(const Changes& changes);
  void layoutBoard(const Puzzle& p);
  // Lays out and paints the board, strip, alphabet and side panel of the puzzle in memory, the
  // clock label showing elapsedTime; shared by a new game and a resumed one.
  void paintGameUnderWay();
  void paintPauseNotice();
  // Redraws the main menu's buttons with the hover look on button i alone (none for 0).
  void hoverMainButton(int i);
  std::string levelCaption() const;

  PlayContext ctx_;
  Game game_;
  bool paused_ = false;
  std::unique_ptr<DeviceContext> underPause_;  // the picture the pause notice covers
};

}  // namespace qlx
