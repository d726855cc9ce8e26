// The Hall of Fame window on the headless back end with the real fonts: where its records lie,
// the rows it shows, how it closes, Clear Scores, and when its buttons change look.
#include <gtest/gtest.h>

#include <string>

#include "box_fonts.h"
#include "dialogs/dialog_layout.h"
#include "dialogs/stats_window.h"
#include "drawkit/primitives.h"
#include "persistence/user_store.h"
#include "platform/headless/headless_backend.h"

namespace qlx {
namespace {

class StatsWindowTest : public ::testing::Test {
 protected:
  StatsWindowTest() {
    user.bestScores.redim(kLevels);
    for (int i = 1; i <= kBestPlaces; ++i) {
      user.bestScores(1).names(i) = kDefaultName;  // a level never played, as the store loads it
      user.bestScores(1).times(i) = kDefaultTime;
      user.bestScores(2).names(i) = "Player " + std::string(1, static_cast<char>('A' + i - 1));
      user.bestScores(2).times(i) = 600 * i + 5;  // i minutes and half a second
    }
  }

  StatsContext context() {
    return StatsContext{backend, graphics, user, kDialogUnit, nullptr, nullptr};
  }

  // Presses Clear Scores, answering its question with Enter (clear) or Escape (keep).
  void pressClear(FrmStats& w, bool clear, float x = 330, float y = 410,
                  int button = vbLeftButton) {
    backend.onNextModal([&, clear](Window& q) {
      EXPECT_EQ(q.caption(), "Clear Scores");
      backend.keyPress(q, clear ? VK_RETURN : VK_ESCAPE);
    });
    backend.mouseDown(w, x, y, button);
    EXPECT_EQ(backend.pendingModalSteps(), 0u);
  }

  // What a row of the window must look like: the text drawn alone, with the same primitive, on
  // the background in the dialog font, after the title when titled (it reaches into row 1).
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
    if (!text.empty()) {
      EXPECT_GT(inked, 20) << "\"" << text << "\" left some ink";
    }
  }

  void expectRowsShow(const FrmStats& w, const std::string& name, const std::string& time,
                      bool titled = false) {
    for (int i = 1; i <= kBestPlaces; ++i) {
      SCOPED_TRACE("row " + std::to_string(i));
      expectRowShows(w, w.nameRow(i), name, titled);
      expectRowShows(w, w.timeRow(i), time, titled);
    }
  }

  int count(const FrmStats& w, Rect r, ColorRef c) { return testing::countOf(w.dc(), c, r); }

