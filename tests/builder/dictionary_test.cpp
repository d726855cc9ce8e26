// The dictionary reader: which lines count, levels and their order, repeats, and that the
// position/letter bitsets agree with the stored words.
#include "dictionary.h"

#include "fill_check.h"
#include "temp_folder.h"

#include <gtest/gtest.h>

#include <bit>
#include <set>

using zandrel::Dictionary;

namespace {

std::set<std::string> allWords(const Dictionary& d) {
  std::set<std::string> out;
  for (int length = zandrel::kMinWordLength; length <= zandrel::kMaxWordLength; ++length)
    for (int i = 0; i < d.words(length).count; ++i) out.insert(d.text(length, i));
  return out;
}

TEST(Dictionary, KeepsOnlyWellFormedLines) {
  const Dictionary d = Dictionary::parse(
      "# comment line\n"
      "\n"
      "cat\n"
      "dog 20\n"
      "crlf 35\r\n"
      "Upper\n"
      "don't\n"
      "a\n"
      "abcdefghijklmnop\n"  // 16 letters
      "abcdefghijklmno\n"   // 15 letters
      "ox\n"
      "bad x\n"
      "twin  35\n"
      "last 10");  // no final newline
  EXPECT_EQ(allWords(d),
            (std::set<std::string>{"cat", "dog", "crlf", "abcdefghijklmno", "ox", "last"}));
  EXPECT_EQ(d.size(), 6);
  EXPECT_TRUE(d.hasLength(2));
  EXPECT_FALSE(d.hasLength(5));
  EXPECT_FALSE(d.hasLength(16));
}

TEST(Dictionary, LevelsDefaultRepeatsAndOrder) {
  // Repeats keep their commonest level and count once; the commonest words come first.
  const Dictionary d =
      Dictionary::parse("zebra\nhorse 35\nmouse 10\nhorse 20\nzebra 40\ncamel 50\n");
  const zandrel::WordList& five = d.words(5);
  ASSERT_EQ(five.count, 4);
  std::vector<std::pair<std::string, int>> got;
  for (int i = 0; i < five.count; ++i) got.emplace_back(d.text(5, i), five.levels[i]);
  const std::vector<std::pair<std::string, int>> want{
      {"mouse", 10}, {"horse", 20}, {"zebra", 40}, {"camel", 50}};
  EXPECT_EQ(got, want);
}

TEST(Dictionary, BitsetsAgreeWithTheWords) {
  std::string text;
  for (const char* w : {"quiz", "jazz", "fizz", "buzz", "oxen", "zone", "abcdefghijklm",
                        "nopqrstuvwxyz", "nopqrstuvwxyy"})
    text += std::string(w) + "\n";
  const Dictionary d = Dictionary::parse(text);
  for (int length : {4, 13}) {
    const zandrel::WordList& list = d.words(length);
    int all = 0;
    for (uint64_t b : list.all) all += std::popcount(b);
    EXPECT_EQ(all, list.count);
    for (int i = 0; i < list.count; ++i) {
      const std::string word = d.text(length, i);
      for (int p = 0; p < length; ++p)
        for (int l = 0; l < 26; ++l) {
          const bool set = (list.bits(p, l)[i / 64] >> (i % 64)) & 1U;
          EXPECT_EQ(set, word[static_cast<size_t>(p)] == 'a' + l) << word << " position " << p;
        }
      for (int l = 0; l < 26; ++l) {
        const bool holds = (list.holding(l)[i / 64] >> (i % 64)) & 1U;
        EXPECT_EQ(holds, word.find(static_cast<char>('a' + l)) != std::string::npos) << word;
      }
    }
  }
}

// Every list as (word, level) in index order.
std::vector<std::pair<std::string, int>> contents(const Dictionary& d) {
  std::vector<std::pair<std::string, int>> out;
  for (int length = zandrel::kMinWordLength; length <= zandrel::kMaxWordLength; ++length)
    for (int i = 0; i < d.words(length).count; ++i)
      out.emplace_back(d.text(length, i), d.words(length).levels[i]);
  return out;
}

TEST(Dictionary, OrderOfLinesAndReadingFromAFileDoNotMatter) {
  // An alphabetical list (read in two passes, no sorting) against the same lines reversed
  // plus a repeat at a rarer level (sorted and deduplicated), in memory and from a file
  // with a line longer than the read buffer (whose tail must not pass for a word) and no
  // final newline.
  const std::vector<std::string> words =
      zandrel_test::splitLines(zandrel_test::allStrings("abcd", {2, 3, 4}));
  std::string sorted, reversed;
  const int levels[] = {10, 20, 35, 40, 50};
  for (size_t i = 0; i < words.size(); ++i)
    sorted += words[i] + " " + std::to_string(levels[i % 5]) + "\n";
  for (size_t i = words.size(); i-- > 0;)
    reversed += words[i] + " " + std::to_string(levels[i % 5]) + "\n";
  reversed += words[7] + " 50\n";
  const auto want = contents(Dictionary::parse(sorted));
  ASSERT_EQ(want.size(), words.size());
  EXPECT_EQ(want.front().second, 10);  // commonest first
  EXPECT_EQ(contents(Dictionary::parse(reversed)), want);

  qlx::testing::TempFolder dir;
  const size_t middle = reversed.find('\n', reversed.size() / 2) + 1;
  std::string fileText = reversed.substr(0, middle) + std::string(1 << 16, 'q') + "zzzz 10\n" +
                         reversed.substr(middle);
  fileText.pop_back();  // no newline after the last line
  Dictionary fromFile;
  std::string error;
  ASSERT_TRUE(Dictionary::load(dir.write("order.dict", fileText), fromFile, error)) << error;
  EXPECT_EQ(contents(fromFile), want);
}

TEST(Dictionary, LoadReportsUnusableFiles) {
  qlx::testing::TempFolder dir;
  Dictionary d;
  std::string error;
  const std::string missing = dir.file("absent.dict");
  EXPECT_FALSE(Dictionary::load(missing, d, error));
  EXPECT_NE(error.find(missing), std::string::npos) << error;
  error.clear();
  EXPECT_FALSE(Dictionary::load(dir.write("comments.dict", "# nothing but comments\n\nNOT valid\n"),
                                d, error));
  EXPECT_NE(error.find("no usable words"), std::string::npos) << error;
  error.clear();
  EXPECT_FALSE(Dictionary::load(dir.path(), d, error));  // a folder, not a file
  EXPECT_FALSE(error.empty());
  EXPECT_TRUE(Dictionary::load(dir.write("good.dict", "cat 10\ndog\n"), d, error));
  EXPECT_EQ(d.size(), 2);
}

}  // namespace
