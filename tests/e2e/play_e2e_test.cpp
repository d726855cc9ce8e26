// The game itself in a real X server (Xvfb), played as a player would: New Game from the main
// menu, a number picked on the board and a letter typed into it, the Hall of Fame opened from the
// side panel and closed, then Quit Game and Exit; the settings store it leaves behind is read back
// with quillorix-reg. The main menu's High Scores and the close box are the other way through.
// Everything checked on screen is read from screenshots, kept as PNG files.
#include <gtest/gtest.h>

#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <memory>
#include <set>
#include <sstream>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "drawkit/graphics.h"
#include "drawkit/painters.h"
#include "x_session.h"

namespace qlx::e2e {
namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

// The play window's layout, in client pixels (it opens at this size on a 96 dpi display).
constexpr int kWidth = 800, kHeight = 600;
constexpr int kSidePanelWidth = 125;
constexpr int kBoardLeft = kSidePanelWidth + 40, kBoardTop = 25, kBoardEdge = 425;
// The main menu's buttons are 200 × 30, centred on a width of 750, the n-th at 45 n + 200.
constexpr int kMenuLeft = 275;
int menuTop(int n) { return 45 * n + 200; }
// Side panel buttons 7 and up: 120 × 25 at x = 1, y = 10 + 38 (n - 1).
int sideTop(int n) { return 10 + 38 * (n - 1); }
constexpr int kHallOfFameItem = 7, kQuitItem = 13;
// The alphabet panel: 13 boxes of 25 a row, from (L + 50, board bottom + 25).
constexpr int kAlphabetLeft = kBoardLeft + 50, kAlphabetTop = kBoardTop + kBoardEdge + 25, kAlphabetBox = 25;
// The Hall of Fame: 466 × 454, its OK button 3 × 30 dialog units of 44 pixels at (88, 396).
constexpr int kStatsWidth = 466, kStatsHeight = 454;
constexpr int kOkLeft = 88, kOkTop = 396, kOkWidth = 132, kOkHeight = 30;

const char* const kGameName = "^Quillorix$";
const char* const kStatsName = "^Best Scores - Quillorix$";

uint32_t rgbOf(ColorRef c) { return uint32_t(redOf(c)) << 16 | uint32_t(greenOf(c)) << 8 | blueOf(c); }

std::string hex(uint32_t c) {
  char buf[16];
  std::snprintf(buf, sizeof buf, "#%06X", c);
  return buf;
}

int channel(uint32_t c, int shift) { return int((c >> shift) & 0xff); }

bool near(uint32_t a, uint32_t b, int tolerance) {
  for (int shift : {0, 8, 16})
    if (std::abs(channel(a, shift) - channel(b, shift)) > tolerance) return false;
  return true;
}

// Text in the entry colour, blended into whatever it is drawn on: clearly more blue than red.
bool bluish(uint32_t c) { return channel(c, 0) - channel(c, 16) > 60 && channel(c, 0) - channel(c, 8) > 60; }

struct Box {
  int x = 0, y = 0, width = 0, height = 0;
  bool contains(int px, int py) const { return px >= x && py >= y && px < x + width && py < y + height; }
};

int countIn(const Image& img, const Box& b, const std::function<bool(uint32_t)>& test) {
  int n = 0;
  for (int y = b.y; y < b.y + b.height; ++y)
    for (int x = b.x; x < b.x + b.width; ++x) n += test(img.at(x, y));
  return n;
}

// The pixels of a box, row by row, to compare two boxes' pictures.
std::vector<uint32_t> pixelsOf(const Image& img, const Box& b) {
  std::vector<uint32_t> out;
  for (int y = b.y; y < b.y + b.height; ++y)
    for (int x = b.x; x < b.x + b.width; ++x) out.push_back(img.at(x, y));
  return out;
}

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

Board findBoard(const Image& img, uint32_t background) {
  Board b;
  const int y = kBoardTop + 2;
  int run = 0;
  while (kBoardLeft + 1 + run < kWidth && img.at(kBoardLeft + 1 + run, y) != background) ++run;
  if (run < 5 || run > kBoardEdge) return {};
  b.cell = run + 2;
  auto isCellAt = [&](int x, int yy) { return img.at(x, yy) != background; };
  while (isCellAt(kBoardLeft + b.cols * b.cell + 2, y) && !isCellAt(kBoardLeft + b.cols * b.cell, y)) ++b.cols;
  const int x = kBoardLeft + 2;
  while (isCellAt(x, kBoardTop + b.rows * b.cell + 2) && !isCellAt(x, kBoardTop + b.rows * b.cell)) ++b.rows;
  return b;
}

// The bytes of value name in quillorix-reg's export (hex:..., lines joined by "\"); empty when
// the value is not there or not written as hex.
std::vector<int> hexValue(const std::string& text, const std::string& name) {
  const std::string head = "\"" + name + "\"=hex:";
  std::vector<int> bytes;
  std::istringstream in(text);
  bool inside = false;
  for (std::string line; std::getline(in, line);) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (!inside) {
      if (line.rfind(head, 0) != 0) continue;
      line = line.substr(head.size());
      inside = true;
    }
    const bool more = !line.empty() && line.back() == '\\';
    std::istringstream items(more ? line.substr(0, line.size() - 1) : line);
    for (std::string item; std::getline(items, item, ',');) {
      item.erase(std::remove(item.begin(), item.end(), ' '), item.end());
      if (!item.empty()) bytes.push_back(std::stoi(item, nullptr, 16));
    }
    if (!more) break;
  }
  return bytes;
}

