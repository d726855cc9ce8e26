// The dictionary reader: which lines count, levels and their order, repeats, and that the
// position/letter bitsets agree with the stored words.
#include "dictionary.h"

#include <gtest/gtest.h>

#include <bit>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <set>
#include <unistd.h>

using zandrel::Dictionary;

namespace {

std::set<std::string> allWords(const Dictionary &d) {
  std::set<std::string> out;
  for (int length = zandrel::kMinWordLength; length <= zandrel::kMaxWordLength; ++length)
    for (int i = 0; i < d.words(length).count; ++i) out.insert(d.text(length, i));
  return out;
}

TEST(Dictionary, KeepsOnlyWellFormedLines) {
  const Dictionary d = Dictionary::parse("# comment line\n"
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
                                         "last 10"); // no final newline
  EXPECT_EQ(allWords(d), (std::set<std::string>{"cat", "dog", "crlf", "abcdefghijklmno", "ox", "last"}));
  EXPECT_EQ(d.size(), 6);
  EXPECT_TRUE(d.hasLength(2));
  EXPECT_FALSE(d.hasLength(5));
  EXPECT_FALSE(d.hasLength(16));
}

TEST(Dictionary, LevelsDefaultRepeatsAndOrder) {
  // Repeats keep their commonest level and count once; the commonest words come first.
  const Dictionary d = Dictionary::parse("zebra\nhorse 35\nmouse 10\nhorse 20\nzebra 40\ncamel 50\n");
  const zandrel::WordList &five = d.words(5);
  ASSERT_EQ(five.count, 4);
  std::vector<std::pair<std::string, int>> got;
  for (int i = 0; i < five.count; ++i) got.emplace_back(d.text(5, i), five.levels[i]);
  const std::vector<std::pair<std::string, int>> want{{"mouse", 10}, {"horse", 20}, {"zebra", 40}, {"camel", 50}};
  EXPECT_EQ(got, want);
}

TEST(Dictionary, BitsetsAgreeWithTheWords) {
  std::string text;
  for (const char *w : {"quiz", "jazz", "fizz", "buzz", "oxen", "zone", "abcdefghijklm", "nopqrstuvwxyz", "nopqrstuvwxyy"})
    text += std::string(w) + "\n";
  const Dictionary d = Dictionary::parse(text);
  for (int length : {4, 13}) {
    const zandrel::WordList &list = d.words(length);
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

TEST(Dictionary, LoadReportsUnusableFiles) {
  const std::filesystem::path dir =
      std::filesystem::temp_directory_path() / ("zandrel-dict-" + std::to_string(getpid()));
  std::filesystem::create_directories(dir);
  Dictionary d;
  std::string error;
  const std::string missing = (dir / "absent.dict").string();
  EXPECT_FALSE(Dictionary::load(missing, d, error));
  EXPECT_NE(error.find(missing), std::string::npos) << error;

  const std::string comments = (dir / "comments.dict").string();
  std::ofstream(comments) << "# nothing but comments\n\nNOT valid\n";
  error.clear();
  EXPECT_FALSE(Dictionary::load(comments, d, error));
  EXPECT_NE(error.find("no usable words"), std::string::npos) << error;

  error.clear();
  EXPECT_FALSE(Dictionary::load(dir.string(), d, error)); // a folder, not a file
  EXPECT_FALSE(error.empty());

  const std::string good = (dir / "good.dict").string();
  std::ofstream(good) << "cat 10\ndog\n";
  EXPECT_TRUE(Dictionary::load(good, d, error));
  EXPECT_EQ(d.size(), 2);
  std::filesystem::remove_all(dir);
}

} // namespace
