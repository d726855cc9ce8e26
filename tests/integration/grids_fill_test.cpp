// Every grid of the shipped grid file fills with the shipped dictionary, over and over: the
// game trusts every fill it gets, so a grid that cannot be filled must never ship.
#include "zandrel.h"

#include "gridkit/fill_check.h"
#include "gridkit/grid_file.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

namespace qlx::gridkit {
namespace {

#if defined(__SANITIZE_ADDRESS__)
constexpr bool kSanitized = true;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
constexpr bool kSanitized = true;
#else
constexpr bool kSanitized = false;
#endif
#else
constexpr bool kSanitized = false;
#endif

// Ten seeded fills per grid; a sanitised build runs slower, so it tries fewer.
constexpr int kFillsPerGrid = kSanitized ? 2 : 10;
constexpr std::uint64_t kFirstSeed = 9001;

class ShippedGridsFill : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    std::string error;
    const std::string dict = std::string(QLX_BIN_DIR) + "/XWORD.DICT";
    words_ = readDictionaryWords(dict, &error);
    ASSERT_TRUE(words_) << error;
    std::vector<char> path(dict.begin(), dict.end());
    path.push_back('\0');
    ASSERT_EQ(loadLangDict(path.data()), ZANDREL_OK) << zandrelLastError();

    const auto bytes = readWholeFile(std::string(QLX_BIN_DIR) + "/GRIDFILE.GFDB", &error);
    ASSERT_TRUE(bytes) << error;
    auto decoded = decodeGridFile(*bytes, &error);
    ASSERT_TRUE(decoded) << error;
    groups_ = std::move(*decoded);
  }

  // Fills every grid of one group kFillsPerGrid times and checks every fill.
  static void fillGroup(std::size_t group) {
    ASSERT_TRUE(words_) << "the dictionary did not load";
    ASSERT_LT(group, groups_.size()) << "the grid file did not load or lacks the group";
    const auto& grids = groups_[group];
    ASSERT_FALSE(grids.empty());
    for (std::size_t n = 0; n < grids.size(); ++n) {
      const Pattern& p = grids[n];
      for (int k = 0; k < kFillsPerGrid; ++k) {
        const std::uint64_t seed = kFirstSeed + static_cast<std::uint64_t>(k);
        zandrelSetSeed(seed);
        std::string letters = fillTemplate(p);
        const int32_t result = makeXWordPuzzle(reinterpret_cast<uint8_t*>(letters.data()),
                                               static_cast<int32_t>(letters.size()), p.cols);
        const std::string where = "group " + std::to_string(group + 1) + " grid " +
                                  std::to_string(n + 1) + " (" + std::to_string(p.rows) + "x" +
                                  std::to_string(p.cols) + "), seed " + std::to_string(seed);
        ASSERT_EQ(result, ZANDREL_OK) << where << ": " << zandrelLastError();
        const auto problems = fillProblems(p, letters, *words_);
        for (const std::string& problem : problems) ADD_FAILURE() << where << ": " << problem;
        if (!problems.empty()) return;
      }
    }
  }

  static inline std::optional<WordSet> words_;
  static inline GridGroups groups_;
};

TEST_F(ShippedGridsFill, EveryGridOfGroup1Fills) { fillGroup(0); }

TEST_F(ShippedGridsFill, EveryGridOfGroup2Fills) { fillGroup(1); }

}  // namespace
}  // namespace qlx::gridkit
