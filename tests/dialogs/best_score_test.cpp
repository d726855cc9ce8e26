// Best times: ranking and inserting them (ties rank below, a place holding 0 counts as 18000,
// large times are kept whole, a level the table lacks is left alone), and the name dialog on the
// headless back end: editing in its text box, closing by the OK button and the close box, and what
// the text box shows. Enter and the name rules are checked where a game ends in a best time.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "dialogs/best_times.h"
#include "dialogs/name_dialog.h"
#include "persistence/user_store.h"
#include "platform/headless/headless_backend.h"

namespace qlx {
namespace {

class BestTimesTest : public ::testing::Test {
 protected:
  BestTimesTest() { scores.redim(kLevels); }

  // Fills level's list with times first, first + step, ... and names P1..P8.
  void fill(int level, int32_t first, int32_t step) {
    for (int i = 1; i <= kBestPlaces; ++i) {
      scores(level).times(i) = first + step * (i - 1);
      scores(level).names(i) = std::string("P").append(std::to_string(i));
    }
  }
  std::vector<std::string> names(int level) {
    return std::vector<std::string>(scores(level).names.begin(), scores(level).names.end());
  }
  std::vector<int32_t> times(int level) {
    return std::vector<int32_t>(scores(level).times.begin(), scores(level).times.end());
  }

  Array1<BestList> scores;
};

TEST_F(BestTimesTest, AnEqualTimeRanksBelowTheOneAlreadyThereAndTheLastFallsOut) {
  fill(1, 100, 100);  // 100, 200, ..., 800
  EXPECT_EQ(rankOfTime(scores, 1, 799), 8);
  EXPECT_EQ(rankOfTime(scores, 1, 800), kNoPlace);  // equal to place 8: nothing
  ASSERT_EQ(rankOfTime(scores, 1, 300), 4);
  insertBestTime(scores, 1, 300, "Tie");
  EXPECT_EQ(names(1), (std::vector<std::string>{"P1", "P2", "P3", "Tie", "P4", "P5", "P6", "P7"}));
  EXPECT_EQ(times(1), (std::vector<int32_t>{100, 200, 300, 300, 400, 500, 600, 700}));
}

TEST_F(BestTimesTest, APlaceHoldingZeroIsRewrittenTo18000WhenTheRankingReachesIt) {
  fill(1, 20000, 100);
  for (int32_t time : {17999, 18000}) {
    scores(1).times(1) = 0;
    EXPECT_EQ(rankOfTime(scores, 1, time), time < 18000 ? 1 : 2) << time;
    EXPECT_EQ(scores(1).times(1), kUnsetBestTime) << time;
  }
  fill(1, 100, 100);  // a zero the ranking never reaches stays
  scores(1).times(8) = 0;
  EXPECT_EQ(rankOfTime(scores, 1, 50), 1);
  EXPECT_EQ(scores(1).times(8), 0);
}

TEST_F(BestTimesTest, TimesAbove32767AreStoredWhole) {
  fill(1, 40000, 1000);  // a stored list with times beyond 16 bits
  ASSERT_EQ(rankOfTime(scores, 1, 35000), 1);
  insertBestTime(scores, 1, 35000, "Slow");
  ASSERT_EQ(rankOfTime(scores, 1, 70000), kNoPlace);
  ASSERT_EQ(rankOfTime(scores, 1, 45500), 8);
  insertBestTime(scores, 1, 45500, "Last");
  EXPECT_EQ(times(1),
            (std::vector<int32_t>{35000, 40000, 41000, 42000, 43000, 44000, 45000, 45500}));
  EXPECT_EQ(scores(1).names(8), "Last");
}

TEST_F(BestTimesTest, ALevelOutsideTheTableRanksNothingAndChangesNothing) {
  fill(1, 0, 0);  // zeros that a ranking would rewrite
  fill(2, 0, 0);
  const Array1<BestList> before = scores;
  for (int level : {0, -1, 3, 32767}) {
    EXPECT_EQ(rankOfTime(scores, level, 1), kNoPlace) << level;
    insertBestTime(scores, level, 1, "Nobody");
  }
  for (int level = 1; level <= kLevels; ++level) {
    EXPECT_TRUE(scores(level).times == before(level).times) << level;
    EXPECT_TRUE(scores(level).names == before(level).names) << level;
  }
  Array1<BestList> none;
  EXPECT_EQ(rankOfTime(none, 1, 1), kNoPlace);
  insertBestTime(none, 1, 1, "Nobody");
  EXPECT_TRUE(none.empty());
}

constexpr int kKeyEnd = 35, kKeyHome = 36, kKeyLeft = 37;

class NameDialogTest : public ::testing::Test {
 protected:
  // Shows the dialog for level 2 and runs step on it; returns the name it gives back.
  std::string ask(const std::function<void(DiagUN&)>& step) {
    backend.onNextModal([&](Window& w) { step(dynamic_cast<DiagUN&>(w)); });
    const std::string name = askBestName(backend, graphics, 3, 2);
    EXPECT_EQ(backend.pendingModalSteps(), 0u);
    return name;
  }
  // Pixels inside the text box, columns [left, right), that are dark, or black when only black.
  int darkIn(const DiagUN& d, int left, int right, bool black = false) {
    const auto& s = backend.screen(d);
    int n = 0;
    for (int y = d.textBox().top + 2; y < d.textBox().bottom - 2; ++y)
      for (int x = left; x < right; ++x) {
        const uint32_t px = s.at(static_cast<std::size_t>(y * kNameDialogWidth + x));
        n += black ? px == 0 : (px & 0xff) < 100;
      }
    return n;
  }
  int caretRows(const DiagUN& d) { return darkIn(d, d.caretX(), d.caretX() + 1, true); }

