// The puzzle tool as a user runs it: puzzles made through the game's code path read back from its
// JSON as coded fills, seeds repeat, and bad grids or options end with a message.
#include <gtest/gtest.h>

#include <algorithm>
#include <regex>
#include <set>
#include <sstream>
#include <string>
#include <tuple>
#include <vector>

#include "../tools/run_tool.h"
#include "temp_folder.h"

namespace {

qlx::testing::ToolRun run(const std::string& args) {
  return qlx::testing::runTool("quillorix-puzzle", args);
}

// A field of a one-line JSON object: a number, a string without its quotes or an array's items.
std::string field(const std::string& json, const std::string& name) {
  std::smatch m;
  const std::regex value("\"" + name + "\":(?:\\[([^\\]]*)|\"([^\"]*)|([^,}]*))");
  EXPECT_TRUE(std::regex_search(json, m, value)) << name;
  return m.str(1) + m.str(2) + m.str(3);
}

std::vector<int> numbers(const std::string& json, const std::string& name) {
  std::istringstream in(field(json, name));
  std::vector<int> out;
  for (int v; in >> v; in.ignore()) out.push_back(v);
  return out;
}

// The output's lines without the fill times, which differ from run to run.
std::vector<std::string> lines(const std::string& out) {
  std::istringstream in(std::regex_replace(out, std::regex("\"fillMicros\":[0-9]+"), ""));
  std::vector<std::string> result;
  for (std::string line; std::getline(in, line);) result.push_back(line);
  return result;
}

// The JSON holds a coded fill: letters exactly where the shape has white cells, as many numbers
// as different letters, three of them given, and one solution. The coding itself is the puzzle
// library's to test.
void expectCodedFill(const std::string& json) {
  std::string letters = field(json, "letters"), shapeOfLetters;
  for (char c : letters) shapeOfLetters += c == '-' ? '0' : '1';
  EXPECT_EQ(shapeOfLetters, field(json, "shape"));
  std::set<char> different(letters.begin(), letters.end());
  different.erase('-');
  EXPECT_EQ(numbers(json, "letterCount").at(0), static_cast<int>(different.size())) << json;
  const std::vector<int> given = numbers(json, "givenNums");
  EXPECT_EQ(std::count(given.begin(), given.end(), 1), 3) << json;
  EXPECT_EQ(field(json, "unique") + field(json, "solutions"), "true1") << json;
  EXPECT_EQ(field(json, "pangram"), different.size() == 26 ? "true" : "false") << json;
}

TEST(PuzzleTool, MakesCodedFillsOfShippedOrUserGridsAndEndsBadGridsOrOptionsWithAMessage) {
  const auto first = run("--json --seed 5 --count 4");
  ASSERT_EQ(first.exitCode, 0) << first.output;
  ASSERT_EQ(lines(first.output).size(), 4u);
  for (const std::string& json : lines(first.output)) {
    expectCodedFill(json);
    EXPECT_EQ(numbers(json, "group").at(0), 2);
  }
  EXPECT_EQ(lines(run("--json --seed 5 --count 4").output), lines(first.output));
  EXPECT_NE(lines(run("--json --seed 6 --count 4").output), lines(first.output));
  const auto picked = run("--json --seed 1 --group 1 --number 3");
  ASSERT_EQ(picked.exitCode, 0) << picked.output;
  EXPECT_EQ(numbers(picked.output, "group").at(0), 1);
  EXPECT_EQ(numbers(picked.output, "number").at(0), 3);
  expectCodedFill(picked.output);
  const auto printed = run("--seed 2");
  ASSERT_EQ(printed.exitCode, 0) << printed.output;
  for (const char* part : {"of group 2", "Given:", "Code:"})
    EXPECT_NE(printed.output.find(part), std::string::npos) << part;

  // A user's grid, and refusals.
  qlx::testing::TempFolder dir;
  const std::string good = dir.write(
      "good.txt",
      "; a small grid\n.....#.....\n.#.#.#.#.#.\n...........\n.#.#.#.#.#.\n.....#.....\n");
  const auto filled = run("--json --seed 3 --count 2 --grid " + good);
  ASSERT_EQ(filled.exitCode, 0) << filled.output;
  ASSERT_EQ(lines(filled.output).size(), 2u);
  for (const std::string& json : lines(filled.output)) {
    expectCodedFill(json);
    EXPECT_EQ(field(json, "shape").substr(0, 11), "11111011111");
  }
  int files = 0;
  const auto grid = [&](const std::string& text) {
    return "--grid " + dir.write("bad" + std::to_string(++files) + ".txt", text);
  };
  for (const auto& [args, exitCode, message] :
       std::vector<std::tuple<std::string, int, std::string>>{
           {grid("................\n"), 1, "could not fill"},  // no 16-letter words
           {grid("...\n..x\n"), 1, "bad2.txt:2: unexpected 'x'"},
           {grid("###\n###\n"), 1, "no white cells"},
           {grid(std::string(128, '.') + "\n" + std::string(128, '.')), 1, "1 to 255 cells"},
           {grid(""), 1, "exactly one grid pattern"},
           {"--grid " + dir.file("none.txt"), 1, "none.txt: cannot open"},
           {"--group 9", 1, "no grid group 9"},
           {"--group 2 --number 100000", 1, "no grid 100000 of group 2"},
           {"--count 0", 2, "--count needs a number"},
           {"--frobnicate 1", 2, ""},
       }) {
    const auto refused = run(args);
    EXPECT_EQ(refused.exitCode, exitCode) << args;
    EXPECT_TRUE(refused.output.find("quillorix-puzzle: ") != std::string::npos &&
                refused.output.find(message) != std::string::npos)
        << refused.output;
  }
}

// The printed pages rendered as a printer would (rsvg-convert, 4 pixels a millimetre): every block
// black, every white cell numbered in its corner, the letters in the given cells alone on the
// puzzle page and in every cell on the solution page; A4 and Letter at their sizes.
TEST(PuzzleTool, PrintedPagesShowTheGridItsNumbersAndItsLetters) {
  if (std::system("command -v rsvg-convert >/dev/null 2>&1") != 0)
    GTEST_SKIP() << "no rsvg-convert";
  qlx::testing::TempFolder dir;
  const auto made =
      run("--seed 4 --json --svg " + dir.file("p.svg") + " --svg-solution " + dir.file("s.svg"));
  ASSERT_EQ(made.exitCode, 0) << made.output;
  struct Page {
    int w = 0, h = 0;
    std::string px;
    bool ink(double x0, double y0, double x1, double y1) const {  // millimetres
      for (int y = int(y0 * 4); y < int(y1 * 4); ++y)
        for (int x = int(x0 * 4); x < int(x1 * 4); ++x)
          if (uint8_t(px[3 * (size_t(y) * w + x)]) < 100) return true;
      return false;
    }
  };
  const auto render = [&](const std::string& svg) {
    FILE* out =
        popen(("rsvg-convert -d 101.6 -p 101.6 '" + svg + "' | convert - ppm:-").c_str(), "r");
    std::string ppm;
    char buffer[65536];
    for (size_t n; out && (n = fread(buffer, 1, sizeof buffer, out)) > 0;) ppm.append(buffer, n);
    if (out) pclose(out);
    Page page;
    int header = 0;
    std::sscanf(ppm.c_str(), "P6 %d %d 255%n", &page.w, &page.h, &header);
    page.px = ppm.substr(size_t(header) + 1);
    return page;
  };
  const Page puzzle = render(dir.file("p.svg")), solved = render(dir.file("s.svg"));
  EXPECT_EQ(std::pair(puzzle.w, puzzle.h), std::pair(840, 1188)) << "A4";
  const std::string shape = field(made.output, "shape");
  const std::vector<int> toNum = numbers(made.output, "letterToNum"),
                         given = numbers(made.output, "givenNums");
  const std::string letters = field(made.output, "letters");
  const int rows = std::stoi(field(made.output, "rows")),
            cols = std::stoi(field(made.output, "cols"));
  const double cell = std::min(180.0 / cols, 181.0 / rows), left = 15 + (180 - cell * cols) / 2;
  for (int r = 0; r < rows; ++r)
    for (int c = 0; c < cols; ++c) {
      const double x = left + c * cell, y = 29 + r * cell;
      const size_t i = size_t(r * cols + c);
      SCOPED_TRACE("row " + std::to_string(r) + ", column " + std::to_string(c));
      if (shape[i] != '1') {
        EXPECT_TRUE(puzzle.ink(x + cell / 2, y + cell / 2, x + cell / 2 + 0.5, y + cell / 2 + 0.5));
        continue;
      }
      const bool isGiven = given[size_t(toNum[size_t(letters[i] - 'a')] - 1)] == 1;
      const auto letterInk = [&](const Page& p) {
        return p.ink(x + cell * 0.3, y + cell * 0.45, x + cell * 0.7, y + cell * 0.8);
      };
      EXPECT_TRUE(puzzle.ink(x + cell * 0.05, y + cell * 0.08, x + cell * 0.5, y + cell * 0.3));
      EXPECT_EQ(letterInk(puzzle), isGiven);
      EXPECT_TRUE(letterInk(solved));
    }
  ASSERT_EQ(run("--seed 4 --paper letter --svg " + dir.file("l.svg")).exitCode, 0);
  const Page letter = render(dir.file("l.svg"));
  EXPECT_EQ(std::pair(letter.w, letter.h), std::pair(864, 1118)) << "Letter";
  EXPECT_EQ(run("--paper a3").exitCode, 2);
}

}  // namespace
