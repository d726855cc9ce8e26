// Every grid of the shipped grid file fills with the shipped dictionary, over and over: the
// game trusts every fill it gets, so a grid that cannot be filled must never ship.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "gridkit/fill_check.h"
#include "gridkit/grid_file.h"
#include "zandrel.h"

namespace qlx::gridkit {
namespace {

// Ten seeded fills per grid; a sanitised build runs slower, so it tries fewer.
#ifndef __has_feature
#define __has_feature(x) 0
#endif
#if defined(__SANITIZE_ADDRESS__) || __has_feature(address_sanitizer)
constexpr int kFillsPerGrid = 2;
#else
constexpr int kFillsPerGrid = 10;
#endif

TEST(ShippedGrids, EveryGridOfEveryGroupFills) {
  std::string dict = std::string(QLX_BIN_DIR) + "/XWORD.DICT";
  WordSet words;
  std::vector<std::uint8_t> bytes;
  GridGroups groups;
  Status st = readDictionaryWords(dict, &words);
  if (st.ok()) st = readWholeFile(std::string(QLX_BIN_DIR) + "/GRIDFILE.GFDB", &bytes);
  if (st.ok()) st = decodeGridFile(bytes, &groups);
  ASSERT_TRUE(st.ok()) << st.message();
  ASSERT_EQ(loadLangDict(dict.data()), ZANDREL_OK) << zandrelLastError();
  ASSERT_GE(groups.size(), 2u);

  for (std::size_t group = 0; group < groups.size(); ++group) {
    ASSERT_FALSE(groups[group].empty()) << "group " << group + 1;
    for (std::size_t n = 0; n < groups[group].size(); ++n) {
      const Pattern& p = groups[group][n];
      for (std::uint64_t seed = 9001; seed < 9001 + kFillsPerGrid; ++seed) {
        zandrelSetSeed(seed);
        std::string letters = fillTemplate(p);
        const std::string where = "group " + std::to_string(group + 1) + " grid " +
                                  std::to_string(n + 1) + " (" + std::to_string(p.rows) + "x" +
                                  std::to_string(p.cols) + "), seed " + std::to_string(seed);
        ASSERT_EQ(makeXWordPuzzle(reinterpret_cast<uint8_t*>(letters.data()),
                                  static_cast<int32_t>(letters.size()), p.cols),
                  ZANDREL_OK)
            << where << ": " << zandrelLastError();
        ASSERT_EQ(fillProblems(p, letters, words), std::vector<std::string>{}) << where;
      }
    }
  }
}

}  // namespace
}  // namespace qlx::gridkit
