// The SDL back end in a real X server (Xvfb), through the window demo: the painted board at its
// layout size, scaled when resized and doubled at 192 dpi, clicks mapped back to layout pixels,
// keys as virtual-key codes and characters, and a message box. Screenshots are kept as PNG files.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

#include "demo_board.h"
#include "drawkit/graphics.h"
#include "x_session.h"

namespace qlx::e2e {
namespace {

using demo::Board;

const char* const kDemoName = "^Quillorix board demo$";
const char* const kMessageName = "^Quillorix$";

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

class WindowE2eTest : public XTest {
 protected:
  void SetUp() override {
    if (!toolsAvailable()) GTEST_SKIP() << "Xvfb, xdotool or ImageMagick is missing";
    start(1280, 1024, 96);
  }

  void start(int width, int height, int dpi,
             const std::vector<std::pair<std::string, std::string>>& environment = {}) {
    ASSERT_TRUE(startDisplay(width, height, dpi));
    ASSERT_TRUE(startProgram(QLX_WINDOW_DEMO, environment));
    ASSERT_TRUE(program_->waitForLine("shown")) << errors();
    window_ = session_->waitForWindow(kDemoName);
    ASSERT_NE(window_, 0u) << "the demo's window did not appear";
  }

  // A screenshot of window that is width × height with colour at p (the sign that the picture on
  // screen is the new one), waited for up to five seconds.
  Image shotWhen(unsigned long window, int width, int height, Point p, uint32_t colour,
                 int tolerance = 0) {
    return XTest::shotWhen(
        window, width, height,
        [&](const Image& img) { return near(img.at(p.x, p.y), colour, tolerance); }, 5000);
  }

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
  for (const Probe& p : probes)
    EXPECT_EQ(hex(shot.at(p.at.x, p.at.y)), hex(rgbOf(p.colour))) << p.what;
  // Text: the given letter E in black in its cell, the title in the button text colour.
  EXPECT_GT(countIn(shot, {265, 71, 55, 54}, [](uint32_t c) { return c == 0; }), 20)
      << "the given letter";
  EXPECT_GT(countIn(shot, {0, 0, 800, 60},
                    [&](uint32_t c) { return near(c, rgbOf(g_.clrButtonText), 10); }),
            100)
      << "the title";
}

TEST_F(WindowE2eTest, AResizedWindowScalesThePictureWithItsAspectKeptAndClicksMapBack) {
  // 1000 × 500: the 4:3 picture becomes 666 × 500, centred, with black bars left and right.
  session_->run("xdotool windowsize " + std::to_string(window_) + " 1000 500");
  const double scale = 500.0 / 600.0;
  const int offset = (1000 - 666) / 2;
  auto toScreen = [&](Point p) {
    return Point{offset + int(std::lround(p.x * scale)), int(std::lround(p.y * scale))};
  };

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
        << p.what << ": " << hex(shot.at(s.x, s.y)) << " at " << s.x << "," << s.y << ", want "
        << hex(rgbOf(p.colour));
  }
  // The picture's edges: its first column and row are the background, not a bar.
  EXPECT_TRUE(near(shot.at(offset + 1, 250), rgbOf(g_.brBackground.color), 8))
      << hex(shot.at(offset + 1, 250));