enum class Kind { Block, Plain, Selected, Other };

class PlayE2eTest : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!toolsAvailable()) GTEST_SKIP() << "Xvfb, xdotool or ImageMagick is missing";
    const std::string tag = std::to_string(::getpid());
    home_ = fs::temp_directory_path() / ("qlx-play-e2e-" + tag);
    fs::remove_all(home_);
    fs::create_directories(home_);
    output_ = (home_ / "game.out").string();
    fs::create_directories(QLX_SHOT_DIR);

    session_ = std::make_unique<XSession>(1280, 1024, 96);
    ASSERT_TRUE(session_->ok()) << "Xvfb did not start";
    std::vector<std::pair<std::string, std::string>> environment = {{"XDG_DATA_HOME", home_.string()}};
#if defined(__SANITIZE_ADDRESS__)
    // Mesa's GL driver leaves allocations LeakSanitizer cannot attribute once it is unloaded
    // (see window_e2e_test.cpp): a sanitized run draws in software.
    environment.push_back({"SDL_RENDER_DRIVER", "software"});
    environment.push_back({"SDL_FRAMEBUFFER_ACCELERATION", "0"});
#endif
    game_ = std::make_unique<Program>(*session_, QLX_GAME, output_, environment);
    ASSERT_TRUE(game_->started());
    window_ = session_->waitForWindow(kGameName, 60000);
    ASSERT_NE(window_, 0u) << "the game's window did not appear; " << errors();
  }

  void TearDown() override {
    game_.reset();
    session_.reset();
    if (!home_.empty()) fs::remove_all(home_);
  }

  std::string errors() const {
    std::ifstream in(output_ + ".err");
    std::stringstream s;
    s << in.rdbuf();
    return "the game's errors: " + s.str();
  }

  std::string storePath() const { return (home_ / "quillorix" / "settings.db").string(); }

  void click(unsigned long window, int x, int y) {
    session_->run("xdotool mousemove --window " + std::to_string(window) + " " + std::to_string(x) + " " +
                  std::to_string(y) + " click 1");
  }

  // Screenshots of window until one of the given size passes ready, up to timeoutMs; the last
  // one taken either way.
  Image shotWhen(unsigned long window, int width, int height, const std::function<bool(const Image&)>& ready,
                 int timeoutMs = 20000) {
    const auto start = Clock::now();
    Image img;
    for (;;) {
      img = session_->screenshot(window);
      if (img.width == width && img.height == height && ready(img)) break;
      if (Clock::now() - start > std::chrono::milliseconds(timeoutMs) || !game_->running()) break;
      std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    return img;
  }

  void save(const Image& img, const std::string& name) {
    EXPECT_TRUE(img.savePng(std::string(QLX_SHOT_DIR) + "/" + name)) << name;
  }

  // True when the n-th main menu button shows its caption.
  bool menuShows(const Image& img, int n) const {
    const Box button{kMenuLeft, menuTop(n), 200, 30};
    return countIn(img, button, [&](uint32_t c) { return near(c, rgbOf(g_.clrHoverText), 12); }) > 30;
  }

  // True when the n-th side panel button shows its caption.
  bool sideShows(const Image& img, int n) const {
    const Box item{1, sideTop(n), 120, 25};
    return img.at(3, sideTop(n) + 2) == rgbOf(g_.brPanel.color) &&
           countIn(img, item, [&](uint32_t c) { return near(c, rgbOf(g_.clrButtonText), 12); }) > 30;
  }

  Kind kindOf(const Image& img, const Box& square) const {
    const uint32_t c = img.at(square.x + 1, square.y + 1);
    if (c == rgbOf(g_.brBlock.color)) return Kind::Block;
    if (c == rgbOf(g_.brCell.color)) return Kind::Plain;
    if (c == rgbOf(g_.brSelected.color)) return Kind::Selected;
    return Kind::Other;
  }

  // A cell's text as drawn: its pixels away from the fill colour.
  int textPixels(const Image& img, const Box& square) const {
    const uint32_t fill = img.at(square.x + 1, square.y + 1);
    return countIn(img, square, [&](uint32_t c) { return !near(c, fill, 24); });
  }

  // A given letter is drawn in black; a cell's number in grey.
  bool showsBlackText(const Image& img, const Box& square) const {
    return countIn(img, square, [](uint32_t c) { return near(c, 0x000000, 30); }) > 0;
  }

  // The pixels that differ between two shots of the window, outside the side panel (its clock
  // ticks on its own).
  std::vector<std::pair<int, int>> changes(const Image& a, const Image& b) const {
    std::vector<std::pair<int, int>> out;
    for (int y = 0; y < kHeight; ++y)
      for (int x = kSidePanelWidth; x < kWidth; ++x)
        if (a.at(x, y) != b.at(x, y)) out.emplace_back(x, y);
    return out;
  }

  // The bounding box of the pixels of colour c right of the board (the code strip).
  Box stripBoxOf(const Image& img, const Board& board, uint32_t c) const {
    int left = kWidth, top = kHeight, right = -1, bottom = -1;
    for (int y = kBoardTop; y < kBoardTop + kBoardEdge; ++y)
      for (int x = kBoardLeft + board.cols * board.cell + 1; x < kWidth; ++x)
        if (img.at(x, y) == c) {
          left = std::min(left, x), top = std::min(top, y);
          right = std::max(right, x), bottom = std::max(bottom, y);
        }
    if (right < 0) return {};
    return {left, top, right - left + 1, bottom - top + 1};
  }

  // Exports the game's store with quillorix-reg and checks what a fresh store gets on the way
  // out; the SOLVINGDATA bytes, empty when they are missing.
  std::vector<int> savedSolvingData() {
    int rc = -1;
    const std::string exported =
        session_->run(std::string("'") + QLX_REG_TOOL + "' --store '" + storePath() + "' export 2>&1", &rc);
    EXPECT_EQ(rc, 0) << exported;
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

  std::unique_ptr<XSession> session_;
  std::unique_ptr<Program> game_;
  fs::path home_;
  std::string output_;
  unsigned long window_ = 0;
  Graphics g_;
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
