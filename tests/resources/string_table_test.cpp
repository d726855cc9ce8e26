// The string table: the resume question and its two buttons, and unknown numbers.
#include <gtest/gtest.h>

#include "resources/string_table.h"

namespace qlx {
namespace {

TEST(StringTable, TheResumeQuestionHasTwoButtonsAndUnknownNumbersGiveEmptyText) {
  EXPECT_NE(loadString(IDS_RESUME_QUESTION).find('?'), std::string::npos);
  EXPECT_FALSE(loadString(IDS_RESUME_YES).empty());
  EXPECT_NE(loadString(IDS_RESUME_YES), loadString(IDS_RESUME_NO));
  for (int id : {0, -1, 1, 16, 18, 64, 233, 236, 65535}) EXPECT_EQ(loadString(id), "") << id;
}

}  // namespace
}  // namespace qlx
