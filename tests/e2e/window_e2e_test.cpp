// The SDL back end in a real X server (Xvfb): the window demo opens at its layout size and shows
// the painted board; resized, the picture scales with its aspect kept and clicks map back to
// layout pixels; keys arrive as virtual-key codes and characters, each once; a message box
// takes the focus and closes on Enter; the close box ends the program. Screenshots are kept
// as PNG files beside the test's build folder.
#include <gtest/gtest.h>

#include <unistd.h>

#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "demo_board.h"
#include "drawkit/graphics.h"
#include "x_session.h"

namespace qlx::e2e {
namespace {

namespace fs = std::filesystem;
using demo::Board;

const char* const kDemoName = "^Quillorix board demo$";
const char* const kMessageName = "^Quillorix$";

uint32_t rgbOf(ColorRef c) { return uint32_t(redOf(c)) << 16 | uint32_t(greenOf(c)) << 8 | blueOf(c); }

std::string hex(uint32_t c) {
  char buf[16];
  std::snprintf(buf, sizeof buf, "#%06X", c);
  return buf;
}

bool near(uint32_t a, uint32_t b, int tolerance) {
  for (int shift : {0, 8, 16})
    if (std::abs(int((a >> shift) & 0xff) - int((b >> shift) & 0xff)) > tolerance) return false;
  return true;
}

// A point inside a board's cell square at (column, row), offset from its top-left corner.
struct Point {
  int x, y;
};
Point inCell(const Board& b, int column, int row, int dx, int dy) {
  return {b.left + column * b.cell + 1 + dx, b.top + row * b.cell + 1 + dy};
}

// Layout points whose colour the demo's board fixes, away from any text or edge.
struct Probe {
  const char* what;
  Point at;
  ColorRef colour;
};
std::vector<Probe> boardProbes(const Graphics& g) {
  return {
      {"background", {10, 590}, g.brBackground.color},
      {"background between boards", {360, 300}, g.brBackground.color},
      {"block cell centre", inCell(demo::kGrid, 1, 1, 27, 27), g.brBlock.color},
      {"plain cell", inCell(demo::kGrid, 0, 0, 8, 8), g.brCell.color},
      {"selected number's cell", inCell(demo::kGrid, 3, 0, 8, 8), g.brSelected.color},
      {"given cell", inCell(demo::kGrid, 4, 0, 8, 8), g.brCell.color},
      {"code strip number box", inCell(demo::kStrip, 0, 0, 6, 6), g.brBlock.color},
      {"code strip selected letter box", inCell(demo::kStrip, 1, 1, 6, 6), g.brSelected.color},
      {"alphabet A, used", inCell(demo::kAlphabet, 0, 0, 5, 5), g.brUsedLetter.color},
      {"alphabet B, free", inCell(demo::kAlphabet, 1, 0, 5, 5), g.brCell.color},
      {"alphabet S, used", inCell(demo::kAlphabet, 5, 1, 5, 5), g.brUsedLetter.color},
  };
}

// Mesa's GL driver, which SDL loads to draw and unloads at exit, leaves allocations behind that
// LeakSanitizer can no longer attribute once the driver is gone; a sanitized build draws in
// software instead. Other builds use SDL's default renderer, as the game does.
std::vector<std::pair<std::string, std::string>> sanitizerEnvironment() {
#if defined(__SANITIZE_ADDRESS__)
  return {{"SDL_RENDER_DRIVER", "software"}, {"SDL_FRAMEBUFFER_ACCELERATION", "0"}};
#else
  return {};
#endif
}

class WindowE2eTest : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!toolsAvailable()) GTEST_SKIP() << "Xvfb, xdotool or ImageMagick is missing";
    start(1280, 1024, 96);
  }

  void start(int width, int height, int dpi, std::vector<std::pair<std::string, std::string>> environment = {}) {
    for (auto& variable : sanitizerEnvironment()) environment.push_back(variable);
    program_.reset();
    session_ = std::make_unique<XSession>(width, height, dpi);
    ASSERT_TRUE(session_->ok()) << "Xvfb did not start";
    fs::create_directories(QLX_SHOT_DIR);
    const std::string name = ::testing::UnitTest::GetInstance()->current_test_info()->name();
    output_ = (fs::temp_directory_path() / ("qlx-e2e-" + name + "-" + std::to_string(::getpid()) + ".out")).string();
    program_ = std::make_unique<Program>(*session_, QLX_WINDOW_DEMO, output_, environment);
    ASSERT_TRUE(program_->started());
    ASSERT_TRUE(program_->waitForLine("shown")) << errors();
    window_ = session_->waitForWindow(kDemoName);
    ASSERT_NE(window_, 0u) << "the demo's window did not appear";
  }

  void TearDown() override {
    program_.reset();
    session_.reset();
    if (!output_.empty()) {
      fs::remove(output_);
      fs::remove(output_ + ".err");
    }
  }

  std::string errors() const {
    std::ifstream in(output_ + ".err");
    std::stringstream s;
    s << in.rdbuf();
    return "demo's errors: " + s.str();
  }

  // Lines of the demo's output that start with prefix.
  std::vector<std::string> linesStarting(const std::string& prefix) const {
    std::vector<std::string> out;
    for (const std::string& l : program_->lines())
      if (l.rfind(prefix, 0) == 0) out.push_back(l);
    return out;
  }

  // Waits (up to five seconds) for a screenshot of window that is width × height with colour
  // at (x, y): the sign that the picture on screen is the new one.
  Image shotWhen(unsigned long window, int width, int height, Point p, uint32_t colour, int tolerance = 0) {
    Image img;
    for (int i = 0; i < 100; ++i) {
      img = session_->screenshot(window);
      if (img.width == width && img.height == height && near(img.at(p.x, p.y), colour, tolerance)) break;
      std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    return img;
  }

  void save(const Image& img, const std::string& name) {
    EXPECT_TRUE(img.savePng(std::string(QLX_SHOT_DIR) + "/" + name)) << name;
  }

  std::unique_ptr<XSession> session_;
  std::unique_ptr<Program> program_;
  std::string output_;
  unsigned long window_ = 0;
  Graphics g_;
};

