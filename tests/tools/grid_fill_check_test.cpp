// The fill checker the grid fill test relies on: it must notice each way a fill can be bad.
#include "grid_test_patterns.h"

#include "gridkit/fill_check.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <unistd.h>
#include <filesystem>
#include <fstream>

namespace qlx::gridkit {
namespace {

using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::IsEmpty;

// 3x3 with a block in the middle: four words round the edge.
const Pattern ring = test::rowsToPattern({"...", ".#.", "..."});
const WordSet words = {"cat", "tin", "cob", "ban", "nab", "tic"};

TEST(GridFillCheck, AGoodFillPassesAndEachKindOfBadFillIsNamed) {
  EXPECT_EQ(fillTemplate(ring), std::string(4, '?') + "-" + std::string(4, '?'));
  // c a t / o - i / b a n : cat, ban across; cob, tin down.
  EXPECT_THAT(fillProblems(ring, "cato-iban", words), IsEmpty());
  EXPECT_THAT(fillProblems(ring, "cato-ibat", words),
              ElementsAre(HasSubstr("\"bat\" across at row 3, column 1 is not in the dictionary"),
                          HasSubstr("\"tit\" down at row 1, column 3 is not in the dictionary")));
  EXPECT_THAT(fillProblems(ring, "Cato-iban", words),
              ElementsAre(HasSubstr("row 1, column 1 holds byte 67")));
  EXPECT_THAT(fillProblems(ring, "cato?iban", words),
              ElementsAre(HasSubstr("block at row 2, column 2")));
  EXPECT_THAT(fillProblems(ring, "cato-iba", words), ElementsAre(HasSubstr("8 cells")));
  // The same word twice: "tic" across and down.
  const Pattern corner = test::rowsToPattern({"...", ".##", ".##"});
  EXPECT_THAT(fillProblems(corner, "tici--c--", words),
              ElementsAre(HasSubstr("\"tic\" down at row 1, column 1 is used twice")));
}

TEST(GridFillCheck, DictionaryWordsAreTheFirstFieldOfEachLine) {
  const auto path =
      std::filesystem::temp_directory_path() / ("qlx-grid-dict-" + std::to_string(::getpid()));
  std::ofstream(path) << "# comment line\ncat 10\r\ndog\n\nemu 35\n";
  std::string error;
  const auto read = readDictionaryWords(path.string(), &error);
  std::filesystem::remove(path);
  ASSERT_TRUE(read) << error;
  EXPECT_EQ(*read, (WordSet{"cat", "dog", "emu"}));
  EXPECT_FALSE(readDictionaryWords("/nonexistent/XWORD.DICT", &error));
  EXPECT_THAT(error, HasSubstr("/nonexistent/XWORD.DICT"));
}

}  // namespace
}  // namespace qlx::gridkit
