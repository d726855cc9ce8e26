// The game on a private X display (Xvfb) for the end-to-end tests: started with its settings in a
// temporary folder, driven with xdotool, photographed with ImageMagick's import (the pictures are
// kept as PNG files in QLX_SHOT_DIR), and its settings store read back with quillorix-reg.
#pragma once

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "drawkit/graphics.h"

// GCC before 14 has no __has_feature.
#ifndef __has_feature
#define __has_feature(x) 0
#endif

namespace qlx::e2e {

// WM_DELETE_WINDOW sent to window, as a window manager does for the close box.
bool sendClose(const std::string& display, unsigned long window);

// Screenshot colours are 0xRRGGBB; the drawing kit's are 0x00BBGGRR.
inline uint32_t rgbOf(ColorRef c) {
  return uint32_t(redOf(c)) << 16 | uint32_t(greenOf(c)) << 8 | blueOf(c);
}
// True when every channel of a and b differs by at most tolerance.
inline bool near(uint32_t a, uint32_t b, int tolerance) {
  for (int shift : {0, 8, 16})
    if (std::abs(int((a >> shift) & 0xff) - int((b >> shift) & 0xff)) > tolerance) return false;
  return true;
}
// A test for pixels within 12 of the drawing kit's colour c.
inline auto like(ColorRef c) {
  return [c = rgbOf(c)](uint32_t px) { return near(px, c, 12); };
}
// Text in the entry colour, blended into whatever it is drawn on: clearly more blue than red.
inline bool bluish(uint32_t c) {
  return int(c & 0xff) - int(c >> 16 & 0xff) > 60 && int(c & 0xff) - int(c >> 8 & 0xff) > 60;
}
inline bool pollUntil(const std::function<bool()>& done, int timeoutMs, int stepMs = 50) {
  const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
  for (; !done(); std::this_thread::sleep_for(std::chrono::milliseconds(stepMs)))
    if (std::chrono::steady_clock::now() > end) return false;
  return true;
}
// Waits for pid up to timeoutMs, then kills it: its exit code, or -1.
inline int reap(pid_t& pid, int timeoutMs) {
  int status = -1;
  if (pid > 0 && !pollUntil([&] { return waitpid(pid, &status, WNOHANG) != 0; }, timeoutMs, 10)) {
    kill(pid, SIGKILL);
    waitpid(pid, nullptr, 0);
    status = -1;
  }
  pid = -1;
  return status != -1 && WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

struct Box {
  int x = 0, y = 0, width = 0, height = 0;
  bool has(int u, int v) const { return u >= x && v >= y && u < x + width && v < y + height; }
};

// A screenshot, 0xRRGGBB row by row; 0xFFFFFFFF outside.
struct Image {
  int width = 0, height = 0;
  std::vector<uint32_t> px;
  uint32_t at(int x, int y) const {
    return x < 0 || y < 0 || x >= width || y >= height ? 0xFFFFFFFF : px[size_t(y) * width + x];
  }
  std::vector<uint32_t> pixelsOf(const Box& b) const {
    std::vector<uint32_t> out;
    for (int y = b.y; y < b.y + b.height; ++y)
      for (int x = b.x; x < b.x + b.width; ++x) out.push_back(at(x, y));
    return out;
  }
  int count(const Box& b, auto test) const { return int(std::ranges::count_if(pixelsOf(b), test)); }
};

// The play window's layout, in client pixels at 96 dpi.
inline constexpr int kWidth = 800, kHeight = 600, kSidePanelWidth = 125;
inline constexpr int kBoardLeft = kSidePanelWidth + 40, kBoardTop = 25, kBoardEdge = 425;
// The main menu's buttons: 200 × 30, the n-th at (275, 45 n + 200).
inline constexpr int kMenuLeft = 275;
inline int menuTop(int n) { return 45 * n + 200; }
// Side panel buttons 7 and up: 120 × 25 at x = 1, y = 10 + 38 (n - 1).
inline int sideTop(int n) { return 10 + 38 * (n - 1); }
inline constexpr int kRevealItem = 10, kQuitItem = 13;
// The Hall of Fame: 466 × 454, its OK button 132 × 30 at (88, 396).
inline constexpr int kStatsWidth = 466, kStatsHeight = 454;
inline constexpr Box kStatsOk{88, 396, 132, 30};
inline const char* const kGameName = "^Quillorix$";
inline const char* const kStatsName = "^Best Scores - Quillorix$";

// The board as it shows, found from the two-pixel lines of background colour between the cells.
struct Board {
  int cell = 0, rows = 0, cols = 0;
  Box square(int col, int row) const {
    return {kBoardLeft + col * cell + 1, kBoardTop + row * cell + 1, cell - 2, cell - 2};
  }
};
inline Board findBoard(const Image& img, uint32_t background) {
  auto cellAt = [&](int x, int y) { return img.at(x, y) != background; };
  Board b{2, 0, 0};
  while (b.cell < kBoardEdge && cellAt(kBoardLeft + b.cell - 1, kBoardTop + 2)) ++b.cell;
  if (b.cell < 7 || b.cell >= kBoardEdge) return {};
  while (cellAt(kBoardLeft + b.cols * b.cell + 2, kBoardTop + 2) &&
         !cellAt(kBoardLeft + b.cols * b.cell, kBoardTop + 2))
    ++b.cols;
  while (cellAt(kBoardLeft + 2, kBoardTop + b.rows * b.cell + 2) &&
         !cellAt(kBoardLeft + 2, kBoardTop + b.rows * b.cell))
    ++b.rows;
  return b;
}

// The code strip right of the board: numbers 1..count in two columns of number box (block
// colour) and letter box, the first column holding the first half rounded up.
struct Strip {
  int left = 0, top = 0, cell = 0, count = 0;
  Box letterBox(int n) const {
    const int perColumn = (count + 1) / 2, column = (n - 1) / perColumn * 2 + 1;
    return {left + column * cell + 1, top + (n - 1) % perColumn * cell + 1, cell - 2, cell - 2};
  }
};
inline Strip findStrip(const Image& img, const Board& b, uint32_t block) {
  Strip s{kBoardLeft + b.cols * b.cell + 30, 0, b.cell, 0};
  // The first number box's top edge is a pixel below the strip's top; its corners hold no text.
  while (s.top < kHeight && img.at(s.left + 2, s.top) != block) ++s.top;
  --s.top;
  for (int column : {0, 2})
    for (int row = 0; img.at(s.left + column * s.cell + 2, s.top + row * s.cell + 2) == block;
         ++row)
      ++s.count;
  return s;
}

// The bytes of value name in quillorix-reg's export: two digits a byte, commas between, and a
// backslash carrying the value on to the next line. Empty when it is not there as hex.
inline std::vector<int> hexValue(std::string text, const std::string& name) {
  for (std::size_t p; (p = text.find("\\\n  ")) != std::string::npos;) text.erase(p, 4);
  const std::string head = "\"" + name + "\"=hex:";
  std::vector<int> bytes;
  std::size_t i = text.find(head);
  for (i = i == std::string::npos ? text.size() : i + head.size(); i + 1 < text.size(); i += 3) {
    bytes.push_back(std::stoi(text.substr(i, 2), nullptr, 16));
    if (text.compare(i + 2, 1, ",") != 0) break;
  }
  return bytes;
}
// The first four bytes as a little-endian number.
inline int32_t le32(const std::vector<int>& b) {
  return b.size() < 4 ? -1
                      : int32_t(uint32_t(b[0]) | b[1] << 8 | b[2] << 16 | uint32_t(b[3]) << 24);
}

// Xvfb and the game on it, which keeps its settings in a temporary XDG_DATA_HOME; launch() starts
// the game again over the same settings once it has ended.
class GameTest : public ::testing::Test {
 protected:
  void SetUp() override { start(1280, 1024, 96); }
  void TearDown() override {
    reap(game_, 0);
    if (xvfb_) kill(xvfbPid_, SIGTERM), pclose(xvfb_);
    if (!home_.empty()) std::filesystem::remove_all(home_);
  }
  // Starts Xvfb with a screen of width × height at dpi, then the game; skips when a tool is
  // missing.
  void start(int width, int height, int dpi,
             std::vector<std::pair<std::string, std::string>> environment = {}) {
    if (std::system("{ command -v Xvfb && command -v xdotool && command -v import && "
                    "command -v convert; } >/dev/null 2>&1") != 0)
      GTEST_SKIP() << "Xvfb, xdotool or ImageMagick is missing";
    home_ = std::filesystem::temp_directory_path() /
            ("qlx-e2e-" + std::to_string(::getpid()) + "-" +
             ::testing::UnitTest::GetInstance()->current_test_info()->name());
    std::filesystem::remove_all(home_);
    std::filesystem::create_directories(home_);
    std::filesystem::create_directories(QLX_SHOT_DIR);
    environment_ = std::move(environment);
    environment_.emplace_back("XDG_DATA_HOME", home_.string());
    // The shell's pid is Xvfb's once it execs; the display number comes once the server is ready.
    const std::string xvfb = "echo $$; exec Xvfb -displayfd 1 -nolisten tcp -noreset -screen 0 " +
                             std::to_string(width) + "x" + std::to_string(height) + "x24 -dpi " +
                             std::to_string(dpi) + " 2>/dev/null";
    xvfb_ = popen(xvfb.c_str(), "r");
    int number = -1;
    ASSERT_TRUE(xvfb_ && std::fscanf(xvfb_, "%d %d", &xvfbPid_, &number) == 2)
        << "Xvfb did not start";
    display_ = ":" + std::to_string(number);
    ASSERT_TRUE(launch());
  }
  // Starts the game and waits for its window (window_); false, with a failure, if none showed. Its
  // output goes to the test's.
  bool launch() {
    if ((game_ = fork()) == 0) {
      setenv("DISPLAY", display_.c_str(), 1);
      setenv("SDL_AUDIODRIVER", "dummy", 1);
      // Under AddressSanitizer the game draws in software: the GL driver leaks from a library it
      // unloads at exit, which no suppression can name.
#if defined(__SANITIZE_ADDRESS__) || __has_feature(address_sanitizer)
      setenv("SDL_RENDER_DRIVER", "software", 1);
      setenv("SDL_FRAMEBUFFER_ACCELERATION", "0", 1);
#endif
      for (const auto& [name, value] : environment_) setenv(name.c_str(), value.c_str(), 1);
      execl(QLX_GAME, QLX_GAME, static_cast<char*>(nullptr));
      _exit(127);
    }
    window_ = waitForWindow(kGameName, 60000);
    EXPECT_NE(window_, 0u) << "the game's window did not appear";
    return window_ != 0;
  }
  // The game's exit code, or -1 on a signal or a timeout (it is then killed).
  int wait(int timeoutMs = 60000) { return reap(game_, timeoutMs); }

  // A shell command run on the display: its standard output.
  std::string run(const std::string& command) const {
    FILE* pipe = popen(("DISPLAY=" + display_ + " " + command).c_str(), "r");
    std::string out;
    char buffer[65536];
    for (std::size_t n; pipe != nullptr && (n = fread(buffer, 1, sizeof buffer, pipe)) > 0;)
      out.append(buffer, n);
    if (pipe != nullptr) pclose(pipe);
    return out;
  }
  std::string windows(const std::string& nameRegex) const {
    return run("xdotool search --onlyvisible --name '" + nameRegex + "'");
  }
  // A visible window matching nameRegex other than except, waited for; 0 if none appeared.
  unsigned long waitForWindow(const std::string& nameRegex, int timeoutMs = 30000,
                              unsigned long except = 0) const {
    unsigned long found = 0;
    pollUntil(
        [&] {
          std::istringstream in(windows(nameRegex));
          for (unsigned long id = 0; found == 0 && in >> id;) found = id == except ? 0 : id;
          return found != 0;
        },
        timeoutMs);
    return found;
  }
  bool waitForNoWindow(const std::string& nameRegex) const {
    return pollUntil([&] { return windows(nameRegex).empty(); }, 10000);
  }
  bool waitForFocus(unsigned long window) const {
    return pollUntil([&] { return std::stoul("0" + run("xdotool getwindowfocus -f")) == window; },
                     10000);
  }
  // Waits for a dialog and for it to take the keys; 0, with a failure, if it did not.
  unsigned long waitForDialog(const std::string& nameRegex) const {
    const unsigned long dialog = waitForWindow(nameRegex);
    EXPECT_TRUE(dialog != 0 && waitForFocus(dialog)) << nameRegex << " did not take the keys";
    return dialog;
  }
  Image screenshot(unsigned long window) const {
    // import can wait forever on a window that has just gone away: it gets 20 seconds.
    const std::string ppm =
        run("timeout 20 import -window " + std::to_string(window) + " -depth 8 ppm:- 2>/dev/null");
    int w = 0, h = 0, header = 0;
    std::sscanf(ppm.c_str(), "P6 %d %d 255%n", &w, &h, &header);
    const std::size_t size = std::size_t(std::max(w, 0)) * std::max(h, 0);
    if (header == 0 || ppm.size() < header + 1 + size * 3) return {};
    Image img{w, h, {}};
    auto byte = [&](std::size_t i) { return uint32_t(uint8_t(ppm[header + 1 + i])); };
    for (std::size_t i = 0; i < size * 3; i += 3)
      img.px.push_back(byte(i) << 16 | byte(i + 1) << 8 | byte(i + 2));
    return img;
  }
  // Screenshots of window until one passes ready, up to timeoutMs; the last one taken either way.
  Image shotWhen(unsigned long window, const std::function<bool(const Image&)>& ready,
                 int timeoutMs = 20000) const {
    Image img;
    pollUntil([&] { return ready(img = screenshot(window)); }, timeoutMs, 100);
    return img;
  }
  // A screenshot of the play window at its layout size that passes ready.
  Image shot(const std::function<bool(const Image&)>& ready, int timeoutMs = 20000) const {
    return shotWhen(
        window_, [&](const Image& i) { return i.width == kWidth && ready(i); }, timeoutMs);
  }
  void save(const Image& img, const std::string& name) const {
    const std::string path = std::string(QLX_SHOT_DIR) + "/" + name;
    FILE* convert = popen(("convert ppm:- '" + path + "' 2>/dev/null").c_str(), "w");
    ASSERT_NE(convert, nullptr);
    std::fprintf(convert, "P6\n%d %d\n255\n", img.width, img.height);
    for (uint32_t c : img.px)
      for (int shift : {16, 8, 0}) std::fputc(int(c >> shift & 0xff), convert);
    EXPECT_EQ(pclose(convert), 0) << name;
  }
  // A click of button (1 left, 3 right) at (x, y) in window; keys as xdotool names them.
  void click(unsigned long window, int x, int y, int button = 1) const {
    run("xdotool mousemove --window " + std::to_string(window) + " " + std::to_string(x) + " " +
        std::to_string(y) + " click " + std::to_string(button));
  }
  void key(const std::string& names) const { run("xdotool key " + names); }
  void clickIn(const Box& b) const { click(window_, b.x + b.width / 2, b.y + b.height / 2); }
  void clickMenu(int n) const { click(window_, kMenuLeft + 100, menuTop(n) + 15); }
  void clickSide(int n) const { click(window_, 60, sideTop(n) + 12); }
  // quillorix-reg's export of the game's store (what it reports goes to the test's output).
  std::string exportStore() const {
    const std::string store = (home_ / "quillorix" / "settings.db").string();
    return run(std::string(QLX_REG_TOOL) + " --store '" + store + "' export");
  }

  // The main menu's four buttons and no side panel.
  bool mainMenuShows(const Image& img) const {
    for (int n = 1; n <= 4; ++n)
      if (img.count({kMenuLeft, menuTop(n), 200, 30}, like(g_.clrHoverText)) <= 30) return false;
    return img.at(5, 590) == background_;
  }
  // The n-th side panel button with its caption.
  bool sideShows(const Image& img, int n) const {
    return img.at(3, sideTop(n) + 2) == rgbOf(g_.brPanel.color) &&
           img.count({1, sideTop(n), 120, 25}, like(g_.clrButtonText)) > 30;
  }
  // The colour a cell or letter box is filled with.
  static uint32_t fill(const Image& img, const Box& b) {
    return img.at(b.x + 3, b.y + 3);
  }  // inside a cursor outline
  // A given letter is drawn in black, a cell's number in grey; an entered one in blue.
  static bool showsBlackText(const Image& img, const Box& b) {
    return img.count(b, [](uint32_t c) { return near(c, 0, 30); }) > 0;
  }
  static bool showsLetter(const Image& img, const Box& b) {
    return showsBlackText(img, b) || img.count(b, bluish) > 10;
  }
  // The pixels that differ between two shots right of the side panel (its clock ticks on its own).
  static std::vector<std::pair<int, int>> changes(const Image& a, const Image& b) {
    std::vector<std::pair<int, int>> out;
    for (int y = 0; y < kHeight; ++y)
      for (int x = kSidePanelWidth; x < kWidth; ++x)
        if (a.at(x, y) != b.at(x, y)) out.emplace_back(x, y);
    return out;
  }
  // New Game from the main menu (which is photographed): the first finished picture of the game.
  Image newGame() const {
    const Image menu = shot([&](const Image& i) { return mainMenuShows(i); }, 30000);
    save(menu, "menu.png");
    EXPECT_TRUE(mainMenuShows(menu)) << "no main menu";
    clickMenu(1);
    // The side panel down to Quit Game and a board; making the puzzle may take a while.
    auto gameShows = [&](const Image& i) {
      return sideShows(i, kQuitItem) && findBoard(i, background_).rows > 0;
    };
    EXPECT_TRUE(gameShows(shot(gameShows, 60000))) << "no game on screen";
    return screenshot(window_);  // once more, so that the picture is the finished one
  }
  // Waits for the Hall of Fame to take the keys (stats: its window); its screenshot once it shows
  // its OK button.
  Image hallOfFame(unsigned long& stats) const {
    auto okShows = [&](const Image& i) {
      return i.width == kStatsWidth && i.height == kStatsHeight &&
             i.count(kStatsOk, like(g_.clrButtonText)) > 10;
    };
    const Image img = (stats = waitForDialog(kStatsName)) ? shotWhen(stats, okShows) : Image{};
    EXPECT_TRUE(okShows(img)) << "the Hall of Fame shows no OK button";
    return img;
  }

  Graphics g_;
  const uint32_t background_ = rgbOf(g_.brBackground.color), block_ = rgbOf(g_.brBlock.color),
                 plain_ = rgbOf(g_.brCell.color), selected_ = rgbOf(g_.brSelected.color);
  std::filesystem::path home_;
  std::string display_;
  std::vector<std::pair<std::string, std::string>> environment_;
  FILE* xvfb_ = nullptr;
  pid_t xvfbPid_ = -1, game_ = -1;
  unsigned long window_ = 0;
};

}  // namespace qlx::e2e
