// libZandrel, the word-fill library. Its engine directly: the dictionary reader (lines, levels,
// their order, repeats) and the search (a passed deadline, commoner words preferred). Then its C
// entries as the game calls them: argument checks, loading, sound fills, seeds, every letter a grid
// can hold, and failures that leave the buffer as it came. The integration test fills every grid.
#include "zandrel.h"
#include "dictionary.h"
#include "filler.h"
#include "layout.h"

#include "gridkit/fill_check.h"
#include "gridkit/pattern.h"
#include "temp_folder.h"

#include <gtest/gtest.h>

#include <chrono>
#include <set>

namespace {

using zandrel::Clock;
using zandrel::Dictionary;
using zandrel::Filler;
namespace gridkit = qlx::gridkit;

// Every string of each length in lengths over the letters of alphabet, in order.
std::vector<std::string> allWords(const std::string& alphabet, const std::vector<int>& lengths) {
  std::vector<std::string> all;
  for (int length : lengths)  // counting, the last letter fastest
    for (std::string w(static_cast<std::size_t>(length), alphabet.front());;) {
      all.push_back(w);
      int i = length - 1;
      for (; i >= 0 && w[i] == alphabet.back(); --i) w[i] = alphabet.front();
      if (i < 0) break;
      w[i] = alphabet[alphabet.find(w[i]) + 1];
    }
  return all;
}

// The same as dictionary text, one word a line.
std::string allStrings(const std::string& alphabet, const std::vector<int>& lengths) {
  std::string text;
  for (const std::string& w : allWords(alphabet, lengths)) text += w + "\n";
  return text;
}

// Rows of '.' (white) and '#' (block), as in the grid pattern files.
gridkit::Pattern patternOf(const std::vector<std::string>& rows) {
  std::string text;
  for (const std::string& row : rows) text += row + "\n";
  return gridkit::parsePatterns(text, "test").patterns.at(0);
}

// The same as the buffer makeXWordPuzzle takes ('?' white, '-' block).
std::vector<uint8_t> gridBytes(const std::vector<std::string>& rows) {
  const std::string bytes = gridkit::fillTemplate(patternOf(rows));
  return {bytes.begin(), bytes.end()};
}

const std::vector<std::string> kSmallGrid{".....", ".#.#.", ".....", ".#.#.", "....."};

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

TEST(Dictionary, OrderOfLinesAndReadingFromAFileDoNotMatter) {
  // An alphabetical list (read in two passes, no sorting) against the same lines reversed plus a
  // repeat at a rarer level (sorted and deduplicated), in memory and from a file with a line
  // longer than the read buffer (whose tail must not pass for a word) and no final newline.
  const std::vector<std::string> words = allWords("abcd", {2, 3, 4});
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
  ASSERT_TRUE(Dictionary::load(dir.write("order.dict", fileText), fromFile).ok());
  EXPECT_EQ(contents(fromFile), want);
}

TEST(Filler, PrefersCommonerWordsAndHonoursAPassedDeadline) {
  // Half the five-letter strings over "abcd" at level 10, the other half at level 50.
  std::string text;
  std::set<std::string> common;
  int line = 0;
  for (const std::string& w : allWords("abcd", {5})) {
    const bool isCommon = line++ % 2 == 0;
    text += w + (isCommon ? " 10\n" : " 50\n");
    if (isCommon) common.insert(w);
  }
  const Dictionary d = Dictionary::parse(text);
  zandrel::Rng rng(17);
  const gridkit::Pattern five = patternOf({"....."}), square = patternOf(kSmallGrid);
  const zandrel::Layout row = zandrel::makeLayout(five.cells.data(), 1, 5);
  int commonFills = 0;
  std::vector<char> letters;  // one a cell
  for (int i = 0; i < 300; ++i) {
    ASSERT_EQ(Filler(d, row, rng).run(Clock::now() + std::chrono::seconds(5), letters),
              Filler::Outcome::Filled);
    commonFills += static_cast<int>(common.count(std::string(letters.begin(), letters.end())));
  }
  EXPECT_GT(commonFills, 210);
  EXPECT_LT(commonFills, 300);  // still varied: rarer words do turn up
  const zandrel::Layout grid = zandrel::makeLayout(square.cells.data(), 5, 5);
  EXPECT_EQ(Filler(d, grid, rng).run(Clock::now() - std::chrono::milliseconds(1), letters),
            Filler::Outcome::TimedOut);
}

class ZandrelApi : public ::testing::Test {
 protected:
  void SetUp() override { zandrelSetTimeLimit(0); }
  int32_t load(const std::string& name, const std::string& text) {
    return loadPath(dir_.write(name, text));
  }
  static int32_t loadPath(std::string path) { return loadLangDict(path.data()); }
  static std::string lastError() { return zandrelLastError(); }
  // Fills the grid of rows and checks every run reads as a distinct word of words.
  static std::string fillChecked(const std::vector<std::string>& rows,
                                 const gridkit::WordSet& words) {
    std::vector<uint8_t> grid = gridBytes(rows);
    EXPECT_EQ(makeXWordPuzzle(grid.data(), static_cast<int32_t>(grid.size()),
                              static_cast<int32_t>(rows[0].size())),
              ZANDREL_OK);
    const std::string text(grid.begin(), grid.end());
    EXPECT_EQ(gridkit::fillProblems(patternOf(rows), text, words), std::vector<std::string>{});
    return text;
  }