TEST_F(WindowE2eTest, OpensAtItsLayoutSizeShowingThePaintedBoard) {
  const XSession::Geometry geo = session_->geometry(window_);
  EXPECT_EQ(geo.width, demo::kLayoutWidth);
  EXPECT_EQ(geo.height, demo::kLayoutHeight);

  const auto probes = boardProbes(g_);
  const Image shot = shotWhen(window_, 800, 600, probes[2].at, rgbOf(probes[2].colour));
  save(shot, "board.png");
  ASSERT_EQ(shot.width, 800);
  ASSERT_EQ(shot.height, 600);
  // At its own size the picture is the image, pixel for pixel.
  for (const Probe& p : probes) EXPECT_EQ(hex(shot.at(p.at.x, p.at.y)), hex(rgbOf(p.colour))) << p.what;
  // The two-pixel line between the first two cells of the grid.
  const int lineX = demo::kGrid.left + demo::kGrid.cell - 1;
  EXPECT_EQ(hex(shot.at(lineX, 100)), hex(rgbOf(g_.brBackground.color)));
  EXPECT_EQ(hex(shot.at(lineX + 1, 100)), hex(rgbOf(g_.brBackground.color)));
  EXPECT_EQ(hex(shot.at(lineX - 1, 100)), hex(rgbOf(g_.brCell.color)));
  // Text: the given letter E in black in its cell, the title in the button text colour.
  int black = 0, title = 0;
  for (int y = 0; y < 600; ++y)
    for (int x = 0; x < 800; ++x) {
      const uint32_t c = shot.at(x, y);
      if (x >= 265 && x < 320 && y >= 71 && y < 125 && c == 0) ++black;
      if (y < 60 && near(c, rgbOf(g_.clrButtonText), 10)) ++title;
    }
  EXPECT_GT(black, 20) << "the given letter";
  EXPECT_GT(title, 100) << "the title";
}

