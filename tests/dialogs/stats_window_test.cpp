// The Hall of Fame window on the headless back end with the real fonts: the rows it shows, how it
// closes, Clear Scores, and when its buttons change look; and the game's message box look.
#include <gtest/gtest.h>

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

  StatsContext context(UserData& u) {
    return StatsContext{backend, graphics, u, kDialogUnit, nullptr, nullptr};
  }
  std::unique_ptr<FrmStats> shown(int mode) {
    auto w = std::make_unique<FrmStats>(context(user));
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

  // A row must show text as drawn alone, with the same primitive, on the background in the dialog
  // font, after the title when titled (it reaches into row 1).
  void expectRowShows(const FrmStats& w, const DrawRect& row, const std::string& text,
                      bool titled = false) {
    DeviceContext ref(kStatsWidth, kStatsHeight, graphics.brBackground.color);
    ref.setFont(dialogFont());
    if (titled) {
      DrawRect t = w.title();
      t.hDC = &ref;
      drawButton(t, 0, false, 2, "Quillorix", graphics);
    }
    DrawRect r = row;
    r.hDC = &ref;
    drawText(r, 1, text, kTopLeftText);
    int inked = 0;
    // One pixel above the record too: the coloured copy is lifted by one.
    for (int y = row.top - 1; y < row.top + row.height; ++y)
      for (int x = row.left; x < row.left + row.width + 1; ++x) {
        ASSERT_EQ(w.dc().pixel(x, y), ref.pixel(x, y))
            << "\"" << text << "\" at (" << x << ", " << y << ")";
        inked += ref.pixel(x, y) != graphics.brBackground.color;
      }
    EXPECT_TRUE(text.empty() || inked > 20) << "\"" << text << "\" left no ink";
  }
  void expectRowsShow(const FrmStats& w, const std::string& name, const std::string& time,
                      bool titled = false) {
    for (int i = 1; i <= kBestPlaces; ++i) {
      expectRowShows(w, w.nameRow(i), name, titled);
      expectRowShows(w, w.timeRow(i), time, titled);
    }
  }

  int count(const FrmStats& w, Rect r, ColorRef c) { return testing::countOf(w.dc(), c, r); }

  HeadlessBackend backend;
  Graphics graphics;
  UserData user;
};

TEST_F(StatsWindowTest, PaintsTheShownLevelsListAndButtonsOnLoadButNoTitle) {
  const auto w = shown(2);
  for (int i = 1; i <= kBestPlaces; ++i) {
    expectRowShows(*w, w->nameRow(i), playerName(i));
    expectRowShows(*w, w->timeRow(i), std::to_string(i) + ":00");
  }
  for (int left : {88, 264}) {  // both buttons panel-filled and captioned at rest
    EXPECT_EQ(w->dc().pixel(left, 396), graphics.brPanel.color);
    EXPECT_GT(count(*w, Rect{left, 396, left + 132, 426}, graphics.clrButtonText), 10);
  }
  EXPECT_EQ(count(*w, Rect{0, 0, 466, 43}, graphics.brBackground.color), 466 * 43);
  expectRowsShow(*shown(1), "Anononymous", "50:00");  // a level never filled: the defaults
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
      if (how == 0)
        backend.mouseDown(w, 89, 397);  // one pixel inside OK's corner
      else
        backend.keyPress(w, how);
      EXPECT_FALSE(w.isVisible() || w.isLoaded());
    });
    showStats(context(user), 2);
    EXPECT_EQ(backend.pendingModalSteps(), 0u);
  }
  for (int level = 1; level <= kLevels; ++level) {
    EXPECT_EQ(user.bestScores(level).names, before.bestScores(level).names);
    EXPECT_EQ(user.bestScores(level).times, before.bestScores(level).times);
  }
}

