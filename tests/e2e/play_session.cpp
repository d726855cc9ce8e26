// The game's end-to-end session: Xvfb, the game with a temporary settings folder, and readers of
// its screenshots (board, code strip, menus) and of its store exported by quillorix-reg.
#include "play_session.h"

#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <thread>

namespace qlx::e2e {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

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

bool bluish(uint32_t c) { return channel(c, 0) - channel(c, 16) > 60 && channel(c, 0) - channel(c, 8) > 60; }

int countIn(const Image& img, const Box& b, const std::function<bool(uint32_t)>& test) {
  int n = 0;
  for (int y = b.y; y < b.y + b.height; ++y)
    for (int x = b.x; x < b.x + b.width; ++x) n += test(img.at(x, y));
  return n;
}

std::vector<uint32_t> pixelsOf(const Image& img, const Box& b) {
  std::vector<uint32_t> out;
  for (int y = b.y; y < b.y + b.height; ++y)
    for (int x = b.x; x < b.x + b.width; ++x) out.push_back(img.at(x, y));
  return out;
}

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

Box Strip::numberBox(int n) const {
  const int column = (n - 1) / perColumn() * 2, row = (n - 1) % perColumn();
  return {left + column * cell + 1, top + row * cell + 1, cell - 2, cell - 2};
}

Box Strip::letterBox(int n) const {
  Box b = numberBox(n);
  b.x += cell;
  return b;
}

Strip findStrip(const Image& img, const Board& b, uint32_t block) {
  Strip s;
  s.cell = b.cell;
  s.left = kBoardLeft + b.cols * b.cell + 30;
  // The first number box's top edge, a pixel below the strip's top; its corner pixels hold no text.
  const int x = s.left + 2;
  int y = 0;
  while (y < kHeight && img.at(x, y) != block) ++y;
  if (y >= kHeight) return {};
  s.top = y - 1;
  auto boxAt = [&](int column, int row) {
    return img.at(s.left + column * s.cell + 2, s.top + row * s.cell + 2) == block;
  };
  int first = 0, second = 0;
  while (boxAt(0, first)) ++first;
  while (boxAt(2, second)) ++second;
  s.count = first + second;
  return s;
}

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

int32_t le32(const std::vector<int>& bytes) {
  if (bytes.size() < 4) return -1;
  return static_cast<int32_t>(uint32_t(bytes[0]) | uint32_t(bytes[1]) << 8 | uint32_t(bytes[2]) << 16 |
                              uint32_t(bytes[3]) << 24);
}

void PlaySession::SetUp() {
  if (!toolsAvailable()) GTEST_SKIP() << "Xvfb, xdotool or ImageMagick is missing";
  const ::testing::TestInfo* info = ::testing::UnitTest::GetInstance()->current_test_info();
  home_ = fs::temp_directory_path() / ("qlx-play-e2e-" + std::to_string(::getpid()) + "-" + info->name());
  fs::remove_all(home_);
  fs::create_directories(home_);
  output_ = (home_ / "game.out").string();
  fs::create_directories(QLX_SHOT_DIR);

  session_ = std::make_unique<XSession>(1280, 1024, 96);
  ASSERT_TRUE(session_->ok()) << "Xvfb did not start";
  ASSERT_TRUE(launch());
}

void PlaySession::TearDown() {
  game_.reset();
  session_.reset();
  if (!home_.empty()) fs::remove_all(home_);
}

bool PlaySession::launch() {
  std::vector<std::pair<std::string, std::string>> environment = {{"XDG_DATA_HOME", home_.string()}};
#if defined(__SANITIZE_ADDRESS__)
  // Mesa's GL driver leaves allocations LeakSanitizer cannot attribute once it is unloaded
  // (see window_e2e_test.cpp): a sanitized run draws in software.
  environment.push_back({"SDL_RENDER_DRIVER", "software"});
  environment.push_back({"SDL_FRAMEBUFFER_ACCELERATION", "0"});
#endif
  game_.reset();
  game_ = std::make_unique<Program>(*session_, QLX_GAME, output_, environment);
  if (!game_->started()) {
    ADD_FAILURE() << "the game did not start";
    return false;
  }
  window_ = session_->waitForWindow(kGameName, 60000);
  if (window_ == 0) {
    ADD_FAILURE() << "the game's window did not appear; " << errors();
    return false;
  }
  return true;
}

std::string PlaySession::errors() const {
  std::ifstream in(output_ + ".err");
  std::stringstream s;
  s << in.rdbuf();
  return "the game's errors: " + s.str();
}

std::string PlaySession::exportStore() {
  int rc = -1;
  const std::string exported =
      session_->run(std::string("'") + QLX_REG_TOOL + "' --store '" + storePath() + "' export 2>&1", &rc);
  EXPECT_EQ(rc, 0) << exported;
  return exported;
}

void PlaySession::click(unsigned long window, int x, int y) {
  session_->run("xdotool mousemove --window " + std::to_string(window) + " " + std::to_string(x) + " " +
                std::to_string(y) + " click 1");
}

void PlaySession::key(const std::string& name) { session_->run("xdotool key " + name); }

std::vector<unsigned long> PlaySession::windowsNamed(const std::string& nameRegex) const {
  std::istringstream in(session_->run("xdotool search --onlyvisible --name '" + nameRegex + "' 2>/dev/null"));
  std::vector<unsigned long> ids;
  for (std::string line; std::getline(in, line);)
    if (!line.empty()) ids.push_back(std::strtoul(line.c_str(), nullptr, 10));
  return ids;
}

unsigned long PlaySession::waitForOtherWindow(const std::string& nameRegex, unsigned long except, int timeoutMs) {
  const auto start = Clock::now();
  do {
    for (unsigned long id : windowsNamed(nameRegex))
      if (id != except) return id;
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  } while (Clock::now() - start < std::chrono::milliseconds(timeoutMs) && game_->running());
  return 0;
}

bool PlaySession::waitForFocus(unsigned long window, int timeoutMs) {
  const auto start = Clock::now();
  do {
    const std::string focus = session_->run("xdotool getwindowfocus -f 2>/dev/null");
    if (std::strtoul(focus.c_str(), nullptr, 10) == window) return true;
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  } while (Clock::now() - start < std::chrono::milliseconds(timeoutMs));
  return false;
}

Image PlaySession::shotWhen(unsigned long window, int width, int height,
                            const std::function<bool(const Image&)>& ready, int timeoutMs) {
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

void PlaySession::save(const Image& img, const std::string& name) {
  EXPECT_TRUE(img.savePng(std::string(QLX_SHOT_DIR) + "/" + name)) << name;
}

bool PlaySession::menuShows(const Image& img, int n) const {
  const Box button{kMenuLeft, menuTop(n), 200, 30};
  return countIn(img, button, [&](uint32_t c) { return near(c, rgbOf(g_.clrHoverText), 12); }) > 30;
}

bool PlaySession::sideShows(const Image& img, int n) const {
  const Box item{1, sideTop(n), 120, 25};
  return img.at(3, sideTop(n) + 2) == rgbOf(g_.brPanel.color) &&
         countIn(img, item, [&](uint32_t c) { return near(c, rgbOf(g_.clrButtonText), 12); }) > 30;
}

bool PlaySession::gameShows(const Image& img) const {
  return sideShows(img, kQuitItem) && findBoard(img, rgbOf(g_.brBackground.color)).found();
}

Kind PlaySession::kindOf(const Image& img, const Box& square) const {
  const uint32_t c = img.at(square.x + 1, square.y + 1);
  if (c == rgbOf(g_.brBlock.color)) return Kind::Block;
  if (c == rgbOf(g_.brCell.color)) return Kind::Plain;
  if (c == rgbOf(g_.brSelected.color)) return Kind::Selected;
  return Kind::Other;
}

int PlaySession::textPixels(const Image& img, const Box& square) const {
  const uint32_t fill = img.at(square.x + 1, square.y + 1);
  return countIn(img, square, [&](uint32_t c) { return !near(c, fill, 24); });
}

bool PlaySession::showsBlackText(const Image& img, const Box& square) const {
  return countIn(img, square, [](uint32_t c) { return near(c, 0x000000, 30); }) > 0;
}

std::vector<std::pair<int, int>> PlaySession::changes(const Image& a, const Image& b) const {
  std::vector<std::pair<int, int>> out;
  for (int y = 0; y < kHeight; ++y)
    for (int x = kSidePanelWidth; x < kWidth; ++x)
      if (a.at(x, y) != b.at(x, y)) out.emplace_back(x, y);
  return out;
}

Box PlaySession::stripBoxOf(const Image& img, const Board& board, uint32_t c) const {
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

Image PlaySession::newGame() {
  const Image menu = shotWhen(window_, kWidth, kHeight, [&](const Image& i) { return menuShows(i, 4); }, 30000);
  if (!menuShows(menu, 1)) {
    ADD_FAILURE() << "no main menu; " << errors();
    return {};
  }
  click(window_, kMenuLeft + 100, menuTop(1) + 15);
  // Making the puzzle may take a while.
  Image board = shotWhen(window_, kWidth, kHeight, [&](const Image& i) { return gameShows(i); }, 60000);
  if (!gameShows(board)) {
    ADD_FAILURE() << "no game on screen; " << errors();
    return {};
  }
  // Once more, so that the picture is the finished one.
  return session_->screenshot(window_);
}

}  // namespace qlx::e2e