TEST_F(WindowE2eTest, AResizedWindowScalesThePictureWithItsAspectKeptAndClicksMapBack) {
  // 1000 × 500: the 4:3 picture becomes 666 × 500, centred, with black bars left and right.
  session_->run("xdotool windowsize " + std::to_string(window_) + " 1000 500");
  const double scale = 500.0 / 600.0;
  const int offset = (1000 - 666) / 2;
  auto toScreen = [&](Point p) { return Point{offset + int(std::lround(p.x * scale)), int(std::lround(p.y * scale))}; };

  const auto probes = boardProbes(g_);
  const Image shot = shotWhen(window_, 1000, 500, {20, 250}, 0x000000);
  save(shot, "resized.png");
  ASSERT_EQ(shot.width, 1000);
  ASSERT_EQ(shot.height, 500);
  EXPECT_EQ(hex(shot.at(20, 250)), "#000000") << "bar on the left";
  EXPECT_EQ(hex(shot.at(offset - 2, 10)), "#000000") << "bar on the left, up to the picture";
  EXPECT_EQ(hex(shot.at(1000 - offset + 2, 490)), "#000000") << "bar on the right";
  for (const Probe& p : probes) {
    const Point s = toScreen(p.at);
    EXPECT_TRUE(near(shot.at(s.x, s.y), rgbOf(p.colour), 8))
        << p.what << ": " << hex(shot.at(s.x, s.y)) << " at " << s.x << "," << s.y << ", want " << hex(rgbOf(p.colour));
  }
  // The picture's edges: its first column and row are the background, not a bar.
  EXPECT_TRUE(near(shot.at(offset + 1, 250), rgbOf(g_.brBackground.color), 8)) << hex(shot.at(offset + 1, 250));

  // A click on the bar reaches nobody; one on the block cell comes back in layout pixels.
  const Point target = inCell(demo::kGrid, 1, 1, 27, 27);
  const Point s = toScreen(target);
  const std::string w = std::to_string(window_);
  session_->run("xdotool mousemove --window " + w + " 20 250 click 1");
  session_->run("xdotool mousemove --window " + w + " " + std::to_string(s.x) + " " + std::to_string(s.y) +
                " click 3");
  std::vector<std::string> downs;
  for (int i = 0; i < 100 && (downs = linesStarting("down")).empty(); ++i)
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  ASSERT_EQ(downs.size(), 1u) << "only the click on the picture arrives";
  int button = 0, shift = 0;
  double x = 0, y = 0;
  ASSERT_EQ(std::sscanf(downs[0].c_str(), "down %d %d %lf %lf", &button, &shift, &x, &y), 4) << downs[0];
  EXPECT_EQ(button, 2) << "the right button";
  EXPECT_NEAR(x, target.x, 1.5);
  EXPECT_NEAR(y, target.y, 1.5);
}

TEST_F(WindowE2eTest, KeysArriveAsVirtualKeyCodesAndCharactersEachOnce) {
  session_->run("xdotool key --delay 30 a shift+b space Return BackSpace Escape Delete Left 7");
  ASSERT_TRUE(program_->waitForLine("char 55")) << errors();
  std::vector<std::string> keys;
  for (const std::string& l : program_->lines())
    if (l.rfind("key", 0) == 0 || l.rfind("char", 0) == 0) keys.push_back(l);
  const std::vector<std::string> want = {
      "key 65 0", "char 97",                 // a
      "key 16 1", "key 66 1", "char 66",     // Shift, B
      "key 32 0", "char 32",                 // space: its character once
      "key 13 0", "char 13", "key 8 0", "char 8", "key 27 0", "char 27",
      "key 46 0", "key 37 0",                // no characters
      "key 55 0", "char 55"};
  EXPECT_EQ(keys, want);
}

