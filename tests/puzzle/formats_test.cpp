// The puzzle's byte formats. The grid file reader: the format read exactly, and every kind of
// damage reported by name instead of read out of bounds. The stored puzzle's snapshot: a puzzle
// in play comes back exactly, and a snapshot cut short, of another version, or holding an
// impossible letter, number or size is refused untouched.
#include <gtest/gtest.h>

#include <functional>
#include <memory>

#include "puzzle/gridfile.h"
#include "puzzle/snapshot.h"
#include "puzzle_strings.h"
#include "temp_folder.h"

namespace qlx {
namespace {

using testing::sampleGridFile;

class GridFile : public ::testing::Test {
 protected:
  // Writes bytes as the grid file and reads its index afresh.
  Status open(const std::vector<uint8_t>& bytes) {
    index = GridIndex{};
    index.gridFilePath = dir.write("GRIDFILE.GFDB", bytes);
    return loadGridIndex(index);
  }
  // "rows x cols: " and the shape, row by row.
  std::string shape() const {
    std::string out = std::to_string(p.gridRows) + "x" + std::to_string(p.gridCols) + ":";
    for (int i = 1; i <= p.cellCount; ++i) out += static_cast<char>('0' + p.gridShape(i));
    return out;
  }
  testing::TempFolder dir;
  GridIndex index;
  Puzzle p;
};

TEST_F(GridFile, ReadsTheIndexAndEveryRecordAndRefusesGridsOutsideItOrCutOff) {
  ASSERT_TRUE(open(sampleGridFile()).ok());
  ASSERT_EQ(index.groupCount, 2);
  EXPECT_EQ((std::vector<int>{index.gridIndex(1).count, index.gridIndex(2).count,
                              index.gridIndex(1).offsets(2)}),
            (std::vector<int>{2, 1, 35}));
  for (auto [n, g] : {std::pair{0, 1}, {3, 1}, {2, 2}, {1, 0}, {1, 3}, {-1, 2}})
    EXPECT_NE(loadGrid(index, n, g, p).message().find("GRIDFILE.GFDB"), std::string::npos)
        << n << g;
  EXPECT_EQ(p.cellCount, 0);  // nothing was loaded by the failed calls
  ASSERT_TRUE(loadGrid(index, 2, 1, p).ok());
  EXPECT_EQ(shape(), "4x4:1111100110011111");
  ASSERT_TRUE(loadGrid(index, 1, 2, p).ok());
  EXPECT_EQ(shape(), "5x5:1111110101111111010111111");
  // The file cut short after its index was read: the grids past the cut are refused.
  std::vector<uint8_t> cut = sampleGridFile();
  cut.resize(40);
  dir.write("GRIDFILE.GFDB", cut);
  EXPECT_TRUE(loadGrid(index, 1, 1, p).ok());
  EXPECT_FALSE(loadGrid(index, 1, 2, p).ok());
}

// Puts v at byte at, little-endian.
std::function<void(std::vector<uint8_t>&)> put(std::size_t at, int32_t v) {
  return [=](std::vector<uint8_t>& b) {
    for (int i = 0; i < 4; ++i) b[at + i] = static_cast<uint8_t>(static_cast<uint32_t>(v) >> 8 * i);
  };
}

TEST_F(GridFile, DamagedFilesAreReportedNamingTheFileAndProblem) {
  // Each damage and a part of the message it gives.
  const std::vector<std::pair<std::function<void(std::vector<uint8_t>&)>, const char*>> cases = {
      {[](auto& b) { b.clear(); }, "too short"},
      {[](auto& b) { b.resize(3); }, "too short"},
      {put(0, 0), "0 grid groups"},
      {put(0, -5), "-5 grid groups"},
      {put(0, 0x7fffffff), "too short"},
      {put(4, -1), "negative"},
      {put(8, 1 << 30), "more than the file"},
      {put(12, 5000), "outside the file"},
      {put(16, -2), "outside the file"},
      {[](auto& b) { b.pop_back(); }, "runs past the end"},
      {[](auto& b) { b[24] = 0; }, "0 x 3"},
      {[](auto& b) { b[24] = b[25] = 16; }, "16 x 16"},
      {[](auto& b) { b[30] = 2; }, "neither a block nor a white cell"},
  };
  for (const auto& [apply, expected] : cases) {
    std::vector<uint8_t> bytes = sampleGridFile();
    apply(bytes);
    const std::string message = open(bytes).message();
    EXPECT_NE(message.find(dir.path() + "GRIDFILE.GFDB"), std::string::npos) << message;
    EXPECT_NE(message.find(expected), std::string::npos) << expected << ": " << message;
    EXPECT_EQ(index.groupCount, 0) << expected;  // a failed read leaves the index empty
  }
  index.gridFilePath = dir.file("NONE.GFDB");
  EXPECT_NE(loadGridIndex(index).message().find("missing"), std::string::npos);
}

// A 4 × 4 grid with one block and thirteen distinct letters, numbered in reverse, two given,
// some entries (one wrong) and a selection: every field carries something.
Puzzle puzzleInPlay(std::initializer_list<std::string_view> rows = {"abcd", "efg-", "hijk",
                                                                    "mnab"}) {
  Puzzle p = testing::puzzleFromRows(rows, "nmkjihgfedcba", {2, 9});
  p.entries(4) = 'Q';
  p.selectedNum = 4;
  return p;
}

Status decode(const std::vector<uint8_t>& b, Puzzle& out) {
  return decodeSnapshot(b.data(), b.size(), out);
}

TEST(Snapshot, APuzzleInPlayComesBackExactlyButForASelectedGivenNumber) {
  // Any shape the grid file can hold: one row of 80 cells, the fill five times over.
  std::string row;
  for (int i = 0; i < 5; ++i) row += "abcdefg-hijkmnab";
  const Puzzle p = puzzleInPlay();
  Puzzle back;
  for (const Puzzle& in : {p, puzzleInPlay({row})}) {
    ASSERT_TRUE(decode(encodeSnapshot(in), back).ok());
    EXPECT_EQ(back, in);
  }

  // A selected given number is dropped, not the game.
  Puzzle givenSelected = p;
  givenSelected.selectedNum = 2;
  ASSERT_TRUE(decode(encodeSnapshot(givenSelected), back).ok());
  EXPECT_EQ(back.selectedNum, 0);
}

TEST(Snapshot, DamagedSnapshotsAreRefusedAndChangeNothing) {
  const Puzzle p = puzzleInPlay();
  const std::vector<uint8_t> good = encodeSnapshot(p);
  const std::size_t cells = 16, shapeAt = 7, fillAt = shapeAt + cells, countAt = fillAt + cells;
  const std::size_t codeAt = countAt + 1, givenAt = codeAt + 13, entriesAt = givenAt + 13,
                    selectedAt = entriesAt + 13;
  const std::vector<std::pair<const char*, std::function<void(std::vector<uint8_t>&)>>> damages = {
      {"empty", [](auto& b) { b.clear(); }},
      {"cut short by one", [](auto& b) { b.pop_back(); }},
      {"cut in the grid", [&](auto& b) { b.resize(fillAt + 3); }},
      {"a byte too many", [](auto& b) { b.push_back(0); }},
      {"another magic", [](auto& b) { b[0] = 'X'; }},
      {"another version", [](auto& b) { b[4] = 2; }},
      {"zero rows", [](auto& b) { b[5] = 0; }},
      {"rows beyond any grid", [](auto& b) { b[5] = 200; }},
      {"a shape byte of 2", [&](auto& b) { b[shapeAt] = 2; }},
      {"an upper-case fill letter", [&](auto& b) { b[fillAt] = 'A'; }},
      {"a letter on a block", [&](auto& b) { b[fillAt + 7] = 'a'; }},
      {"a letter count of 200", [&](auto& b) { b[countAt] = 200; }},
      {"a number for letter 27", [&](auto& b) { b[codeAt] = 27; }},
      {"a number for a letter not in the grid", [&](auto& b) { b[codeAt] = 'z' - 'a' + 1; }},
      {"two numbers for one letter", [&](auto& b) { b[codeAt] = b[codeAt + 1]; }},
      {"a given flag of 5", [&](auto& b) { b[givenAt] = 5; }},
      {"an entry of '['", [&](auto& b) { b[entriesAt] = '['; }},
      {"a lower-case entry", [&](auto& b) { b[entriesAt] = 'a'; }},
      {"a given number without its letter",
       [&](auto& b) {
         for (std::size_t n = 0; n < 13; ++n)
           if (b[givenAt + n] == 1) b[entriesAt + n] = 0;
       }},
      {"a selection past the code", [&](auto& b) { b[selectedAt] = 14; }},
      {"a repeated letter in the order", [&](auto& b) { b[selectedAt + 1] = b[selectedAt + 2]; }},
  };
  for (const auto& [what, apply] : damages) {
    std::vector<uint8_t> bad = good;
    apply(bad);
    Puzzle out = p;
    EXPECT_FALSE(decode(bad, out).ok()) << what;
    EXPECT_EQ(out, p) << what << ": the puzzle was touched";
  }
  EXPECT_FALSE(decodeSnapshot(nullptr, 0, *std::make_unique<Puzzle>()).ok());
}

}  // namespace
}  // namespace qlx
