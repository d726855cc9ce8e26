// The grid file reader: the format read exactly, and every kind of damage reported by name
// instead of read out of bounds.
#include <gtest/gtest.h>

#include <functional>

#include "puzzle/gridfile.h"
#include "temp_folder.h"

namespace qlx {
namespace {

using testing::GridFileBytes;
using testing::sampleGridFile;
using testing::TempFolder;

GridIndex indexFor(const std::string& path) {
  GridIndex index;
  index.gridFilePath = path;
  return index;
}

TEST(GridFile, ReadsTheIndexAndEveryRecord) {
  TempFolder dir;
  GridIndex index = indexFor(dir.write("GRIDFILE.GFDB", sampleGridFile()));
  ASSERT_TRUE(loadGridIndex(index).ok());
  ASSERT_EQ(index.groupCount, 2);
  EXPECT_EQ(index.gridIndex(1).count, 2);
  EXPECT_EQ(index.gridIndex(2).count, 1);
  EXPECT_EQ(index.gridIndex(1).offsets(2), 35);

  Puzzle p;
  ASSERT_TRUE(loadGrid(index, 2, 1, p).ok());
  EXPECT_EQ(p.gridRows, 4);
  EXPECT_EQ(p.gridCols, 4);
  EXPECT_EQ(p.cellCount, 16);
  EXPECT_EQ(p.gridShape(5), 1);
  EXPECT_EQ(p.gridShape(6), 0);  // row 1, column 1: "1001"
  ASSERT_TRUE(loadGrid(index, 1, 2, p).ok());
  EXPECT_EQ(p.cellCount, 25);
  EXPECT_EQ(p.gridShape(7), 0);
}

TEST(GridFile, PuzzleOrGroupOutsideTheIndexIsAnError) {
  TempFolder dir;
  GridIndex index = indexFor(dir.write("GRIDFILE.GFDB", sampleGridFile()));
  ASSERT_TRUE(loadGridIndex(index).ok());
  Puzzle p;
  for (auto [n, g] : {std::pair{0, 1}, {3, 1}, {2, 2}, {1, 0}, {1, 3}, {-1, 2}}) {
    Status s = loadGrid(index, n, g, p);
    EXPECT_FALSE(s.ok()) << n << "/" << g;
    EXPECT_NE(s.message().find("GRIDFILE.GFDB"), std::string::npos) << s.message();
  }
  EXPECT_EQ(p.cellCount, 0);  // nothing was loaded by the failed calls
}

struct Damage {
  const char* name;
  std::function<void(std::vector<uint8_t>&)> apply;
  const char* expected;  // a part of the message
};

TEST(GridFile, DamagedFilesAreReportedNamingTheFileAndProblem) {
  const std::vector<Damage> cases = {
      {"empty file", [](auto& b) { b.clear(); }, "too short"},
      {"header cut", [](auto& b) { b.resize(3); }, "too short"},
      {"no groups",
       [](auto& b) {
         GridFileBytes f{b};
         f.putInt32At(0, 0);
         b = f.bytes;
       },
       "0 grid groups"},
      {"negative groups",
       [](auto& b) {
         GridFileBytes f{b};
         f.putInt32At(0, -5);
         b = f.bytes;
       },
       "-5 grid groups"},
      {"huge groups",
       [](auto& b) {
         GridFileBytes f{b};
         f.putInt32At(0, 0x7fffffff);
         b = f.bytes;
       },
       "too short"},
      {"negative count",
       [](auto& b) {
         GridFileBytes f{b};
         f.putInt32At(4, -1);
         b = f.bytes;
       },
       "negative"},
      {"huge count",
       [](auto& b) {
         GridFileBytes f{b};
         f.putInt32At(8, 1 << 30);
         b = f.bytes;
       },
       "more than the file"},
      {"offset past end",
       [](auto& b) {
         GridFileBytes f{b};
         f.putInt32At(12, 5000);
         b = f.bytes;
       },
       "outside the file"},
      {"negative offset",
       [](auto& b) {
         GridFileBytes f{b};
         f.putInt32At(16, -2);
         b = f.bytes;
       },
       "outside the file"},
      {"record cut", [](auto& b) { b.pop_back(); }, "runs past the end"},
      {"zero rows", [](auto& b) { b[24] = 0; }, "0 x 3"},
      {"256 cells",
       [](auto& b) {
         b[24] = 16;
         b[25] = 16;
       },
       "16 x 16"},
      {"cell neither white nor block", [](auto& b) { b[30] = 2; },
       "neither a block nor a white cell"},
  };
  for (const Damage& d : cases) {
    TempFolder dir;
    std::vector<uint8_t> bytes = sampleGridFile();
    d.apply(bytes);
    GridIndex index = indexFor(dir.write("GRIDFILE.GFDB", bytes));
    Status s = loadGridIndex(index);
    ASSERT_FALSE(s.ok()) << d.name;
    EXPECT_NE(s.message().find(dir.path() + "GRIDFILE.GFDB"), std::string::npos)
        << d.name << ": " << s.message();
    EXPECT_NE(s.message().find(d.expected), std::string::npos) << d.name << ": " << s.message();
    EXPECT_EQ(index.groupCount, 0) << d.name;  // a failed read leaves the index empty
  }
  TempFolder dir;
  GridIndex missing = indexFor(dir.path() + "GRIDFILE.GFDB");
  EXPECT_NE(loadGridIndex(missing).message().find("missing"), std::string::npos);
}

TEST(GridFile, FileDamagedAfterTheIndexWasReadIsCaughtByLoadGrid) {
  TempFolder dir;
  const std::string path = dir.write("GRIDFILE.GFDB", sampleGridFile());
  GridIndex index = indexFor(path);
  ASSERT_TRUE(loadGridIndex(index).ok());
  std::vector<uint8_t> cut = sampleGridFile();
  cut.resize(40);
  dir.write("GRIDFILE.GFDB", cut);
  Puzzle p;
  EXPECT_TRUE(loadGrid(index, 1, 1, p).ok());
  EXPECT_FALSE(loadGrid(index, 1, 2, p).ok());
}

}  // namespace
}  // namespace qlx