  HeadlessBackend backend;
  Graphics graphics;
};

TEST_F(NameDialogTest, TypingBackspaceAndTheCaretKeysEditWhereTheCaretIs) {
  const std::string name = ask([&](DiagUN& d) {
    backend.type(d, "Ann Leex");
    backend.keyPress(d, VK_BACK);
    EXPECT_EQ(d.text(), "Ann Lee");
    backend.keyDown(d, kKeyHome);
    backend.keyPress(d, VK_BACK);  // nothing before the caret
    backend.type(d, "Jo ");
    EXPECT_EQ(d.caret(), 3u);
    backend.keyDown(d, kKeyEnd);
    backend.keyDown(d, kKeyLeft);
    backend.keyPress(d, VK_BACK);   // the "e" before the caret
    backend.keyDown(d, VK_DELETE);  // and the one after it
    EXPECT_EQ(d.text(), "Jo Ann L");
    backend.keyPress(d, 0xe9);  // é, a Windows-1252 character
    for (int notACharacter : {9, 27, 127, 256, -1}) backend.keyPress(d, notACharacter);
    // A click in the box puts the caret at the nearest character boundary.
    backend.mouseDown(d, static_cast<float>(d.textLeft()), static_cast<float>(d.textBox().top + 5));
    EXPECT_EQ(d.caret(), 0u);
    backend.type(d, "<");
    backend.keyDown(d, VK_RETURN);
  });
  EXPECT_EQ(name, "<Jo Ann L\xe9");
}

TEST_F(NameDialogTest, TheOkButtonAndTheCloseBoxCloseWithTheNameAsTyped) {
  EXPECT_EQ(ask([&](DiagUN& d) {
              backend.type(d, "Ada");
              const Rect ok = d.okButton();
              backend.mouseDown(d, (ok.left + ok.right) / 2.0f, (ok.top + ok.bottom) / 2.0f);
            }),
            "Ada");
  EXPECT_EQ(ask([&](DiagUN& d) {
              backend.type(d, "  ");
              backend.closeBox(d);
            }),
            "  ");
}

TEST_F(NameDialogTest, TheTextBoxShowsTheTextAndABlinkingCaretThatStaysInView) {
  ask([&](DiagUN& d) {
    backend.type(d, "Wm");
    const int caret = d.caretX();
    EXPECT_GT(caret, d.textLeft() + 10);
    EXPECT_GT(darkIn(d, d.textLeft(), caret), 20) << "the text";
    EXPECT_GE(caretRows(d), 10) << "the caret";
    EXPECT_EQ(darkIn(d, caret + 2, d.textBox().right - 2), 0) << "nothing after the caret";

    backend.advance(600);  // the caret blinks off
    EXPECT_FALSE(d.caretShown());
    EXPECT_EQ(caretRows(d), 0);
    backend.type(d, "W");  // and is back at once when the text changes
    EXPECT_GE(caretRows(d), 10);

    backend.type(d, std::string(60, 'W'));  // 16 more fit the box's 19: far wider than it shows
    EXPECT_LT(d.caretX(), d.textBox().right - 2);
    EXPECT_GE(caretRows(d), 10);
    EXPECT_GT(darkIn(d, d.textLeft(), d.caretX()), 100);
    backend.keyDown(d, kKeyHome);  // scrolled back to the start
    EXPECT_EQ(d.caretX(), d.textLeft());
    backend.keyDown(d, kKeyEnd);
    EXPECT_EQ(d.text().size(), 19u);
    for (int i = 0; i < 17; ++i) backend.keyPress(d, VK_BACK);  // back to "Wm", unscrolled
    EXPECT_EQ(d.caretX(), caret);
    backend.closeBox(d);
  });
}

}  // namespace
}  // namespace qlx
