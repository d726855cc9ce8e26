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

std::unique_ptr<SqliteRegistry> memoryStore() {
  std::unique_ptr<SqliteRegistry> store;
  std::string notice;
  EXPECT_TRUE(openSqliteRegistry(":memory:", RegistryOptions{}, &store, &notice).ok());
  return store;
}

using Bytes = std::vector<uint8_t>;
Bytes bytesOf(const std::string& s) { return Bytes(s.begin(), s.end()); }

// Every kind of value the game or a player may store, including the awkward ones.
const std::vector<RegValueEntry>& sampleValues() {
  static const std::vector<RegValueEntry> values = [] {
    std::vector<RegValueEntry> v;
    Bytes all;
    for (int i = 0; i < 256; ++i) all.push_back(static_cast<uint8_t>(i));
    v.push_back({"SOLVINGDATA", REG_BINARY, all});  // long enough to be wrapped
    v.push_back({"EMPTYBIN", REG_BINARY, {}});
    v.push_back({"1STATS1", REG_SZ, bytesOf(std::string("Ann \"Q\" C:\\dir") + '\0')});
    v.push_back({"1STATS2", REG_SZ, bytesOf("NoNul")});
    v.push_back({"1STATS3", REG_SZ, Bytes{0}});
    v.push_back({"1STATS4", REG_SZ, {}});
    v.push_back({"1STATS5", REG_SZ, bytesOf(std::string("in\0ner\0", 7))});
    v.push_back({"1STATS6", REG_SZ, bytesOf(std::string("Zo\xEB\n\0", 5))});
    v.push_back({"1STATS7", REG_SZ, bytesOf(std::string("two\0\0", 5))});
    v.push_back({"Mixed Case \"name\"", REG_DWORD, Bytes{1, 2, 3, 4}});
    v.push_back({"", 0x2A, Bytes{9}});
    return v;
  }();
  return values;
}

void seed(SqliteRegistry& store) {
  HKEY game = nullptr, save = nullptr;
  ASSERT_EQ(store.RegCreateKeyExA(HKEY_CURRENT_USER, kGameKey, 0, "USERDATA", 0, KEY_ALL_ACCESS,
                                  nullptr, &game, nullptr),
            ERROR_SUCCESS);
  for (const RegValueEntry& v : sampleValues())
    ASSERT_EQ(store.RegSetValueExA(game, v.name.c_str(), 0, v.type, v.data.data(),
                                   static_cast<DWORD>(v.data.size())),
              ERROR_SUCCESS);
  ASSERT_EQ(store.RegCreateKeyExA(game, "SAVE", 0, "SAVEDATA", 0, KEY_ALL_ACCESS, nullptr, &save,
                                  nullptr),
            ERROR_SUCCESS);
  const uint8_t one = 1;
  ASSERT_EQ(store.RegSetValueExA(save, "ISSTORED", 0, REG_BINARY, &one, 1), ERROR_SUCCESS);
  store.RegCloseKey(save);
  store.RegCloseKey(game);
}

std::vector<RegValueEntry> valuesOf(SqliteRegistry& store, const std::string& path) {
  HKEY key = nullptr;
  std::vector<RegValueEntry> values;
  EXPECT_EQ(store.RegOpenKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, KEY_ALL_ACCESS, &key),
            ERROR_SUCCESS)
      << path;
  EXPECT_EQ(store.listValues(key, &values), ERROR_SUCCESS);
  store.RegCloseKey(key);
  return values;
}

std::string classOf(SqliteRegistry& store, const std::string& path) {
  HKEY key = nullptr;
  std::string cls = "(missing)";
  if (store.RegOpenKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, KEY_ALL_ACCESS, &key) !=
      ERROR_SUCCESS)
    return cls;
  store.queryKeyClass(key, &cls);
  store.RegCloseKey(key);
  return cls;
}

