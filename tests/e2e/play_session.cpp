// The game's end-to-end session: Xvfb, the game with a temporary settings folder, and readers of
// its screenshots (board, code strip, menus) and of its store exported by quillorix-reg.
#include "play_session.h"

#include <cctype>
#include <cstdlib>
#include <sstream>

namespace qlx::e2e {

bool bluish(uint32_t c) {
  const int r = int(c >> 16 & 0xff), g = int(c >> 8 & 0xff), b = int(c & 0xff);
  return b - r > 60 && b - g > 60;
}

Board findBoard(const Image& img, uint32_t background) {
  Board b;
  const int y = kBoardTop + 2;
  int run = 0;
  while (kBoardLeft + 1 + run < kWidth && img.at(kBoardLeft + 1 + run, y) != background) ++run;
  if (run < 5 || run > kBoardEdge) return {};
  b.cell = run + 2;
  auto isCellAt = [&](int x, int yy) { return img.at(x, yy) != background; };
  while (isCellAt(kBoardLeft + b.cols * b.cell + 2, y) &&
         !isCellAt(kBoardLeft + b.cols * b.cell, y))
    ++b.cols;
  const int x = kBoardLeft + 2;
  while (isCellAt(x, kBoardTop + b.rows * b.cell + 2) && !isCellAt(x, kBoardTop + b.rows * b.cell))
    ++b.rows;
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
  std::string digits;
  auto flush = [&] {
    if (!digits.empty()) bytes.push_back(std::stoi(digits, nullptr, 16));
    digits.clear();
  };
  std::size_t i = text.find(head);
  if (i == std::string::npos) return bytes;
  for (i += head.size(); i < text.size() && text[i] != '\n' && text[i] != '\r'; ++i) {
    if (text[i] == '\\') {  // the value goes on on the next line
      if ((i = text.find('\n', i)) == std::string::npos) break;
    } else if (text[i] == ',') {
      flush();
    } else if (std::isxdigit(static_cast<unsigned char>(text[i]))) {
      digits += text[i];
    }
  }
  flush();
  return bytes;
}

int32_t le32(const std::vector<int>& bytes) {
  if (bytes.size() < 4) return -1;
  return static_cast<int32_t>(uint32_t(bytes[0]) | uint32_t(bytes[1]) << 8 |
                              uint32_t(bytes[2]) << 16 | uint32_t(bytes[3]) << 24);
}

void PlaySession::SetUp() {
  if (!toolsAvailable()) GTEST_SKIP() << "Xvfb, xdotool or ImageMagick is missing";
  ASSERT_TRUE(startDisplay(1280, 1024, 96));
  ASSERT_TRUE(launch());
}

bool PlaySession::launch() {
  if (!startProgram(QLX_GAME, {{"XDG_DATA_HOME", home_.string()}})) return false;
  window_ = session_->waitForWindow(kGameName, 60000);
  if (window_ == 0) ADD_FAILURE() << "the game's window did not appear; " << errors();
  return window_ != 0;
}

bool PlaySession::closeGame() { return session_->sendClose(window_) && program_->wait(60000) == 0; }

std::string PlaySession::exportStore() {
  int rc = -1;
  const std::string store = (home_ / "quillorix" / "settings.db").string();
  const std::string exported =
      session_->run(std::string("'") + QLX_REG_TOOL + "' --store '" + store + "' export 2>&1", &rc);
  EXPECT_EQ(rc, 0) << exported;
  return exported;
}

unsigned long PlaySession::waitForOtherWindow(const std::string& nameRegex, unsigned long except,
                                              int timeoutMs) {
  unsigned long other = 0;
  pollUntil(
      [&] {
        for (unsigned long id : session_->windows(nameRegex))
          if (id != except) other = id;
        return other != 0 || !program_->running();
      },
      timeoutMs);
  return other;
}

bool PlaySession::waitForFocus(unsigned long window, int timeoutMs) {
  return pollUntil(
      [&] {
        return std::strtoul(session_->run("xdotool getwindowfocus -f 2>/dev/null").c_str(), nullptr,
                            10) == window;
      },
      timeoutMs);
}

unsigned long PlaySession::waitForDialog(const std::string& nameRegex) {
  const unsigned long dialog = session_->waitForWindow(nameRegex, 30000);
  if (dialog == 0)
    ADD_FAILURE() << nameRegex << " did not open; " << errors();
  else if (!waitForFocus(dialog))
    ADD_FAILURE() << nameRegex << " did not take the focus";
  return dialog;
}

bool PlaySession::mainMenuShows(const Image& img) const {
  for (int n = 1; n <= 4; ++n)
    if (countIn(img, {kMenuLeft, menuTop(n), 200, 30},
                [&](uint32_t c) { return near(c, rgbOf(g_.clrHoverText), 12); }) <= 30)
      return false;
  return img.at(5, 590) == background();
}

bool PlaySession::statsShows(const Image& img) const {
  const Box ok{kOkLeft, kOkTop, kOkWidth, kOkHeight};
  return countIn(img, ok, [&](uint32_t c) { return near(c, rgbOf(g_.clrButtonText), 12); }) > 10;
}

bool PlaySession::sideShows(const Image& img, int n) const {
  const Box item{1, sideTop(n), 120, 25};
  return img.at(3, sideTop(n) + 2) == rgbOf(g_.brPanel.color) &&
         countIn(img, item, [&](uint32_t c) { return near(c, rgbOf(g_.clrButtonText), 12); }) > 30;
}

Kind PlaySession::kindOf(const Image& img, const Box& square) const {
  const uint32_t c = img.at(square.x + 1, square.y + 1);
  if (c == rgbOf(g_.brBlock.color)) return Kind::Block;
  if (c == rgbOf(g_.brCell.color)) return Kind::Plain;
  if (c == rgbOf(g_.brSelected.color)) return Kind::Selected;
  return Kind::Other;
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

Image PlaySession::newGame() {
  const Image menu = shot([&](const Image& i) { return mainMenuShows(i); }, 30000);
  save(menu, "menu.png");
  if (!mainMenuShows(menu)) {
    ADD_FAILURE() << "no main menu; " << errors();
    return {};
  }
  clickMenu(1);
  // A game shows the side panel down to Quit Game and a board; making the puzzle may take a while.
  auto gameShows = [&](const Image& i) {
    return sideShows(i, kQuitItem) && findBoard(i, background()).found();
  };
  if (!gameShows(shot(gameShows, 60000))) {
    ADD_FAILURE() << "no game on screen; " << errors();
    return {};
  }
  // Once more, so that the picture is the finished one.
  return session_->screenshot(window_);
}

}  // namespace qlx::e2e