  qlx::testing::TempFolder dir_;
};

TEST_F(ZandrelApi, BadArgumentsLeaveTheBufferAlone) {
  ASSERT_EQ(load("d", allStrings("abc", {5})), ZANDREL_OK);
  std::vector<uint8_t> grid = gridBytes(kSmallGrid);
  const std::vector<uint8_t> before = grid;
  for (const auto& [cells, cols] :
       {std::pair{25, 0}, {25, -5}, {25, 256}, {0, 5}, {-25, 5}, {256, 16}, {24, 5}}) {
    EXPECT_EQ(makeXWordPuzzle(grid.data(), cells, cols), ZANDREL_BAD_GRID) << cells << " " << cols;
    EXPECT_NE(lastError(), "");
  }
  EXPECT_EQ(makeXWordPuzzle(nullptr, 25, 5), ZANDREL_BAD_GRID);
  EXPECT_EQ(grid, before);
  grid[12] = '.';  // the pattern-file spelling is not the buffer's
  const std::vector<uint8_t> badByte = grid;
  EXPECT_EQ(makeXWordPuzzle(grid.data(), 25, 5), ZANDREL_BAD_GRID);
  EXPECT_EQ(grid, badByte);
}

TEST_F(ZandrelApi, UnusableDictionariesAreRefusedAndForgetTheOneBefore) {
  const std::string missing = dir_.file("absent.dict");
  EXPECT_EQ(loadPath(missing), ZANDREL_NO_DICTIONARY);
  EXPECT_NE(lastError().find(missing), std::string::npos) << lastError();
  EXPECT_EQ(load("junk", "# only a comment\n\nNOT A WORD\n"), ZANDREL_NO_DICTIONARY);
  EXPECT_NE(lastError().find("no usable words"), std::string::npos) << lastError();
  EXPECT_EQ(load("empty", ""), ZANDREL_NO_DICTIONARY);
  EXPECT_EQ(loadPath(dir_.path()), ZANDREL_NO_DICTIONARY);  // a folder, not a file
  EXPECT_NE(lastError(), "");
  EXPECT_EQ(loadLangDict(nullptr), ZANDREL_NO_DICTIONARY);

  // After a failed load the dictionary loaded before is gone too.
  ASSERT_EQ(load("good", allStrings("abc", {5})), ZANDREL_OK);
  EXPECT_EQ(lastError(), "");
  EXPECT_EQ(loadPath(missing), ZANDREL_NO_DICTIONARY);
  std::vector<uint8_t> grid = gridBytes(kSmallGrid);
  EXPECT_EQ(makeXWordPuzzle(grid.data(), 25, 5), ZANDREL_NO_DICTIONARY);
  EXPECT_EQ(grid, gridBytes(kSmallGrid));
}

TEST_F(ZandrelApi, FillsAreSoundAndSeedsRepeat) {
  const auto all = allWords("abcde", {2, 3, 5});
  ASSERT_EQ(load("d", allStrings("abcde", {2, 3, 5})), ZANDREL_OK);
  const gridkit::WordSet words(all.begin(), all.end());
  const std::vector<std::vector<std::string>> grids{kSmallGrid,
                                                    {"..#.", "#.##", ".#.."},  // lone cells
                                                    {"...#.", ".#.#.", ".....", ".#.#.", ".#..."},
                                                    {"...", ".#.", "..."},
                                                    {"#####", "#####"}};  // nothing to fill
  auto fillAll = [&](uint64_t seed) {
    zandrelSetSeed(seed);
    std::vector<std::string> fills;
    for (int round = 0; round < 3; ++round)
      for (const auto& rows : grids) fills.push_back(fillChecked(rows, words));
    return fills;
  };
  const auto first = fillAll(42);
  EXPECT_EQ(fillAll(42), first);
  EXPECT_NE(fillAll(43), first);
  // Successive fills of one grid differ.
  EXPECT_NE(first[0], first[grids.size()]);
  EXPECT_NE(first[grids.size()], first[2 * grids.size()]);
}

// An impossible grid is recognised as such, well before the time limit, and changes nothing.
TEST_F(ZandrelApi, NoFillLeavesTheBufferAsItCame) {
  zandrelSetTimeLimit(30000);
  const auto start = std::chrono::steady_clock::now();
  // Three-letter words only, but the grid has a four-letter run.
  ASSERT_EQ(load("threes", allStrings("abc", {3})), ZANDREL_OK);
  std::vector<uint8_t> grid = gridBytes({"....", ".#.#", "...#"});
  EXPECT_EQ(makeXWordPuzzle(grid.data(), 12, 4), ZANDREL_NO_FILL);
  EXPECT_EQ(grid, gridBytes({"....", ".#.#", "...#"}));
  EXPECT_NE(lastError().find("run of 4 cells"), std::string::npos) << lastError();
  // Every fill of a 2x2 square would repeat a word.
  ASSERT_EQ(load("two", "ab\nba\n"), ZANDREL_OK);
  std::vector<uint8_t> square = gridBytes({"..", ".."});
  EXPECT_EQ(makeXWordPuzzle(square.data(), 4, 2), ZANDREL_NO_FILL);
  EXPECT_EQ(square, gridBytes({"..", ".."}));
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(10))
      << "exhausted, not timed out";
}

