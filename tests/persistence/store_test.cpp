// The player's data and the stored game on an in-memory store: the first run, byte-exact round
// trips, the name buffer's limits, the counter rules, the stored game's flag and the lengths that
// must not be trusted, the writer, and stores that cannot be opened or written.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cctype>

#include "persistence/saved_game.h"
#include "persistence/user_store.h"
#include "store_helpers.h"

namespace qlx {
namespace {

using namespace qlx::testing;

std::string valueName(int level, int place = 0) {
  std::string name = std::to_string(level) + "STATS";
  return place ? name + std::to_string(place) : name;
}

class Store : public ::testing::Test {
 protected:
  Store() { user.bestScores.redim(kLevels); }

  std::unique_ptr<Registry> store = memoryStore();
  RecordingRegistry rec{*store};
  HeadlessBackend backend;
  UserData user;
  SolvingData solving;
  SavedGame game;
  int32_t elapsed = -1;

  void put(const std::string& name, DWORD type, const Bytes& bytes) {
    writeValue(*store, kAppPath, name, type, bytes);
  }
  void putSave(const std::string& name, const Bytes& bytes, DWORD type = REG_BINARY) {
    writeValue(*store, kSavePath, name, type, bytes, "SAVEDATA");
  }
  std::optional<Value> get(const std::string& name) { return readValue(*store, kAppPath, name); }
  void load() { EXPECT_TRUE(loadUserData(*store, user).ok()); }
  // Loads the stored game through rec, its calls cleared first.
  void loadGame() {
    rec.calls.clear();
    EXPECT_TRUE(loadStoredGame(rec, solving, game, elapsed).ok());
  }
  Bytes bytes() const { return Bytes(game.savedBytes.begin(), game.savedBytes.end()); }
  std::vector<std::string> words() const {
    return std::vector<std::string>(game.foundWords.begin(), game.foundWords.end());
  }
  // A complete stored game of three words.
  void storeFullGame() {
    put("NUMWFSF", REG_BINARY, le32(0));  // the game's key exists first
    putSave("ISSTORED", {1});
    putSave("LENGTH", le16(3));
    putSave("BYTE_DATA", {7, 8, 9});
    Bytes mode(22, 0);
    mode[0] = 42, mode[10] = 2, mode[12] = 1;  // puzzleNum, modeNum, gridGroup
    putSave("MODE_NUM", mode);
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
  ASSERT_GE(rec.calls.size(), 2u);
  EXPECT_EQ(rec.calls[0], "open Software");
  EXPECT_EQ(rec.calls[1], "create Tarnwick\\Quillorix\\1.0 USERDATA 0 983103");
  EXPECT_EQ(rec.openKeys, 0) << "every key is closed";
  std::vector<std::string> reads = {"query SOLVINGDATA 22", "query NUMWFSF 4",
                                    "query SOUNDOPTIONS 14"};
  for (int level = 1; level <= kLevels; ++level)
    for (int i = 0; i <= kBestPlaces; ++i)
      reads.push_back("query " + valueName(level, i) + (i ? " 25" : " 32"));
  EXPECT_EQ(rec.callsTo("query"), reads);

  EXPECT_TRUE(saveUserData(*store, user).ok());
  Bytes table;
  for (int i = 0; i < 8; ++i) table.insert(table.end(), {0x30, 0x75, 0, 0});  // 30000
  const std::pair<const char*, Bytes> binaries[] = {
      {"SOLVINGDATA", {0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1, 0, 0, 0, 1, 0}},
      {"NUMWFSF", {0, 0, 0, 0}},
      {"SOUNDOPTIONS", {1, 0, 1, 0, 1, 0, 1, 0, 1, 0, 1, 0, 1, 0}},
      {"1STATS", table},
      {"2STATS", table}};
  for (const auto& [name, bytes] : binaries) EXPECT_EQ(get(name), (Value{REG_BINARY, bytes}));
  for (int level = 1; level <= kLevels; ++level)
    for (int i = 1; i <= kBestPlaces; ++i)
      EXPECT_EQ(get(valueName(level, i)), (Value{REG_SZ, text("Anononymous")}));
  EXPECT_TRUE(backend.messages.empty());
}

TEST_F(Store, SavingAfterALoadWritesEveryCarriedByteBack) {
  const Bytes record = {0x01, 0x02, 0x03, 0x04, 0xFE, 0xFF, 0x7F, 0x80, 0x11, 0x92, 0x02,
                        0x00, 0x03, 0x00, 0xAB, 0xCD, 0x05, 0x00, 0x00, 0x10, 0x34, 0x12};
  std::vector<std::pair<std::string, Bytes>> values = {
      {"SOLVINGDATA", record},
      {"NUMWFSF", {0x9A, 0x78, 0x56, 0xF4}},
      {"SOUNDOPTIONS", {0, 0, 7, 0, 0xFF, 0xFF, 0x00, 0x80, 2, 1, 0x34, 0x12, 1, 0}},
      {"1STATS", {}},
      {"2STATS", {}}};
  for (int i = 1; i <= 8; ++i) {
    for (uint8_t b : le32(i * 1000 + 7)) values[3].second.push_back(b);
    for (uint8_t b : le32(-i)) values[4].second.push_back(b);
  }
  for (int level = 1; level <= 2; ++level)
    for (int i = 1; i <= 8; ++i)
      values.emplace_back(valueName(level, i),
                          text(std::string("P\xE9").append(std::to_string(level * 10 + i))));
  for (const auto& [name, bytes] : values)
    put(name, std::isdigit(name.back()) ? REG_SZ : REG_BINARY, bytes);

  load();
  EXPECT_EQ(user.soundOptions[3], -32768);
  EXPECT_EQ(user.bestScores(1).times(3), 3007);
  EXPECT_EQ(user.bestScores(2).names(8), std::string("P\xE9").append("28"));

  EXPECT_TRUE(saveUserData(*store, user).ok());
  for (const auto& [name, bytes] : values) EXPECT_EQ(get(name)->bytes, bytes) << name;
}

TEST_F(Store, NamesAreReadThroughATwentyFiveByteBufferAndAMissingTableLeavesTheirTimes) {
  struct Case {
    std::optional<Bytes> stored;
    std::string name;
    int32_t time;
  };
  const Case cases[] = {
      {text(std::string(24, 'x')), std::string(24, 'x'), 100},
      {text(std::string(24, 'y') + "z"), "Anononymous", 30000},  // 26 bytes: the default wins
      {Bytes{'A', 'd', 'a'}, "Ad", 300},  // stored without its NUL: the last character is lost
      {Bytes{0}, "", 400},
      {Bytes{}, "", 500},
      {Bytes(25, 'w'), std::string(24, 'w'), 600},  // 25 bytes fit exactly, without a NUL
      {std::nullopt, "Anononymous", 30000},
  };
  Bytes table;
  for (int i = 1; i <= 8; ++i)
    for (uint8_t b : le32(100 * i)) table.push_back(b);
  put("1STATS", REG_BINARY, table);
  for (int i = 1; i <= 7; ++i)
    if (cases[i - 1].stored) put(valueName(1, i), REG_SZ, *cases[i - 1].stored);
  for (int i = 1; i <= 8; ++i)
    put(valueName(2, i), REG_SZ, text(std::string("N").append(std::to_string(i))));
  load();
  for (int i = 1; i <= 7; ++i) {
    EXPECT_EQ(user.bestScores(1).names(i), cases[i - 1].name) << i;
    EXPECT_EQ(user.bestScores(1).times(i), cases[i - 1].time) << i;
    EXPECT_EQ(user.bestScores(2).times(i), 0) << "no 2STATS: the times are left";
  }
  EXPECT_EQ(user.bestScores(2).names(8), "N8");
}

TEST_F(Store, CountersBelowOneAreRaisedAfterTheRecordIsReadAndBadSwitchesAllTurnOn) {
  Bytes record(22, 0);
  record[0] = 9;
  for (uint8_t a : {0, 0xFB}) {  // 0 and -5
    record[16] = a, record[17] = record[18] = record[19] = a ? 0xFF : 0;
    put("SOLVINGDATA", REG_BINARY, record);
    user.solving = SolvingData{};
    load();
    EXPECT_EQ(user.solving.puzzleNum, 9);
    EXPECT_EQ(user.solving.counterA, 1) << int(a);
    EXPECT_EQ(user.solving.counterB, 1) << "bytes 20..21 are 0";
  }
  // Only the low half of counter B is stored; the high half stays as it was.
  record[20] = 2;
  put("SOLVINGDATA", REG_BINARY, record);
  user.solving.counterB = 0x00030000;
  load();
  EXPECT_EQ(user.solving.counterB, 0x00030002);
  user.solving.counterB = static_cast<int32_t>(0xFFFF0000u);  // high half negative: below 1
  load();
  EXPECT_EQ(user.solving.counterB, 1);
  // A record shorter than 22 bytes replaces only its first bytes.
  put("SOLVINGDATA", REG_BINARY, le32(77));
  user.solving.gridGroup = 2;
  load();
  EXPECT_EQ(user.solving.puzzleNum, 77);
  EXPECT_EQ(user.solving.gridGroup, 2);

  put("SOUNDOPTIONS", REG_BINARY, Bytes(16, 0));  // too long for its 14 bytes
  user.soundOptions.fill(-3);
  load();
  for (int16_t s : user.soundOptions) EXPECT_EQ(s, 1);
}

TEST_F(Store, AStoredGameIsFlaggedByAnyNonZeroByteClearedFirstThenReadWhole) {
  EXPECT_FALSE(isGameStored(*store)) << "no SAVE key: no game";
  // Missing values leave their variables.
  putSave("ISSTORED", {1});
  solving.puzzleNum = 17, game.savedScore = 5, game.levelScore = 6, elapsed = 700;
  loadGame();
  EXPECT_EQ((std::array{solving.puzzleNum, game.savedScore, game.levelScore, elapsed}),
            (std::array{17, 5, 6, 700}));
  EXPECT_EQ(game.foundWordCount, 0);
  EXPECT_FALSE(isGameStored(*store));

  storeFullGame();
  for (uint8_t flag : {1, 0x80, 0xFF}) {
    putSave("ISSTORED", {flag});
    EXPECT_TRUE(isGameStored(*store)) << int(flag);
  }
  solving.counterA = 5;
  loadGame();
  EXPECT_EQ(std::vector<std::string>(rec.calls.begin(), rec.calls.begin() + 3),
            (std::vector<std::string>{"open Software",
                                      "create Tarnwick\\Quillorix\\1.0\\SAVE SAVEDATA 0 983103",
                                      "set ISSTORED 1"}));
  EXPECT_EQ(rec.callsTo("query"),
            (std::vector<std::string>{"query LENGTH 2", "query BYTE_DATA 3", "query MODE_NUM 22",
                                      "query SCORE 4", "query NWORDSFOUND 4", "query SWORDSFOUND 4",
                                      "query TIMEREM 4", "query CURLEVELSCORE 4",
                                      "query FOUNDWORDS 15"}));
  EXPECT_EQ(rec.openKeys, 0);
  EXPECT_EQ(readValue(*store, kSavePath, "ISSTORED"), (Value{REG_BINARY, {0}}));
  EXPECT_FALSE(isGameStored(*store));

  EXPECT_EQ(bytes(), (Bytes{7, 8, 9}));
  EXPECT_EQ(solving, (SolvingData{.puzzleNum = 42, .modeNum = 2, .gridGroup = 1}))
      << "the whole record is replaced";
  EXPECT_EQ(game.savedScore, 1234);
  EXPECT_EQ(elapsed, 4567);
  EXPECT_EQ(game.levelScore, -8);
  EXPECT_EQ(game.foundWordCount, 3);
  EXPECT_EQ(words(), (std::vector<std::string>{"OAK", "ELM", "ASPEN"}));
  EXPECT_TRUE(backend.messages.empty());
}

TEST_F(Store, AByteLengthBelowOneOrShorterThanTheBytesReadsNoBytes) {
  storeFullGame();
  for (int16_t length : {0, -1, -32768}) {
    putSave("LENGTH", le16(length));
    game = SavedGame{};
    loadGame();
    EXPECT_EQ(game.savedByteCount, length);
    EXPECT_TRUE(game.savedBytes.empty());
    EXPECT_FALSE(rec.called("query BYTE_DATA")) << length;
    EXPECT_EQ(game.foundWordCount, 3) << "the rest is still read";
  }
  putSave("LENGTH", le16(3));
  putSave("BYTE_DATA", {1, 2, 3, 4});
  loadGame();
  EXPECT_EQ(bytes(), (Bytes{0, 0, 0}));
}

// The list is split only as far as count, stated length and commas all allow, its buffer never
// sized past the cap; a count of zero or less leaves the words as they were.
TEST_F(Store, TheWordListIsSplitOnlyAsFarAsCountLengthAndCommasAgree) {
  const std::vector<std::string> all = {"OAK", "ELM", "ASPEN"}, kept = {"KEPT"};
  struct Case {
    int32_t count, length;
    const char* list;
    int32_t wantCount;
    std::vector<std::string> want;
  };
  const Case cases[] = {
      {3, 10, "OAK,ELM,ASPEN,", 0, {}},  // the list is longer than its stated length
      {1000000, 11, "OAK,ELM,ASP", 2, {"OAK", "ELM"}},
      {2, 14, "OAK,ELM,ASPEN,", 2, {"OAK", "ELM"}},
      {0, 14, "OAK,ELM,ASPEN,", 0, kept},
      {-3, 14, "OAK,ELM,ASPEN,", -3, kept},
      {3, -1, "OAK,ELM,ASPEN,", 0, {}},
      {3, INT32_MIN, "OAK,ELM,ASPEN,", 0, {}},
      {3, INT32_MAX, "OAK,ELM,ASPEN,", 3, all},
      {3, 1 << 24, "OAK,ELM,ASPEN,", 3, all},
  };
  storeFullGame();
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.count) + " " + std::to_string(c.length) + " " + c.list);
    putSave("NWORDSFOUND", le32(c.count));
    putSave("SWORDSFOUND", le32(c.length));
    putSave("FOUNDWORDS", text(c.list), REG_SZ);
    game = SavedGame{};
    if (c.count <= 0) {
      game.foundWords.redim(1);
      game.foundWords(1) = "KEPT";
    }
    loadGame();
    EXPECT_EQ(game.foundWordCount, c.wantCount);
    EXPECT_EQ(words(), c.want);
    const int64_t buffer = std::clamp<int64_t>(c.length, 0, kMaxFoundWordsLength) + 1;
    EXPECT_EQ(rec.callsTo("query FOUNDWORDS"),
              std::vector<std::string>{"query FOUNDWORDS " + std::to_string(buffer)});
  }
}

