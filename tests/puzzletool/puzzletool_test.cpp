// The puzzle tool as a user runs it: puzzles made through the game's code path obey the coding
// rules when read back from its JSON, seeds repeat, and bad grids or options end with a message.
#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "temp_folder.h"

namespace {

struct ToolRun {
  int exitCode = -1;
  std::string out;  // standard output and standard error together
};

ToolRun runTool(const std::string& args) {
  const std::string cmd = std::string(QLX_BIN_DIR) + "/quillorix-puzzle " + args + " 2>&1";
  ToolRun run;
  FILE* pipe = popen(cmd.c_str(), "r");
  if (!pipe) return run;
  std::array<char, 4096> buf{};
  std::size_t n = 0;
  while ((n = fread(buf.data(), 1, buf.size(), pipe)) > 0) run.out.append(buf.data(), n);
  const int status = pclose(pipe);
  run.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  return run;
}

// The raw value of "field" in a one-line JSON object: up to the next ',' or '}' outside brackets.
std::string rawField(const std::string& json, const std::string& field) {
  const std::string key = "\"" + field + "\":";
  const std::size_t at = json.find(key);
  EXPECT_NE(at, std::string::npos) << field;
  if (at == std::string::npos) return "";
  const std::size_t from = at + key.size();
  std::size_t to = from;
  int depth = 0;
  while (to < json.size() && !(depth == 0 && (json[to] == ',' || json[to] == '}'))) {
    depth += json[to] == '[' ? 1 : json[to] == ']' ? -1 : 0;
    ++to;
  }
  return json.substr(from, to - from);
}

std::vector<int> numbers(const std::string& json, const std::string& field) {
  const std::string raw = rawField(json, field);
  std::vector<int> out;
  std::stringstream ss(raw.size() >= 2 ? raw.substr(1, raw.size() - 2) : "");
  for (std::string item; std::getline(ss, item, ',');) out.push_back(std::stoi(item));
  return out;
}

std::string text(const std::string& json, const std::string& field) {
  const std::string raw = rawField(json, field);
  return raw.size() >= 2 ? raw.substr(1, raw.size() - 2) : "";
}

int integer(const std::string& json, const std::string& field) {
  return std::stoi(rawField(json, field));
}

// The output without the fill times, which differ from run to run.
std::string withoutFillTimes(std::string out) {
  for (std::size_t at = 0; (at = out.find("\"fillMicros\":", at)) != std::string::npos;) {
    const std::size_t end = out.find('}', at);
    out.erase(at, end - at);
  }
  return out;
}

std::vector<std::string> lines(const std::string& out) {
  std::vector<std::string> result;
  std::stringstream ss(out);
  for (std::string line; std::getline(ss, line);) result.push_back(line);
  return result;
}

void expectCodingRules(const std::string& json) {
  const int rows = integer(json, "rows"), cols = integer(json, "cols");
  const std::string shape = text(json, "shape"), letters = text(json, "letters");
  ASSERT_EQ(shape.size(), static_cast<std::size_t>(rows * cols));
  ASSERT_EQ(letters.size(), shape.size());
  const int count = integer(json, "letterCount");
  const auto toNum = numbers(json, "letterToNum"), toLetter = numbers(json, "numToLetter");
  const auto byFreq = numbers(json, "lettersByFreq"), given = numbers(json, "givenNums");
  const auto entries = numbers(json, "entries");
  ASSERT_EQ(toNum.size(), 26u);
  ASSERT_EQ(byFreq.size(), 26u);
  ASSERT_EQ(toLetter.size(), static_cast<std::size_t>(count));
  ASSERT_EQ(given.size(), static_cast<std::size_t>(count));
  ASSERT_EQ(entries.size(), static_cast<std::size_t>(count));

  std::set<char> present;
  for (std::size_t i = 0; i < shape.size(); ++i) {
    if (shape[i] == '1') {
      ASSERT_TRUE(letters[i] >= 'a' && letters[i] <= 'z') << "cell " << i;
      present.insert(letters[i]);
    } else {
      ASSERT_EQ(letters[i], '-');
    }
  }
  EXPECT_EQ(present.size(), static_cast<std::size_t>(count));
  for (int k = 1; k <= 26; ++k) {
    const bool occurs = present.count(static_cast<char>('a' + k - 1)) > 0;
    EXPECT_EQ(toNum[k - 1] != 0, occurs) << "letter " << k;
    if (occurs) {
      EXPECT_EQ(toLetter[toNum[k - 1] - 1], k);
    }
  }
  int givenCount = 0;
  for (int n = 1; n <= count; ++n) {
    if (given[n - 1] == 1) {
      ++givenCount;
      EXPECT_EQ(entries[n - 1], toLetter[n - 1] + 64);
    } else {
      EXPECT_EQ(entries[n - 1], 0);
    }
  }
  EXPECT_EQ(givenCount, 3);
}

TEST(PuzzleTool, JsonPuzzlesFollowTheCodingRulesAndSeedsRepeat) {
  const ToolRun first = runTool("--json --seed 5 --count 4");
  ASSERT_EQ(first.exitCode, 0) << first.out;
  const auto puzzles = lines(first.out);
  ASSERT_EQ(puzzles.size(), 4u);
  for (const std::string& json : puzzles) {
    expectCodingRules(json);
    EXPECT_EQ(integer(json, "group"), 2);
  }
  // The same seed makes the same puzzles (the fill time aside).
  const ToolRun again = runTool("--json --seed 5 --count 4");
  EXPECT_EQ(withoutFillTimes(again.out), withoutFillTimes(first.out));
  EXPECT_NE(withoutFillTimes(runTool("--json --seed 6 --count 4").out),
            withoutFillTimes(first.out));
}

TEST(PuzzleTool, GroupAndNumberPickTheGridAndTextOutputShowsTheCode) {
  const ToolRun run = runTool("--json --seed 1 --group 1 --number 3");
  ASSERT_EQ(run.exitCode, 0) << run.out;
  EXPECT_EQ(integer(run.out, "group"), 1);
  EXPECT_EQ(integer(run.out, "number"), 3);
  expectCodingRules(run.out);
  const ToolRun text = runTool("--seed 2");
  ASSERT_EQ(text.exitCode, 0) << text.out;
  for (const char* part : {"of group 2", "Given:", "Code:"})
    EXPECT_NE(text.out.find(part), std::string::npos) << part;
}

TEST(PuzzleTool, UserGridsFillOrEndWithAClearMessage) {
  qlx::testing::TempFolder dir;
  const std::string good =
      dir.write("good.txt",
                "; a small grid\n"
                ".....#.....\n.#.#.#.#.#.\n...........\n.#.#.#.#.#.\n.....#.....\n");
  const ToolRun filled = runTool("--json --seed 3 --count 2 --grid " + good);
  ASSERT_EQ(filled.exitCode, 0) << filled.out;
  ASSERT_EQ(lines(filled.out).size(), 2u);
  for (const std::string& json : lines(filled.out)) {
    expectCodingRules(json);
    EXPECT_EQ(text(json, "shape").substr(0, 11), "11111011111");
  }

  struct Bad {
    std::string pattern;
    std::string message;
  };
  for (const Bad& bad : std::vector<Bad>{
           {"................\n", "could not fill"},  // no 16-letter words
           {"...\n..x\n", "bad.txt:2"},               // not a pattern character
           {"....\n...\n", "bad.txt:2"},              // ragged rows
           {"###\n###\n", "no white cells"},
           {std::string(16, '.') + "\n" + std::string(16 * 16, '.'), ""},  // ragged, or too big
           {"", "exactly one grid pattern"},
       }) {
    const std::string path = dir.write("bad.txt", bad.pattern);
    const ToolRun run = runTool("--grid " + path);
    EXPECT_NE(run.exitCode, 0) << bad.pattern;
    EXPECT_NE(run.out.find("quillorix-puzzle: "), std::string::npos) << run.out;
    EXPECT_NE(run.out.find(bad.message), std::string::npos) << run.out;
  }
  const ToolRun missing = runTool("--grid " + dir.path() + "none.txt");
  EXPECT_NE(missing.exitCode, 0);
  EXPECT_NE(missing.out.find("none.txt"), std::string::npos) << missing.out;
}

TEST(PuzzleTool, BadOptionsAndMissingGridsAreRefused) {
  EXPECT_EQ(runTool("--count 0").exitCode, 2);
  EXPECT_EQ(runTool("--group").exitCode, 2);
  EXPECT_EQ(runTool("--frobnicate 1").exitCode, 2);
  const ToolRun noGroup = runTool("--group 9");
  EXPECT_EQ(noGroup.exitCode, 1);
  EXPECT_NE(noGroup.out.find("no grid group 9"), std::string::npos) << noGroup.out;
  const ToolRun noGrid = runTool("--group 2 --number 100000");
  EXPECT_EQ(noGrid.exitCode, 1);
  EXPECT_NE(noGrid.out.find("no grid 100000 of group 2"), std::string::npos) << noGrid.out;
}

}  // namespace
