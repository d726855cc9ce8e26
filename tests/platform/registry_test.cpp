// Tests of the settings store: the query buffer and count rules, classes, names without regard
// to case, handles, one transaction per save, damaged files moved aside, two stores on one file.
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <thread>
#include <tuple>

#include "platform/registry.h"
#include "platform/registry_sqlite.h"
#include "temp_folder.h"

namespace qlx {
namespace {

using namespace testing;

std::unique_ptr<Registry> openOk(const std::string& path, const RegistryOptions& options = {}) {
  std::unique_ptr<Registry> reg;
  std::string notice;
  const Status st = openRegistry(path, options, &reg, &notice);
  EXPECT_TRUE(st.ok() && notice.empty()) << st.message() << notice;
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

LONG setText(Registry& reg, HKEY key, const char* name, const std::string& bytes,
             DWORD type = REG_SZ) {
  return reg.RegSetValueExA(key, name, 0, type, reinterpret_cast<const uint8_t*>(bytes.data()),
                            static_cast<DWORD>(bytes.size()));
}

std::string error(LONG rc) { return "error " + std::to_string(rc); }

// A value read whole (its size asked for first), or "error N" when the read fails.
std::string get(Registry& reg, HKEY key, const char* name) {
  DWORD size = 0;
  LONG rc = reg.RegQueryValueExA(key, name, nullptr, nullptr, nullptr, &size);
  std::string bytes(size, '\0');
  if (rc == ERROR_SUCCESS)
    rc = reg.RegQueryValueExA(key, name, nullptr, nullptr, reinterpret_cast<uint8_t*>(bytes.data()),
                              &size);
  return rc == ERROR_SUCCESS ? bytes : error(rc);
}

class StoreTest : public ::testing::Test {
 protected:
  void SetUp() override { app = openApp(*reg, &software); }
  // A query into 25 blanks with room for n bytes, as shown() gives it.
  std::string query(const char* name, DWORD n) {
    std::string buf(25, ' ');
    DWORD type = 99;
    const LONG rc = reg->RegQueryValueExA(app, name, nullptr, &type,
                                          reinterpret_cast<uint8_t*>(buf.data()), &n);
    return shown(rc, n, type, buf);
  }
  // The result code, count, type and the 25-byte buffer (padded with blanks) of a query.
  static std::string shown(LONG rc, DWORD n, DWORD type, std::string buf) {
    buf.resize(25, ' ');
    return std::to_string(rc) + " n=" + std::to_string(n) + " type=" + std::to_string(type) + " [" +
           buf + "]";
  }
  std::unique_ptr<Registry> reg = openOk(":memory:");
  HKEY software = nullptr, app = nullptr;
};

TEST_F(StoreTest, QueryCopiesWhatFitsReportsTheSizeOfWhatDoesNotAndValuesRoundTripExactly) {
  const std::string name24(24, 'y'), binary = std::string("\1\0\0\0\xFF\x80\0\7", 8) + '\0';
  setText(*reg, app, "1STATS1", std::string(25, 'x') + '\0');
  setText(*reg, app, "1STATS2", name24 + '\0');
  setText(*reg, app, "1STATS3", "Ann");  // no NUL
  setText(*reg, app, "SOLVINGDATA", binary, REG_BINARY);
  ASSERT_EQ(reg->RegSetValueExA(app, "EMPTY", 0, REG_BINARY, nullptr, 0), ERROR_SUCCESS);
  // Nothing is copied when it does not fit; a text stored without its NUL comes back without
  // one; a missing value leaves buffer, count and type alone.
  EXPECT_EQ(query("1STATS1", 25), shown(ERROR_MORE_DATA, 26, REG_SZ, ""));
  EXPECT_EQ(query("1STATS2", 25), shown(ERROR_SUCCESS, 25, REG_SZ, name24 + '\0'));
  EXPECT_EQ(query("1STATS3", 25), shown(ERROR_SUCCESS, 3, REG_SZ, "Ann"));
  EXPECT_EQ(query("1STATS9", 7), shown(ERROR_FILE_NOT_FOUND, 7, 99, ""));
  EXPECT_EQ(query("SOLVINGDATA", 25), shown(ERROR_SUCCESS, 9, REG_BINARY, binary));
  EXPECT_EQ(query("EMPTY", 25), shown(ERROR_SUCCESS, 0, REG_BINARY, ""));
  // A later write replaces type and bytes.
  setText(*reg, app, "SOLVINGDATA", std::string("x\0", 2));
  EXPECT_EQ(query("SOLVINGDATA", 25), shown(ERROR_SUCCESS, 2, REG_SZ, std::string("x\0", 2)));
  EXPECT_EQ(reg->RegSetValueExA(app, "BAD", 0, REG_BINARY, nullptr, 4), ERROR_INVALID_PARAMETER);
}

// Key and value names compare without case; a value keeps its first spelling, a key its class.
TEST_F(StoreTest, NamesCompareWithoutCaseAndKeysKeepTheirClassAndRefuseBadHandles) {
  setText(*reg, app, "SoundOptions", "a");
  setText(*reg, app, "SOUNDOPTIONS", "b");
  std::vector<RegValueEntry> values;
  ASSERT_EQ(reg->listValues(app, &values), ERROR_SUCCESS);
  EXPECT_EQ(values.size() == 1 ? values[0].name : "", "SoundOptions");
  HKEY same = nullptr, save = nullptr, again = nullptr;
  EXPECT_EQ(openKey(*reg, HKEY_CURRENT_USER, "SOFTWARE\\tarnwick\\QUILLORIX\\1.0", &same),
            ERROR_SUCCESS);
  EXPECT_EQ(get(*reg, same, "SOUNDoptions"), "b");

  std::string cls;
  ASSERT_EQ(reg->queryKeyClass(app, &cls), ERROR_SUCCESS);
  EXPECT_EQ(cls, "USERDATA");
  DWORD disp = 0;
  ASSERT_EQ(createKey(*reg, app, "SAVE", "SAVEDATA", &save, &disp), ERROR_SUCCESS);
  EXPECT_EQ(disp, REG_CREATED_NEW_KEY);
  ASSERT_EQ(createKey(*reg, app, "save", "OTHER", &again, &disp), ERROR_SUCCESS);
  EXPECT_EQ(disp, REG_OPENED_EXISTING_KEY);
  ASSERT_EQ(reg->queryKeyClass(again, &cls), ERROR_SUCCESS);
  EXPECT_EQ(cls, "SAVEDATA");
  HKEY missing = reinterpret_cast<HKEY>(1);
  EXPECT_EQ(openKey(*reg, app, "NOPE", &missing), ERROR_FILE_NOT_FOUND);
  EXPECT_EQ(missing, nullptr);
  EXPECT_EQ(openKey(*reg, app, "a\\\\b", &missing), ERROR_INVALID_PARAMETER);

  // Closed, null, made-up and foreign handles are refused without harm.
  ASSERT_EQ(reg->RegCloseKey(save), ERROR_SUCCESS);
  auto other = openOk(":memory:");
  HKEY foreign = nullptr;
  ASSERT_EQ(openKey(*other, HKEY_CURRENT_USER, "Software", &foreign), ERROR_SUCCESS);
  for (HKEY bad : {save, HKEY{}, reinterpret_cast<HKEY>(0x1234), foreign}) {
    const LONG rcs[] = {reg->RegCloseKey(bad), setText(*reg, bad, "ISSTORED", "1"),
                        reg->queryKeyClass(bad, &cls), openKey(*reg, bad, "x", &missing)};
    for (LONG rc : rcs) EXPECT_EQ(rc, ERROR_INVALID_HANDLE);
    EXPECT_EQ(get(*reg, bad, "ISSTORED"), error(ERROR_INVALID_HANDLE));
  }
  EXPECT_EQ(other->RegCloseKey(foreign), ERROR_SUCCESS);
}

// --- transactions ---

TEST(StoreTransactions, ASaveIsVisibleOnlyAfterTheLastKeyIsClosedAndTwoStoresInterleaveWholeSaves) {
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
    auto second = openOk(path, RegistryOptions{200});
    EXPECT_EQ(openKey(*second, HKEY_CURRENT_USER, "Software", &app), ERROR_ACCESS_DENIED);
  }  // the store goes away with Software still open
  auto reg = openOk(path);
  HKEY sw = nullptr, app = openApp(*reg, &sw);
  EXPECT_EQ(get(*reg, app, "A"), "old");
  EXPECT_EQ(get(*reg, app, "B"), error(ERROR_FILE_NOT_FOUND));
  closeBoth(*reg, app, sw);

  // Two stores on one file interleave whole saves.
  auto saver = [&](char tag, int* failures) {
    auto store = openOk(path);
    for (int i = 0; i < 30; ++i) {
      HKEY soft = nullptr, game = openApp(*store, &soft);
      for (const char* name : {"V1", "V2", "V3", "V4", "V5"})
        *failures += setText(*store, game, name, tag + std::to_string(i)) != ERROR_SUCCESS;
      *failures +=
          store->RegCloseKey(game) != ERROR_SUCCESS || store->RegCloseKey(soft) != ERROR_SUCCESS;
    }
  };
  int failuresA = 0, failuresB = 0;
  std::thread a(saver, 'a', &failuresA), b(saver, 'b', &failuresB);
  a.join();
  b.join();
  EXPECT_EQ(failuresA + failuresB, 0);
  reg = openOk(path);
  app = openApp(*reg, &sw);
  const std::string last = get(*reg, app, "V1");
  EXPECT_TRUE(last == "a29" || last == "b29") << last;
  for (const char* name : {"V2", "V3", "V4", "V5"}) EXPECT_EQ(get(*reg, app, name), last) << name;
}

// --- damaged and missing files ---

// A damaged file must be kept under a dated name, named in the notice, and a fresh store must
// work in its place.
TEST(StoreFiles, DamagedFilesAreMovedAsideUnlessOpenedReadOnlyWhichNeverChangesTheFile) {
  // A store file of many pages: 200 values, each kFull.
  TempFolder dir;
  const std::string kFull(300, 'x');
  if (auto full = openOk(dir.file("full.db"))) {
    HKEY sw = nullptr, app = openApp(*full, &sw);
    for (int i = 0; i < 200; ++i) setText(*full, app, ("NAME" + std::to_string(i)).c_str(), kFull);
    closeBoth(*full, app, sw);
  }
  const std::string whole = readText(dir.file("full.db"));
  ASSERT_GT(whole.size(), 3 * 4096u);
  std::string garbage(5000, '\0');
  for (size_t i = 0; i < garbage.size(); ++i) garbage[i] = static_cast<char>(i * 7919 % 251);
  // What, the damage, and whether what can still be read is carried over.
  const std::tuple<const char*, std::function<std::string(std::string)>, bool> damages[] = {
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
    TempFolder own;
    const std::string bytes = damage(whole);
    const std::string path = own.write("settings.db", bytes);
    std::unique_ptr<Registry> reg;
    std::string notice;
    ASSERT_TRUE(openRegistry(path, &reg, &notice).ok()) << what;
    std::string aside;
    for (const auto& entry : std::filesystem::directory_iterator(own.path()))
      if (entry.path().filename().string().rfind("settings.db.damaged-", 0) == 0)
        aside = entry.path().string();
    ASSERT_NE(aside, "") << what << ": the damaged file was not kept";
    EXPECT_EQ(readText(aside), bytes) << what;
    EXPECT_NE(notice.find(aside), std::string::npos) << notice;
    HKEY sw = nullptr, app = openApp(*reg, &sw);
    EXPECT_EQ(get(*reg, app, "NAME199"), salvageable ? kFull : error(ERROR_FILE_NOT_FOUND)) << what;
    EXPECT_EQ(setText(*reg, app, "A", "fresh"), ERROR_SUCCESS) << what;
    closeBoth(*reg, app, sw);
    reg.reset();
    openOk(path);  // once replaced, the file opens as it is at the next start
  }

  // Reading for export changes nothing: the file keeps its bytes, a damaged one stays where it
  // is and is reported.
  const std::string path = dir.write("settings.db", whole);
  const RegistryOptions readOnly{.readOnly = true};
  auto reg = openOk(path, readOnly);
  HKEY sw = nullptr, app = nullptr;
  ASSERT_EQ(openKey(*reg, HKEY_CURRENT_USER, "Software", &sw), ERROR_SUCCESS);
  EXPECT_EQ(createKey(*reg, sw, "New", "", &app), ERROR_ACCESS_DENIED);
  ASSERT_EQ(openKey(*reg, sw, "Tarnwick\\Quillorix\\1.0", &app), ERROR_SUCCESS);
  EXPECT_EQ(setText(*reg, app, "NAME1", "changed"), ERROR_ACCESS_DENIED);
  EXPECT_EQ(get(*reg, app, "NAME1"), kFull) << "a refused write leaves the store readable";
  EXPECT_EQ(reg->RegCloseKey(app), ERROR_SUCCESS);
  EXPECT_EQ(reg->RegCloseKey(sw), ERROR_ACCESS_DENIED) << "the save that ends here did not happen";
  reg.reset();
  EXPECT_EQ(readText(path), whole);

  const std::string damaged = std::get<1>(damages[3])(whole);  // the schema format
  dir.write("settings.db", damaged);
  std::string notice;
  const Status st = openRegistry(path, readOnly, &reg, &notice);
  EXPECT_NE(st.message().find("damaged"), std::string::npos) << st.message();
  EXPECT_EQ(readText(path), damaged);
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 2)
      << "nothing moved aside";
  EXPECT_FALSE(openRegistry(dir.file("none.db"), readOnly, &reg, &notice).ok());
  EXPECT_FALSE(std::filesystem::exists(dir.file("none.db")));
}

// The folder is made when missing; where no store can be made, the registry refuses every open.
TEST(StoreFiles, FolderIsCreatedDefaultPathFollowsXdgDataHomeAndNoStoreRefusesEveryOpen) {
  TempFolder dir;
  openOk(dir.file("a/b/settings.db"));
  EXPECT_TRUE(std::filesystem::exists(dir.file("a/b/settings.db")));
  dir.write("blocker", "a file where the folder should be");
  std::unique_ptr<Registry> reg;
  std::string notice;
  const Status st = openRegistry(dir.file("blocker") + "/quillorix/settings.db", &reg, &notice);
  EXPECT_NE(st.message().find("cannot be created"), std::string::npos) << st.message();
  ASSERT_NE(reg, nullptr);
  HKEY key = nullptr;
  EXPECT_EQ(openKey(*reg, HKEY_CURRENT_USER, "Software", &key), ERROR_ACCESS_DENIED);
  EXPECT_EQ(createKey(*reg, HKEY_CURRENT_USER, "Software\\X", "C", &key), ERROR_ACCESS_DENIED);

  const std::string home = std::getenv("HOME") ? std::getenv("HOME") : "";
  setenv("XDG_DATA_HOME", "/data/home", 1);
  EXPECT_EQ(defaultRegistryPath(), "/data/home/quillorix/settings.db");
  setenv("XDG_DATA_HOME", "relative", 1);  // ignored, as relative values must be
  setenv("HOME", "/home/someone", 1);
  EXPECT_EQ(defaultRegistryPath(), "/home/someone/.local/share/quillorix/settings.db");
  setenv("HOME", home.c_str(), 1);
  unsetenv("XDG_DATA_HOME");
}

}  // namespace
}  // namespace qlx
