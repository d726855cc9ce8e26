// The game started on a private X display for end-to-end tests, and what they read off its
// screenshots: the play window's layout, the board, the code strip, colours and the settings store.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "drawkit/graphics.h"
#include "x_session.h"

namespace qlx::e2e {

// The play window's layout, in client pixels (it opens at this size on a 96 dpi display).
inline constexpr int kWidth = 800, kHeight = 600;
inline constexpr int kSidePanelWidth = 125;
inline constexpr int kBoardLeft = kSidePanelWidth + 40, kBoardTop = 25, kBoardEdge = 425;
// The main menu's buttons are 200 × 30, centred on a width of 750, the n-th at 45 n + 200.
inline constexpr int kMenuLeft = 275;
inline int menuTop(int n) { return 45 * n + 200; }
// Side panel buttons 7 and up: 120 × 25 at x = 1, y = 10 + 38 (n - 1).
inline int sideTop(int n) { return 10 + 38 * (n - 1); }
inline constexpr int kHallOfFameItem = 7, kRevealItem = 10, kQuitItem = 13;
// The alphabet panel: 13 boxes of 25 a row, from (L + 50, board bottom + 25).
inline constexpr int kAlphabetLeft = kBoardLeft + 50, kAlphabetTop = kBoardTop + kBoardEdge + 25,
                     kAlphabetBox = 25;
// The Hall of Fame: 466 × 454, its OK button 3 × 30 dialog units of 44 pixels at (88, 396).
inline constexpr int kStatsWidth = 466, kStatsHeight = 454;
inline constexpr int kOkLeft = 88, kOkTop = 396, kOkWidth = 132, kOkHeight = 30;

inline const char* const kGameName = "^Quillorix$";
inline const char* const kStatsName = "^Best Scores - Quillorix$";

// Text in the entry colour, blended into whatever it is drawn on: clearly more blue than red.
bool bluish(uint32_t c);

// The board as it shows: the cell size and the number of rows and columns, found from the
// two-pixel lines of background colour between the cells.
struct Board {
  int cell = 0, rows = 0, cols = 0;
  bool found() const { return cell > 2 && rows > 0 && cols > 0; }
  // The painted square of a cell; its first pixel row and column and the next cell's are lines.
  Box square(int col, int row) const {
    return {kBoardLeft + col * cell + 1, kBoardTop + row * cell + 1, cell - 2, cell - 2};
  }
};

Board findBoard(const Image& img, uint32_t background);

// The code strip right of the board: numbers 1..count in two columns, each a number box (block
// colour) followed by a letter box, the first column holding the first half rounded up.
struct Strip {
  int left = 0, top = 0, cell = 0, count = 0;
  int perColumn() const { return (count + 1) / 2; }
  Box letterBox(int n) const {
    const int column = (n - 1) / perColumn() * 2 + 1, row = (n - 1) % perColumn();
    return {left + column * cell + 1, top + row * cell + 1, cell - 2, cell - 2};
  }
};

// The strip as it shows beside board b: its number boxes are counted down both columns.
Strip findStrip(const Image& img, const Board& b, uint32_t block);

// The bytes of value name in quillorix-reg's export (hex:..., lines joined by "\"); empty when
// the value is not there or not written as hex.
std::vector<int> hexValue(const std::string& text, const std::string& name);
// The first four bytes of a value as a little-endian number.
int32_t le32(const std::vector<int>& bytes);

enum class Kind { Block, Plain, Selected, Other };

// Starts Xvfb and the game with its settings in a temporary XDG_DATA_HOME; launch() starts it
// again over the same settings once it has ended.
class PlaySession : public XTest {
 protected:
  void SetUp() override;

  // Starts the game and waits for its window (window_); false, with a failure, if it did not show.
  bool launch();
  // The close box, as a window manager sends it; true when the game then ended with 0.
  bool closeGame();

  // quillorix-reg's export of the game's store; its exit code is checked.
  std::string exportStore();

  void clickIn(const Box& b) { click(window_, b.x + b.width / 2, b.y + b.height / 2); }
  void clickMenu(int n) { click(window_, kMenuLeft + 100, menuTop(n) + 15); }
  void clickSide(int n) { click(window_, 60, sideTop(n) + 12); }
  // A visible window matching nameRegex other than except, waited for up to timeoutMs; 0 if none.
  unsigned long waitForOtherWindow(const std::string& nameRegex, unsigned long except,
                                   int timeoutMs);
  // Waits until window has the keyboard focus, so that keys go to it; false on timeout.
  bool waitForFocus(unsigned long window, int timeoutMs = 10000);
  // Waits for a dialog named nameRegex and for it to take the keys; 0, with a failure, if none.
  unsigned long waitForDialog(const std::string& nameRegex);

  // Waits for the Hall of Fame to open and take the keys (stats: its window, 0 with a failure if
  // none); its screenshot once it shows its OK button.
  Image hallOfFame(unsigned long& stats) {
    stats = waitForDialog(kStatsName);
    if (stats == 0) return {};
    return shotWhen(stats, kStatsWidth, kStatsHeight,
                    [&](const Image& i) { return statsShows(i); });
  }

  // A screenshot of the play window that passes ready (see shotWhen).
  Image shot(const std::function<bool(const Image&)>& ready, int timeoutMs = 20000) {
    return shotWhen(window_, kWidth, kHeight, ready, timeoutMs);
  }

  uint32_t background() const { return rgbOf(g_.brBackground.color); }
  // True when the window shows the main menu's four buttons and no side panel.
  bool mainMenuShows(const Image& img) const;
  // True when the n-th side panel button shows its caption.
  bool sideShows(const Image& img, int n) const;
  // True when a Hall of Fame screenshot shows its OK button's caption.
  bool statsShows(const Image& img) const;
  Kind kindOf(const Image& img, const Box& square) const;
  // A given letter is drawn in black; a cell's number in grey.
  bool showsBlackText(const Image& img, const Box& square) const;
  // The pixels that differ between two shots of the window, outside the side panel (its clock
  // ticks on its own).
  std::vector<std::pair<int, int>> changes(const Image& a, const Image& b) const;

  // New Game from the main menu; the first finished picture of the game, or an empty image.
  Image newGame();

  Graphics g_;
};

}  // namespace qlx::e2e
