// The grid tools: the pattern text format, the grid rules, the fill checker, the generator, the
// exact bytes of the grid file and its reader's checks, the compiler program's output and
// refusals (message, exit status, nothing written), and the shipped pattern files.
#include "compile.h"
#include "generator.h"
#include "gridkit/fill_check.h"
#include "gridkit/grid_file.h"
#include "gridkit/pattern.h"
#include "gridkit/rules.h"
#include "run_tool.h"
#include "temp_folder.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <initializer_list>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <tuple>
#include <vector>

namespace qlx::gridkit {
namespace {

namespace fs = std::filesystem;
using ::testing::AllOf;
using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::IsEmpty;
using ::testing::StartsWith;

// Builds a pattern from rows of '#' and '.', failing the test when they do not parse.
Pattern rowsToPattern(std::initializer_list<const char*> rows) {
  std::string text;
  for (const char* row : rows) text += std::string(row) + "\n";
  ParseResult parsed = parsePatterns(text, "test");
  EXPECT_TRUE(parsed.ok() && parsed.patterns.size() == 1u) << text;
  return parsed.patterns.empty() ? Pattern{} : parsed.patterns.front();
}

// A 9x9 grid that keeps every rule (26 blocks = 32.1%, 21 of 55 white cells checked).
Pattern goodGrid() {
  return rowsToPattern({".....#.##", ".#.#.#.#.", "...#.....", "##.#.#.#.", ".........",
                        ".#.#.#.##", ".....#...", ".#.#.#.#.", "##.#....."});
}

Pattern withBlock(Pattern p, int r, int c) {
  p.cells[static_cast<std::size_t>(r * p.cols + c)] = 0;
  return p;
}

// The grids as the text format prints them, each followed by "@line".
std::string shapes(const ParseResult& r) {
  std::string out;
  for (const Pattern& p : r.patterns) out += formatPattern(p) + "@" + std::to_string(p.line) + "\n";
  return out;
}

TEST(GridPatternParse, GridsSplitAtBlankLinesSkippingCommentsCrLfAndTrailingSpace) {
  const ParseResult r = parsePatterns(
      "; two grids\n#.#\n...\n; a comment inside a grid does not end it\n#.#\n\n\n; second\n"
      "....\n##..\n",
      "g.txt");
  EXPECT_TRUE(r.ok());
  EXPECT_EQ(shapes(r), "#.#\n...\n#.#\n@2\n....\n##..\n@9\n");
  const ParseResult crlf = parsePatterns("  \r\n.#.  \r\n...\t\r\n   \r\n#\r\n.", "g.txt");
  EXPECT_TRUE(crlf.ok());
  EXPECT_EQ(shapes(crlf), ".#.\n...\n@2\n#\n.\n@5\n");
  for (const char* none : {"", "; nothing\n\n;\n"})
    EXPECT_TRUE(parsePatterns(none, "g").ok() && parsePatterns(none, "g").patterns.empty());
  EXPECT_EQ(formatPattern(rowsToPattern({"#.", ".#"})), "#.\n.#\n");
  EXPECT_EQ(parsePatterns(formatPattern(goodGrid()), "again").patterns.at(0), goodGrid());
}

TEST(GridPatternParse, RaggedRowIsReportedWithItsLineAndTheGridIsDropped) {
  const ParseResult r = parsePatterns("...\n...\n\n....\n..\n....\n\n#.#\n", "group9.txt");
  ASSERT_EQ(r.errors.size(), 1u);
  EXPECT_EQ(r.errors[0].line, 5);
  EXPECT_THAT(r.errors[0].text(),
              AllOf(StartsWith("group9.txt:5: "), HasSubstr("2 cells"), HasSubstr("line 4")));
  // The grids around the bad one still parse, so one run reports every problem.
  EXPECT_EQ(shapes(r), "...\n...\n@1\n#.#\n@8\n");
}

TEST(GridPatternParse, BadCharactersOversizedGridsAndMissingFilesNameTheirLine) {
  const ParseResult r = parsePatterns("...\n.X.\n...\n\n.o.\n\n..\xff\n\n...\n ..\n", "g.txt");
  ASSERT_EQ(r.errors.size(), 4u);
  // A leading space (line 10) is a bad character, not indentation.
  std::vector<int> lines;
  for (const ParseError& e : r.errors) lines.push_back(e.line);
  EXPECT_EQ(lines, (std::vector<int>{2, 5, 7, 10}));
  EXPECT_THAT(r.errors[0].message, HasSubstr("'X' in column 2"));
  EXPECT_THAT(r.errors[2].message, HasSubstr("0xff"));
  EXPECT_TRUE(r.patterns.empty());

  // 255 is the most a record's row or column byte holds; the 256-cell rule is the checker's.
  const std::string wide(255, '.');
  std::string tall;
  for (int i = 0; i < 256; ++i) tall += ".\n";
  EXPECT_TRUE(parsePatterns(wide + "\n", "g").ok());
  EXPECT_TRUE(parsePatterns(std::string(16, '.') + "\n" + std::string(16, '.') + "\n", "g").ok());
  for (const auto& [text, line] : {std::pair{wide + ".\n", 1}, std::pair{tall, 256}}) {
    const ParseResult tooBig = parsePatterns(text, "g");
    ASSERT_EQ(tooBig.errors.size(), 1u) << line;
    EXPECT_EQ(tooBig.errors[0].line, line);
    EXPECT_TRUE(tooBig.patterns.empty());
  }
  const ParseResult missing = readPatternFile("/nonexistent/folder/group1.txt");
  ASSERT_EQ(missing.errors.size(), 1u);
  EXPECT_THAT(missing.errors[0].text(), HasSubstr("/nonexistent/folder/group1.txt"));
}

// A pattern of the given size whose first `blocks` cells are blocks.
Pattern withBlocks(int rows, int cols, int blocks = 0) {
  Pattern p;
  p.rows = rows, p.cols = cols;
  p.cells.assign(static_cast<std::size_t>(rows * cols), 1);
  std::fill_n(p.cells.begin(), blocks, 0);
  return p;
}

std::vector<std::string> split(const std::string& text) {
  std::vector<std::string> parts;
  std::istringstream in(text);
  for (std::string part; std::getline(in, part, '|');) parts.push_back(part);
  return parts;
}

// The good grid keeps every rule; each rule broken on its own is reported with its place, and its
// boundary cases pass.
TEST(GridRules, EachBrokenRuleIsNamedWithItsPlace) {
  EXPECT_THAT(checkGridRules(goodGrid()), IsEmpty());
  const GridStats s = gridStats(goodGrid());
  EXPECT_EQ((std::vector<int>{s.cells, s.blocks, s.whites, s.checked, s.longestWord}),
            (std::vector<int>{81, 26, 55, 21, 9}));
  struct Case {
    Pattern pattern;
    std::string said;         // parts split by '|', all found in a single reported problem
    std::string absent = "";  // parts found in no reported problem
    bool only = false;        // the only problem reported
  };
  Pattern inconsistent = withBlocks(3, 3);
  inconsistent.cells.pop_back();
  const Case cases[] = {
      // Blocking row 5, column 1 alone keeps every other rule.
      {withBlock(goodGrid(), 4, 0), "turned upside down|row 5, column 1|row 5, column 9", "", true},
      {rowsToPattern({"#...#", ".....", "....."}), "upside down"},  // mirror symmetry only
      {rowsToPattern({"...#...", "...#...", "...#...", "#######", "...#...", "...#...", "...#..."}),
       "not all connected|row 1, column 5", "upside down|exactly 2"},
      {rowsToPattern({"#...#", "##.##", "#..##"}), "exactly 2|across in row 3, columns 2-3"},
      {rowsToPattern({"#.#", "#.#", "#.#", "##.", "##."}), "exactly 2|down in column 3, rows 4-5"},
      {rowsToPattern({"..#..", "#####", "..#.."}), "4 cases|row 1, columns 1-2"},
      {withBlocks(1, 13), "", "longer than"},
      {withBlocks(1, 14), "longer than 13|14 cells across in row 1, columns 1-14"},
      {withBlocks(14, 1), "longer than 13|down in column 1, rows 1-14"},
      // Row 2, column 1 lies in an across run of 1 and a down run of 2.
      {rowsToPattern({"....", ".###", "####"}), "no word of 3|row 2, column 1"},
      {withBlocks(5, 5, 7), "", "blocks are"},  // 28%
      {withBlocks(5, 5, 6), "blocks are"},      // 24%
      {withBlocks(5, 10, 19), "", "blocks are"},
      {withBlocks(5, 10, 20), "blocks are|40.0%|20 of 50"},
      {withBlocks(3, 5), "blocks are|0.0%"},
      {withBlocks(3, 3), "both an across and a down word|100.0%"},
      // Combs: long across words, lone letters down, so nothing is checked.
      {rowsToPattern({".....", "#####", ".....", "#####", "....."}),
       "both an across|0.0% of the white cells (0 of 15)"},
      {withBlocks(16, 16), "16 x 16 = 256 cells"},
      {withBlocks(15, 17), "", "fewer than 256"},
      {withBlocks(3, 3, 9), "no white cell", "", true},
      {Pattern{}, "no cells", "", true},
      {inconsistent, "no cells", "", true},
  };
  for (const Case& c : cases) {
    const std::vector<std::string> problems = checkGridRules(c.pattern);
    std::string all = formatPattern(c.pattern) + "reported:\n";
    for (const std::string& problem : problems) all += problem + "\n";
    EXPECT_TRUE(!c.only || problems.size() == 1u) << all;
    bool found = c.said.empty();
    for (const std::string& problem : problems) {
      bool hasAll = true;
      for (const std::string& part : split(c.said))
        hasAll = hasAll && problem.find(part) != problem.npos;
      found = found || hasAll;
    }
    EXPECT_TRUE(found) << c.said << " in\n" << all;
    for (const std::string& part : split(c.absent))
      EXPECT_EQ(all.find(part), std::string::npos) << all;
  }
}

TEST(GridFillCheck, AGoodFillPassesAndEachKindOfBadFillIsNamed) {
  const Pattern ring = rowsToPattern({"...", ".#.", "..."});  // four words round the edge
  const WordSet words = {"cat", "tin", "cob", "ban", "nab", "tic"};
  EXPECT_EQ(fillTemplate(ring), "???\?-????");  // "\?": no trigraph
  // c a t / o - i / b a n : cat, ban across; cob, tin down.
  EXPECT_THAT(fillProblems(ring, "cato-iban", words), IsEmpty());
  EXPECT_THAT(fillProblems(ring, "cato-ibat", words),
              ElementsAre(HasSubstr("\"bat\" across at row 3, column 1 is not in the dictionary"),
                          HasSubstr("\"tit\" down at row 1, column 3 is not in the dictionary")));
  EXPECT_THAT(fillProblems(ring, "Cato-iban", words),
              ElementsAre(HasSubstr("row 1, column 1 holds byte 67")));
  EXPECT_THAT(fillProblems(ring, "cato?iban", words),
              ElementsAre(HasSubstr("block at row 2, column 2")));
  EXPECT_THAT(fillProblems(ring, "cato-iba", words), ElementsAre(HasSubstr("8 cells")));
  // The same word twice: "tic" across and down.
  EXPECT_THAT(fillProblems(rowsToPattern({"...", ".##", ".##"}), "tici--c--", words),
              ElementsAre(HasSubstr("\"tic\" down at row 1, column 1 is used twice")));
}

TEST(GridGenerator, ShapeKeysMatchMirrorsAndTurnsOnlyAndGeneratedGridsAreDistinctAndGood) {
  const std::string key = gridgen::shapeKey(rowsToPattern({"#..", "...", "..#", "##."}));
  EXPECT_EQ(key, gridgen::shapeKey(rowsToPattern({"..#", "...", "#..", ".##"})));  // mirrored
  EXPECT_EQ(key, gridgen::shapeKey(rowsToPattern({"##.", "..#", "...", "#.."})));  // upside down
  EXPECT_NE(key, gridgen::shapeKey(rowsToPattern({"#..", "...", "...", "##."})));
  Pattern transposed = goodGrid();
  for (int r = 0; r < 9; ++r)
    for (int c = 0; c < 9; ++c)
      transposed.cells[static_cast<std::size_t>(c * 9 + r)] = goodGrid().white(r, c);
  EXPECT_EQ(gridgen::shapeKey(goodGrid()), gridgen::shapeKey(transposed));

  // Every size we ship gives distinct, pleasant, rule-keeping grids, and seeds repeat.
  for (const int side : {11, 12, 13, 15}) {
    gridgen::Options options;
    options.rows = options.cols = side;
    options.count = 6;
    options.seed = 42;
    const std::vector<Pattern> grids = gridgen::generate(options, {});
    ASSERT_EQ(grids.size(), 6u) << side;
    std::set<std::string> keys;
    for (const Pattern& p : grids) {
      EXPECT_EQ(p.rows, side);
      EXPECT_THAT(checkGridRules(p), IsEmpty()) << formatPattern(p);
      EXPECT_TRUE(gridgen::looksPleasant(p, gridgen::defaultMaxLongWords(side, side)))
          << formatPattern(p);
      keys.insert(gridgen::shapeKey(p));
    }
    EXPECT_EQ(keys.size(), grids.size()) << side;
    if (side != 13) continue;
    EXPECT_EQ(gridgen::generate(options, {}), grids);
    for (const Pattern& p : gridgen::generate(options, {gridgen::shapeKey(grids[0])}))
      EXPECT_NE(gridgen::shapeKey(p), gridgen::shapeKey(grids[0]));
  }
  // Keeps the rules' word lengths but has a 3x3 square of blocks.
  EXPECT_FALSE(gridgen::looksPleasant(
      rowsToPattern({".........", ".#.#.#.#.", "...###...", ".#.###.#.", "...###...", ".#.#.#.#.",
                     ".........", ".#.#.#.#.", "........."}),
      10));
}

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
  EXPECT_EQ(decodeGridFile(expected, &error), groups) << error;
  EXPECT_EQ(encodeGridFile({}), (std::vector<std::uint8_t>{0, 0, 0, 0}));
  EXPECT_EQ(encodeGridFile({{}, {}}),
            (std::vector<std::uint8_t>{2, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}));
  // More columns than a record's byte holds.
  EXPECT_THROW(encodeGridFile({{withBlocks(1, 256)}}), std::length_error);
}

TEST(GridFileEncode, OffsetsPastOneByteAreLittleEndian) {
  // Four 83-byte records after a 24-byte header: the fourth starts at 24 + 3 * 83 = 0x111.
  const auto bytes = encodeGridFile({std::vector<Pattern>(4, goodGrid())});
  ASSERT_EQ(bytes.size(), 24u + 4 * 83);
  EXPECT_EQ(std::vector<std::uint8_t>(bytes.begin() + 20, bytes.begin() + 24),
            (std::vector<std::uint8_t>{0x11, 0x01, 0, 0}));
  EXPECT_EQ(bytes[0x111], 9);
  EXPECT_EQ(bytes[0x112], 9);
}

TEST(GridFileDecode, RejectsDamagedFiles) {
  const auto good = encodeGridFile({{rowsToPattern({"..."})}});
  std::string error;
  for (std::size_t cut = 0; cut < good.size(); ++cut) {
    const std::vector<std::uint8_t> shortened(good.begin(), good.begin() + static_cast<long>(cut));
    EXPECT_FALSE(decodeGridFile(shortened, &error)) << "cut at " << cut;
  }
  // An offset past the end, a grid count past the file, a negative group count.
  for (const auto& [at, value, said] :
       {std::tuple{8, 200, "outside the file"}, {7, 0x7f, ""}, {3, 0x80, ""}}) {
    auto bad = good;
    bad[static_cast<std::size_t>(at)] = static_cast<std::uint8_t>(value);
    EXPECT_FALSE(decodeGridFile(bad, &error)) << at;
    EXPECT_THAT(error, HasSubstr(said));
  }
}

// --- the program, run from the program folder ---

Pattern mirroredGood() {
  Pattern p = goodGrid();
  for (int r = 0; r < p.rows; ++r)
    std::reverse(p.cells.begin() + r * p.cols, p.cells.begin() + (r + 1) * p.cols);
  return p;
}

TEST(GridCompilerProgram, WritesTheGroupsInFileOrderAndRefusesBadInputNamingFileGridAndLine) {
  qlx::testing::TempFolder dir;
  std::string output;
  const auto run = [&](const std::string& args) {
    const qlx::testing::ToolRun r = qlx::testing::runTool("quillorix-gridc", args);
    output = r.output;
    return r.exitCode;
  };
  const auto filesInDir = [&] {
    return std::distance(fs::directory_iterator(dir.path()), fs::directory_iterator());
  };
  const std::string good = formatPattern(goodGrid()), mirrored = formatPattern(mirroredGood());
  const Pattern offCentre = withBlock(goodGrid(), 4, 0);
  const Pattern twoOff = withBlock(offCentre, 4, 8);
  const std::string a = dir.write("a.txt", good);
  const std::string b = dir.write("b.txt", mirrored + "\n\n" + formatPattern(twoOff));
  const std::string out = dir.file("GRIDFILE.GFDB");
  ASSERT_EQ(run("--out " + out + " " + a + " " + b), 0) << output;
  std::string error;
  EXPECT_EQ(
      decodeGridFile(readWholeFile(out, &error).value_or(std::vector<std::uint8_t>{}), &error),
      (GridGroups{{goodGrid()}, {mirroredGood(), twoOff}}))
      << error;
  EXPECT_EQ(filesInDir(), 3) << "a temporary file was left behind";

  // Every refusal names its file and line, exits with 1 and writes nothing.
  const std::string broken =
      dir.write("broken.txt", "; first\n" + mirrored + "\n; second\n" + formatPattern(offCentre));
  const std::string unparsable = dir.write("unparsable.txt", good + "\n.........\n....x....\n");
  const std::string repeats = dir.write("repeats.txt", mirrored + "\n" + good);
  const std::string empty = dir.write("empty.txt", "; nothing yet\n");
  const std::vector<std::pair<std::string, std::vector<std::string>>> cases = {
      {a + " " + broken, {broken + ":13: grid 2: ", "upside down"}},
      {unparsable, {unparsable + ":12: unexpected 'x' in column 5"}},
      {a + " " + repeats + " " + empty,
       {repeats + ":11: grid 2: repeats grid 1 of " + a + " (line 1)", empty + ": holds no grid"}},
      {dir.file("absent.txt"), {"absent.txt: cannot open"}},
  };
  const std::string refused = dir.file("REFUSED.GFDB");
  for (const auto& [inputs, said] : cases) {
    EXPECT_EQ(run("--out " + refused + " " + inputs), 1) << inputs;
    for (const std::string& part : said) EXPECT_THAT(output, HasSubstr(part));
  }
  EXPECT_EQ(run("--out " + refused), 2);
  EXPECT_EQ(run("--bogus " + a), 2);
  EXPECT_EQ(filesInDir(), 7) << "a refusal wrote a file";
}

// --- the shipped pattern files ---

TEST(ShippedGrids, BothGroupsCompileWithEnoughGridsOfTheRightSizes) {
  const std::string dir = std::string(QLX_SOURCE_DIR) + "/data/grids/";
  const gridc::CompileResult result =
      gridc::compileGridSources({dir + "group1.txt", dir + "group2.txt"});
  for (const std::string& problem : result.problems) ADD_FAILURE() << problem;
  ASSERT_EQ(result.groups.size(), 2u);

  // Square grids of 11 or 12 in group 1, of 13 or 15 in group 2. A mirror image or a turn of
  // another grid plays the same: it would be a repeat in disguise.
  const std::vector<std::set<int>> sides = {{11, 12}, {13, 15}};
  std::map<int, int> bySide;
  std::map<std::string, std::string> shapes;
  for (std::size_t g = 0; g < 2; ++g)
    for (std::size_t n = 0; n < result.groups[g].size(); ++n) {
      const Pattern& p = result.groups[g][n];
      const std::string name = "group " + std::to_string(g + 1) + " grid " + std::to_string(n + 1);
      EXPECT_TRUE(p.rows == p.cols && sides[g].count(p.rows)) << name;
      ++bySide[p.rows];
      const auto [it, fresh] = shapes.try_emplace(gridgen::shapeKey(p), name);
      EXPECT_TRUE(fresh) << name << " is " << it->second << " mirrored or turned";
    }
  EXPECT_GE(result.groups[0].size(), 30u);
  EXPECT_GE(result.groups[1].size(), 120u);
  EXPECT_GE(bySide[13], 40);
  EXPECT_GE(bySide[15], 40);
}

}  // namespace
}  // namespace qlx::gridkit
