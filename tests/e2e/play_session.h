// The game started on a private X display for end-to-end tests, and what they read off its
// screenshots: the play window's layout, the board, the code strip, colours and the settings store.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
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

uint32_t rgbOf(ColorRef c);
std::string hex(uint32_t c);
int channel(uint32_t c, int shift);
bool near(uint32_t a, uint32_t b, int tolerance);
// Text in the entry colour, blended into whatever it is drawn on: clearly more blue than red.
bool bluish(uint32_t c);

struct Box {
  int x = 0, y = 0, width = 0, height = 0;
  bool contains(int px, int py) const { return px >= x && py >= y && px < x + width && py < y + height; }
};

int countIn(const Image& img, const Box& b, const std::function<bool(uint32_t)>& test);
// The pixels of a box, row by row, to compare two boxes' pictures.
std::vector<uint32_t> pixelsOf(const Image& img, const Box& b);

// The board as it shows: the cell size and the number of rows and columns, found from the
// two-pixel lines of background colour between the cells.
struct Board {
  int cell = 0, rows = 0, cols = 0;
  bool found() const { return cell > 2 && rows > 0 && cols > 0; }
  // The painted square of a cell; its first pixel row and column and the next cell's are lines.
  Box square(int col, int row) const {
    return {kBoardLeft + col * cell + 1, kBoardTop + row * cell + 1, cell - 2, cell - 2};
  }
  Box area() const { return {kBoardLeft, kBoardTop, cols * cell, rows * cell}; }
};

Board findBoard(const Image& img, uint32_t background);

// The code strip right of the board: numbers 1..count in two columns, each a number box (block
// colour) followed by a letter box, the first column holding the first half rounded up.
struct Strip {
  int left = 0, top = 0, cell = 0, count = 0;
  int perColumn() const { return (count + 1) / 2; }
  Box numberBox(int n) const;
  Box letterBox(int n) const;
};

// The strip as it shows beside board b: its number boxes are counted down both columns.
Strip findStrip(const Image& img, const Board& b, uint32_t block);

// The bytes of value name in quillorix-reg's export (hex:..., lines joined by "\"); empty when
// the value is not there or not written as hex.
std::vector<int> hexValue(const std::string& text, const std::string& name);
// The first four bytes of a value as a little-endian number.
int32_t le32(const std::vector<int>& bytes);

enum class Kind { Block, Plain, Selected, Other };

// Starts Xvfb and the game with its settings in a temporary XDG_DATA_HOME; relaunch() starts it
// again over the same settings once it has ended.
class PlaySession : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  // Starts the game and waits for its window (window_); false, with a failure, if it did not show.
  bool launch();

  std::string errors() const;
  std::string storePath() const { return (home_ / "quillorix" / "settings.db").string(); }
  // quillorix-reg's export of the game's store; its exit code is checked.
  std::string exportStore();

  void click(unsigned long window, int x, int y);
  void key(const std::string& name);
  // The ids of the visible windows whose name matches nameRegex.
  std::vector<unsigned long> windowsNamed(const std::string& nameRegex) const;
  // A visible window matching nameRegex other than except, waited for up to timeoutMs; 0 if none.
  unsigned long waitForOtherWindow(const std::string& nameRegex, unsigned long except, int timeoutMs);
  // Waits until window has the keyboard focus, so that keys go to it; false on timeout.
  bool waitForFocus(unsigned long window, int timeoutMs = 10000);

  // Screenshots of window until one of the given size passes ready, up to timeoutMs; the last
  // one taken either way.
  Image shotWhen(unsigned long window, int width, int height, const std::function<bool(const Image&)>& ready,
                 int timeoutMs = 20000);
  void save(const Image& img, const std::string& name);

  // True when the n-th main menu button shows its caption.
  bool menuShows(const Image& img, int n) const;
  // True when the n-th side panel button shows its caption.
  bool sideShows(const Image& img, int n) const;
  // True when the window shows a game: the side panel down to Quit Game and a board.
  bool gameShows(const Image& img) const;
  Kind kindOf(const Image& img, const Box& square) const;
  // A cell's text as drawn: its pixels away from the fill colour.
  int textPixels(const Image& img, const Box& square) const;
  // A given letter is drawn in black; a cell's number in grey.
  bool showsBlackText(const Image& img, const Box& square) const;
  // The pixels that differ between two shots of the window, outside the side panel (its clock
  // ticks on its own).
  std::vector<std::pair<int, int>> changes(const Image& a, const Image& b) const;
  // The bounding box of the pixels of colour c right of the board (the code strip).
  Box stripBoxOf(const Image& img, const Board& board, uint32_t c) const;

  // New Game from the main menu; the first finished picture of the game, or an empty image.
  Image newGame();

  std::unique_ptr<XSession> session_;
  std::unique_ptr<Program> game_;
  std::filesystem::path home_;
  std::string output_;
  unsigned long window_ = 0;
  Graphics g_;
};

}  // namespace qlx::e2e
