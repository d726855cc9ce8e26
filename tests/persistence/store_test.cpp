// The player's data and the stored game on an in-memory store: the first run, byte-exact round
// trips, the name buffer's limits, the counter rules, the stored game's flag and the lengths that
// must not be trusted, the writer, and stores that cannot be opened or written.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <optional>

#include "persistence/level_store.h"
#include "persistence/saved_game.h"
#include "persistence/user_store.h"
#include "platform/registry_sqlite.h"

namespace qlx {
namespace {

using Bytes = std::vector<uint8_t>;
using Strings = std::vector<std::string>;
using Entries = std::vector<RegValueEntry>;

constexpr const char* kAppPath = "Software\\Tarnwick\\Quillorix\\1.0";
constexpr const char* kSavePath = "Software\\Tarnwick\\Quillorix\\1.0\\SAVE";

Bytes le32(int32_t v) { return {uint8_t(v), uint8_t(v >> 8), uint8_t(v >> 16), uint8_t(v >> 24)}; }
Bytes le16(int16_t v) { return {uint8_t(v), uint8_t(v >> 8)}; }
Bytes text(const std::string& s) { return Bytes(s.c_str(), s.c_str() + s.size() + 1); }
std::string valueName(int level, int place = 0) {
  return std::to_string(level) + "STATS" + (place ? std::to_string(place) : "");
}

// A time table: eight little-endian times first, first + step, ...
Bytes times(int32_t first, int32_t step) {
  Bytes t;
  for (int i = 0; i < 8; ++i)
    for (uint8_t b : le32(first + step * i)) t.push_back(b);
  return t;
}
using Value = std::pair<DWORD, Bytes>;  // a stored value's type and bytes

// Passes every call on to a real store, writing one line per call ("query NAME 25", "set NAME 3",
// "create PATH CLASS OPTIONS ACCESS"); can make opening "Software" or creating a key fail.
struct RecordingRegistry : Registry {
  explicit RecordingRegistry(Registry& inner) : inner_(inner) {}
  Registry& inner_;
  bool failOpen = false, failCreate = false;
  Strings calls;

  // Pass-throughs with short parameter names (z: the reserved one), recording each call.
  LONG RegOpenKeyExA(HKEY p, const char* sub, DWORD o, DWORD a, HKEY* r) override {
    calls.push_back(std::string("open ") + sub);
    return failOpen ? ERROR_ACCESS_DENIED : inner_.RegOpenKeyExA(p, sub, o, a, r);
  }
  LONG RegCreateKeyExA(HKEY p, const char* sub, DWORD z, const char* cls, DWORD o, DWORD a,
                       const void* s, HKEY* r, DWORD* d) override {
    calls.push_back(std::string("create ") + sub + " " + (cls ? cls : "-") + " " +
                    std::to_string(o) + " " + std::to_string(a));
    return failCreate ? ERROR_ACCESS_DENIED : inner_.RegCreateKeyExA(p, sub, z, cls, o, a, s, r, d);
  }
  LONG RegQueryValueExA(HKEY k, const char* n, DWORD* z, DWORD* t, uint8_t* d, DWORD* c) override {
    calls.push_back(std::string("query ") + n + " " + std::to_string(c ? *c : 0));
    return inner_.RegQueryValueExA(k, n, z, t, d, c);
  }
  LONG RegSetValueExA(HKEY k, const char* n, DWORD z, DWORD t, const uint8_t* d, DWORD c) override {
    calls.push_back(std::string("set ") + n + " " + std::to_string(c));
    return inner_.RegSetValueExA(k, n, z, t, d, c);
  }
  LONG RegCloseKey(HKEY k) override { return inner_.RegCloseKey(k); }
  LONG queryKeyClass(HKEY k, std::string* cls) override { return inner_.queryKeyClass(k, cls); }
  LONG listSubKeys(HKEY k, Strings* n) override { return inner_.listSubKeys(k, n); }
  LONG listValues(HKEY k, Entries* v) override { return inner_.listValues(k, v); }
  void discardOpenKeys() override { inner_.discardOpenKeys(); }

