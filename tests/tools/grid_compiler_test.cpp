// The grid compiler: exact bytes of the grid file, the reader's checks, refusals of the
// program (message, exit status, nothing written) and the shipped pattern files.
#include "grid_test_patterns.h"

#include "compile.h"
#include "generator.h"
#include "gridkit/grid_file.h"
#include "gridkit/rules.h"
#include "run_tool.h"
#include "temp_folder.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <string>

namespace qlx::gridkit {
namespace {

namespace fs = std::filesystem;
using test::goodGrid;
using test::rowsToPattern;
using ::testing::AllOf;
using ::testing::HasSubstr;

TEST(GridFileEncode, TwoGroupsByteForByteAndBack) {
  const GridGroups groups = {{rowsToPattern({"..."}), rowsToPattern({"#.", ".#"})},
                             {rowsToPattern({"."})}};
  const std::vector<std::uint8_t> expected = {
      2,  0, 0, 0,              // group count
      2,  0, 0, 0, 1, 0, 0, 0,  // grids in group 1, in group 2
      24, 0, 0, 0,              // group 1: first record right after the header
      29, 0, 0, 0,              //          second after 2 + 3 bytes
      35, 0, 0, 0,              // group 2
      1,  3, 1, 1, 1,           // 1 x 3, all white
      2,  2, 0, 1, 1, 0,        // 2 x 2, row by row
      1,  1, 1};
  EXPECT_EQ(encodeGridFile(groups), expected);
  std::string error;
  const auto decoded = decodeGridFile(expected, &error);
  ASSERT_TRUE(decoded) << error;
  EXPECT_EQ(*decoded, groups);
  EXPECT_EQ(encodeGridFile({}), (std::vector<std::uint8_t>{0, 0, 0, 0}));
  EXPECT_EQ(encodeGridFile({{}, {}}),
            (std::vector<std::uint8_t>{2, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}));
  Pattern wide;  // more columns than a record's byte holds
  wide.rows = 1;
  wide.cols = 256;
  wide.cells.assign(256, 1);
  EXPECT_THROW(encodeGridFile({{wide}}), std::length_error);
}

TEST(GridFileEncode, OffsetsPastOneByteAreLittleEndian) {
  GridGroups groups(1);
  for (int i = 0; i < 3; ++i) groups[0].push_back(goodGrid());  // 83-byte records
  const auto bytes = encodeGridFile(groups);
  ASSERT_EQ(bytes.size(), 4u + 4 + 12 + 3 * 83);
  // Third record: 20 + 2 * 83 = 186.
  EXPECT_EQ(bytes[16], 186);
  // With a fourth grid the header grows to 24 bytes and the fourth record starts at
  // 24 + 3 * 83 = 273 = 0x111.
  groups[0].push_back(goodGrid());
  const auto more = encodeGridFile(groups);
  EXPECT_EQ(std::vector<std::uint8_t>(more.begin() + 20, more.begin() + 24),
            (std::vector<std::uint8_t>{0x11, 0x01, 0, 0}));
  EXPECT_EQ(more[0x111], 9);
  EXPECT_EQ(more[0x112], 9);
}

TEST(GridFileDecode, RejectsDamagedFiles) {
  const auto good = encodeGridFile({{rowsToPattern({"..."})}});
  std::string error;
  for (std::size_t cut = 0; cut < good.size(); ++cut) {
    const std::vector<std::uint8_t> shortened(good.begin(), good.begin() + static_cast<long>(cut));
    EXPECT_FALSE(decodeGridFile(shortened, &error)) << "cut at " << cut;
  }
  auto badOffset = good;
  badOffset[8] = 200;
  EXPECT_FALSE(decodeGridFile(badOffset, &error));
  EXPECT_THAT(error, HasSubstr("outside the file"));
  auto hugeCount = good;
  hugeCount[7] = 0x7f;
  EXPECT_FALSE(decodeGridFile(hugeCount, &error));
  auto negativeGroups = good;
  negativeGroups[3] = 0x80;
  EXPECT_FALSE(decodeGridFile(negativeGroups, &error));
}

// --- the program, run from the program folder ---

class GridCompilerProgram : public ::testing::Test {
 protected:
  std::string write(const std::string& name, const std::string& text) const {
    return dir_.write(name, text);
  }

  // Runs quillorix-gridc with the arguments; returns the exit status and fills output_.
  int run(const std::string& args) {
    const qlx::testing::ToolRun r = qlx::testing::runTool("quillorix-gridc", args);
    output_ = r.output;
    return r.exitCode;
  }

  std::size_t filesInDir() const {
    return static_cast<std::size_t>(
        std::distance(fs::directory_iterator(dir_.path()), fs::directory_iterator()));
  }