TEST_F(Store, AGameIsStoredWithTheFlagClearedFirstAndSetLastAndOnlyWhenItsLengthFits) {
  const SolvingData record{.puzzleNum = 17, .modeNum = 2, .gridGroup = 2, .counterA = 7};
  ASSERT_TRUE(storeGame(rec, record, 4321, {1, 2, 3, 250, 0, 9}).ok());
  const auto sets = rec.callsTo("set ");
  ASSERT_EQ(sets.size(), 11u);
  EXPECT_EQ(sets.front(), "set ISSTORED 1") << "cleared first";
  EXPECT_EQ(sets.back(), "set ISSTORED 1") << "set last";
  EXPECT_EQ(rec.openKeys, 0);
  loadGame();
  EXPECT_EQ(solving, record);
  EXPECT_EQ(elapsed, 4321);
  EXPECT_EQ(bytes(), (Bytes{1, 2, 3, 250, 0, 9}));

  // Data a 16-bit length cannot state are not stored, and the game stored before stays.
  ASSERT_TRUE(storeGame(*store, SolvingData{.puzzleNum = 3}, 10, Bytes(100, 5)).ok());
  EXPECT_FALSE(storeGame(*store, record, 20, Bytes(40000, 6)).ok());
  EXPECT_FALSE(storeGame(*store, record, 20, Bytes{}).ok());
  ASSERT_TRUE(isGameStored(*store));
  loadGame();
  EXPECT_EQ(solving.puzzleNum, 3);
  EXPECT_TRUE(backend.messages.empty());
}