TEST(RegTool, ExportThenImportIsLosslessForEveryKindOfValue) {
  auto source = memoryStore();
  seed(*source);
  std::string text;
  ASSERT_TRUE(exportGameKey(*source, &text).ok());

  auto target = memoryStore();
  ASSERT_TRUE(importRegText(*target, text).ok()) << text;
  const auto got = valuesOf(*target, kGameKey);
  const auto& want = sampleValues();
  ASSERT_EQ(got.size(), want.size());
  for (size_t i = 0; i < want.size(); ++i) {
    EXPECT_EQ(got[i].name, want[i].name);
    EXPECT_EQ(got[i].type, want[i].type) << want[i].name;
    EXPECT_EQ(got[i].data, want[i].data) << want[i].name;
  }
  ASSERT_EQ(valuesOf(*target, std::string(kGameKey) + "\\SAVE").size(), 1u);
  EXPECT_EQ(classOf(*target, kGameKey), "USERDATA");
  EXPECT_EQ(classOf(*target, std::string(kGameKey) + "\\save"), "SAVEDATA");

  // A second export of the copy is the same text.
  std::string again;
  ASSERT_TRUE(exportGameKey(*target, &again).ok());
  EXPECT_EQ(again, text);
}

TEST(RegTool, TextIsWrittenAsTextOnlyWhenItGivesBackTheSameBytes) {
  std::vector<RegFileKey> keys{{"HKEY_CURRENT_USER\\K", sampleValues()}};
  std::string text, error;
  ASSERT_TRUE(writeRegFile(keys, &text).ok());
  EXPECT_EQ(text.rfind("Windows Registry Editor Version 5.00\n\n[HKEY_CURRENT_USER\\K]\n", 0), 0u)
      << text;
  EXPECT_NE(text.find("\"1STATS1\"=\"Ann \\\"Q\\\" C:\\\\dir\"\n"), std::string::npos) << text;
  EXPECT_NE(text.find("\"1STATS2\"=hex(1):4e,6f,4e,75,6c\n"), std::string::npos);
  EXPECT_NE(text.find("\"1STATS3\"=\"\"\n"), std::string::npos);
  EXPECT_NE(text.find("\"1STATS4\"=hex(1):\n"), std::string::npos);
  EXPECT_NE(text.find("\"1STATS5\"=hex(1):69,6e,00,6e,65,72,00\n"), std::string::npos);
  EXPECT_NE(text.find("\"1STATS6\"=hex(1):5a,6f,eb,0a,00\n"), std::string::npos);
  EXPECT_NE(text.find("\"1STATS7\"=hex(1):74,77,6f,00,00\n"), std::string::npos);
  EXPECT_NE(text.find("\"EMPTYBIN\"=hex:\n"), std::string::npos);
  EXPECT_NE(text.find("@=hex(2a):09\n"), std::string::npos);
  EXPECT_NE(text.find(",\\\n  "), std::string::npos) << "long hex values are wrapped";
}

TEST(RegTool, ReadsUnwrappedAndWrappedHexWindowsLineEndsAndComments) {
  const std::string text =
      "\xEF\xBB\xBFWindows Registry Editor Version 5.00\r\n\r\n; a comment\r\n"
      "[HKEY_CURRENT_USER\\Software\\Tarnwick\\Quillorix\\1.0\\SAVE]\r\n"
      "\"A\"=hex:01,02,\\\r\n   03\r\n\"B\"=hex:01,02,03\r\n\"C\"=dword:0000abcd\r\n";
  std::vector<RegFileKey> keys;
  ASSERT_TRUE(parseRegFile(text, &keys).ok());
  ASSERT_EQ(keys.size(), 1u);
  ASSERT_EQ(keys[0].values.size(), 3u);
  EXPECT_EQ(keys[0].values[0].data, (Bytes{1, 2, 3}));
  EXPECT_EQ(keys[0].values[1].data, (Bytes{1, 2, 3}));
  EXPECT_EQ(keys[0].values[2].type, REG_DWORD);
  EXPECT_EQ(keys[0].values[2].data, (Bytes{0xcd, 0xab, 0, 0}));

  // A SAVE key imported into an empty store: the game key on the way gets its own class.
  auto store = memoryStore();
  ASSERT_TRUE(importRegText(*store, text).ok());
  EXPECT_EQ(classOf(*store, kGameKey), "USERDATA");
  EXPECT_EQ(classOf(*store, std::string(kGameKey) + "\\SAVE"), "SAVEDATA");
}

