// The search on small grids with synthetic dictionaries: a passed deadline honoured, commoner
// words preferred. Sound fills and impossible grids are checked through the C entries (api_test).
#include "filler.h"
#include "dictionary.h"
#include "layout.h"

#include "fill_check.h"

#include <gtest/gtest.h>

#include <set>

namespace {

using zandrel::Clock;
using zandrel::Filler;
using zandrel_test::allStrings;
using zandrel_test::gridBytes;
using zandrel_test::wordsOf;

struct Grid {
  std::vector<uint8_t> bytes;
  int cols;
  zandrel::Layout layout;
};

Grid gridOf(const std::vector<std::string>& rows) {
  Grid g{gridBytes(rows), static_cast<int>(rows[0].size()), {}};
  std::vector<uint8_t> white;
  for (uint8_t b : g.bytes) white.push_back(b == '?' ? 1 : 0);  // gridBytes spells white '?'
  g.layout = zandrel::makeLayout(white.data(), static_cast<int>(rows.size()), g.cols);
  return g;
}

// Runs one fill and returns the grid as makeXWordPuzzle would leave it.
Filler::Outcome fill(const zandrel::Dictionary& d, const Grid& g, zandrel::Rng& rng,
                     std::vector<uint8_t>& out, Clock::duration limit = std::chrono::seconds(5)) {
  Filler filler(d, g.layout, rng);
  std::vector<char> letters;
  const Filler::Outcome outcome = filler.run(Clock::now() + limit, letters);
  out = g.bytes;
  if (outcome == Filler::Outcome::Filled)
    for (size_t i = 0; i < out.size(); ++i)
      if (out[i] == '?') out[i] = static_cast<uint8_t>(letters[i]);
  return outcome;
}

TEST(Filler, APassedDeadlineGivesNoFill) {
  const zandrel::Dictionary d = zandrel::Dictionary::parse(allStrings("abc", {5}));
  const Grid g = gridOf({".....", ".#.#.", ".....", ".#.#.", "....."});
  zandrel::Rng rng(3);
  std::vector<uint8_t> out;
  EXPECT_EQ(fill(d, g, rng, out, -std::chrono::milliseconds(1)), Filler::Outcome::TimedOut);
}

TEST(Filler, PrefersCommonerWords) {
  // Half the five-letter strings over "abcd" at level 10, the other half at level 50.
  const std::string all = allStrings("abcd", {5});
  std::string text;
  std::set<std::string> common;
  int line = 0;
  for (const std::string& w : wordsOf(all)) {
    const bool isCommon = line++ % 2 == 0;
    text += w + (isCommon ? " 10\n" : " 50\n");
    if (isCommon) common.insert(w);
  }
  const zandrel::Dictionary d = zandrel::Dictionary::parse(text);
  const Grid g = gridOf({"....."});
  zandrel::Rng rng(17);
  int commonFills = 0;
  const int fills = 300;
  for (int i = 0; i < fills; ++i) {
    std::vector<uint8_t> out;
    ASSERT_EQ(fill(d, g, rng, out), Filler::Outcome::Filled);
    commonFills += common.count(std::string(out.begin(), out.end())) ? 1 : 0;
  }
  EXPECT_GT(commonFills, fills * 7 / 10);
  EXPECT_LT(commonFills, fills);  // still varied: rarer words do turn up
}

}  // namespace
