// The Hall of Fame window on the headless back end with the real fonts: the rows it shows, how it
// closes, Clear Scores, and when its buttons change look; and the game's message box look.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>

#include "box_fonts.h"
#include "dialogs/message_box_style.h"
#include "dialogs/stats_window.h"
#include "drawkit/primitives.h"
#include "persistence/user_store.h"
#include "platform/headless/headless_backend.h"

namespace qlx {
namespace {

std::string playerName(int i) { return std::string("Player ").append(1, char('A' + i - 1)); }

class StatsWindowTest : public ::testing::Test {
 protected:
  StatsWindowTest() {
    user.bestScores.redim(kLevels);
    for (int i = 1; i <= kBestPlaces; ++i) {
      user.bestScores(1).names(i) = kDefaultName;  // a level never played, as the store loads it
      user.bestScores(1).times(i) = kDefaultTime;
      user.bestScores(2).names(i) = playerName(i);
      user.bestScores(2).times(i) = 600 * i + 5;  // i minutes and half a second
    }
  }

  std::unique_ptr<FrmStats> shown(int mode, UserData* u = nullptr) {
    auto w = std::make_unique<FrmStats>(
        StatsContext{backend, graphics, u ? *u : user, kDialogUnit, nullptr, nullptr});
    w->modeNum = mode;
    w->show();
    return w;
  }

  // Presses Clear Scores (at x, y), answering its question with Enter (clear) or Escape (keep).
  void pressClear(FrmStats& w, bool clear, float x = 330, float y = 410, int button = 1) {
    backend.onNextModal([&, clear](Window& q) {
      EXPECT_EQ(q.caption(), "Clear Scores");
      backend.keyPress(q, clear ? VK_RETURN : VK_ESCAPE);
    });
    backend.mouseDown(w, x, y, button);
    EXPECT_EQ(backend.pendingModalSteps(), 0u);
  }

  // Each row must show its text (text(place, isTime)) as drawn with the same primitive, on the
  // background in the dialog font, after the title when titled (it reaches into row 1).
  void expectRowsShow(const FrmStats& w, const std::function<std::string(int, bool)>& text,
                      bool titled = false) {
    DeviceContext ref(kStatsWidth, kStatsHeight, graphics.brBackground.color);
    ref.setFont(dialogFont());
    DrawRect t = w.title();
    t.hDC = &ref;
    if (titled) drawButton(t, 0, false, 2, "Quillorix", graphics);
    for (int i = 1; i <= kBestPlaces; ++i)
      for (const bool time : {false, true}) {
        DrawRect row = time ? w.timeRow(i) : w.nameRow(i);
        row.hDC = &ref;
        const std::string shown = text(i, time);
        drawText(row, 1, shown, kTopLeftText);
        int inked = 0;
        // One pixel above the record too: the coloured copy is lifted by one.
        for (int y = row.top - 1; y < row.top + row.height; ++y)
          for (int x = row.left; x < row.left + row.width + 1; ++x) {
            ASSERT_EQ(w.dc().pixel(x, y), ref.pixel(x, y))
                << "\"" << shown << "\" at (" << x << ", " << y << ")";
            inked += ref.pixel(x, y) != graphics.brBackground.color;
          }
        EXPECT_TRUE(shown.empty() || inked > 20) << "\"" << shown << "\" left no ink";
      }
  }
  static auto rows(std::string name, std::string time) {
    return [=](int, bool isTime) { return isTime ? time : name; };
  }

  int count(const FrmStats& w, Rect r, ColorRef c) { return testing::countOf(w.dc(), c, r); }

