// The string table keeps the game's texts exactly, odd spellings and trailing blanks included.
#include <gtest/gtest.h>

#include "resources/string_table.h"

namespace qlx {
namespace {

TEST(StringTable, OddEntriesAreKeptExactly) {
  EXPECT_EQ(loadString(IDS_PAUSED), "Game Paused - Clik here to resume");
  EXPECT_EQ(loadString(234), "Our solution is diffrent from the entries.\n ");
  EXPECT_EQ(loadString(110),
            "Congrats ! You have Successfully solved the puzzle\n Time consumed |1");
  EXPECT_EQ(loadString(115), "Please select a code first and then Click on Reveal cell");
  EXPECT_EQ(loadString(235), "Our solution perfectly matches with your entries so far");
  EXPECT_EQ(loadString(31), "Quillorix");
  EXPECT_EQ(loadString(32), "Quillorix");
  EXPECT_EQ(loadString(72), "Show Solution");
  EXPECT_EQ(loadString(86), "Exit");
  EXPECT_EQ(loadString(92), "Clear Scores");
  EXPECT_STREQ(kApplicationTitle, "Quillorix");
}

TEST(StringTable, TheResumeQuestionHasTextAndTwoButtons) {
  EXPECT_NE(loadString(IDS_RESUME_QUESTION).find('?'), std::string::npos);
  EXPECT_FALSE(loadString(IDS_RESUME_YES).empty());
  EXPECT_FALSE(loadString(IDS_RESUME_NO).empty());
  EXPECT_NE(loadString(IDS_RESUME_YES), loadString(IDS_RESUME_NO));
}

TEST(StringTable, UnknownNumbersGiveEmptyText) {
  for (int id : {0, -1, 1, 16, 18, 64, 233, 236, 65535}) EXPECT_EQ(loadString(id), "") << id;
}

}  // namespace
}  // namespace qlx
