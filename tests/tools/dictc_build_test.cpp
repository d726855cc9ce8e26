// Tests of the dictionary compiler's library: which words survive the filter, the
// level each keeps, the blocklist, and the exact layout of the written file.
#include "dictc_error.h"
#include "dictionary.h"
#include "temp_folder.h"
#include "word_list.h"

#include <gtest/gtest.h>

#include <sstream>
#include <vector>

namespace qlx::dictc {
namespace {

using qlx::testing::readText;
using qlx::testing::TempFolder;

std::vector<std::string> splitLines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) {
    lines.push_back(line);
  }
  return lines;
}

// Writes english-words.LEVEL files holding the given lines.
void writeLevel(const TempFolder& dir, int level, const std::string& lines) {
  dir.write("english-words." + std::to_string(level), lines);
}

void writeAllLevels(const TempFolder& dir) {
  for (const int level : {10, 20, 35, 40, 50}) {
    writeLevel(dir, level, "");
  }
}

TEST(DictcFilter, KeepsOnlyPlainLowerCaseWordsOfTwoToFifteenLetters) {
  TempFolder dir;
  const auto list = dir.write("english-words.10",
                              "cat\n"
                              "cat's\n"         // possessive
                              "Paris\n"         // proper name
                              "NASA\n"          // capitals
                              "caf\xc3\xa9\n"   // café in UTF-8
                              "na\xc3\xafve\n"  // naïve
                              "co-op\n"
                              "ice cream\n"
                              "mp3\n"
                              "a\n"                 // one letter
                              "ox\n"                // two letters: shortest kept
                              "abcdefghijklmno\n"   // 15 letters
                              "abcdefghijklmnop\n"  // 16 letters
                              "dog\r\n"             // CRLF line ending is not part of the word
                              " dog\n"
                              "\n"
                              "end");  // no final newline
  EXPECT_EQ(readPlainWords(list),
            (std::vector<std::string>{"cat", "ox", "abcdefghijklmno", "dog", "end"}));
}

TEST(DictcLevels, WordKeepsTheLowestLevelAndListsAboveMaxLevelAreNotRead) {
  TempFolder dir;
  writeLevel(dir, 10, "house\none\n");
  writeLevel(dir, 20, "garden\n");
  writeLevel(dir, 35, "house\ngarden\nshed\n");
  writeLevel(dir, 40, "");
  writeLevel(dir, 50, "house\nshed\ntrellis\n");
  writeLevel(dir, 55, "six\n");
  EXPECT_EQ(buildDictionary(dir.path(), 50, {}).words,
            (std::map<std::string, int>{
                {"garden", 20}, {"house", 10}, {"one", 10}, {"shed", 35}, {"trellis", 50}}));

  // A bound between two levels takes the levels below it; files above it need not exist.
  std::filesystem::remove(dir.file("english-words.50"));
  EXPECT_EQ(buildDictionary(dir.path(), 45, {}).words,
            (std::map<std::string, int>{{"garden", 20}, {"house", 10}, {"one", 10}, {"shed", 35}}));
  EXPECT_EQ(levelsUpTo(10), std::vector<int>{10});
  EXPECT_THROW(buildDictionary(dir.path(), 9, {}), DictcError);

  // The lower level wins whatever order the lists arrive in.
  Dictionary merged;
  addWords(merged, {"house"}, 50, {});
  addWords(merged, {"house"}, 10, {});
  addWords(merged, {"house"}, 35, {});
  EXPECT_EQ(merged.words.at("house"), 10);
}

TEST(DictcBlocklist, BlocksWholeWordsOnlyAndCountsEachBlockedWordOnce) {
  TempFolder dir;
  writeAllLevels(dir);
  writeLevel(dir, 10, "ass\nclass\n");
  writeLevel(dir, 35, "ass\nassess\nasses\nbass\nbrass\n");
  const Blocklist blocklist = readBlocklist(dir.write("block.txt",
                                                      "# words kept out of the game\n"
                                                      "\n"
                                                      "  ASS  \n"  // trimmed and lowered
                                                      "brass\r\n"
                                                      "#bass\n"));  // a comment, not an entry
  EXPECT_EQ(blocklist, (Blocklist{"ass", "brass"}));

  const Dictionary dict = buildDictionary(dir.path(), 50, blocklist);
  EXPECT_EQ(dict.words, (std::map<std::string, int>{
                            {"asses", 35}, {"assess", 35}, {"bass", 35}, {"class", 10}}));
  EXPECT_EQ(dict.blocked, (std::set<std::string>{"ass", "brass"}));
  EXPECT_NE(summaryLine(dict).find("blocked 2 words"), std::string::npos);
}

TEST(DictcOutput, FileHasCommentLineThenSortedUniqueWordLevelLines) {
  TempFolder dir;
  writeLevel(dir, 10, "zebra\napple\nmango\n");
  writeLevel(dir, 20, "apple\nbanana\n");
  writeLevel(dir, 35, "mango\nkiwi\nzebra\n");
  writeLevel(dir, 40, "aa\n");
  writeLevel(dir, 50, "kiwi\napples\n");
  const auto out = dir.file("XWORD.DICT");
  writeDictionary(out, buildDictionary(dir.path(), 50, {}), 50);

  const std::string text = readText(out);
  ASSERT_FALSE(text.empty());
  EXPECT_EQ(text.back(), '\n');
  const std::vector<std::string> lines = splitLines(text);
  ASSERT_FALSE(lines.empty());
  EXPECT_EQ(lines.front().substr(0, 1), "#");
  EXPECT_EQ(std::vector<std::string>(lines.begin() + 1, lines.end()),
            (std::vector<std::string>{"aa 40", "apple 10", "apples 50", "banana 20", "kiwi 35",
                                      "mango 10", "zebra 10"}));
  EXPECT_FALSE(std::filesystem::exists(dir.file("XWORD.DICT.tmp")));
}

TEST(DictcErrors, MissingInputsAreReportedByName) {
  TempFolder dir;
  const auto expectError = [](auto&& call, const std::string& named) {
    try {
      call();
      ADD_FAILURE() << "no error; expected one naming " << named;
    } catch (const DictcError& e) {
      EXPECT_NE(std::string(e.what()).find(named), std::string::npos) << e.what();
    }
  };
  const auto noFolder = dir.file("no-such-folder");
  expectError([&] { buildDictionary(noFolder, 50, {}); }, noFolder);

  writeLevel(dir, 10, "cat\n");
  writeLevel(dir, 20, "dog\n");
  writeLevel(dir, 40, "cow\n");
  writeLevel(dir, 50, "pig\n");
  const auto missingList = dir.file("english-words.35");
  expectError([&] { buildDictionary(dir.path(), 50, {}); }, missingList);

  const auto noBlocklist = dir.file("blocklist.txt");
  expectError([&] { readBlocklist(noBlocklist); }, noBlocklist);

  // A folder where the output should go does not exist: nothing is left behind.
  Dictionary dict;
  addWords(dict, {"cat"}, 10, {});
  const auto badOut = dir.file("missing/XWORD.DICT");
  expectError([&] { writeDictionary(badOut, dict, 50); }, badOut);
  EXPECT_FALSE(std::filesystem::exists(badOut));
}

TEST(DictcErrors, ListsWithNoUsableWordAreRefused) {
  TempFolder dir;
  writeAllLevels(dir);
  writeLevel(dir, 10, "Paris\ncat's\n");
  writeLevel(dir, 20, "cat\n");
  EXPECT_THROW(buildDictionary(dir.path(), 50, Blocklist{"cat"}), DictcError);
}

}  // namespace
}  // namespace qlx::dictc