TEST_F(Store, AStoreThatCannotBeOpenedFailsEachRoutineWithItsMessageAndIsLeftAlone) {
  rec.failOpen = true;
  const Status loaded = loadUserData(rec, user);
  EXPECT_EQ(loaded.message(), " Error Failerd");
  EXPECT_EQ(loaded.code(), StatusCode::kRefused);
  EXPECT_EQ(user.soundOptions[0], 0);
  EXPECT_EQ(user.bestScores(1).names(1), "");
  EXPECT_EQ(user.solving.counterA, 0);
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
  EXPECT_FALSE(rec.called("create") || rec.called("set") || rec.called("query"));
}

TEST_F(Store, AKeyThatCannotBeCreatedReadsAndWritesNothingSilently) {
  storeFullGame();
  rec.failCreate = true;
  EXPECT_TRUE(loadUserData(rec, user).ok());
  EXPECT_FALSE(saveUserData(rec, user).ok());
  EXPECT_EQ(user.solving.counterA, 0);
  EXPECT_FALSE(isGameStored(rec));
  EXPECT_TRUE(clearGameStored(rec).ok());
  elapsed = 3;
  EXPECT_TRUE(loadStoredGame(rec, solving, game, elapsed).ok());
  EXPECT_EQ(elapsed, 3);
  EXPECT_TRUE(game.foundWords.empty());
  EXPECT_FALSE(rec.called("set") || rec.called("query"));
  EXPECT_EQ(rec.openKeys, 0) << "Software is closed again";
  EXPECT_TRUE(backend.messages.empty());
  EXPECT_TRUE(isGameStored(*store)) << "nothing above could clear the flag";
}

}  // namespace
}  // namespace qlx
