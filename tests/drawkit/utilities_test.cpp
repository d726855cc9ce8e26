// The clock text, message templates (every occurrence replaced, and always finishing), the
// sound table and the help page.
#include <gtest/gtest.h>

#include "drawkit/help.h"
#include "drawkit/sounds.h"
#include "drawkit/text_template.h"
#include "drawkit/time_format.h"
#include "platform/headless/headless_backend.h"

namespace qlx {
namespace {

TEST(FormatTime, EdgeValues) {
  EXPECT_EQ(formatTime(0, kTimeLong), "0:00.0");
  EXPECT_EQ(formatTime(599, kTimeShort), "0:59");
  EXPECT_EQ(formatTime(754, kTimeLong), "1:15.4");
  EXPECT_EQ(formatTime(36000, kTimeShort), "60:00") << "no hours field";
  EXPECT_EQ(formatTime(754, 0), "1:15.4") << "every style but 2 is the long form";
  EXPECT_EQ(formatTime(INT32_MAX, kTimeLong), "3579139:24.7");
  EXPECT_EQ(formatTime(-754, kTimeLong), "-1:15.4");
}

TEST(FillTemplate, ReplacesEveryOccurrenceOfEveryKeyAndAlwaysFinishes) {
  EXPECT_EQ(fillTemplateText("|1 and |1, |2", {"|1", "x", "|2", "yy"}), "x and x, yy");
  EXPECT_EQ(fillTemplateText("a|1b", {"|1"}), "ab") << "a key without a value";
  EXPECT_EQ(fillTemplateText("|1|2", {"|1", "v", "|2"}), "vv")
      << "an odd count reuses the last value";
  EXPECT_EQ(fillTemplateText("Case |a", {"|A", "x"}), "Case |a");
  EXPECT_EQ(fillTemplateText("a|1b", {"", "x"}), "a|1b") << "an empty key replaces nothing";
  EXPECT_EQ(fillTemplateText("|1 |1", {"|1", "<|1>"}), "<|1> <|1>");
  EXPECT_EQ(fillTemplateText("aa", {"a", "aa"}), "aaaa");
  // A value is never searched again, by its own key or a later one, nor is a key formed where a
  // value meets the template.
  EXPECT_EQ(fillTemplateText("|1 |2", {"|1", "|2", "|2", "z"}), "|2 z");
  EXPECT_EQ(fillTemplateText("|x1", {"x", "", "|1", "!"}), "|1");
}

TEST(Sounds, TableOfFullPathsAndPlayingThroughTheBackEnd) {
  SoundFiles files;
  HeadlessBackend backend;
  playSoundFile(backend, files, sndClap);  // an unfilled table plays nothing
  initSoundFiles(files, "/games/quillorix/");
  EXPECT_EQ(files[0], "/games/quillorix/CLICK.wav");
  playSoundFile(backend, files, sndClap);
  playSoundFile(backend, files, 6);
  playSoundFile(backend, files, -1);
  EXPECT_EQ(backend.sounds, std::vector<std::string>{"/games/quillorix/CLAP.wav"});
}

TEST(Help, WithNoProgramToShowThePageAMessageSaysWhereItIs) {
  HeadlessBackend backend;
  backend.documentsOpen = false;
  openDocument(backend, helpPagePath("/games/quillorix/"));
  ASSERT_EQ(backend.messages.size(), 1u);
  EXPECT_NE(backend.messages[0].text.find("/games/quillorix/QUILHLP.HTM"), std::string::npos);
}

}  // namespace
}  // namespace qlx