  // A click on the bar reaches nobody; one on the block cell comes back in layout pixels.
  const Point target = inCell(demo::kGrid, 1, 1, 27, 27);
  const Point s = toScreen(target);
  click(window_, 20, 250);
  click(window_, s.x, s.y, 3);
  std::vector<std::string> downs;
  pollUntil([&] { return !(downs = program_->linesStarting("down")).empty(); }, 5000);
  ASSERT_EQ(downs.size(), 1u) << "only the click on the picture arrives";
  int button = 0, shift = 0;
  double x = 0, y = 0;
  ASSERT_EQ(std::sscanf(downs[0].c_str(), "down %d %d %lf %lf", &button, &shift, &x, &y), 4)
      << downs[0];
  EXPECT_EQ(button, 2) << "the right button";
  EXPECT_NEAR(x, target.x, 1.5);
  EXPECT_NEAR(y, target.y, 1.5);
}

TEST_F(WindowE2eTest, KeysArriveAsVirtualKeyCodesAndCharactersEachOnce) {
  key("--delay 30 a shift+b space Return BackSpace Escape Delete Left 7");
  ASSERT_TRUE(program_->waitForLine("char 55")) << errors();
  std::vector<std::string> keys;
  for (const std::string& l : program_->lines())
    if (l.rfind("key", 0) == 0 || l.rfind("char", 0) == 0) keys.push_back(l);
  const std::vector<std::string> want = {"key 65 0", "char 97",              // a
                                         "key 16 1", "key 66 1", "char 66",  // Shift, B
                                         "key 32 0", "char 32",  // space: its character once
                                         "key 13 0", "char 13",  "key 8 0",  "char 8", "key 27 0",
                                         "char 27",  "key 46 0", "key 37 0",  // no characters
                                         "key 55 0", "char 55"};
  EXPECT_EQ(keys, want);
}

TEST_F(WindowE2eTest, AMessageBoxTakesTheFocusAndClosesOnEnter) {
  key("m");
  const unsigned long box = session_->waitForWindow(kMessageName);
  ASSERT_NE(box, 0u) << "no message box appeared; " << errors();
  const XSession::Geometry geo = session_->geometry(box);
  EXPECT_GT(geo.width, 200);
  EXPECT_LT(geo.width, 800);
  const Image shot = shotWhen(box, geo.width, geo.height, {2, 2}, rgbOf(g_.brPanel.color));
  save(shot, "message-box.png");
  EXPECT_EQ(hex(shot.at(2, 2)), hex(rgbOf(g_.brPanel.color)))
      << "painted in the style the demo set";
  EXPECT_GT(countIn(shot, {0, 0, shot.width, shot.height},
                    [&](uint32_t c) { return near(c, rgbOf(g_.clrMessageText), 20); }),
            50)
      << "the message text";

  // While the box is up the demo's window takes no input.
  click(window_, 10, 590);
  // Enter goes to the focused window: the box, which closes; the demo carries on.
  key("Return");
  EXPECT_TRUE(program_->waitForLine("message closed")) << errors();
  EXPECT_TRUE(session_->waitForNoWindow(kMessageName));
  EXPECT_TRUE(program_->linesStarting("down").empty()) << "the click under the box was dropped";
  EXPECT_TRUE(program_->linesStarting("char").empty())
      << "Enter closed the box and reached nobody else";

  // The demo's window has the focus back.
  key("x");
  EXPECT_TRUE(program_->waitForLine("key 88 0"));
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
  const Image shot = shotWhen(window_, 1600, 1200, {2 * probes[2].at.x, 2 * probes[2].at.y},
                              rgbOf(probes[2].colour));
  ASSERT_EQ(shot.width, 1600);
  for (const Probe& p : probes)
    EXPECT_EQ(hex(shot.at(2 * p.at.x + 1, 2 * p.at.y + 1)), hex(rgbOf(p.colour))) << p.what;
  const int lineX = demo::kGrid.left + demo::kGrid.cell - 1;
  EXPECT_EQ(hex(shot.at(2 * lineX - 1, 200)), hex(rgbOf(g_.brCell.color)));
  EXPECT_EQ(hex(shot.at(2 * lineX, 200)), hex(rgbOf(g_.brBackground.color)));
  // Clicks still come back in layout pixels.
  click(window_, 401, 301);
  ASSERT_TRUE(program_->waitForLine("down 1 0 200.0 150.0"))
      << ::testing::PrintToString(program_->lines());
}

}  // namespace
}  // namespace qlx::e2e