  HeadlessBackend backend;
  Graphics graphics;
  UserData user;
};

// On load: the shown level's list and both buttons at rest, but no title. Clear Scores asks
// first, then resets only the shown level and draws the title.
TEST_F(StatsWindowTest, ShowsTheLevelsListThenClearScoresAsksAndResetsOnlyThatLevel) {
  {
    const auto w = shown(2);
    expectRowsShow(*w, [](int i, bool t) { return t ? std::to_string(i) + ":00" : playerName(i); });
    for (int left : {88, 264}) {  // both buttons panel-filled and captioned at rest
      EXPECT_EQ(w->dc().pixel(left, 396), graphics.brPanel.color);
      EXPECT_GT(count(*w, Rect{left, 396, left + 132, 426}, graphics.clrButtonText), 10);
    }
    // The level's name heads the list; the design's title is not drawn yet.
    EXPECT_GT(count(*w, Rect{0, 0, 466, 22}, graphics.clrScoreText), 20);
    EXPECT_EQ(count(*w, Rect{0, 22, 466, 43}, graphics.brBackground.color), 466 * 21);
    const auto image = w->dc().bits();
    pressClear(*w, false);  // Keep
    EXPECT_EQ(w->dc().bits(), image);
    EXPECT_EQ(user.bestScores(2).names(1), playerName(1));
    pressClear(*w, true, 395, 425, vbRightButton);  // one pixel inside the corner, any button
    expectRowsShow(*w, rows(kClearedName, "50:00"), true);
    // The title now names the level in black, centred on the window's middle.
    int minX = 466, maxX = 0, black = 0;
    for (int y = 22; y < 44; ++y)
      for (int x = 0; x < 466; ++x)
        if (w->dc().pixel(x, y) == rgb(0, 0, 0))
          ++black, minX = std::min(minX, x), maxX = std::max(maxX, x);
    EXPECT_GT(black, 20);
    EXPECT_LE(std::abs(minX + maxX - 466), 4) << minX << ".." << maxX;
    EXPECT_EQ(w->dc().pixel(88, 396), graphics.brPanel.color) << "buttons redrawn at rest";
  }
  const auto& times = user.bestScores(2).times;
  EXPECT_EQ(std::count(times.begin(), times.end(), 30000), kBestPlaces);
  expectRowsShow(*shown(2), rows(kClearedName, "50:00"));   // opened again: the cleared list
  expectRowsShow(*shown(1), rows("Anononymous", "50:00"));  // the other level left at its defaults
}

TEST_F(StatsWindowTest, LeftRightAndAPressOnTheHeadingShowTheOtherLevelsList) {
  const auto w = shown(2);
  const auto standard = w->dc().bits();
  backend.keyDown(*w, VK_LEFT);
  EXPECT_EQ(w->modeNum, 1);
  expectRowsShow(*w, rows("Anononymous", "50:00"));
  EXPECT_NE(w->dc().bits(), standard) << "the heading names the other level";
  backend.mouseDown(*w, 233, 10);
  EXPECT_EQ(w->modeNum, 2);
  EXPECT_EQ(w->dc().bits(), standard);
  backend.keyDown(*w, VK_RIGHT);
  EXPECT_EQ(w->modeNum, 1);
}

TEST_F(StatsWindowTest, EnterEscapeAndOKCloseWithoutClearingAndOtherKeysAndEdgesDoNothing) {
  const UserData before = user;
  for (int how : {int{VK_RETURN}, int{VK_ESCAPE}, 0}) {
    SCOPED_TRACE("closed by " + std::to_string(how));
    backend.onNextModal([&](Window& w) {
      for (int other : {int{'a'}, int{' '}, int{VK_BACK}, int{'R'}}) backend.keyPress(w, other);
      // Edges of OK (88..220 × 396..426) and of Clear Scores (264..396), and the gap between them.
      const float edges[][2] = {{88, 410},  {220, 410}, {150, 396}, {150, 426}, {264, 410},
                                {396, 410}, {300, 396}, {300, 426}, {240, 410}, {10, 10}};
      for (const auto& e : edges) backend.mouseDown(w, e[0], e[1]);
      EXPECT_TRUE(w.isVisible());
      // The key, or a press one pixel inside OK's corner.
      how ? backend.keyPress(w, how) : backend.mouseDown(w, 89, 397);
      EXPECT_FALSE(w.isVisible() || w.isLoaded());
    });
    showStats(StatsContext{backend, graphics, user, kDialogUnit, nullptr, nullptr}, 2);
    EXPECT_EQ(backend.pendingModalSteps(), 0u);
  }
  EXPECT_EQ(user.bestScores(2).names, before.bestScores(2).names) << "nothing was cleared";
}

TEST_F(StatsWindowTest, HoverLookChangesOnlyWhenThePointerCrossesAButtonEdge) {
  const auto w = shown(2);
  // Runs act: the refreshes it caused, then the left edges of the buttons that look hovered.
  const auto after = [&](auto act) {
    const int presents = backend.presentCount(*w);
    act();
    std::string s = std::to_string(backend.presentCount(*w) - presents);
    for (int left : {88, 264})
      if (w->dc().pixel(left, 396) == graphics.penFrame.color) s += " " + std::to_string(left);
    return s;
  };
  const auto move = [&](float x, float y) { return after([&] { backend.mouseMove(*w, x, y); }); };
  EXPECT_EQ(move(300, 410), "1 264");  // onto Clear Scores: framed hover look
  EXPECT_GT(count(*w, Rect{264, 396, 396, 426}, graphics.clrHoverText), 10);
  const auto image = w->dc().bits();
  for (float x : {270.f, 330.f, 390.f}) EXPECT_EQ(move(x, 420), "0 264");
  EXPECT_EQ(w->dc().bits(), image) << "moves inside a button draw nothing";
  // Pressing Clear Scores draws it at rest; the hover look comes back only after leaving it.
  EXPECT_EQ(after([&] { pressClear(*w, true); }), "1");
  EXPECT_EQ(move(331, 411), "0");
  EXPECT_EQ(move(240, 411), "1");  // off it: redrawn at rest
  EXPECT_EQ(move(300, 411), "1 264");
  // Straight from one button to the other: one leaves, the other enters, two refreshes.
  EXPECT_EQ(move(150, 411), "2 88");
}

TEST_F(StatsWindowTest, ALevelOutsideTheTableShowsAnEmptyListAndClearsNothing) {
  const UserData before = user;
  for (int mode : {0, 3, -1, 32767}) {
    SCOPED_TRACE("modeNum " + std::to_string(mode));
    const auto w = shown(mode);
    expectRowsShow(*w, rows("", ""));
    pressClear(*w, true);
    expectRowsShow(*w, rows("", ""));
    EXPECT_EQ(count(*w, Rect{0, 0, 466, 44}, graphics.brBackground.color), 466 * 44)
        << "an empty title";
    backend.mouseDown(*w, 150, 410);
    EXPECT_FALSE(w->isVisible());
  }
  EXPECT_EQ(user.bestScores(2).names, before.bestScores(2).names);
  EXPECT_EQ(user.bestScores(1).times, before.bestScores(1).times);

  UserData empty;  // a table never sized
  const auto w = shown(2, &empty);
  pressClear(*w, true);
  EXPECT_TRUE(w->isVisible());
}

TEST_F(StatsWindowTest, TheGameMessageBoxIsPaintedInThePanelColours) {
  const Graphics& g = graphics;
  MessageBoxWindow box(backend, "Please select a code first", "Quillorix", gameMessageBoxStyle(g));
  EXPECT_EQ(box.dc().pixel(0, 0), g.brPanel.color);
  EXPECT_EQ(box.dc().pixel(box.okButton().left, box.okButton().top), g.penFrame.color);
  EXPECT_GT(testing::countOf(box.dc(), g.clrMessageText, box.textArea()), 20);
}

}  // namespace
}  // namespace qlx
