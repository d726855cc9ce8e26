// Tests of quillorix-reg: export then import gives back every kind of value byte for byte, text
// is written as text only when exact, classes of imported keys, malformed files refused whole.
#include <gtest/gtest.h>

#include "platform/registry_sqlite.h"
#include "reg_file.h"
#include "reg_transfer.h"
#include "run_tool.h"
#include "temp_folder.h"

namespace qlx::regtool {
namespace {

using namespace std::string_literals;

std::unique_ptr<SqliteRegistry> memoryStore() {
  std::unique_ptr<SqliteRegistry> store;
  std::string notice;
  EXPECT_TRUE(openSqliteRegistry(":memory:", RegistryOptions{}, &store, &notice).ok());
  return store;
}

using Bytes = std::vector<uint8_t>;
Bytes bytesOf(const std::string& s) { return Bytes(s.begin(), s.end()); }

std::string classOf(SqliteRegistry& store, const std::string& path) {
  HKEY key = nullptr;
  std::string cls = "(missing)";
  if (store.RegOpenKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, KEY_ALL_ACCESS, &key) ==
      ERROR_SUCCESS)
    store.queryKeyClass(key, &cls), store.RegCloseKey(key);
  return cls;
}

const std::string kGamePath = std::string("HKEY_CURRENT_USER\\") + kGameKey;

TEST(RegTool, TextIsExactAndAnImportExportsAgainAsTheSameText) {
  // Every kind of value the game or a player may store, including the awkward ones, and the
  // start of its line in the file: text is written as text only when it gives back the same bytes.
  Bytes all;
  for (int i = 0; i < 256; ++i) all.push_back(static_cast<uint8_t>(i));
  const std::vector<std::pair<RegValueEntry, std::string>> values = {
      {{"SOLVINGDATA", REG_BINARY, all}, "\"SOLVINGDATA\"=hex:00,01,02,"},  // wrapped
      {{"EMPTYBIN", REG_BINARY, {}}, "\"EMPTYBIN\"=hex:\n"},
      {{"1STATS1", REG_SZ, bytesOf("Ann \"Q\" C:\\dir"s + '\0')},
       "\"1STATS1\"=\"Ann \\\"Q\\\" C:\\\\dir\"\n"},
      {{"1STATS2", REG_SZ, bytesOf("NoNul")}, "\"1STATS2\"=hex(1):4e,6f,4e,75,6c\n"},
      {{"1STATS3", REG_SZ, Bytes{0}}, "\"1STATS3\"=\"\"\n"},
      {{"1STATS4", REG_SZ, {}}, "\"1STATS4\"=hex(1):\n"},
      {{"1STATS5", REG_SZ, bytesOf("in\0ner\0"s)}, "\"1STATS5\"=hex(1):69,6e,00,6e,65,72,00\n"},
      {{"1STATS6", REG_SZ, bytesOf("Zo\xEB\n\0"s)}, "\"1STATS6\"=hex(1):5a,6f,eb,0a,00\n"},
      {{"1STATS7", REG_SZ, bytesOf("two\0\0"s)}, "\"1STATS7\"=hex(1):74,77,6f,00,00\n"},
      {{"Mixed Case \"name\"", REG_DWORD, Bytes{1, 2, 3, 4}},
       "\"Mixed Case \\\"name\\\"\"=hex(4):01,02,03,04\n"},
      {{"", 0x2A, Bytes{9}}, "@=hex(2a):09\n"},
  };
  std::vector<RegValueEntry> entries;
  for (const auto& [entry, line] : values) entries.push_back(entry);
  std::string text;
  const RegFileKey save = {kGamePath + "\\SAVE", {{"ISSTORED", REG_BINARY, Bytes{1}}}};
  ASSERT_TRUE(writeRegFile({{kGamePath, entries}, save}, &text).ok());
  EXPECT_EQ(text.rfind("Windows Registry Editor Version 5.00\n\n[" + kGamePath + "]\n", 0), 0u);
  for (const auto& [entry, line] : values)
    EXPECT_NE(text.find("\n" + line), std::string::npos) << line << text;
  EXPECT_NE(text.find("\n\n[" + kGamePath + "\\SAVE]\n\"ISSTORED\"=hex:01\n"), std::string::npos);
  EXPECT_NE(text.find(",\\\n  "), std::string::npos) << "long hex values are wrapped";

  // Every kind of value goes into the store and comes out byte for byte.
  auto store = memoryStore();
  ASSERT_TRUE(importRegText(*store, text).ok()) << text;
  std::string again;
  ASSERT_TRUE(exportGameKey(*store, &again).ok());
  EXPECT_EQ(again, text);
}

TEST(RegTool, ReadsUnwrappedAndWrappedHexWindowsLineEndsAndComments) {
  const std::string text =
      "\xEF\xBB\xBFWindows Registry Editor Version 5.00\r\n\r\n; a comment\r\n"
      "[HKEY_CURRENT_USER\\Software\\Tarnwick\\Quillorix\\1.0\\SAVE]\r\n"
      "\"A\"=hex:01,02,\\\r\n   03\r\n\"B\"=hex:01,02,03\r\n\"C\"=dword:0000abcd\r\n";
  std::vector<RegFileKey> keys;
  ASSERT_TRUE(parseRegFile(text, &keys).ok());
  std::string values;  // name=type:bytes, one a line
  for (const RegValueEntry& v : keys.at(0).values)
    values += v.name + "=" + std::to_string(v.type) + ":" +
              std::string(v.data.begin(), v.data.end()) + "\n";
  EXPECT_EQ(values, "A=3:\x01\x02\x03\nB=3:\x01\x02\x03\nC=4:\xcd\xab\0\0\n"s);

  // A SAVE key imported into an empty store: the game key on the way gets its own class.
  auto store = memoryStore();
  ASSERT_TRUE(importRegText(*store, text).ok());
  EXPECT_EQ(classOf(*store, kGameKey), "USERDATA");
  EXPECT_EQ(classOf(*store, std::string(kGameKey) + "\\SAVE"), "SAVEDATA");
}

TEST(RegTool, MalformedFilesAreRefusedByLineAndChangeNothing) {
  const std::string version = "Windows Registry Editor Version 5.00\n",
                    head = version + "\n[" + kGamePath + "]\n\"GOOD\"=hex:01\n";
  std::string deep = head + "[HKEY_CURRENT_USER";
  for (int i = 0; i < 25000; ++i) deep += "\\K";
  const std::vector<std::pair<std::string, std::string>> cases{
      {"REGEDIT3\n", "line 1:"},
      {head + "\"BAD\"=hex:01,\\\n  zz\n", "line 6:"},
      {head + "\"BAD\"=hex:01,\\\n", "line 5:"},
      {head + "\"BAD\"=\"open\n", "line 5:"},
      {head + "\"BAD\"=dword:12\n", "line 5:"},
      {head + "\"BAD\"=-\n", "line 5:"},
      {head + "BAD=hex:01\n", "line 5:"},
      {head + "[HKEY_CURRENT_USER\\Software\n", "line 5:"},
      {head + "\"BAD\"=hex(zz):01\n", "line 5:"},
      {version + "\"A\"=hex:01\n", "line 2:"},
      {version + "[HKEY_LOCAL_MACHINE\\Software]\n\"A\"=hex:01\n", "HKEY_LOCAL_MACHINE"},
      {deep + "]\n", "levels deep"},
  };
  for (const auto& [text, where] : cases) {
    auto store = memoryStore();
    const Status imported = importRegText(*store, text);
    EXPECT_NE(imported.message().find(where), std::string::npos) << imported.message();
    EXPECT_EQ(classOf(*store, kGameKey), "(missing)") << "a refused file changed the store";
    EXPECT_EQ(store->openKeyCount(), 0u);
  }
}

TEST(RegToolProgram, ExportsToStandardOutputAndRefusesBadFilesAndCommands) {
  qlx::testing::TempFolder dir;
  const auto run = [&](const std::string& args) {
    return qlx::testing::runTool("quillorix-reg", "--store '" + dir.file("s.db") + "' " + args);
  };
  const std::string head = "Windows Registry Editor Version 5.00\n\n",
                    game = "[HKEY_CURRENT_USER\\Software\\Tarnwick\\Quillorix\\1.0",
                    save = game + "\\SAVE]\n\"ISSTORED\"=hex:01\n\"FOUNDWORDS\"=\"ONE,TWO,\"\n\n";
  EXPECT_EQ(run("import '" + dir.write("in.reg", head + save) + "'").exitCode, 0);
  const qlx::testing::ToolRun exported = run("export");
  EXPECT_EQ(exported.exitCode, 0);
  EXPECT_EQ(exported.output, head + game + "]\n\n" + save);
  const qlx::testing::ToolRun bad = run("import '" + dir.write("bad.reg", "nonsense\n") + "'");
  EXPECT_TRUE(bad.exitCode == 1 && bad.output.find("line 1:") != std::string::npos) << bad.output;
  EXPECT_EQ(run("frobnicate").exitCode, 2);
}

}  // namespace
}  // namespace qlx::regtool
