// Best times: ranking and inserting them (ties rank below, a place holding 0 counts as 18000,
// large times are kept whole, a level the table lacks is left alone), and the name dialog on the
// headless back end: editing in its text box, closing by the OK button and the close box, and what
// the text box shows. Enter and the name rules are checked where a game ends in a best time.
#include <gtest/gtest.h>

#include <functional>
#include <string>

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
  // Level's list as "name=time,..." from place 1.
  std::string list(int level) {
    std::string s;
    for (int i = 1; i <= kBestPlaces; ++i)
      s += scores(level).names(i) + "=" + std::to_string(scores(level).times(i)) + ",";
    return s;
  }

  Array1<BestList> scores;
};

// An equal time ranks below the one already there and the last place falls out; times above
// 32767 are kept whole; a place holding 0 counts as 18000, rewritten so when the ranking reaches
// it.
TEST_F(BestTimesTest, RankingAndInsertingTimes) {
  fill(1, 100, 100);  // 100, 200, ..., 800
  EXPECT_EQ(rankOfTime(scores, 1, 799), 8);
  EXPECT_EQ(rankOfTime(scores, 1, 800), kNoPlace);  // equal to place 8: nothing
  ASSERT_EQ(rankOfTime(scores, 1, 300), 4);
  insertBestTime(scores, 1, 300, "Tie");
  EXPECT_EQ(list(1), "P1=100,P2=200,P3=300,Tie=300,P4=400,P5=500,P6=600,P7=700,");
  scores(1).times(8) = 0;  // a zero the ranking never reaches stays
  EXPECT_EQ(rankOfTime(scores, 1, 50), 1);
  EXPECT_EQ(scores(1).times(8), 0);

  fill(2, 40000, 1000);  // a stored list with times beyond 16 bits
  ASSERT_EQ(rankOfTime(scores, 2, 35000), 1);
  insertBestTime(scores, 2, 35000, "Slow");
  ASSERT_EQ(rankOfTime(scores, 2, 70000), kNoPlace);
  insertBestTime(scores, 2, 45500, "Last");
  EXPECT_EQ(list(2),
            "Slow=35000,P1=40000,P2=41000,P3=42000,P4=43000,P5=44000,P6=45000,Last=45500,");
  for (int32_t time : {17999, 18000}) {
    scores(2).times(1) = 0;
    EXPECT_EQ(rankOfTime(scores, 2, time), time < 18000 ? 1 : 2) << time;
    EXPECT_EQ(scores(2).times(1), kUnsetBestTime) << time;
  }
}

TEST_F(BestTimesTest, ALevelOutsideTheTableRanksNothingAndChangesNothing) {
  fill(1, 0, 0);  // zeros that a ranking would rewrite
  fill(2, 0, 0);
  const std::string before = list(1) + list(2);
  for (int level : {0, -1, 3, 32767}) {
    EXPECT_EQ(rankOfTime(scores, level, 1), kNoPlace) << level;
    insertBestTime(scores, level, 1, "Nobody");
  }
  EXPECT_EQ(list(1) + list(2), before);
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

TEST_F(NameDialogTest, EditsAndShowsTheNameWhereTheCaretIsAndOKOrTheCloseBoxGiveItAsTyped) {
  std::string name = ask([&](DiagUN& d) {
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
    const Rect ok = d.okButton();
    backend.mouseDown(d, (ok.left + ok.right) / 2.0f, (ok.top + ok.bottom) / 2.0f);
  });
  EXPECT_EQ(name, "<Jo Ann L\xe9") << "OK closes with the name as typed";
  // The text box shows the text and a blinking caret that stays in view.
  name = ask([&](DiagUN& d) {
    backend.type(d, "Wm");
    const int caret = d.caretX();
    EXPECT_GT(caret, d.textLeft() + 10);
    EXPECT_GT(darkIn(d, d.textLeft(), caret), 20) << "the text";
    EXPECT_GE(caretRows(d), 10) << "the caret";
    EXPECT_EQ(darkIn(d, caret + 2, d.textBox().right - 2), 0) << "nothing after the caret";

    backend.advance(600);  // the caret blinks off
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
  EXPECT_EQ(name, "Wm") << "the close box closes with the name as typed";
}

}  // namespace
}  // namespace qlx