TEST(RegTool, MalformedFilesAreRefusedByLineAndChangeNothing) {
  const std::string head =
      "Windows Registry Editor Version "
      "5.00\n\n[HKEY_CURRENT_USER\\Software\\Tarnwick\\Quillorix\\1.0]\n"
      "\"GOOD\"=hex:01\n";
  const std::vector<std::pair<std::string, std::string>> cases{
      {"REGEDIT3\n", "line 1:"},
      {head + "\"BAD\"=hex:1,2\n", "line 5:"},
      {head + "\"BAD\"=hex:01,\\\n  zz\n", "line 6:"},
      {head + "\"BAD\"=hex:01,\\\n", "line 5:"},
      {head + "\"BAD=\"x\"\n", "line 5:"},
      {head + "\"BAD\"=\"a\\nb\"\n", "line 5:"},
      {head + "\"BAD\"=\"open\n", "line 5:"},
      {head + "\"BAD\"=dword:12\n", "line 5:"},
      {head + "\"BAD\"=-\n", "line 5:"},
      {head + "BAD=hex:01\n", "line 5:"},
      {head + "[HKEY_CURRENT_USER\\Software\n", "line 5:"},
      {head + "\"BAD\"=hex(zz):01\n", "line 5:"},
      {"Windows Registry Editor Version 5.00\n\"A\"=hex:01\n", "line 2:"},
      {"Windows Registry Editor Version 5.00\n[HKEY_LOCAL_MACHINE\\Software]\n\"A\"=hex:01\n",
       "HKEY_LOCAL_MACHINE"},
      {head + "[HKEY_CURRENT_USER" +
           [] {
             std::string deep;
             for (int i = 0; i < 25000; ++i) deep += "\\K";
             return deep;
           }() +
           "]\n",
       "levels deep"},
  };
  for (const auto& [text, where] : cases) {
    auto store = memoryStore();
    const Status imported = importRegText(*store, text);
    EXPECT_FALSE(imported.ok()) << text;
    EXPECT_NE(imported.message().find(where), std::string::npos)
        << "error: " << imported.message() << "\nfile:\n"
        << text;
    HKEY game = nullptr;
    EXPECT_EQ(store->RegOpenKeyExA(HKEY_CURRENT_USER, kGameKey, 0, KEY_ALL_ACCESS, &game),
              ERROR_FILE_NOT_FOUND)
        << "a refused file changed the store:\n"
        << text;
    EXPECT_EQ(store->openKeyCount(), 0u);
  }
}

// --- the program itself ---

int run(const std::string& args, std::string* output) {
  const qlx::testing::ToolRun r = qlx::testing::runTool("quillorix-reg", args);
  *output = r.output;
  return r.exitCode;
}

TEST(RegToolProgram, ExportsToStandardOutputAndRefusesBadFilesAndCommands) {
  qlx::testing::TempFolder dir;
  const std::string store = dir.file("s.db");
  const std::string text =
      "Windows Registry Editor Version "
      "5.00\n\n[HKEY_CURRENT_USER\\Software\\Tarnwick\\Quillorix\\1.0\\SAVE]\n"
      "\"ISSTORED\"=hex:01\n\"FOUNDWORDS\"=\"ONE,TWO,\"\n\n";
  std::string out;
  EXPECT_EQ(run("--store '" + store + "' import '" + dir.write("in.reg", text) + "'", &out), 0)
      << out;
  EXPECT_EQ(run("--store '" + store + "' export", &out), 0) << out;
  EXPECT_EQ(
      out,
      "Windows Registry Editor Version "
      "5.00\n\n[HKEY_CURRENT_USER\\Software\\Tarnwick\\Quillorix\\1.0]\n\n" +
          text.substr(text.find("[HKEY_CURRENT_USER\\Software\\Tarnwick\\Quillorix\\1.0\\SAVE]")));
  EXPECT_EQ(
      run("--store '" + store + "' import '" + dir.write("bad.reg", "nonsense\n") + "'", &out), 1);
  EXPECT_NE(out.find("line 1:"), std::string::npos) << out;
  EXPECT_EQ(run("--store '" + store + "' frobnicate", &out), 2);
}

}  // namespace
}  // namespace qlx::regtool
