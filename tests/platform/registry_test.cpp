// Tests of the settings store: the query buffer and count rules, classes, names without regard
// to case, handles, one transaction per save, damaged files moved aside, two stores on one file.
#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <functional>
#include <thread>

#include "platform/registry.h"
#include "platform/registry_sqlite.h"
#include "temp_folder.h"

namespace qlx {
namespace {

using testing::readText;
using testing::TempFolder;

std::unique_ptr<Registry> openOk(const std::string& path) {
  std::unique_ptr<Registry> reg;
  std::string notice;
  const Status st = openRegistry(path, &reg, &notice);
  EXPECT_TRUE(st.ok()) << st.message();
  EXPECT_EQ(notice, "");
  return reg;
}

LONG openKey(Registry& reg, HKEY parent, const char* path, HKEY* key) {
  return reg.RegOpenKeyExA(parent, path, 0, KEY_ALL_ACCESS, key);
}
LONG createKey(Registry& reg, HKEY parent, const char* path, const char* cls, HKEY* key,
               DWORD* disposition = nullptr) {
  return reg.RegCreateKeyExA(parent, path, 0, cls, REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS, nullptr,
                             key, disposition);
}

// Opens Software and creates the game's key under it, as a save begins.
HKEY openApp(Registry& reg, HKEY* software) {
  HKEY app = nullptr;
  EXPECT_EQ(openKey(reg, HKEY_CURRENT_USER, "Software", software), ERROR_SUCCESS);
  EXPECT_EQ(createKey(reg, *software, "Tarnwick\\Quillorix\\1.0", "USERDATA", &app), ERROR_SUCCESS);
  return app;
}

// Closes both keys: closing Software ends the save.
void closeBoth(Registry& reg, HKEY app, HKEY software) {
  EXPECT_EQ(reg.RegCloseKey(app), ERROR_SUCCESS);
  EXPECT_EQ(reg.RegCloseKey(software), ERROR_SUCCESS);
}

LONG setText(Registry& reg, HKEY key, const char* name, const std::string& bytes) {
  return reg.RegSetValueExA(key, name, 0, REG_SZ, reinterpret_cast<const uint8_t*>(bytes.data()),
                            static_cast<DWORD>(bytes.size()));
}

// A value read whole (its size asked for first), or "error N" when the read fails.
std::string get(Registry& reg, HKEY key, const char* name, DWORD* type = nullptr) {
  DWORD size = 0;
  LONG rc = reg.RegQueryValueExA(key, name, nullptr, type, nullptr, &size);
  std::string bytes(size, '\0');
  if (rc == ERROR_SUCCESS)
    rc = reg.RegQueryValueExA(key, name, nullptr, type, reinterpret_cast<uint8_t*>(bytes.data()),
                              &size);
  return rc == ERROR_SUCCESS ? bytes : "error " + std::to_string(rc);
}
const std::string kNotFound = "error " + std::to_string(ERROR_FILE_NOT_FOUND);

class StoreTest : public ::testing::Test {
 protected:
  void SetUp() override { app = openApp(*reg, &software); }
  LONG query(const char* name, char* buf, DWORD* n, DWORD* type) {
    return reg->RegQueryValueExA(app, name, nullptr, type, reinterpret_cast<uint8_t*>(buf), n);
  }
  std::unique_ptr<Registry> reg = openOk(":memory:");
  HKEY software = nullptr, app = nullptr;
};

TEST_F(StoreTest, QueryCopiesWhatFitsAndReportsTheSizeOfWhatDoesNot) {
  const std::string name24(24, 'y');
  ASSERT_EQ(setText(*reg, app, "1STATS1", std::string(25, 'x') + '\0'), ERROR_SUCCESS);
  ASSERT_EQ(setText(*reg, app, "1STATS2", name24 + '\0'), ERROR_SUCCESS);
  ASSERT_EQ(setText(*reg, app, "1STATS3", "Ann"), ERROR_SUCCESS);  // no NUL

  char buf[25];
  std::memset(buf, ' ', sizeof buf);
  DWORD n = 25, type = 99;
  EXPECT_EQ(query("1STATS1", buf, &n, &type), ERROR_MORE_DATA);
  EXPECT_EQ(n, 26u);
  EXPECT_EQ(type, REG_SZ);
  EXPECT_EQ(std::string(buf, 25), std::string(25, ' ')) << "nothing is copied when it does not fit";
  n = 25;
  EXPECT_EQ(query("1STATS2", buf, &n, &type), ERROR_SUCCESS);
  EXPECT_EQ(n, 25u);
  EXPECT_EQ(std::string(buf, 25), name24 + '\0');
  std::memset(buf, ' ', sizeof buf);
  n = 25;
  EXPECT_EQ(query("1STATS3", buf, &n, &type), ERROR_SUCCESS);
  EXPECT_EQ(n, 3u) << "a text stored without its NUL comes back without one";
  EXPECT_EQ(std::string(buf, 4), "Ann ");

  // A missing value leaves buffer and count alone.
  n = 7;
  type = 99;
  EXPECT_EQ(query("1STATS9", buf, &n, &type), ERROR_FILE_NOT_FOUND);
  EXPECT_EQ(n, 7u);
  EXPECT_EQ(type, 99u);
  EXPECT_EQ(std::string(buf, 4), "Ann ");
}

TEST_F(StoreTest, BinaryValuesRoundTripExactlyIncludingEmptyAndReplaced) {
  const uint8_t bytes[22] = {1, 0, 0, 0, 0xFF, 0x80, 0, 7};
  ASSERT_EQ(reg->RegSetValueExA(app, "SOLVINGDATA", 0, REG_BINARY, bytes, 22), ERROR_SUCCESS);
  ASSERT_EQ(reg->RegSetValueExA(app, "EMPTY", 0, REG_BINARY, nullptr, 0), ERROR_SUCCESS);
  DWORD type = 0;
  EXPECT_EQ(get(*reg, app, "SOLVINGDATA", &type),
            std::string(reinterpret_cast<const char*>(bytes), 22));
  EXPECT_EQ(type, REG_BINARY);
  EXPECT_EQ(get(*reg, app, "EMPTY"), "");
  // A later write replaces type and bytes.
  ASSERT_EQ(setText(*reg, app, "SOLVINGDATA", std::string("x\0", 2)), ERROR_SUCCESS);
  EXPECT_EQ(get(*reg, app, "SOLVINGDATA", &type), std::string("x\0", 2));
  EXPECT_EQ(type, REG_SZ);
  EXPECT_EQ(reg->RegSetValueExA(app, "BAD", 0, REG_BINARY, nullptr, 4), ERROR_INVALID_PARAMETER);
}

TEST_F(StoreTest, NamesCompareWithoutCaseAndValueNamesKeepTheirFirstSpelling) {
  ASSERT_EQ(setText(*reg, app, "SoundOptions", "a"), ERROR_SUCCESS);
  ASSERT_EQ(setText(*reg, app, "SOUNDOPTIONS", "b"), ERROR_SUCCESS);
  EXPECT_EQ(get(*reg, app, "soundoptions"), "b");
  std::vector<RegValueEntry> values;
  ASSERT_EQ(reg->listValues(app, &values), ERROR_SUCCESS);
  ASSERT_EQ(values.size(), 1u);
  EXPECT_EQ(values[0].name, "SoundOptions");
  HKEY same = nullptr;
  ASSERT_EQ(openKey(*reg, HKEY_CURRENT_USER, "SOFTWARE\\tarnwick\\QUILLORIX\\1.0", &same),
            ERROR_SUCCESS);
  EXPECT_EQ(get(*reg, same, "SOUNDoptions"), "b");
  EXPECT_EQ(reg->RegCloseKey(same), ERROR_SUCCESS);
}

TEST_F(StoreTest, CreatedKeysReportTheirClassAndReopeningKeepsIt) {
  std::string cls;
  ASSERT_EQ(reg->queryKeyClass(app, &cls), ERROR_SUCCESS);
  EXPECT_EQ(cls, "USERDATA");
  HKEY save = nullptr, again = nullptr;
  DWORD disp = 0;
  ASSERT_EQ(createKey(*reg, app, "SAVE", "SAVEDATA", &save, &disp), ERROR_SUCCESS);
  EXPECT_EQ(disp, REG_CREATED_NEW_KEY);
  ASSERT_EQ(createKey(*reg, app, "save", "OTHER", &again, &disp), ERROR_SUCCESS);
  EXPECT_EQ(disp, REG_OPENED_EXISTING_KEY);
  ASSERT_EQ(reg->queryKeyClass(again, &cls), ERROR_SUCCESS);
  EXPECT_EQ(cls, "SAVEDATA");
  EXPECT_EQ(reg->RegCloseKey(again), ERROR_SUCCESS);

  HKEY missing = reinterpret_cast<HKEY>(1);
  EXPECT_EQ(openKey(*reg, app, "NOPE", &missing), ERROR_FILE_NOT_FOUND);
  EXPECT_EQ(missing, nullptr);
  EXPECT_EQ(openKey(*reg, app, "a\\\\b", &missing), ERROR_INVALID_PARAMETER);

  // Closed, null, made-up and foreign handles are refused without harm.
  ASSERT_EQ(reg->RegCloseKey(save), ERROR_SUCCESS);
  uint8_t b = 1;
  DWORD n = 1;
  EXPECT_EQ(reg->RegCloseKey(save), ERROR_INVALID_HANDLE);
  EXPECT_EQ(reg->RegSetValueExA(save, "ISSTORED", 0, REG_BINARY, &b, 1), ERROR_INVALID_HANDLE);
  EXPECT_EQ(reg->RegQueryValueExA(save, "ISSTORED", nullptr, nullptr, &b, &n),
            ERROR_INVALID_HANDLE);
  EXPECT_EQ(reg->queryKeyClass(save, &cls), ERROR_INVALID_HANDLE);
  EXPECT_EQ(openKey(*reg, save, "x", &missing), ERROR_INVALID_HANDLE);
  EXPECT_EQ(reg->RegCloseKey(nullptr), ERROR_INVALID_HANDLE);
  EXPECT_EQ(reg->RegCloseKey(reinterpret_cast<HKEY>(0x1234)), ERROR_INVALID_HANDLE);
  auto other = openOk(":memory:");
  HKEY otherSoftware = nullptr;
  ASSERT_EQ(openKey(*other, HKEY_CURRENT_USER, "Software", &otherSoftware), ERROR_SUCCESS);
  EXPECT_EQ(reg->RegCloseKey(otherSoftware), ERROR_INVALID_HANDLE);
  EXPECT_EQ(other->RegCloseKey(otherSoftware), ERROR_SUCCESS);
}

// --- transactions ---

TEST(StoreTransactions, ASaveIsVisibleOnlyAfterTheLastKeyIsClosed) {
  TempFolder dir;
  const std::string path = dir.file("settings.db");
  {
    auto reg = openOk(path);
    HKEY sw = nullptr, app = openApp(*reg, &sw);
    ASSERT_EQ(setText(*reg, app, "A", "old"), ERROR_SUCCESS);
    closeBoth(*reg, app, sw);
    // A second save that "crashes" before closing Software.
    app = openApp(*reg, &sw);
    ASSERT_EQ(setText(*reg, app, "A", "new"), ERROR_SUCCESS);
    ASSERT_EQ(setText(*reg, app, "B", "new"), ERROR_SUCCESS);
    ASSERT_EQ(reg->RegCloseKey(app), ERROR_SUCCESS);
    // Another connection waiting for the lock gives up after its timeout; nothing new is seen.
    std::unique_ptr<SqliteRegistry> second;
    std::string notice;
    ASSERT_TRUE(openSqliteRegistry(path, RegistryOptions{200}, &second, &notice).ok());
    EXPECT_EQ(openKey(*second, HKEY_CURRENT_USER, "Software", &app), ERROR_ACCESS_DENIED);
  }  // the store goes away with Software still open
  auto reg = openOk(path);
  HKEY sw = nullptr, app = openApp(*reg, &sw);
  EXPECT_EQ(get(*reg, app, "A"), "old");
  EXPECT_EQ(get(*reg, app, "B"), kNotFound);
  closeBoth(*reg, app, sw);
}

TEST(StoreTransactions, TwoStoresOnOneFileInterleaveWholeSaves) {
  TempFolder dir;
  const std::string path = dir.file("settings.db");
  auto saver = [&](char tag, int* failures) {
    auto reg = openOk(path);
    for (int i = 0; i < 30; ++i) {
      HKEY sw = nullptr, app = openApp(*reg, &sw);
      for (const char* name : {"V1", "V2", "V3", "V4", "V5"})
        *failures += setText(*reg, app, name, tag + std::to_string(i)) != ERROR_SUCCESS;
      *failures += reg->RegCloseKey(app) != ERROR_SUCCESS || reg->RegCloseKey(sw) != ERROR_SUCCESS;
    }
  };
  int failuresA = 0, failuresB = 0;
  std::thread a(saver, 'a', &failuresA), b(saver, 'b', &failuresB);
  a.join();
  b.join();
  EXPECT_EQ(failuresA + failuresB, 0);
  auto reg = openOk(path);
  HKEY sw = nullptr, app = openApp(*reg, &sw);
  const std::string last = get(*reg, app, "V1");
  EXPECT_TRUE(last == "a29" || last == "b29") << last;
  for (const char* name : {"V2", "V3", "V4", "V5"}) EXPECT_EQ(get(*reg, app, name), last) << name;
  closeBoth(*reg, app, sw);
}

// --- damaged and missing files ---

// A store file holding many values, as bytes.
std::string fullStoreBytes(const TempFolder& dir) {
  const std::string path = dir.file("full.db");
  {
    auto reg = openOk(path);
    HKEY sw = nullptr, app = openApp(*reg, &sw);
    for (int i = 0; i < 200; ++i)
      setText(*reg, app, ("NAME" + std::to_string(i)).c_str(), std::string(300, 'x'));
    closeBoth(*reg, app, sw);
  }
  return readText(path);
}

// A damaged file must be kept under a dated name, named in the notice, and a fresh store must
// work in its place.
TEST(StoreFiles, DamagedFilesAreMovedAsideAndAFreshStoreStarts) {
  std::string garbage(5000, '\0');
  for (size_t i = 0; i < garbage.size(); ++i) garbage[i] = static_cast<char>(i * 7919 % 251);
  struct Damage {
    const char* what;
    std::function<std::string(std::string)> damage;
    bool salvageable;  // what can still be read is carried over
  };
  const Damage damages[] = {
      {"garbage", [&](const std::string&) { return garbage; }, false},
      {"truncated", [](const std::string& w) { return w.substr(0, w.size() / 2 + 100); }, false},
      // Another program's database: the application id in the header (offset 68) differs.
      {"foreign", [](std::string w) { return w.replace(68, 1, 1, 'Z'); }, true},
      // One byte that SQLite opens but cannot use: the schema format, the write version, a
      // collation name in the stored table text.
      {"schema format", [](std::string w) { return w.replace(47, 1, 1, '\x09'); }, true},
      {"write version", [](std::string w) { return w.replace(18, 1, 1, '\x03'); }, true},
      {"collation name", [](std::string w) { return w.replace(w.find("NOCASE"), 6, "NOCASF"); },
       true},
  };
  for (const auto& [what, damage, salvageable] : damages) {
    TempFolder dir;
    const std::string whole = fullStoreBytes(dir);
    ASSERT_GT(whole.size(), 3 * 4096u);
    const std::string bytes = damage(whole);
    const std::string path = dir.write("settings.db", bytes);
    std::unique_ptr<Registry> reg;
    std::string notice;
    const Status st = openRegistry(path, &reg, &notice);
    ASSERT_TRUE(st.ok()) << what << ": " << st.message();
    std::string aside;
    for (const auto& entry : std::filesystem::directory_iterator(dir.path()))
      if (entry.path().filename().string().rfind("settings.db.damaged-", 0) == 0)
        aside = entry.path().string();
    ASSERT_NE(aside, "") << what << ": the damaged file was not kept";
    EXPECT_EQ(readText(aside), bytes) << what;
    EXPECT_NE(notice.find(aside), std::string::npos) << notice;
    HKEY sw = nullptr, app = openApp(*reg, &sw);
    EXPECT_EQ(get(*reg, app, "NAME199"), salvageable ? std::string(300, 'x') : kNotFound) << what;
    EXPECT_EQ(setText(*reg, app, "A", "fresh"), ERROR_SUCCESS) << what;
    closeBoth(*reg, app, sw);
    reg.reset();
    openOk(path);  // once replaced, the file opens as it is at the next start
  }
}

// Reading for export changes nothing: the file keeps its bytes, a damaged one stays where it is
// and is reported.
TEST(StoreFiles, AReadOnlyOpenNeverChangesOrReplacesTheFile) {
  TempFolder dir;
  const std::string whole = fullStoreBytes(dir);
  const std::string path = dir.write("settings.db", whole);
  RegistryOptions readOnly;
  readOnly.readOnly = true;
  std::unique_ptr<SqliteRegistry> reg;
  std::string notice;
  ASSERT_TRUE(openSqliteRegistry(path, readOnly, &reg, &notice).ok());
  EXPECT_TRUE(reg->readOnly());
  HKEY sw = nullptr, app = nullptr;
  ASSERT_EQ(openKey(*reg, HKEY_CURRENT_USER, "Software", &sw), ERROR_SUCCESS);
  EXPECT_EQ(createKey(*reg, sw, "New", "", &app), ERROR_ACCESS_DENIED);
  ASSERT_EQ(openKey(*reg, sw, "Tarnwick\\Quillorix\\1.0", &app), ERROR_SUCCESS);
  EXPECT_EQ(setText(*reg, app, "NAME1", "changed"), ERROR_ACCESS_DENIED);
  EXPECT_EQ(get(*reg, app, "NAME1"), std::string(300, 'x'))
      << "a refused write leaves the store readable";
  EXPECT_EQ(reg->RegCloseKey(app), ERROR_SUCCESS);
  EXPECT_EQ(reg->RegCloseKey(sw), ERROR_ACCESS_DENIED) << "the save that ends here did not happen";
  reg.reset();
  EXPECT_EQ(readText(path), whole);

  std::string damaged = whole;
  damaged[47] = 9;
  dir.write("settings.db", damaged);
  const Status st = openSqliteRegistry(path, readOnly, &reg, &notice);
  EXPECT_NE(st.message().find("damaged"), std::string::npos) << st.message();
  EXPECT_EQ(readText(path), damaged);
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 2)
      << "nothing moved aside";
  EXPECT_FALSE(openSqliteRegistry(dir.file("none.db"), readOnly, &reg, &notice).ok());
  EXPECT_FALSE(std::filesystem::exists(dir.file("none.db")));
}

TEST(StoreFiles, NoStoreAtAllStillGivesARegistryThatRefusesEveryOpen) {
  TempFolder dir;
  dir.write("blocker", "a file where the folder should be");
  std::unique_ptr<Registry> reg;
  std::string notice;
  const Status st = openRegistry(dir.file("blocker") + "/quillorix/settings.db", &reg, &notice);
  EXPECT_NE(st.message().find("cannot be created"), std::string::npos) << st.message();
  ASSERT_NE(reg, nullptr);
  HKEY key = nullptr;
  EXPECT_EQ(openKey(*reg, HKEY_CURRENT_USER, "Software", &key), ERROR_ACCESS_DENIED);
  EXPECT_EQ(createKey(*reg, HKEY_CURRENT_USER, "Software\\X", "C", &key), ERROR_ACCESS_DENIED);
  EXPECT_EQ(reg->RegCloseKey(HKEY_CURRENT_USER), ERROR_SUCCESS);
}

TEST(StoreFiles, FolderIsCreatedAndDefaultPathFollowsXdgDataHome) {
  TempFolder dir;
  openOk(dir.file("a/b/settings.db"));
  EXPECT_TRUE(std::filesystem::exists(dir.file("a/b/settings.db")));

  const char* oldXdg = std::getenv("XDG_DATA_HOME");
  const std::string saved = oldXdg ? oldXdg : "";
  const std::string savedHome = std::getenv("HOME") ? std::getenv("HOME") : "";
  setenv("XDG_DATA_HOME", "/data/home", 1);
  EXPECT_EQ(defaultRegistryPath(), "/data/home/quillorix/settings.db");
  setenv("XDG_DATA_HOME", "relative", 1);  // ignored, as relative values must be
  setenv("HOME", "/home/someone", 1);
  EXPECT_EQ(defaultRegistryPath(), "/home/someone/.local/share/quillorix/settings.db");
  oldXdg ? setenv("XDG_DATA_HOME", saved.c_str(), 1) : unsetenv("XDG_DATA_HOME");
  setenv("HOME", savedHome.c_str(), 1);
}

}  // namespace
}  // namespace qlx
