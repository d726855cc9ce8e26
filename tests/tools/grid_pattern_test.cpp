// The pattern text format: what parses into which grids, and errors that name file and line.
#include "grid_test_patterns.h"

#include "gridkit/pattern.h"

#include <gtest/gtest.h>

#include <string>

namespace qlx::gridkit {
namespace {

TEST(GridPatternParse, GridsSeparatedByBlankLinesWithCommentsSkipped) {
  const std::string text =
      "; two grids\n"
      "#.#\n"
      "...\n"
      "; a comment inside a grid does not end it\n"
      "#.#\n"
      "\n"
      "\n"
      "; second\n"
      "....\n"
      "##..\n";
  const ParseResult r = parsePatterns(text, "g.txt");
  ASSERT_TRUE(r.ok());
  ASSERT_EQ(r.patterns.size(), 2u);
  const Pattern& a = r.patterns[0];
  EXPECT_EQ(a.rows, 3);
  EXPECT_EQ(a.cols, 3);
  EXPECT_EQ(a.line, 2);
  EXPECT_EQ(a.cells, (std::vector<std::uint8_t>{0, 1, 0, 1, 1, 1, 0, 1, 0}));
  const Pattern& b = r.patterns[1];
  EXPECT_EQ(b.rows, 2);
  EXPECT_EQ(b.cols, 4);
  EXPECT_EQ(b.line, 9);
  EXPECT_EQ(b.cells, (std::vector<std::uint8_t>{1, 1, 1, 1, 0, 0, 1, 1}));
}

TEST(GridPatternParse, ToleratesCrLfTrailingSpacesAndNoFinalNewline) {
  const ParseResult r = parsePatterns("  \r\n.#.  \r\n...\t\r\n   \r\n#\r\n.", "g.txt");
  ASSERT_TRUE(r.ok()) << r.errors.front().text();
  ASSERT_EQ(r.patterns.size(), 2u);
  EXPECT_EQ(r.patterns[0].rows, 2);
  EXPECT_EQ(r.patterns[0].cols, 3);
  EXPECT_EQ(r.patterns[0].line, 2);
  EXPECT_EQ(r.patterns[1].rows, 2);
  EXPECT_EQ(r.patterns[1].cols, 1);
  EXPECT_EQ(r.patterns[1].cells, (std::vector<std::uint8_t>{0, 1}));
  for (const char* none : {"", "; nothing\n\n;\n"}) {
    EXPECT_TRUE(parsePatterns(none, "g").ok());
    EXPECT_TRUE(parsePatterns(none, "g").patterns.empty());
  }
}

TEST(GridPatternParse, RaggedRowIsReportedWithItsLineAndTheGridIsDropped) {
  const ParseResult r = parsePatterns("...\n...\n\n....\n..\n....\n\n#.#\n", "group9.txt");
  ASSERT_EQ(r.errors.size(), 1u);
  EXPECT_EQ(r.errors[0].line, 5);
  EXPECT_EQ(r.errors[0].file, "group9.txt");
  EXPECT_NE(r.errors[0].message.find("2 cells"), std::string::npos) << r.errors[0].message;
  EXPECT_NE(r.errors[0].message.find("line 4"), std::string::npos) << r.errors[0].message;
  EXPECT_EQ(r.errors[0].text().rfind("group9.txt:5: ", 0), 0u) << r.errors[0].text();
  // The grids around the bad one still parse, so one run reports every problem.
  ASSERT_EQ(r.patterns.size(), 2u);
  EXPECT_EQ(r.patterns[1].line, 8);
}

TEST(GridPatternParse, BadCharactersAndOversizedGridsNameTheirLine) {
  const ParseResult r = parsePatterns("...\n.X.\n...\n\n.o.\n\n..\xff\n\n...\n ..\n", "g.txt");
  ASSERT_EQ(r.errors.size(), 4u);
  EXPECT_EQ(r.errors[0].line, 2);
  EXPECT_NE(r.errors[0].message.find("'X' in column 2"), std::string::npos) << r.errors[0].message;
  EXPECT_EQ(r.errors[1].line, 5);
  EXPECT_EQ(r.errors[2].line, 7);
  EXPECT_NE(r.errors[2].message.find("0xff"), std::string::npos) << r.errors[2].message;
  EXPECT_EQ(r.errors[3].line, 10) << "a leading space is a bad character, not indentation";
  EXPECT_TRUE(r.patterns.empty());

  // 255 is the most a record's row or column byte holds; the 256-cell rule is the checker's.
  const std::string wide(255, '.');
  std::string tall;
  for (int i = 0; i < 256; ++i) tall += ".\n";
  EXPECT_TRUE(parsePatterns(wide + "\n", "g").ok());
  EXPECT_TRUE(parsePatterns(std::string(16, '.') + "\n" + std::string(16, '.') + "\n", "g").ok());
  for (const auto& [text, line] : {std::pair{wide + ".\n", 1}, std::pair{tall, 256}}) {
    const ParseResult tooBig = parsePatterns(text, "g");
    ASSERT_EQ(tooBig.errors.size(), 1u) << line;
    EXPECT_EQ(tooBig.errors[0].line, line);
    EXPECT_TRUE(tooBig.patterns.empty());
  }
  const ParseResult missing = readPatternFile("/nonexistent/folder/group1.txt");
  ASSERT_EQ(missing.errors.size(), 1u);
  EXPECT_NE(missing.errors[0].text().find("/nonexistent/folder/group1.txt"), std::string::npos);
}

TEST(GridPatternFormat, PrintsWhatTheParserReads) {
  const Pattern p = test::goodGrid();
  const ParseResult again = parsePatterns(formatPattern(p), "again");
  ASSERT_EQ(again.patterns.size(), 1u);
  EXPECT_EQ(again.patterns[0], p);
  EXPECT_EQ(formatPattern(test::rowsToPattern({"#.", ".#"})), "#.\n.#\n");
}

}  // namespace
}  // namespace qlx::gridkit