TEST_F(WindowE2eTest, AMessageBoxTakesTheFocusAndClosesOnEnter) {
  session_->run("xdotool key m");
  const unsigned long box = session_->waitForWindow(kMessageName);
  ASSERT_NE(box, 0u) << "no message box appeared; " << errors();
  const XSession::Geometry geo = session_->geometry(box);
  EXPECT_GT(geo.width, 200);
  EXPECT_LT(geo.width, 800);
  const Image shot = shotWhen(box, geo.width, geo.height, {2, 2}, rgbOf(g_.brPanel.color));
  save(shot, "message-box.png");
  EXPECT_EQ(hex(shot.at(2, 2)), hex(rgbOf(g_.brPanel.color))) << "painted in the style the demo set";
  int text = 0;
  for (int y = 0; y < shot.height; ++y)
    for (int x = 0; x < shot.width; ++x) text += near(shot.at(x, y), rgbOf(g_.clrMessageText), 20);
  EXPECT_GT(text, 50) << "the message text";

  // While the box is up the demo's window takes no input.
  session_->run("xdotool mousemove --window " + std::to_string(window_) + " 10 590 click 1");
  // Enter goes to the focused window: the box, which closes; the demo carries on.
  session_->run("xdotool key Return");
  EXPECT_TRUE(program_->waitForLine("message closed")) << errors();
  EXPECT_TRUE(session_->waitForNoWindow(kMessageName));
  EXPECT_TRUE(linesStarting("down").empty()) << "the click under the box was dropped";
  EXPECT_TRUE(linesStarting("char").empty()) << "Enter closed the box and reached nobody else";

  // The demo's window has the focus back.
  session_->run("xdotool key x");
  EXPECT_TRUE(program_->waitForLine("key 88 0"));
}

TEST_F(WindowE2eTest, TheCloseBoxEndsTheProgram) {
  ASSERT_TRUE(session_->sendClose(window_));
  EXPECT_EQ(program_->wait(5000), 0) << errors();
  const std::vector<std::string> lines = program_->lines();
  ASSERT_GE(lines.size(), 2u);
  EXPECT_EQ(lines[lines.size() - 2], "unload");
  EXPECT_EQ(lines.back(), "exit");
}

// A display of 192 dots per inch. Xvfb's RandR output has no physical size, so SDL is told to
// read the resolution from the core protocol, which knows the -dpi given.
class HighDpiE2eTest : public WindowE2eTest {
 protected:
  void SetUp() override {
    if (!toolsAvailable()) GTEST_SKIP() << "Xvfb, xdotool or ImageMagick is missing";
    start(2560, 1600, 192, {{"SDL_VIDEO_X11_XRANDR", "0"}});
  }
};

TEST_F(HighDpiE2eTest, DoublesTheWindow) {
  const XSession::Geometry geo = session_->geometry(window_);
  EXPECT_EQ(geo.width, 2 * demo::kLayoutWidth);
  EXPECT_EQ(geo.height, 2 * demo::kLayoutHeight);
  // A whole multiple stays sharp: each layout pixel is a 2 × 2 block of the same colour.
  const auto probes = boardProbes(g_);
  const Image shot = shotWhen(window_, 1600, 1200, {2 * probes[2].at.x, 2 * probes[2].at.y}, rgbOf(probes[2].colour));
  ASSERT_EQ(shot.width, 1600);
  for (const Probe& p : probes)
    EXPECT_EQ(hex(shot.at(2 * p.at.x + 1, 2 * p.at.y + 1)), hex(rgbOf(p.colour))) << p.what;
  const int lineX = demo::kGrid.left + demo::kGrid.cell - 1;
  EXPECT_EQ(hex(shot.at(2 * lineX - 1, 200)), hex(rgbOf(g_.brCell.color)));
  EXPECT_EQ(hex(shot.at(2 * lineX, 200)), hex(rgbOf(g_.brBackground.color)));
  // Clicks still come back in layout pixels.
  session_->run("xdotool mousemove --window " + std::to_string(window_) + " 401 301 click 1");
  ASSERT_TRUE(program_->waitForLine("down 1 0 200.0 150.0")) << ::testing::PrintToString(program_->lines());
}

}  // namespace
}  // namespace qlx::e2e