  qlx::testing::TempFolder dir_;
  std::string output_;
};

std::string goodText() { return formatPattern(goodGrid()); }

std::string mirroredGoodText() {
  Pattern p = goodGrid();
  for (int r = 0; r < p.rows; ++r)
    for (int c = 0; c < p.cols / 2; ++c)
      std::swap(p.cells[static_cast<std::size_t>(r * p.cols + c)],
                p.cells[static_cast<std::size_t>(r * p.cols + p.cols - 1 - c)]);
  return formatPattern(p);
}

TEST_F(GridCompilerProgram, WritesTheGroupsInFileOrder) {
  const std::string a = write("a.txt", "; one\n" + goodText());
  const std::string b = write(
      "b.txt",
      mirroredGoodText() + "\n\n" +
          formatPattern(test::withCell(test::withCell(goodGrid(), 4, 0, false), 4, 8, false)));
  const std::string out = dir_.file("GRIDFILE.GFDB");
  ASSERT_EQ(run("--out " + out + " " + a + " " + b), 0) << output_;
  std::string error;
  const auto bytes = readWholeFile(out, &error);
  ASSERT_TRUE(bytes) << error;
  const auto groups = decodeGridFile(*bytes, &error);
  ASSERT_TRUE(groups) << error;
  ASSERT_EQ(groups->size(), 2u);
  EXPECT_EQ((*groups)[0].size(), 1u);
  EXPECT_EQ((*groups)[1].size(), 2u);
  EXPECT_EQ((*groups)[0][0], goodGrid());
  EXPECT_EQ(filesInDir(), 3u) << "a temporary file was left behind";
}

// Every refusal names its file and line, exits with 1 and writes nothing.
TEST_F(GridCompilerProgram, RefusesBadInputNamingFileGridAndLine) {
  const std::string a = write("a.txt", goodText());
  const std::string broken =
      write("broken.txt", "; first\n" + mirroredGoodText() + "\n; second\n" +
                              formatPattern(test::withCell(goodGrid(), 4, 0, false)));
  const std::string unparsable = write("unparsable.txt", goodText() + "\n.........\n....x....\n");
  const std::string repeats = write("repeats.txt", mirroredGoodText() + "\n" + goodText());
  const std::string empty = write("empty.txt", "; nothing yet\n");
  const std::vector<std::pair<std::string, std::vector<std::string>>> cases = {
      {a + " " + broken, {broken + ":13: grid 2: ", "upside down"}},
      {unparsable, {unparsable + ":12: unexpected 'x' in column 5"}},
      {a + " " + repeats + " " + empty,
       {repeats + ":11: grid 2: repeats grid 1 of " + a + " (line 1)", empty + ": holds no grid"}},
      {dir_.file("absent.txt"), {"absent.txt: cannot open"}},
  };
  const std::string out = dir_.file("GRIDFILE.GFDB");
  for (const auto& [inputs, said] : cases) {
    EXPECT_EQ(run("--out " + out + " " + inputs), 1) << inputs;
    for (const std::string& part : said) EXPECT_THAT(output_, HasSubstr(part));
    EXPECT_FALSE(fs::exists(out)) << inputs;
  }
  EXPECT_EQ(filesInDir(), 5u) << "a temporary file was left behind";
  EXPECT_EQ(run("--out " + out), 2);
  EXPECT_EQ(run("--bogus " + a), 2);
  EXPECT_FALSE(fs::exists(out));
}

// --- the shipped pattern files ---

TEST(ShippedGrids, BothGroupsCompileWithEnoughGridsOfTheRightSizes) {
  const std::string dir = std::string(QLX_SOURCE_DIR) + "/data/grids/";
  const gridc::CompileResult result =
      gridc::compileGridSources({dir + "group1.txt", dir + "group2.txt"});
  for (const std::string& problem : result.problems) ADD_FAILURE() << problem;
  ASSERT_EQ(result.groups.size(), 2u);

  std::map<int, int> small, large;
  for (const Pattern& p : result.groups[0]) ++small[p.rows * 100 + p.cols];
  for (const Pattern& p : result.groups[1]) ++large[p.rows * 100 + p.cols];
  EXPECT_GE(result.groups[0].size(), 30u);
  EXPECT_GE(result.groups[1].size(), 120u);
  for (const auto& [size, count] : small) EXPECT_TRUE(size == 1111 || size == 1212) << size;
  for (const auto& [size, count] : large) EXPECT_TRUE(size == 1313 || size == 1515) << size;
  EXPECT_GE(large[1313], 40);
  EXPECT_GE(large[1515], 40);

  // A mirror image or a turn of another grid plays the same: it would be a repeat in disguise.
  std::map<std::string, std::string> shapes;
  for (std::size_t g = 0; g < result.groups.size(); ++g)
    for (std::size_t n = 0; n < result.groups[g].size(); ++n) {
      const std::string name = "group " + std::to_string(g + 1) + " grid " + std::to_string(n + 1);
      const auto [it, fresh] = shapes.try_emplace(gridgen::shapeKey(result.groups[g][n]), name);
      EXPECT_TRUE(fresh) << name << " is " << it->second << " mirrored or turned";
    }
}

}  // namespace
}  // namespace qlx::gridkit
