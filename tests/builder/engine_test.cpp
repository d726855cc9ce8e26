// The fill engine's pieces directly: the dictionary reader (which lines count, levels and their
// order, repeats, bitsets that agree with the words) and the search (a passed deadline honoured,
// commoner words preferred). Sound fills, lone cells and impossible grids are checked through the
// C entries (api_test); every shipped grid is filled and checked against the real dictionary by
// the integration test, which a wrong slot or crossing fails.
#include "dictionary.h"
#include "filler.h"
#include "layout.h"

#include "fill_check.h"
#include "temp_folder.h"

#include <gtest/gtest.h>

#include <bit>
#include <set>

namespace {

using zandrel::Clock;
using zandrel::Dictionary;
using zandrel::Filler;

// Every list as "word:level " in index order, shortest words first.
std::string contents(const Dictionary& d) {
  std::string out;
  for (int length = zandrel::kMinWordLength; length <= zandrel::kMaxWordLength; ++length)
    for (int i = 0; i < d.words(length).count; ++i)
      out += d.text(length, i) + ":" + std::to_string(d.words(length).levels[i]) + " ";
  return out;
}

TEST(Dictionary, KeepsWellFormedLinesWithTheirCommonestLevelCommonestFirst) {
  const Dictionary d = Dictionary::parse(
      "# comment line\n\ncat\ndog 20\ncrlf 35\r\nUpper\ndon't\na\n"
      "abcdefghijklmnop\n"              // 16 letters
      "abcdefghijklmno\n"               // 15 letters
      "ox\nbad x\ntwin  35\nlast 10");  // no final newline
  EXPECT_EQ(contents(d), "ox:50 dog:20 cat:50 last:10 crlf:35 abcdefghijklmno:50 ");
  EXPECT_EQ(d.size(), 6);
  EXPECT_TRUE(d.hasLength(2) && !d.hasLength(5) && !d.hasLength(16));
  // Repeats keep their commonest level and count once.
  EXPECT_EQ(
      contents(Dictionary::parse("zebra\nhorse 35\nmouse 10\nhorse 20\nzebra 40\ncamel 50\n")),
      "mouse:10 horse:20 zebra:40 camel:50 ");
}

TEST(Dictionary, BitsetsAgreeWithTheWords) {
  const Dictionary d = Dictionary::parse(
      "quiz\njazz\nfizz\nbuzz\noxen\nzone\nabcdefghijklm\nnopqrstuvwxyz\nnopqrstuvwxyy\n");
  for (int length : {4, 13}) {
    const zandrel::WordList& list = d.words(length);
    int all = 0;
    for (uint64_t b : list.all) all += std::popcount(b);
    EXPECT_EQ(all, list.count);
    for (int i = 0; i < list.count; ++i) {
      const std::string word = d.text(length, i);
      const auto bit = [i](const uint64_t* bits) { return (bits[i / 64] >> (i % 64)) & 1U; };
      for (int l = 0; l < 26; ++l) {
        for (int p = 0; p < length; ++p)
          EXPECT_EQ(bit(list.bits(p, l)), word[static_cast<size_t>(p)] == 'a' + l) << word << p;
        EXPECT_EQ(bit(list.holding(l)), word.find(static_cast<char>('a' + l)) != word.npos) << word;
      }
    }
  }
}

TEST(Dictionary, OrderOfLinesAndReadingFromAFileDoNotMatter) {
  // An alphabetical list (read in two passes, no sorting) against the same lines reversed
  // plus a repeat at a rarer level (sorted and deduplicated), in memory and from a file
  // with a line longer than the read buffer (whose tail must not pass for a word) and no
  // final newline.
  const std::vector<std::string> words = zandrel_test::allWords("abcd", {2, 3, 4});
  std::string sorted, reversed;
  const int levels[] = {10, 20, 35, 40, 50};
  for (size_t i = 0; i < words.size(); ++i)
    sorted += words[i] + " " + std::to_string(levels[i % 5]) + "\n";
  for (size_t i = words.size(); i-- > 0;)
    reversed += words[i] + " " + std::to_string(levels[i % 5]) + "\n";
  reversed += words[7] + " 50\n";
  const std::string want = contents(Dictionary::parse(sorted));
  EXPECT_EQ(Dictionary::parse(sorted).size(), static_cast<int>(words.size()));
  EXPECT_EQ(want.substr(0, 6), "aa:10 ");  // commonest first
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

zandrel::Layout layoutOf(const std::vector<std::string>& rows) {
  std::vector<uint8_t> white;
  for (const std::string& row : rows)
    for (char c : row) white.push_back(c == '.' ? 1 : 0);
  return zandrel::makeLayout(white.data(), static_cast<int>(rows.size()),
                             static_cast<int>(rows[0].size()));
}

// Fills rows (of '.' and '#') once; on success *word holds the letters of the white cells.
Filler::Outcome fill(const Dictionary& d, const std::vector<std::string>& rows, zandrel::Rng& rng,
                     Clock::duration limit, std::string* word = nullptr) {
  const zandrel::Layout layout = layoutOf(rows);
  std::vector<char> letters;
  const Filler::Outcome outcome = Filler(d, layout, rng).run(Clock::now() + limit, letters);
  if (word != nullptr && outcome == Filler::Outcome::Filled)
    for (size_t i = 0; i < letters.size(); ++i)
      if (layout.white[i]) *word += letters[i];
  return outcome;
}

TEST(Filler, PrefersCommonerWordsAndHonoursAPassedDeadline) {
  // Half the five-letter strings over "abcd" at level 10, the other half at level 50.
  std::string text;
  std::set<std::string> common;
  int line = 0;
  for (const std::string& w : zandrel_test::allWords("abcd", {5})) {
    const bool isCommon = line++ % 2 == 0;
    text += w + (isCommon ? " 10\n" : " 50\n");
    if (isCommon) common.insert(w);
  }
  const Dictionary d = Dictionary::parse(text);
  zandrel::Rng rng(17);
  int commonFills = 0;
  const int fills = 300;
  for (int i = 0; i < fills; ++i) {
    std::string word;
    ASSERT_EQ(fill(d, {"....."}, rng, std::chrono::seconds(5), &word), Filler::Outcome::Filled);
    commonFills += common.count(word) ? 1 : 0;
  }
  EXPECT_GT(commonFills, fills * 7 / 10);
  EXPECT_LT(commonFills, fills);  // still varied: rarer words do turn up
  EXPECT_EQ(
      fill(d, {".....", ".#.#.", ".....", ".#.#.", "....."}, rng, -std::chrono::milliseconds(1)),
      Filler::Outcome::TimedOut);
}

}  // namespace