  // The call lines that start with prefix, in order.
  Strings callsTo(const std::string& prefix) const {
    Strings found;
    for (const std::string& c : calls)
      if (c.rfind(prefix, 0) == 0) found.push_back(c);
    return found;
  }
};

class Store : public ::testing::Test {
 protected:
  Store() { user.bestScores.redim(kLevels); }

  std::unique_ptr<SqliteRegistry> store = [] {
    std::unique_ptr<SqliteRegistry> s;
    return openSqliteRegistry(":memory:", {}, &s, nullptr).ok() ? std::move(s) : nullptr;
  }();
  RecordingRegistry rec{*store};
  UserData user;
  SolvingData solving;
  SavedGame game;
  int32_t elapsed = -1;

  // Writes a value below the game's key or its SAVE key, creating the key (and its class).
  void put(const std::string& name, const Bytes& v, DWORD type = REG_BINARY, bool save = false) {
    HKEY k = nullptr;
    store->RegCreateKeyExA(HKEY_CURRENT_USER, save ? kSavePath : kAppPath, 0,
                           save ? "SAVEDATA" : "USERDATA", 0, KEY_ALL_ACCESS, nullptr, &k, nullptr);
    EXPECT_EQ(store->RegSetValueExA(k, name.c_str(), 0, type, v.data(), DWORD(v.size())), 0);
    store->RegCloseKey(k);
  }
  void putSave(const std::string& n, const Bytes& v, DWORD t = REG_BINARY) { put(n, v, t, true); }
  // The value as stored, or nothing when its key or itself is absent.
  std::optional<Value> get(const std::string& name, const char* path = kAppPath) {
    HKEY key = nullptr;
    Entries values;
    if (store->RegOpenKeyExA(HKEY_CURRENT_USER, path, 0, KEY_ALL_ACCESS, &key) != 0) return {};
    store->listValues(key, &values);
    store->RegCloseKey(key);
    for (const RegValueEntry& v : values)
      if (v.name == name) return Value{v.type, v.data};
    return {};
  }
  void load() { EXPECT_TRUE(loadUserData(*store, user).ok()); }
  // Loads the stored game through rec, its calls cleared first.
  void loadGame() {
    rec.calls.clear();
    EXPECT_TRUE(loadStoredGame(rec, solving, game, elapsed).ok());
  }
  // The loaded game as "byte count:bytes score time level-score word count:words".
  std::string loaded() const {
    std::string s = std::to_string(game.savedByteCount) + ":";
    for (int b : game.savedBytes) s += std::to_string(b) + ",";
    s += " " + std::to_string(game.savedScore) + " " + std::to_string(elapsed) + " " +
         std::to_string(game.levelScore) + " " + std::to_string(game.foundWordCount) + ":";
    for (const std::string& w : game.foundWords) s += w + ",";
    return s;
  }
  // A complete stored game of three words.
  void storeFullGame() {
    put("NUMWFSF", le32(0));  // the game's key exists first
    putSave("ISSTORED", {1});
    putSave("LENGTH", le16(3));
    putSave("BYTE_DATA", {7, 8, 9});
    // puzzleNum 42, modeNum 2, gridGroup 1
    putSave("MODE_NUM", {42, 0, 0, 0, 0, 0, 0, 0, 0, 0, 2, 0, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0});
    putSave("SCORE", le32(1234));
    putSave("NWORDSFOUND", le32(3));
    putSave("SWORDSFOUND", le32(14));
    putSave("TIMEREM", le32(4567));
    putSave("CURLEVELSCORE", le32(-8));
    putSave("FOUNDWORDS", text("OAK,ELM,ASPEN,"), REG_SZ);
  }
};

TEST_F(Store, AFirstRunCreatesTheKeyAndSavesEveryDefaultByteForByte) {
  EXPECT_TRUE(loadUserData(rec, user).ok());
  Strings calls = {"open Software", "create Tarnwick\\Quillorix\\1.0 USERDATA 0 983103",
                   "query SOLVINGDATA 22", "query NUMWFSF 4", "query SOUNDOPTIONS 14"};
  for (int level = 1; level <= kLevels; ++level)
    for (int i = 0; i <= kBestPlaces; ++i)
      calls.push_back("query " + valueName(level, i) + (i ? " 25" : " 32"));
  EXPECT_EQ(rec.calls, calls);
  EXPECT_EQ(store->openKeyCount(), 0u) << "every key is closed";

  EXPECT_TRUE(saveUserData(*store, user).ok());
  const std::pair<const char*, Bytes> binaries[] = {
      {"SOLVINGDATA", {0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1, 0, 0, 0, 1, 0}},
      {"SOUNDOPTIONS", {1, 0, 1, 0, 1, 0, 1, 0, 1, 0, 1, 0, 1, 0}},
      {"NUMWFSF", {0, 0, 0, 0}},
      {"1STATS", times(30000, 0)},
      {"2STATS", times(30000, 0)}};
  for (const auto& [name, bytes] : binaries) EXPECT_EQ(get(name), (Value{REG_BINARY, bytes}));
  for (int level = 1; level <= kLevels; ++level)
    for (int i = 1; i <= kBestPlaces; ++i)
      EXPECT_EQ(get(valueName(level, i)), (Value{REG_SZ, text("Anononymous")}));
}

// The chosen level, a value of the game's own beside the design's: anything but a 4-byte 1 or 2
// reads as Standard, and a save writes it so the next start reads it back.
TEST_F(Store, TheChosenLevelReadsAsStandardUnlessItIsAFourByteOneOrTwo) {
  EXPECT_EQ(loadChosenLevel(*store), 2) << "missing";
  for (const auto& [bytes, level] : {std::pair{le32(1), 1},
                                     {le32(2), 2},
                                     {le32(7), 2},
                                     {le32(-1), 2},
                                     {Bytes{1, 0}, 2},
                                     {Bytes{1, 0, 0, 0, 0}, 2}}) {
    put(kLevelValueName, bytes);
    EXPECT_EQ(loadChosenLevel(*store), level) << bytes.size() << " bytes";
  }
  ASSERT_TRUE(saveChosenLevel(*store, 1).ok());
  EXPECT_EQ(get(kLevelValueName), (Value{REG_BINARY, le32(1)}));
}

TEST_F(Store, SavingAfterALoadWritesEveryCarriedByteBack) {
  std::vector<std::pair<std::string, Bytes>> values = {
      {"SOLVINGDATA", {0x01, 0x02, 0x03, 0x04, 0xFE, 0xFF, 0x7F, 0x80, 0x11, 0x92, 0x02,
                       0x00, 0x03, 0x00, 0xAB, 0xCD, 0x05, 0x00, 0x00, 0x10, 0x34, 0x12}},
      {"NUMWFSF", {0x9A, 0x78, 0x56, 0xF4}},
      {"SOUNDOPTIONS", {0, 0, 7, 0, 0xFF, 0xFF, 0x00, 0x80, 2, 1, 0x34, 0x12, 1, 0}},
      {"1STATS", times(1007, 1000)},
      {"2STATS", times(-1, -1)}};
  for (int level = 1; level <= 2; ++level)
    for (int i = 1; i <= 8; ++i)
      values.emplace_back(valueName(level, i), text("P\xE9" + std::to_string(level * 10 + i)));
  for (const auto& [name, bytes] : values)
    put(name, bytes, std::isdigit(name.back()) ? REG_SZ : REG_BINARY);

  load();
  EXPECT_EQ(user.soundOptions[3], -32768);
  EXPECT_EQ(user.bestScores(1).times(3), 3007);
  EXPECT_EQ(user.bestScores(2).names(8), std::string("P\xE9") + "28");
  EXPECT_TRUE(saveUserData(*store, user).ok());
  for (const auto& [name, bytes] : values) EXPECT_EQ(get(name)->second, bytes) << name;
}

TEST_F(Store, NamesAreReadThroughATwentyFiveByteBufferAndAMissingTableLeavesTheirTimes) {
  // What the place holds, then the name and time read.
  const std::pair<std::optional<Bytes>, std::pair<std::string, int32_t>> cases[] = {
      {text(std::string(24, 'x')), {std::string(24, 'x'), 100}},
      {text(std::string(24, 'y') + "z"), {"Anononymous", 30000}},  // 26 bytes: the default wins
      {Bytes{'A', 'd', 'a'}, {"Ad", 300}},  // stored without its NUL: the last character is lost
      {Bytes{0}, {"", 400}},
      {Bytes{}, {"", 500}},
      {Bytes(25, 'w'), {std::string(24, 'w'), 600}},  // 25 bytes fit exactly, without a NUL
      {std::nullopt, {"Anononymous", 30000}},
  };
  put("1STATS", times(100, 100));
  for (int i = 1; i <= 7; ++i)
    if (cases[i - 1].first) put(valueName(1, i), *cases[i - 1].first, REG_SZ);
  for (int i = 1; i <= 8; ++i) put(valueName(2, i), text("N" + std::to_string(i)), REG_SZ);
  load();
  const BestList& best = user.bestScores(1);
  for (int i = 1; i <= 7; ++i) {
    EXPECT_EQ(std::pair(best.names(i), best.times(i)), cases[i - 1].second) << i;
    EXPECT_EQ(user.bestScores(2).times(i), 0) << "no 2STATS: the times are left";
  }
  EXPECT_EQ(user.bestScores(2).names(8), "N8");
}

TEST_F(Store, CountersBelowOneAreRaisedAfterTheRecordIsReadAndBadSwitchesAllTurnOn) {
  Bytes record(22, 0);
  record[0] = 9;
  for (uint8_t a : {0, 0xFB}) {  // 0 and -5
    record[16] = a, record[17] = record[18] = record[19] = a ? 0xFF : 0;
    put("SOLVINGDATA", record);
    user.solving = SolvingData{};
    load();
    EXPECT_EQ(user.solving.puzzleNum, 9);
    EXPECT_EQ(user.solving.counterA, 1) << int(a);
    EXPECT_EQ(user.solving.counterB, 1) << "bytes 20..21 are 0";
  }
  // Only the low half of counter B is stored; the high half stays as it was.
  // With the high half negative the counter is below 1.
  record[20] = 2;
  put("SOLVINGDATA", record);
  for (auto [before, after] : {std::pair(0x00030000, 0x00030002), {int32_t(0xFFFF0000u), 1}}) {
    user.solving.counterB = before;
    load();
    EXPECT_EQ(user.solving.counterB, after);
  }
  // A record shorter than 22 bytes replaces only its first bytes.
  put("SOLVINGDATA", le32(77));
  user.solving.gridGroup = 2;
  load();
  EXPECT_EQ(user.solving.puzzleNum, 77);
  EXPECT_EQ(user.solving.gridGroup, 2);

  put("SOUNDOPTIONS", Bytes(16, 0));  // too long for its 14 bytes
  user.soundOptions.fill(-3);
  load();
  for (int16_t s : user.soundOptions) EXPECT_EQ(s, 1);
}

// The flag is any non-zero byte, cleared before the game is read; a missing value leaves its
// variable, and a byte length below one or short of the bytes stored reads no bytes.
TEST_F(Store, AStoredGameIsFlaggedClearedFirstThenReadWholeButNeverPastItsLengths) {
  EXPECT_FALSE(isGameStored(*store)) << "no SAVE key: no game";
  putSave("ISSTORED", {1});
  solving.puzzleNum = 17, game.savedScore = 5, game.levelScore = 6, elapsed = 700;
  loadGame();
  EXPECT_EQ(loaded(), "0: 5 700 6 0:");
  EXPECT_EQ(solving.puzzleNum, 17);
  EXPECT_FALSE(isGameStored(*store));

  storeFullGame();
  for (uint8_t flag : {1, 0x80, 0xFF}) {
    putSave("ISSTORED", {flag});
    EXPECT_TRUE(isGameStored(*store)) << int(flag);
  }
  solving.counterA = 5;
  loadGame();
  EXPECT_EQ(rec.calls,
            (Strings{"open Software", "create Tarnwick\\Quillorix\\1.0\\SAVE SAVEDATA 0 983103",
                     "set ISSTORED 1", "query LENGTH 2", "query BYTE_DATA 3", "query MODE_NUM 22",
                     "query SCORE 4", "query NWORDSFOUND 4", "query SWORDSFOUND 4",
                     "query TIMEREM 4", "query CURLEVELSCORE 4", "query FOUNDWORDS 15"}));
  EXPECT_EQ(store->openKeyCount(), 0u);
  EXPECT_EQ(get("ISSTORED", kSavePath), (Value{REG_BINARY, {0}}));
  EXPECT_FALSE(isGameStored(*store));
  EXPECT_EQ(loaded(), "3:7,8,9, 1234 4567 -8 3:OAK,ELM,ASPEN,");
  EXPECT_EQ(solving, (SolvingData{.puzzleNum = 42, .modeNum = 2, .gridGroup = 1}))
      << "the whole record is replaced";

  for (int16_t length : {0, -1, -32768}) {
    putSave("LENGTH", le16(length));
    game = SavedGame{};
    loadGame();
    EXPECT_EQ(loaded(), std::to_string(length) + ": 1234 4567 -8 3:OAK,ELM,ASPEN,");
    EXPECT_TRUE(rec.callsTo("query BYTE_DATA").empty()) << length;
  }
  putSave("LENGTH", le16(3));
  putSave("BYTE_DATA", {1, 2, 3, 4});
  loadGame();
  EXPECT_EQ(loaded(), "3:0,0,0, 1234 4567 -8 3:OAK,ELM,ASPEN,");
}

// The list is split only as far as count, stated length and commas all allow, its buffer never
// sized past the cap; a count of zero or less leaves the words as they were.
TEST_F(Store, TheWordListIsSplitOnlyAsFarAsCountLengthAndCommasAgree) {
  const struct {
    int32_t count, length;
    const char *list, *want;
  } cases[] = {
      {3, 10, "OAK,ELM,ASPEN,", "0:"},  // the list is longer than its stated length
      {1000000, 11, "OAK,ELM,ASP", "2:OAK,ELM,"},
      {2, 14, "OAK,ELM,ASPEN,", "2:OAK,ELM,"},
      {0, 14, "OAK,ELM,ASPEN,", "0:KEPT,"},
      {-3, 14, "OAK,ELM,ASPEN,", "-3:KEPT,"},
      {3, -1, "OAK,ELM,ASPEN,", "0:"},
      {3, INT32_MIN, "OAK,ELM,ASPEN,", "0:"},
      {3, INT32_MAX, "OAK,ELM,ASPEN,", "3:OAK,ELM,ASPEN,"},
      {3, 1 << 24, "OAK,ELM,ASPEN,", "3:OAK,ELM,ASPEN,"},
  };
  storeFullGame();
  for (const auto& c : cases) {
    SCOPED_TRACE(std::to_string(c.count) + " " + std::to_string(c.length) + " " + c.list);
    putSave("NWORDSFOUND", le32(c.count));
    putSave("SWORDSFOUND", le32(c.length));
    putSave("FOUNDWORDS", text(c.list), REG_SZ);
    game.foundWords.redim(1);
    game.foundWords(1) = "KEPT";
    loadGame();
    EXPECT_EQ(loaded(), std::string("3:7,8,9, 1234 4567 -8 ") + c.want);
    const int64_t buffer = std::clamp<int64_t>(c.length, 0, kMaxFoundWordsLength) + 1;
    EXPECT_EQ(rec.callsTo("query FOUNDWORDS"),
              Strings{"query FOUNDWORDS " + std::to_string(buffer)});
  }
}

TEST_F(Store, AGameIsStoredWithTheFlagClearedFirstAndSetLastAndOnlyWhenItsLengthFits) {
  const SolvingData record{.puzzleNum = 17, .modeNum = 2, .gridGroup = 2, .counterA = 7};
  ASSERT_TRUE(storeGame(rec, record, 4321, {1, 2, 3, 250, 0, 9}).ok());
  const auto sets = rec.callsTo("set ");
  ASSERT_EQ(sets.size(), 11u);
  EXPECT_EQ(sets.front(), "set ISSTORED 1") << "cleared first";
  EXPECT_EQ(sets.back(), "set ISSTORED 1") << "set last";
  loadGame();
  EXPECT_EQ(solving, record);
  EXPECT_EQ(loaded(), "6:1,2,3,250,0,9, 0 4321 0 0:");

  // Data a 16-bit length cannot state are not stored, and the game stored before stays.
  ASSERT_TRUE(storeGame(*store, SolvingData{.puzzleNum = 3}, 10, Bytes(100, 5)).ok());
  EXPECT_FALSE(storeGame(*store, record, 20, Bytes(40000, 6)).ok());
  EXPECT_FALSE(storeGame(*store, record, 20, Bytes{}).ok());
  ASSERT_TRUE(isGameStored(*store));
  loadGame();
  EXPECT_EQ(solving.puzzleNum, 3);
}

// A store that cannot be opened fails each routine with its message and is left alone; a key that
// cannot be created reads and writes nothing, silently.
TEST_F(Store, AStoreThatCannotBeOpenedOrAKeyThatCannotBeCreatedIsLeftAlone) {
  storeFullGame();
  rec.failOpen = true;
  const Status loadedUser = loadUserData(rec, user);
  EXPECT_EQ(loadedUser.message(), " Error Failerd");
  EXPECT_EQ(loadedUser.code(), StatusCode::kRefused);
  EXPECT_EQ(user.soundOptions[0] + user.solving.counterA, 0) << "no switch on, no counter raised";
  EXPECT_EQ(user.bestScores(1).names(1), "");
  EXPECT_EQ(saveUserData(rec, user).message(), " Error Failerd");

  Status status;
  EXPECT_FALSE(isGameStored(rec, &status));
  EXPECT_EQ(status.message(), " Error - Loading the Saved Game Failerd");
  EXPECT_EQ(clearGameStored(rec).message(), " Error - Loading the Saved Game Failerd");
  elapsed = 9;
  EXPECT_EQ(loadStoredGame(rec, solving, game, elapsed).message(),
            " Error - Load Saved Game Failerd");
  EXPECT_EQ(elapsed, 9);
  EXPECT_EQ(storeGame(rec, solving, 0, Bytes{1}).message(), kStoreGameFailedMessage);
  EXPECT_EQ(rec.callsTo("open"), rec.calls) << "nothing but opens was tried";

  rec.failOpen = false, rec.failCreate = true;
  rec.calls.clear();
  EXPECT_TRUE(loadUserData(rec, user).ok());
  EXPECT_FALSE(saveUserData(rec, user).ok());
  EXPECT_EQ(user.solving.counterA, 0);
  EXPECT_FALSE(isGameStored(rec));
  EXPECT_TRUE(clearGameStored(rec).ok());
  elapsed = 3;
  EXPECT_TRUE(loadStoredGame(rec, solving, game, elapsed).ok());
  EXPECT_EQ(loaded(), "0: 0 3 0 0:");
  EXPECT_EQ(rec.callsTo("set").size() + rec.callsTo("query").size(), 0u);
  EXPECT_EQ(store->openKeyCount(), 0u) << "Software is closed again";
  EXPECT_TRUE(isGameStored(*store)) << "nothing above could clear the flag";
}

}  // namespace
}  // namespace qlx