  HeadlessBackend backend;
  Graphics graphics;
  UserData user;
};

TEST_F(StatsWindowTest, LaysOutItsRecordsInDialogUnitsAndPaintsTheListOnLoad) {
  graphics.windowIcon = std::make_shared<Bitmap>(Bitmap{2, 2, {1, 2, 3, 4}});
  FrmStats w(context());
  w.modeNum = 2;
  w.show();
  const DeviceContext& dc = w.dc();
  const ColorRef bg = graphics.brBackground.color, panel = graphics.brPanel.color;

  EXPECT_EQ(w.clientWidth(), 466);
  EXPECT_EQ(w.clientHeight(), 454);
  EXPECT_EQ(w.caption(), "Best Scores - Quillorix");
  EXPECT_EQ(w.icon(), graphics.windowIcon);
  EXPECT_EQ(dc.font(), (FontSpec{"Times New Roman", 14.25, FW_BOLD}));

  EXPECT_EQ(dc.pixel(0, 0), bg);
  EXPECT_EQ(dc.pixel(465, 453), bg);
  // Both buttons: 132 × 30 at (88, 396) and (264, 396), panel-filled and unframed at rest.
  for (int left : {88, 264}) {
    SCOPED_TRACE("button at " + std::to_string(left));
    EXPECT_EQ(dc.pixel(left, 396), panel);
    EXPECT_EQ(dc.pixel(left + 131, 425), panel);
    EXPECT_EQ(dc.pixel(left - 1, 410), bg);
    EXPECT_EQ(dc.pixel(left + 132, 426), bg);
    EXPECT_GT(count(w, Rect{left, 396, left + 132, 426}, graphics.clrButtonText), 10)
        << "caption drawn";
  }
  EXPECT_EQ(count(w, Rect{0, 0, 466, 43}, bg), 466 * 43) << "the title is not drawn on opening";
  EXPECT_EQ(w.nameRow(3).left, 44);
  EXPECT_EQ(w.nameRow(3).top, 132);
  EXPECT_EQ(w.timeRow(8).left, 352);
  EXPECT_EQ(w.timeRow(8).top, 352);
  for (int i = 1; i <= kBestPlaces; ++i) {
    SCOPED_TRACE("row " + std::to_string(i));
    expectRowShows(w, w.nameRow(i), "Player " + std::string(1, static_cast<char>('A' + i - 1)));
    expectRowShows(w, w.timeRow(i), std::to_string(i) + ":00");
  }
  FrmStats never(context());  // a level never filled shows the store's defaults
  never.modeNum = 1;
  never.show();
  expectRowsShow(never, "Anononymous", "50:00");
}

TEST_F(StatsWindowTest, EnterEscapeAndOKCloseWithoutClearingAndOtherKeysAndEdgesDoNothing) {
  const UserData before = user;
  for (int how : {int{VK_RETURN}, int{VK_ESCAPE}, 0}) {
    SCOPED_TRACE("closed by " + std::to_string(how));
    backend.onNextModal([&](Window& w) {
      for (int other : {int{'a'}, int{' '}, int{VK_BACK}, int{'R'}}) backend.keyPress(w, other);
      // Edges of OK (88..220 × 396..426) and of Clear Scores (264..396), and the gap between them.
      for (auto [x, y] : {std::pair{88.f, 410.f},
                          {220.f, 410.f},
                          {150.f, 396.f},
                          {150.f, 426.f},
                          {264.f, 410.f},
                          {396.f, 410.f},
                          {300.f, 396.f},
                          {300.f, 426.f},
                          {240.f, 410.f},
                          {10.f, 10.f}})
        backend.mouseDown(w, x, y);
      EXPECT_TRUE(w.isVisible());
      if (how == 0)
        backend.mouseDown(w, 89, 397);  // one pixel inside OK's corner
      else
        backend.keyPress(w, how);
      EXPECT_FALSE(w.isVisible() || w.isLoaded());
    });
    showStats(context(), 2);
    EXPECT_EQ(backend.pendingModalSteps(), 0u);
  }
  for (int level = 1; level <= kLevels; ++level) {
    EXPECT_EQ(user.bestScores(level).names, before.bestScores(level).names);
    EXPECT_EQ(user.bestScores(level).times, before.bestScores(level).times);
  }
}

TEST_F(StatsWindowTest, ClearScoresAsksFirstThenResetsOnlyTheShownLevelAndDrawsTheTitle) {
  {
    FrmStats w(context());
    w.modeNum = 2;
    w.show();
    const auto image = w.dc().bits();
    const UserData before = user;
    pressClear(w, false);  // Keep
    EXPECT_EQ(w.dc().bits(), image);
    EXPECT_EQ(user.bestScores(2).names, before.bestScores(2).names);
    const int presents = backend.presentCount(w);
    pressClear(w, true, 395, 425, vbRightButton);  // one pixel inside the corner, any button
    EXPECT_EQ(backend.presentCount(w), presents + 1);
    expectRowsShow(w, kClearedName, "50:00", true);
    // The title now names the level in black, centred on the window's middle.
    int minX = 466, maxX = 0, black = 0;
    for (int y = 0; y < 44; ++y)
      for (int x = 0; x < 466; ++x)
        if (w.dc().pixel(x, y) == rgb(0, 0, 0))
          ++black, minX = std::min(minX, x), maxX = std::max(maxX, x);
    EXPECT_GT(black, 20);
    EXPECT_LE(std::abs(minX + maxX - 466), 4) << minX << ".." << maxX;
    EXPECT_EQ(w.dc().pixel(88, 396), graphics.brPanel.color) << "buttons redrawn at rest";
  }
  for (int i = 1; i <= kBestPlaces; ++i) {
    EXPECT_EQ(user.bestScores(2).names(i), "Anonoymous");
    EXPECT_EQ(user.bestScores(2).times(i), 30000);
    EXPECT_EQ(user.bestScores(1).names(i), kDefaultName) << "the other level is left alone";
  }
  // Opened again, the window shows the cleared list.
  backend.onNextModal([&](Window& win) {
    expectRowsShow(static_cast<FrmStats&>(win), kClearedName, "50:00");
    backend.keyPress(win, VK_ESCAPE);
  });
  showStats(context(), 2);
  EXPECT_EQ(backend.pendingModalSteps(), 0u);
}

TEST_F(StatsWindowTest, HoverLookChangesOnlyWhenThePointerCrossesAButtonEdge) {
  FrmStats w(context());
  w.modeNum = 2;
  w.show();
  const ColorRef frame = graphics.penFrame.color, panel = graphics.brPanel.color;
  int presents = backend.presentCount(w);
  backend.mouseMove(w, 300, 410);  // onto Clear Scores: framed hover look
  EXPECT_EQ(backend.presentCount(w), ++presents);
  EXPECT_EQ(w.dc().pixel(395, 425), frame);
  EXPECT_GT(count(w, Rect{264, 396, 396, 426}, graphics.clrHoverText), 10);
  const auto image = w.dc().bits();
  for (float x : {270.f, 330.f, 390.f}) backend.mouseMove(w, x, 420);
  EXPECT_EQ(backend.presentCount(w), presents);
  EXPECT_EQ(w.dc().bits(), image) << "moves inside a button draw nothing";

  // Pressing Clear Scores draws it at rest; the hover look comes back only after leaving it.
  pressClear(w, true);
  EXPECT_EQ(backend.presentCount(w), ++presents);
  EXPECT_EQ(w.dc().pixel(264, 396), panel);
  backend.mouseMove(w, 331, 411);
  EXPECT_EQ(backend.presentCount(w), presents);
  backend.mouseMove(w, 240, 411);  // off it: redrawn at rest
  EXPECT_EQ(backend.presentCount(w), ++presents);
  EXPECT_EQ(w.button(2).hover, 0);
  backend.mouseMove(w, 300, 411);
  EXPECT_EQ(w.dc().pixel(264, 396), frame);

  // Straight from one button to the other: one leaves, the other enters, two refreshes.
  presents = backend.presentCount(w);
  backend.mouseMove(w, 150, 411);
  EXPECT_EQ(backend.presentCount(w), presents + 2);
  EXPECT_EQ(w.dc().pixel(264, 396), panel);
  EXPECT_EQ(w.dc().pixel(88, 396), frame);
}

TEST_F(StatsWindowTest, ALevelOutsideTheTableShowsAnEmptyListAndClearsNothing) {
  const UserData before = user;
  for (int mode : {0, 3, -1, 32767}) {
    SCOPED_TRACE("modeNum " + std::to_string(mode));
    FrmStats w(context());
    w.modeNum = mode;
    w.show();
    expectRowsShow(w, "", "");
    pressClear(w, true);
    expectRowsShow(w, "", "");
    EXPECT_EQ(count(w, Rect{0, 0, 466, 44}, graphics.brBackground.color), 466 * 44)
        << "an empty title";
    backend.mouseDown(w, 150, 410);
    EXPECT_FALSE(w.isVisible());
  }
  EXPECT_EQ(user.bestScores(2).names, before.bestScores(2).names);
  EXPECT_EQ(user.bestScores(1).times, before.bestScores(1).times);

  UserData empty;  // a table never sized
  FrmStats w(StatsContext{backend, graphics, empty, kDialogUnit, nullptr, nullptr});
  w.modeNum = 2;
  w.show();
  pressClear(w, true);
  EXPECT_TRUE(w.isVisible());
}

}  // namespace
}  // namespace qlx
