// Tests of quillorix-dictc as the build runs it: option parsing, exit codes, no output
// file on failure, and the shipped blocklist against the dictionary built from it.
#include "command_line.h"
#include "run_tool.h"
#include "temp_folder.h"
#include "word_list.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

namespace qlx::dictc {
namespace {

using qlx::testing::readText;
using qlx::testing::TempFolder;
using qlx::testing::ToolRun;

ToolRun runDictc(const std::string& args) { return qlx::testing::runTool("quillorix-dictc", args); }

std::string q(const std::string& p) { return "'" + p + "'"; }

void writeScowl(const TempFolder& dir) {
  std::filesystem::create_directories(dir.file("scowl"));
  dir.write("scowl/english-words.10", "the\nwater\ndamn\n");
  dir.write("scowl/english-words.20", "river\nWater\n");
  dir.write("scowl/english-words.35", "damned\nriver's\n");
  dir.write("scowl/english-words.40", "");
  dir.write("scowl/english-words.50", "estuary\n");
}

TEST(DictcCommandLine, RejectsMissingUnknownRepeatedOrMalformedOptions) {
  const auto parse = [](std::vector<std::string> args) {
    Options options;
    const Status st = parseCommandLine(args, &options);
    return st.ok() ? std::to_string(options.maxLevel) : st.message();
  };
  EXPECT_EQ(parse({"--scowl", "/s", "--max-level", "50", "--blocklist", "b", "--out", "o"}), "50");
  EXPECT_EQ(parse({"--scowl", "/s", "--max-level", "50", "--blocklist", "b"}),
            "missing option(s): --out");
  EXPECT_EQ(parse({"--scowl", "/s", "--max-level", "50", "--blocklist", "b", "--out"}),
            "--out needs a value");
  EXPECT_EQ(parse({"--scowl", "/s", "--scowl", "/t"}), "--scowl given twice");
  EXPECT_EQ(parse({"--verbose", "1"}), "unknown argument '--verbose'");
  for (const char* bad : {"", "fifty", "50x", "5 0", "99999999999"}) {
    EXPECT_NE(parse({"--scowl", "/s", "--max-level", bad, "--blocklist", "b", "--out", "o"})
                  .find("needs a"),
              std::string::npos)
        << "level '" << bad << "'";
  }
}

TEST(DictcProgram, WritesTheDictionaryAndPrintsOneSummaryLine) {
  TempFolder dir;
  writeScowl(dir);
  const auto blocklist = dir.write("block.txt", "# test\ndamn\n");
  const auto out = dir.file("XWORD.DICT");
  const ToolRun run = runDictc("--scowl " + q(dir.file("scowl")) + " --max-level 50 --blocklist " +
                               q(blocklist) + " --out " + q(out));
  ASSERT_EQ(run.exitCode, 0) << run.output;
  EXPECT_EQ(std::count(run.output.begin(), run.output.end(), '\n'), 1) << run.output;
  EXPECT_NE(run.output.find("kept 5 words"), std::string::npos) << run.output;
  EXPECT_NE(run.output.find("blocked 1 words"), std::string::npos) << run.output;
  const std::string text = readText(out);
  EXPECT_EQ(text.substr(text.find('\n') + 1),
            "damned 35\nestuary 50\nriver 20\nthe 10\nwater 10\n");
}

TEST(DictcProgram, FailsWithoutWritingWhenAnInputIsMissing) {
  TempFolder dir;
  writeScowl(dir);
  const auto blocklist = dir.write("block.txt", "damn\n");
  const auto out = dir.file("XWORD.DICT");
  const auto scowl = dir.file("scowl");
  const auto args = [&](const std::string& scowlDir, const std::string& block) {
    return "--scowl " + q(scowlDir) + " --max-level 50 --blocklist " + q(block) + " --out " +
           q(out);
  };
  // No scowl folder, no blocklist: the message names the missing one.
  for (const auto& [scowlDir, block] :
       {std::pair{dir.file("nowhere"), blocklist}, {scowl, dir.file("none.txt")}}) {
    const ToolRun run = runDictc(args(scowlDir, block));
    EXPECT_NE(run.exitCode, 0) << run.output;
    EXPECT_NE(run.output.find(scowlDir == scowl ? block : scowlDir), std::string::npos)
        << run.output;
    EXPECT_FALSE(std::filesystem::exists(out));
  }

  // A list missing in the middle: a dictionary from an earlier run stays as it was.
  dir.write("XWORD.DICT", "# earlier\nold 10\n");
  std::filesystem::remove(scowl + "/english-words.40");
  const ToolRun run = runDictc(args(scowl, blocklist));
  EXPECT_NE(run.exitCode, 0);
  EXPECT_NE(run.output.find(scowl + "/english-words.40"), std::string::npos) << run.output;
  EXPECT_EQ(readText(out), "# earlier\nold 10\n");
  EXPECT_FALSE(std::filesystem::exists(dir.file("XWORD.DICT.tmp")));

  EXPECT_EQ(runDictc("--scowl " + q(scowl)).exitCode, 2);
}

// The blocklist that ships: every entry must be a word that can match, and the
// dictionary built from it (when the build has made one) must contain none of them.
TEST(DictcShippedData, BlocklistEntriesAreWordsAndNoneReachTheDictionary) {
  const std::filesystem::path blockFile = QLX_SOURCE_DIR "/data/dict/blocklist.txt";
  Blocklist blocklist;
  ASSERT_TRUE(readBlocklist(blockFile, &blocklist).ok());
  EXPECT_GT(blocklist.size(), 200U);
  for (const std::string& word : blocklist) {
    EXPECT_TRUE(isPlainWord(word)) << "blocklist entry '" << word << "' can never match a word";
  }

  const std::filesystem::path dict = QLX_BIN_DIR "/XWORD.DICT";
  if (!std::filesystem::exists(dict)) {
    GTEST_SKIP() << dict << " has not been built";
  }
  std::vector<std::string> lines;
  ASSERT_TRUE(readLines(dict, &lines).ok());
  ASSERT_GT(lines.size(), 1000U);
  for (std::size_t i = 1; i < lines.size(); ++i) {
    const std::string word = lines[i].substr(0, lines[i].find(' '));
    EXPECT_FALSE(blocklist.contains(word)) << "blocked word '" << word << "' is in " << dict;
  }
}

}  // namespace
}  // namespace qlx::dictc