// With the real word list a grid that can hold every letter gets all 26 (the rare ones are
// planned in, not left to luck); without the words holding q it gets the other 25, soon rather
// than after chasing q to the time limit (2 s).
TEST_F(ZandrelApi, EveryLetterTheGridCanHoldAndSoon) {
  gridkit::WordSet words;
  ASSERT_TRUE(gridkit::readDictionaryWords(QLX_BIN_DIR "/XWORD.DICT", &words).ok());
  std::string noQ;
  for (const std::string& w : words) noQ += w.find('q') == std::string::npos ? w + "\n" : "";
  const std::vector<std::string> fullRows{
      // six rows a whole word across
      ".............", ".#.#.#.#.###.", ".............", "##.#.###.#.#.", ".............",
      ".#####.#.#.##", ".....#.#.....", "##.#.#.#####.", ".............", ".#.#.###.#.##",
      ".............", ".###.#.#.#.#.", "............."};
  for (const auto& [dict, letters] :
       {std::pair{std::string(QLX_BIN_DIR "/XWORD.DICT"), 26U}, {dir_.write("noq", noQ), 25U}}) {
    ASSERT_EQ(loadPath(dict), ZANDREL_OK);
    zandrelSetSeed(7);
    for (int fill = 0; fill < 5; ++fill) {
      const auto start = std::chrono::steady_clock::now();
      const std::string text = fillChecked(fullRows, words);
      EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(500));
      EXPECT_EQ(std::set<char>(text.begin(), text.end()).size(), letters + 1) << text;  // and '-'
    }
  }
}

}  // namespace
