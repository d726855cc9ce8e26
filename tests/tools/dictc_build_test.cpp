// Tests of the dictionary compiler's library: which words survive the filter, the
// level each keeps, the blocklist, the exact layout of the written file and its failures.
#include <gtest/gtest.h>

#include "dictionary.h"
#include "temp_folder.h"
#include "word_list.h"

namespace qlx::dictc {
namespace {

using qlx::testing::readText;
using qlx::testing::TempFolder;
using Words = std::map<std::string, int>;

// Writes english-words.LEVEL files holding the given lines.
void writeLevel(const TempFolder& dir, int level, const std::string& lines) {
  dir.write("english-words." + std::to_string(level), lines);
}

Dictionary build(const TempFolder& dir, int maxLevel, const Blocklist& blocklist = {}) {
  Dictionary dict;
  const Status st = buildDictionary(dir.path(), maxLevel, blocklist, &dict);
  EXPECT_TRUE(st.ok()) << st.message();
  return dict;
}

TEST(DictcFilter, KeepsOnlyPlainLowerCaseWordsOfTwoToFifteenLetters) {
  TempFolder dir;
  const auto list =
      dir.write("english-words.10",
                "cat\ncat's\nParis\nNASA\n"
                "caf\xc3\xa9\nna\xc3\xafve\n"  // UTF-8 accents
                "co-op\nice cream\nmp3\na\nox\n"
                "abcdefghijklmno\nabcdefghijklmnop\n"  // 15 and 16 letters
                "dog\r\n dog\n\nend");  // CRLF is not part of a word; no final newline
  std::vector<std::string> words;
  ASSERT_TRUE(readPlainWords(list, &words).ok());
  EXPECT_EQ(words, (std::vector<std::string>{"cat", "ox", "abcdefghijklmno", "dog", "end"}));
}

TEST(DictcLevels, WordKeepsTheLowestLevelAndListsAboveMaxLevelAreNotRead) {
  TempFolder dir;
  writeLevel(dir, 10, "house\none\n");
  writeLevel(dir, 20, "garden\n");
  writeLevel(dir, 35, "house\ngarden\nshed\n");
  writeLevel(dir, 40, "");
  writeLevel(dir, 50, "house\nshed\ntrellis\n");
  writeLevel(dir, 55, "six\n");
  EXPECT_EQ(build(dir, 50).words,
            (Words{{"garden", 20}, {"house", 10}, {"one", 10}, {"shed", 35}, {"trellis", 50}}));

  // A bound between two levels takes the levels below it; files above it need not exist.
  std::filesystem::remove(dir.file("english-words.50"));
  EXPECT_EQ(build(dir, 45).words,
            (Words{{"garden", 20}, {"house", 10}, {"one", 10}, {"shed", 35}}));
  Dictionary dict;
  EXPECT_EQ(buildDictionary(dir.path(), 9, {}, &dict).code(), StatusCode::kRefused);

  // The lower level wins whatever order the lists arrive in.
  for (const int level : {50, 10, 35}) addWords(dict, {"house"}, level, {});
  EXPECT_EQ(dict.words.at("house"), 10);

  // Other spellings merge in at their own levels; a spelling whose list is missing fails.
  dir.write("british-words.10", "colour\n");
  dir.write("british-words.20", "house\n");
  ASSERT_TRUE(buildDictionary(dir.path(), 20, {}, &dict, {"english", "british"}).ok());
  EXPECT_EQ(dict.words, (Words{{"colour", 10}, {"garden", 20}, {"house", 10}, {"one", 10}}));
  EXPECT_EQ(buildDictionary(dir.path(), 20, {}, &dict, {"american"}).code(), StatusCode::kNotFound);
}

TEST(DictcBlocklist, BlocksWholeWordsOnlyAndCountsEachBlockedWordOnce) {
  TempFolder dir;
  for (const int level : {20, 40, 50}) writeLevel(dir, level, "");
  writeLevel(dir, 10, "ass\nclass\n");
  writeLevel(dir, 35, "ass\nassess\nasses\nbass\nbrass\n");
  Blocklist blocklist;
  ASSERT_TRUE(readBlocklist(dir.write("block.txt", "# words kept out\n\n  ASS  \nbrass\r\n#bass\n"),
                            &blocklist)
                  .ok());
  EXPECT_EQ(blocklist, (Blocklist{"ass", "brass"})) << "trimmed and lowered; '#' lines skipped";

  const Dictionary dict = build(dir, 50, blocklist);
  EXPECT_EQ(dict.words, (Words{{"asses", 35}, {"assess", 35}, {"bass", 35}, {"class", 10}}));
  EXPECT_EQ(dict.blocked, (std::set<std::string>{"ass", "brass"}));
  EXPECT_NE(summaryLine(dict).find("blocked 2 words"), std::string::npos);

  // Lists where nothing survives give no dictionary at all.
  writeLevel(dir, 10, "Paris\ncat's\n");
  writeLevel(dir, 35, "cat\n");
  Dictionary none;
  EXPECT_EQ(buildDictionary(dir.path(), 50, Blocklist{"cat"}, &none).code(), StatusCode::kRefused);
}

TEST(DictcOutput, FileHasCommentLineThenSortedUniqueWordLevelLines) {
  TempFolder dir;
  writeLevel(dir, 10, "zebra\napple\nmango\n");
  writeLevel(dir, 20, "apple\nbanana\n");
  writeLevel(dir, 35, "mango\nkiwi\nzebra\n");
  writeLevel(dir, 40, "aa\n");
  writeLevel(dir, 50, "kiwi\napples\n");
  const auto out = dir.file("XWORD.DICT");
  ASSERT_TRUE(writeDictionary(out, build(dir, 50), 50).ok());
  const std::string text = readText(out);
  ASSERT_EQ(text.substr(0, 1), "#");
  EXPECT_EQ(text.substr(text.find('\n') + 1),
            "aa 40\napple 10\napples 50\nbanana 20\nkiwi 35\nmango 10\nzebra 10\n");
  EXPECT_FALSE(std::filesystem::exists(dir.file("XWORD.DICT.tmp")));
}

TEST(DictcErrors, MissingInputsAreReportedByName) {
  TempFolder dir;
  const auto expectNamed = [](const Status& st, const std::string& named, StatusCode code) {
    EXPECT_EQ(st.code(), code) << st.message();
    EXPECT_NE(st.message().find(named), std::string::npos) << st.message();
  };
  Dictionary dict;
  const auto noFolder = dir.file("no-such-folder");
  expectNamed(buildDictionary(noFolder, 50, {}, &dict), noFolder, StatusCode::kNotFound);
  for (const int level : {10, 20, 40, 50}) writeLevel(dir, level, "cat\n");
  expectNamed(buildDictionary(dir.path(), 50, {}, &dict), dir.file("english-words.35"),
              StatusCode::kNotFound);
  Blocklist blocklist;
  expectNamed(readBlocklist(dir.file("blocklist.txt"), &blocklist), dir.file("blocklist.txt"),
              StatusCode::kNotFound);

  // A folder where the output should go does not exist: nothing is left behind.
  addWords(dict, {"cat"}, 10, {});
  const auto badOut = dir.file("missing/XWORD.DICT");
  expectNamed(writeDictionary(badOut, dict, 50), badOut, StatusCode::kIoError);
  EXPECT_FALSE(std::filesystem::exists(badOut));
}

}  // namespace
}  // namespace qlx::dictc
