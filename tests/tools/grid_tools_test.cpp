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
#include <string>
#include <string_view>
#include <tuple>
#include <vector>

namespace qlx::gridkit {
namespace {

namespace fs = std::filesystem;
using qlx::testing::runTool;
using qlx::testing::ToolRun;
using ::testing::AllOf;
using ::testing::AllOfArray;
using ::testing::Contains;
using ::testing::Each;
using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::IsEmpty;
using ::testing::Not;
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

// The grids parsed from text as the text format prints them, each followed by "@line", then
// "!line" for each error.
std::string shapes(std::string_view text) {
  const ParseResult r = parsePatterns(text, "g.txt");
  std::string out;
  for (const Pattern& p : r.patterns) out += formatPattern(p) + "@" + std::to_string(p.line) + "\n";
  for (const ParseError& e : r.errors) out += "!" + std::to_string(e.line) + "\n";
  return out;
}

TEST(GridPatternParse, GridsSplitAtBlankLinesAndBadRowsAreReportedWithTheirLineDroppingTheirGrid) {
  // Comments, CR LF and trailing space are skipped.
  EXPECT_EQ(shapes("; two grids\n#.#\n...\n; a comment inside a grid does not end it\n#.#\n\n\n"
                   "; second\n....\n##..\n"),
            "#.#\n...\n#.#\n@2\n....\n##..\n@9\n");
  EXPECT_EQ(shapes("  \r\n.#.  \r\n...\t\r\n   \r\n#\r\n."), ".#.\n...\n@2\n#\n.\n@5\n");
  for (const char* none : {"", "; nothing\n\n;\n"}) EXPECT_EQ(shapes(none), "");
  EXPECT_EQ(parsePatterns(formatPattern(goodGrid()), "again").patterns.at(0), goodGrid());
  // The grids around a ragged one still parse, so one run reports every problem. A leading
  // space (line 10) is a bad character, not indentation.
  EXPECT_EQ(shapes("...\n...\n\n....\n..\n....\n\n#.#\n"), "...\n...\n@1\n#.#\n@8\n!5\n");
  EXPECT_EQ(shapes("...\n.X.\n...\n\n.o.\n\n..\xff\n\n...\n ..\n"), "!2\n!5\n!7\n!10\n");
  const ParseResult bad = parsePatterns("....\n..\n\n.X.\n\n..\xff\n", "group9.txt");
  EXPECT_THAT(bad.errors.at(0).text(),
              AllOf(StartsWith("group9.txt:2: "), HasSubstr("2 cells"), HasSubstr("line 1")));
  EXPECT_THAT(bad.errors.at(1).message, HasSubstr("'X' in column 2"));
  EXPECT_THAT(bad.errors.at(2).message, HasSubstr("0xff"));
  // 255 is the most a record's row or column byte holds; the 256-cell rule is the checker's.
  const std::string wide(255, '.');
  std::string tall;
  for (int i = 0; i < 256; ++i) tall += ".\n";
  EXPECT_EQ(shapes(wide + "\n\n" + wide + ".\n\n" + tall), wide + "\n@1\n!3\n!260\n");
}

// A pattern of the given size whose first `blocks` cells are blocks.
Pattern withBlocks(int rows, int cols, int blocks = 0) {
  Pattern p;
  p.rows = rows, p.cols = cols;
  p.cells.assign(static_cast<std::size_t>(rows * cols), 1);
  std::fill_n(p.cells.begin(), blocks, 0);
  return p;
}

// The good grid keeps every rule; each rule broken on its own is reported with its place, and its
// boundary cases pass.
TEST(GridRules, EachBrokenRuleIsNamedWithItsPlace) {
  EXPECT_THAT(checkGridRules(goodGrid()), IsEmpty());
  struct Case {
    Pattern pattern;
    std::vector<std::string> said = {};    // all found in a single reported problem
    std::vector<std::string> absent = {};  // found in no reported problem
    bool only = false;                     // the only problem reported
  };
  Pattern inconsistent = withBlocks(3, 3);  // 3 x 3 with 8 cells
  inconsistent.cells.pop_back();
  const Case cases[] = {
      // Blocking row 5, column 1 alone keeps every other rule.
      {withBlock(goodGrid(), 4, 0), {"upside down", "row 5, column 1", "column 9"}, {}, true},
      {rowsToPattern({"#...#", ".....", "....."}), {"upside down"}},  // mirror symmetry only
      {rowsToPattern({"...#...", "...#...", "...#...", "#######", "...#...", "...#...", "...#..."}),
       {"not all connected", "row 1, column 5"},
       {"upside down", "exactly 2"}},
      {rowsToPattern({"#...#", "##.##", "#..##"}), {"exactly 2", "across in row 3, columns 2-3"}},
      {rowsToPattern({"#.#", "#.#", "#.#", "##.", "##."}),
       {"exactly 2", "down in column 3, rows 4-5"}},
      {rowsToPattern({"..#..", "#####", "..#.."}), {"4 cases", "row 1, columns 1-2"}},
      {withBlocks(1, 13), {}, {"longer than"}},
      {withBlocks(1, 14), {"longer than 13", "14 cells across in row 1, columns 1-14"}},
      {withBlocks(14, 1), {"longer than 13", "down in column 1, rows 1-14"}},
      // Row 2, column 1 lies in an across run of 1 and a down run of 2.
      {rowsToPattern({"....", ".###", "####"}), {"no word of 3", "row 2, column 1"}},
      {withBlocks(5, 5, 7), {}, {"blocks are"}},  // 28%
      {withBlocks(5, 5, 6), {"blocks are"}},      // 24%
      {withBlocks(5, 10, 19), {}, {"blocks are"}},
      {withBlocks(5, 10, 20), {"blocks are", "40.0%", "20 of 50"}},
      {withBlocks(3, 3), {"both an across and a down word", "100.0%"}},
      // Combs: long across words, lone letters down, so nothing is checked.
      {rowsToPattern({".....", "#####", ".....", "#####", "....."}),
       {"both an across", "0.0% of the white cells (0 of 15)"}},
      {withBlocks(16, 16), {"16 x 16 = 256 cells"}},
      {withBlocks(15, 17), {}, {"fewer than 256"}},
      {withBlocks(3, 3, 9), {"no white cell"}, {}, true},
      {Pattern{}, {"no cells"}, {}, true},
      {inconsistent, {"no cells"}, {}, true},
  };
  for (const Case& c : cases) {
    const bool whole = c.pattern.cells.size() == std::size_t(c.pattern.rows * c.pattern.cols);
    SCOPED_TRACE(whole ? formatPattern(c.pattern) : "a pattern with too few cells");
    const std::vector<std::string> problems = checkGridRules(c.pattern);
    std::vector<::testing::Matcher<std::string>> said;
    for (const std::string& part : c.said) said.push_back(HasSubstr(part));
    EXPECT_TRUE(!c.only || problems.size() == 1u) << problems.size() << " problems";
    for (const std::string& part : c.absent) EXPECT_THAT(problems, Each(Not(HasSubstr(part))));
    if (said.empty()) continue;
    EXPECT_THAT(problems, Contains(AllOfArray(said)));
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
  for (const auto& [letters, said] : {std::pair{"Cato-iban", "row 1, column 1 holds byte 67"},
                                      {"cato?iban", "block at row 2, column 2"},
                                      {"cato-iba", "8 cells"}})
    EXPECT_THAT(fillProblems(ring, letters, words), ElementsAre(HasSubstr(said)));
  // The same word twice: "tic" across and down.
  EXPECT_THAT(fillProblems(rowsToPattern({"...", ".##", ".##"}), "tici--c--", words),
              ElementsAre(HasSubstr("\"tic\" down at row 1, column 1 is used twice")));
}

TEST(GridGenerator, ShapeKeysMatchMirrorsAndTurnsOnlyAndGeneratedGridsAreDistinctAndGood) {
  const std::string key = gridgen::shapeKey(rowsToPattern({"##.", "...", "..."}));
  // Mirrored, upside down and turned a quarter match; another shape does not.
  for (const auto& rows : {std::initializer_list<const char*>{".##", "...", "..."},
                           {"...", "...", "##."},
                           {"#..", "#..", "..."}})
    EXPECT_EQ(gridgen::shapeKey(rowsToPattern(rows)), key) << *rows.begin();
  EXPECT_NE(gridgen::shapeKey(rowsToPattern({"#.#", "...", "..."})), key);
  gridgen::Options options;  // 15 x 15
  options.count = 6;
  const std::vector<Pattern> grids = gridgen::generate(options, {});
  ASSERT_EQ(grids.size(), 6u);
  std::set<std::string> keys;
  for (const Pattern& p : grids) {
    EXPECT_THAT(checkGridRules(p), IsEmpty()) << formatPattern(p);
    keys.insert(gridgen::shapeKey(p));
  }
  EXPECT_EQ(keys.size(), grids.size());
}

std::vector<std::uint8_t> encode(const GridGroups& groups) {
  std::vector<std::uint8_t> bytes;
  const Status st = encodeGridFile(groups, &bytes);
  EXPECT_TRUE(st.ok()) << st.message();
  return bytes;
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
  EXPECT_EQ(encode(groups), expected);
  GridGroups back;
  EXPECT_TRUE(decodeGridFile(expected, &back).ok());
  EXPECT_EQ(back, groups);
  // More columns than a record's byte holds.
  std::vector<std::uint8_t> wide;
  EXPECT_EQ(encodeGridFile({{withBlocks(1, 256)}}, &wide).code(), StatusCode::kRefused);
  // Offsets past one byte are little-endian: four 83-byte records after a 24-byte header put
  // the fourth at 24 + 3 * 83 = 0x111.
  const auto bytes = encode({std::vector<Pattern>(4, goodGrid())});
  ASSERT_EQ(bytes.size(), 24u + 4 * 83);
  EXPECT_EQ(std::vector<std::uint8_t>(bytes.begin() + 20, bytes.begin() + 24),
            (std::vector<std::uint8_t>{0x11, 0x01, 0, 0}));
  EXPECT_TRUE(bytes[0x111] == 9 && bytes[0x112] == 9);
}

TEST(GridFileDecode, RejectsDamagedFiles) {
  const auto good = encode({{rowsToPattern({"..."})}});
  GridGroups groups;
  for (std::size_t cut = 0; cut < good.size(); ++cut) {
    const std::vector<std::uint8_t> shortened(good.begin(), good.begin() + static_cast<long>(cut));
    EXPECT_EQ(decodeGridFile(shortened, &groups).code(), StatusCode::kDamaged) << "cut at " << cut;
  }
  // An offset past the end, a grid count past the file, a negative group count.
  for (const auto& [at, value, said] :
       {std::tuple{8, 200, "outside the file"}, {7, 0x7f, ""}, {3, 0x80, ""}}) {
    auto bad = good;
    bad[static_cast<std::size_t>(at)] = static_cast<std::uint8_t>(value);
    const Status st = decodeGridFile(bad, &groups);
    EXPECT_EQ(st.code(), StatusCode::kDamaged) << at;
    EXPECT_THAT(st.message(), HasSubstr(said));
  }
}

// --- the program, run from the program folder ---

TEST(GridCompilerProgram, WritesTheGroupsInFileOrderAndRefusesBadInputNamingFileGridAndLine) {
  qlx::testing::TempFolder dir;
  const std::string tool = "quillorix-gridc";
  const auto filesInDir = [&] {
    return std::distance(fs::directory_iterator(dir.path()), fs::directory_iterator());
  };
  Pattern mirrored = goodGrid();
  for (auto row = mirrored.cells.begin(); row != mirrored.cells.end(); row += 9)
    std::reverse(row, row + 9);
  const Pattern offCentre = withBlock(goodGrid(), 4, 0), twoOff = withBlock(offCentre, 4, 8);
  const std::string good = formatPattern(goodGrid()), flipped = formatPattern(mirrored);
  const std::string a = dir.write("a.txt", good), out = dir.file("GRIDFILE.GFDB");
  const std::string b = dir.write("b.txt", flipped + "\n\n" + formatPattern(twoOff));
  const ToolRun made = runTool(tool, "--out " + out + " " + a + " " + b);
  ASSERT_EQ(made.exitCode, 0) << made.output;
  std::vector<std::uint8_t> bytes;
  GridGroups groups;
  ASSERT_TRUE(readWholeFile(out, &bytes).ok() && decodeGridFile(bytes, &groups).ok());
  EXPECT_EQ(groups, (GridGroups{{goodGrid()}, {mirrored, twoOff}}));
  EXPECT_EQ(filesInDir(), 3) << "a temporary file was left behind";

  // Every refusal names its file and line, exits with 1 and writes nothing.
  const std::string broken =
      dir.write("broken.txt", "; first\n" + flipped + "\n; second\n" + formatPattern(offCentre));
  const std::string unparsable = dir.write("unparsable.txt", good + "\n.........\n....x....\n");
  const std::string repeats = dir.write("repeats.txt", flipped + "\n" + good);
  const std::string empty = dir.write("empty.txt", "; nothing yet\n");
  const std::string refused = "--out " + dir.file("REFUSED.GFDB") + " ";
  for (const auto& [inputs, said] : std::vector<std::pair<std::string, std::vector<std::string>>>{
           {a + " " + broken, {broken + ":13: grid 2: ", "upside down"}},
           {unparsable, {unparsable + ":12: unexpected 'x' in column 5"}},
           {a + " " + repeats + " " + empty,
            {repeats + ":11: grid 2: repeats grid 1 of " + a + " (line 1)",
             empty + ": holds no grid"}},
           {dir.file("absent.txt"), {"absent.txt: cannot open"}},
       }) {
    const ToolRun run = runTool(tool, refused + inputs);
    EXPECT_EQ(run.exitCode, 1) << inputs;
    for (const std::string& part : said) EXPECT_THAT(run.output, HasSubstr(part));
  }
  EXPECT_EQ(runTool(tool, refused).exitCode, 2);
  EXPECT_EQ(runTool(tool, "--bogus " + a).exitCode, 2);
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
  EXPECT_TRUE(result.groups[0].size() >= 30 && result.groups[1].size() >= 120 && bySide[13] >= 40 &&
              bySide[15] >= 40)
      << result.groups[0].size() << " and " << result.groups[1].size() << " grids";
}

}  // namespace
}  // namespace qlx::gridkit
