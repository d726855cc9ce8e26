// The puzzle tool as a user runs it: puzzles made through the game's code path obey the coding
// rules when read back from its JSON, seeds repeat, and bad grids or options end with a message.
#include <gtest/gtest.h>

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
  std::size_t from = json.find("\"" + name + "\":");
  EXPECT_NE(from, std::string::npos) << name;
  if (from == std::string::npos) return "";
  from += name.size() + 3;
  const char open = json[from];
  const std::size_t to = open == '"' || open == '[' ? json.find(open == '"' ? '"' : ']', ++from)
                                                    : json.find_first_of(",}", from);
  return json.substr(from, to - from);
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

// The JSON holds a coded puzzle: letters where the shape has white cells, numbers 1..letterCount
// for exactly the letters that occur, and three numbers given with their letters.
void expectCodingRules(const std::string& json) {
  const std::string shape = field(json, "shape"), letters = field(json, "letters");
  const auto toNum = numbers(json, "letterToNum"), toLetter = numbers(json, "numToLetter");
  const auto given = numbers(json, "givenNums"), entries = numbers(json, "entries");
  ASSERT_EQ(static_cast<int>(shape.size()),
            numbers(json, "rows").at(0) * numbers(json, "cols").at(0));
  ASSERT_EQ(toNum.size(), 26u);
  ASSERT_EQ(static_cast<int>(toLetter.size()), numbers(json, "letterCount").at(0));
  ASSERT_TRUE(given.size() == toLetter.size() && entries.size() == toLetter.size()) << json;
  std::string shapeOfLetters;
  for (char c : letters) shapeOfLetters += c == '-' ? '0' : '1';
  EXPECT_EQ(shapeOfLetters, shape);
  std::set<int> numbered;
  for (int k = 1; k <= 26; ++k) {
    const bool occurs = letters.find(static_cast<char>('a' + k - 1)) != std::string::npos;
    EXPECT_TRUE(occurs ? toLetter.at(toNum[k - 1] - 1) == k : toNum[k - 1] == 0) << "letter " << k;
    if (occurs) numbered.insert(toNum[k - 1]);
  }
  EXPECT_EQ(numbered.size(), toLetter.size());
  int givenCount = 0;
  for (std::size_t n = 0; n < toLetter.size(); ++n) {
    givenCount += given[n];
    EXPECT_EQ(entries[n], given[n] == 1 ? toLetter[n] + 64 : 0) << "number " << n + 1;
  }
  EXPECT_EQ(givenCount, 3);
}

TEST(PuzzleTool, JsonPuzzlesFollowTheCodingRulesAndSeedsRepeat) {
  const auto first = run("--json --seed 5 --count 4");
  ASSERT_EQ(first.exitCode, 0) << first.output;
  ASSERT_EQ(lines(first.output).size(), 4u);
  for (const std::string& json : lines(first.output)) {
    expectCodingRules(json);
    EXPECT_EQ(numbers(json, "group").at(0), 2);
  }
  EXPECT_EQ(lines(run("--json --seed 5 --count 4").output), lines(first.output));
  EXPECT_NE(lines(run("--json --seed 6 --count 4").output), lines(first.output));
}

TEST(PuzzleTool, GroupAndNumberPickTheGridAndTextOutputShowsTheCode) {
  const auto picked = run("--json --seed 1 --group 1 --number 3");
  ASSERT_EQ(picked.exitCode, 0) << picked.output;
  EXPECT_EQ(numbers(picked.output, "group").at(0), 1);
  EXPECT_EQ(numbers(picked.output, "number").at(0), 3);
  expectCodingRules(picked.output);
  const auto text = run("--seed 2");
  ASSERT_EQ(text.exitCode, 0) << text.output;
  for (const char* part : {"of group 2", "Given:", "Code:"})
    EXPECT_NE(text.output.find(part), std::string::npos) << part;
}

TEST(PuzzleTool, UserGridsFillAndBadGridsOrOptionsEndWithAClearMessage) {
  qlx::testing::TempFolder dir;
  const std::string good = dir.write(
      "good.txt",
      "; a small grid\n.....#.....\n.#.#.#.#.#.\n...........\n.#.#.#.#.#.\n.....#.....\n");
  const auto filled = run("--json --seed 3 --count 2 --grid " + good);
  ASSERT_EQ(filled.exitCode, 0) << filled.output;
  ASSERT_EQ(lines(filled.output).size(), 2u);
  for (const std::string& json : lines(filled.output)) {
    expectCodingRules(json);
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
           {grid("....\n...\n"), 1, "bad3.txt:2"},  // ragged rows
           {grid("###\n###\n"), 1, "no white cells"},
           {grid(std::string(16, '.') + "\n" + std::string(16 * 16, '.')), 1, ""},  // too big
           {grid(""), 1, "exactly one grid pattern"},
           {"--grid " + dir.file("none.txt"), 1, "none.txt: cannot open"},
           {"--group 9", 1, "no grid group 9"},
           {"--group 2 --number 100000", 1, "no grid 100000 of group 2"},
           {"--count 0", 2, "--count needs a number"},
           {"--group", 2, ""},
           {"--frobnicate 1", 2, ""},
       }) {
    const auto refused = run(args);
    EXPECT_EQ(refused.exitCode, exitCode) << args;
    EXPECT_TRUE(refused.output.find("quillorix-puzzle: ") != std::string::npos &&
                refused.output.find(message) != std::string::npos)
        << refused.output;
  }
}

}  // namespace
