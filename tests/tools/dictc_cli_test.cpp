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

std::string q(const std::string& p) { return "'" + p + "'"; }

TEST(DictcCommandLine, RejectsMissingUnknownRepeatedOrMalformedOptions) {
  const auto parse = [](std::vector<std::string> args) {
    Options options;
    const Status st = parseCommandLine(args, &options);
    return st.ok() ? std::to_string(options.maxLevel) : st.message();
  };
  const std::vector<std::string> all = {"--scowl",     "/s", "--max-level", "50",
                                        "--blocklist", "b",  "--out",       "o"};
  EXPECT_EQ(parse(all), "50");
  EXPECT_EQ(parse({all.begin(), all.end() - 2}), "missing option(s): --out");
  EXPECT_EQ(parse({all.begin(), all.end() - 1}), "--out needs a value");
  EXPECT_EQ(parse({"--scowl", "/s", "--scowl", "/t"}), "--scowl given twice");
  EXPECT_EQ(parse({"--verbose", "1"}), "unknown argument '--verbose'");
  std::vector<std::string> spelt = all;
  for (const auto& [list, expected] :
       {std::pair{"english,british", "50"},
        {"british,british", "--spellings names british twice"},
        {"english,", "--spellings takes english, british and american, got ''"}}) {
    spelt.resize(8), spelt.insert(spelt.end(), {"--spellings", list});
    EXPECT_EQ(parse(spelt), expected) << list;
  }
  for (const char* bad : {"", "fifty", "50x", "5 0", "99999999999"}) {
    std::vector<std::string> args = all;
    args[3] = bad;
    EXPECT_NE(parse(args).find("needs a"), std::string::npos) << "level '" << bad << "'";
  }
}

TEST(DictcProgram, WritesTheDictionaryWithOneSummaryLineOrFailsWithoutWriting) {
  qlx::testing::TempFolder dir;
  const std::string scowl = dir.file("scowl"), out = dir.file("XWORD.DICT");
  std::filesystem::create_directories(scowl);
  // english-words.LEVEL, one word a line
  for (std::string list :
       {"10 the water damn ", "20 river Water ", "35 damned river's ", "40 ", "50 estuary "}) {
    std::replace(list.begin(), list.end(), ' ', '\n');
    dir.write("scowl/english-words." + list.substr(0, 2), list.substr(3));
  }
  const std::string blocklist = dir.write("block.txt", "# test\ndamn\n");
  const auto dictc = [&](const std::string& scowlDir, const std::string& block) {
    return qlx::testing::runTool(
        "quillorix-dictc",
        "--scowl " + q(scowlDir) + " --max-level 50 --blocklist " + q(block) + " --out " + q(out));
  };
  // No scowl folder, no blocklist: the message names the missing one.
  for (const auto& [scowlDir, block] :
       {std::pair{dir.file("nowhere"), blocklist}, {scowl, dir.file("none.txt")}}) {
    const auto run = dictc(scowlDir, block);
    EXPECT_NE(run.exitCode, 0) << run.output;
    EXPECT_NE(run.output.find(scowlDir == scowl ? block : scowlDir), std::string::npos)
        << run.output;
    EXPECT_FALSE(std::filesystem::exists(out));
  }

  const auto run = dictc(scowl, blocklist);
  ASSERT_EQ(run.exitCode, 0) << run.output;
  EXPECT_EQ(std::count(run.output.begin(), run.output.end(), '\n'), 1) << run.output;
  EXPECT_NE(run.output.find("kept 5 words"), std::string::npos) << run.output;
  EXPECT_NE(run.output.find("blocked 1 words"), std::string::npos) << run.output;
  const std::string text = readText(out);
  EXPECT_EQ(text.substr(text.find('\n') + 1),
            "damned 35\nestuary 50\nriver 20\nthe 10\nwater 10\n");

  // A list missing in the middle: the dictionary from the earlier run stays as it was.
  std::filesystem::remove(scowl + "/english-words.40");
  const auto failed = dictc(scowl, blocklist);
  EXPECT_NE(failed.exitCode, 0);
  EXPECT_NE(failed.output.find(scowl + "/english-words.40"), std::string::npos) << failed.output;
  EXPECT_EQ(readText(out), text);
  EXPECT_FALSE(std::filesystem::exists(out + ".tmp"));
  EXPECT_EQ(qlx::testing::runTool("quillorix-dictc", "--scowl " + q(scowl)).exitCode, 2);
}

// The blocklist that ships: every entry must be a word that can match, and the
// dictionary built from it (when the build has made one) must contain none of them.
TEST(DictcShippedData, BlocklistEntriesAreWordsAndNoneReachTheDictionary) {
  Blocklist blocklist;
  ASSERT_TRUE(readBlocklist(QLX_SOURCE_DIR "/data/dict/blocklist.txt", &blocklist).ok());
  EXPECT_GT(blocklist.size(), 200U);
  for (const std::string& word : blocklist)
    EXPECT_TRUE(isPlainWord(word)) << "blocklist entry '" << word << "' can never match a word";

  const std::filesystem::path dict = QLX_BIN_DIR "/XWORD.DICT";
  if (!std::filesystem::exists(dict)) GTEST_SKIP() << dict << " has not been built";
  std::vector<std::string> lines;
  ASSERT_TRUE(readLines(dict, &lines).ok());
  ASSERT_GT(lines.size(), 1000U);
  for (std::size_t i = 1; i < lines.size(); ++i)  // each "word level"
    EXPECT_FALSE(blocklist.contains(lines[i].substr(0, lines[i].find(' ')))) << lines[i];
}

}  // namespace
}  // namespace qlx::dictc