TEST_F(StatsWindowTest, ClearScoresAsksFirstThenResetsOnlyTheShownLevelAndDrawsTheTitle) {
  {
    const auto w = shown(2);
    const auto image = w->dc().bits();
    pressClear(*w, false);  // Keep
    EXPECT_EQ(w->dc().bits(), image);
    EXPECT_EQ(user.bestScores(2).names(1), playerName(1));
    const int presents = backend.presentCount(*w);
    pressClear(*w, true, 395, 425, vbRightButton);  // one pixel inside the corner, any button
    EXPECT_EQ(backend.presentCount(*w), presents + 1);
    expectRowsShow(*w, kClearedName, "50:00", true);
    // The title now names the level in black, centred on the window's middle.
    int minX = 466, maxX = 0, black = 0;
    for (int y = 0; y < 44; ++y)
      for (int x = 0; x < 466; ++x)
        if (w->dc().pixel(x, y) == rgb(0, 0, 0))
          ++black, minX = std::min(minX, x), maxX = std::max(maxX, x);
    EXPECT_GT(black, 20);
    EXPECT_LE(std::abs(minX + maxX - 466), 4) << minX << ".." << maxX;
    EXPECT_EQ(w->dc().pixel(88, 396), graphics.brPanel.color) << "buttons redrawn at rest";
  }
  for (int i = 1; i <= kBestPlaces; ++i) {
    EXPECT_EQ(user.bestScores(2).names(i), "Anonoymous");
    EXPECT_EQ(user.bestScores(2).times(i), 30000);
    EXPECT_EQ(user.bestScores(1).names(i), kDefaultName) << "the other level is left alone";
  }
  backend.onNextModal([&](Window& win) {  // opened again, it shows the cleared list
    expectRowsShow(static_cast<FrmStats&>(win), kClearedName, "50:00");
    backend.keyPress(win, VK_ESCAPE);
  });
  showStats(context(user), 2);
}

TEST_F(StatsWindowTest, HoverLookChangesOnlyWhenThePointerCrossesAButtonEdge) {
  const auto w = shown(2);
  const ColorRef frame = graphics.penFrame.color, panel = graphics.brPanel.color;
  int presents = backend.presentCount(*w);
  backend.mouseMove(*w, 300, 410);  // onto Clear Scores: framed hover look
  EXPECT_EQ(backend.presentCount(*w), ++presents);
  EXPECT_EQ(w->dc().pixel(395, 425), frame);
  EXPECT_GT(count(*w, Rect{264, 396, 396, 426}, graphics.clrHoverText), 10);
  const auto image = w->dc().bits();
  for (float x : {270.f, 330.f, 390.f}) backend.mouseMove(*w, x, 420);
  EXPECT_EQ(backend.presentCount(*w), presents);
  EXPECT_EQ(w->dc().bits(), image) << "moves inside a button draw nothing";

  // Pressing Clear Scores draws it at rest; the hover look comes back only after leaving it.
  pressClear(*w, true);
  EXPECT_EQ(backend.presentCount(*w), ++presents);
  EXPECT_EQ(w->dc().pixel(264, 396), panel);
  backend.mouseMove(*w, 331, 411);
  EXPECT_EQ(backend.presentCount(*w), presents);
  backend.mouseMove(*w, 240, 411);  // off it: redrawn at rest
  EXPECT_EQ(backend.presentCount(*w), ++presents);
  backend.mouseMove(*w, 300, 411);
  EXPECT_EQ(w->dc().pixel(264, 396), frame);

  // Straight from one button to the other: one leaves, the other enters, two refreshes.
  presents = backend.presentCount(*w);
  backend.mouseMove(*w, 150, 411);
  EXPECT_EQ(backend.presentCount(*w), presents + 2);
  EXPECT_EQ(w->dc().pixel(264, 396), panel);
  EXPECT_EQ(w->dc().pixel(88, 396), frame);
}

TEST_F(StatsWindowTest, ALevelOutsideTheTableShowsAnEmptyListAndClearsNothing) {
  const UserData before = user;
  for (int mode : {0, 3, -1, 32767}) {
    SCOPED_TRACE("modeNum " + std::to_string(mode));
    const auto w = shown(mode);
    expectRowsShow(*w, "", "");
    pressClear(*w, true);
    expectRowsShow(*w, "", "");
    EXPECT_EQ(count(*w, Rect{0, 0, 466, 44}, graphics.brBackground.color), 466 * 44)
        << "an empty title";
    backend.mouseDown(*w, 150, 410);
    EXPECT_FALSE(w->isVisible());
  }
  EXPECT_EQ(user.bestScores(2).names, before.bestScores(2).names);
  EXPECT_EQ(user.bestScores(1).times, before.bestScores(1).times);

  UserData empty;  // a table never sized
  FrmStats w(context(empty));
  w.modeNum = 2;
  w.show();
  pressClear(w, true);
  EXPECT_TRUE(w.isVisible());
}

TEST(GameMessageBoxStyle, PaintsAMessageBoxInThePanelColours) {
  const Graphics g;
  HeadlessBackend backend;
  MessageBoxWindow box(backend, "Please select a code first", "Quillorix", gameMessageBoxStyle(g));
  EXPECT_EQ(box.dc().pixel(0, 0), g.brPanel.color);
  EXPECT_EQ(box.dc().pixel(box.okButton().left, box.okButton().top), g.penFrame.color);
  EXPECT_GT(testing::countOf(box.dc(), g.clrMessageText, box.textArea()), 20);
}

}  // namespace
}  // namespace qlx
