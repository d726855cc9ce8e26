// loadUserData and saveUserData against an in-memory store: the first run, byte-exact round
// trips, the name buffer's limits, the counter rules and a store that cannot be opened.
#include <gtest/gtest.h>

#include "persistence/user_store.h"
#include "store_helpers.h"

namespace qlx {
namespace {

using namespace qlx::testing;

UserData freshUser() {
  UserData u;
  u.bestScores.redim(kLevels);
  return u;
}

class UserStore : public ::testing::Test {
 protected:
  std::unique_ptr<Registry> store = memoryStore();
  HeadlessBackend backend;
  UserData user = freshUser();

  void put(const std::string& name, DWORD type, const Bytes& bytes) {
    writeValue(*store, kAppPath, name, type, bytes);
  }
  std::optional<Value> get(const std::string& name) { return readValue(*store, kAppPath, name); }
  void load() { EXPECT_TRUE(loadUserData(*store, user).ok()); }
  void save() { EXPECT_TRUE(saveUserData(*store, user).ok()); }
};

TEST_F(UserStore, FirstRunCreatesTheKeyAndFillsEveryDefault) {
  load();
  EXPECT_EQ(keyClass(*store, kAppPath), "USERDATA");
  EXPECT_TRUE(backend.messages.empty());
  for (int16_t s : user.soundOptions) EXPECT_EQ(s, 1);
  for (int level = 1; level <= kLevels; ++level)
    for (int i = 1; i <= kBestPlaces; ++i) {
      EXPECT_EQ(user.bestScores(level).names(i), "Anononymous") << level << "/" << i;
      EXPECT_EQ(user.bestScores(level).times(i), 30000) << level << "/" << i;
    }
  EXPECT_EQ(user.solving.puzzleNum, 0);
  EXPECT_EQ(user.solving.modeNum, 0);
  EXPECT_EQ(user.solving.gridGroup, 0);
  EXPECT_EQ(user.solving.counterA, 1);
  EXPECT_EQ(user.solving.counterB, 1);
  EXPECT_EQ(user.numWfsf, 0);

  save();
  const std::pair<const char*, std::size_t> binaries[] = {
      {"SOLVINGDATA", 22}, {"NUMWFSF", 4}, {"SOUNDOPTIONS", 14}, {"1STATS", 32}, {"2STATS", 32}};
  for (auto [name, size] : binaries) {
    auto v = get(name);
    ASSERT_TRUE(v) << name;
    EXPECT_EQ(v->type, REG_BINARY) << name;
    EXPECT_EQ(v->bytes.size(), size) << name;
  }
  EXPECT_EQ(get("SOLVINGDATA")->bytes,
            (Bytes{0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1, 0, 0, 0, 1, 0}));
  EXPECT_EQ(get("SOUNDOPTIONS")->bytes, (Bytes{1, 0, 1, 0, 1, 0, 1, 0, 1, 0, 1, 0, 1, 0}));
  Bytes table;
  for (int i = 0; i < 8; ++i) table.insert(table.end(), {0x30, 0x75, 0, 0});  // 30000
  EXPECT_EQ(get("2STATS")->bytes, table);
  for (int level = 1; level <= kLevels; ++level)
    for (int i = 1; i <= kBestPlaces; ++i) {
      auto v = get(nameValueName(level, i));
      ASSERT_TRUE(v) << nameValueName(level, i);
      EXPECT_EQ(v->type, REG_SZ);
      EXPECT_EQ(v->bytes, text("Anononymous"));  // 12 bytes, NUL included
    }
}

TEST_F(UserStore, KeyPathAndClassAreAsTheGameWritesThem) {
  RecordingRegistry rec(*store);
  (void)loadUserData(rec, user);
  ASSERT_GE(rec.calls.size(), 2u);
  EXPECT_EQ(rec.calls[0], "open Software");
  EXPECT_EQ(rec.calls[1], "create Tarnwick\\Quillorix\\1.0 USERDATA 0 983103");
  EXPECT_EQ(rec.openKeys, 0) << "every key is closed";
  // The reads, in order, with their buffer sizes.
  std::vector<std::string> queries;
  for (const std::string& c : rec.calls)
    if (c.rfind("query ", 0) == 0) queries.push_back(c);
  ASSERT_EQ(queries.size(), 3u + 2u * 9u);
  EXPECT_EQ(queries[0], "query SOLVINGDATA 22");
  EXPECT_EQ(queries[1], "query NUMWFSF 4");
  EXPECT_EQ(queries[2], "query SOUNDOPTIONS 14");
  EXPECT_EQ(queries[3], "query 1STATS 32");
  EXPECT_EQ(queries[4], "query 1STATS1 25");
  EXPECT_EQ(queries[11], "query 1STATS8 25");
  EXPECT_EQ(queries[12], "query 2STATS 32");
  EXPECT_EQ(queries[20], "query 2STATS8 25");
}

TEST_F(UserStore, SavingAfterALoadWritesEveryCarriedByteBack) {
  const Bytes record = {0x01, 0x02, 0x03, 0x04, 0xFE, 0xFF, 0x7F, 0x80, 0x11, 0x92, 0x02,
                        0x00, 0x03, 0x00, 0xAB, 0xCD, 0x05, 0x00, 0x00, 0x10, 0x34, 0x12};
  const Bytes wfsf = {0x9A, 0x78, 0x56, 0xF4};
  const Bytes switches = {0, 0, 7, 0, 0xFF, 0xFF, 0x00, 0x80, 2, 1, 0x34, 0x12, 1, 0};
  Bytes table1, table2;
  for (int i = 1; i <= 8; ++i) {
    for (uint8_t b : le32(i * 1000 + 7)) table1.push_back(b);
    for (uint8_t b : le32(-i)) table2.push_back(b);
  }
  put("SOLVINGDATA", REG_BINARY, record);
  put("NUMWFSF", REG_BINARY, wfsf);
  put("SOUNDOPTIONS", REG_BINARY, switches);
  put("1STATS", REG_BINARY, table1);
  put("2STATS", REG_BINARY, table2);
  for (int level = 1; level <= 2; ++level)
    for (int i = 1; i <= 8; ++i)
      put(nameValueName(level, i), REG_SZ,
          text(std::string("P\xE9").append(std::to_string(level * 10 + i))));

  load();
  // Little-endian fields at their offsets.
  EXPECT_EQ(user.solving.puzzleNum, 0x04030201);
  EXPECT_EQ(user.solving.modeNum, 2);
  EXPECT_EQ(user.solving.gridGroup, 3);
  EXPECT_EQ(user.solving.reserved, 0xCDAB);
  EXPECT_EQ(user.solving.counterA, 0x10000005);
  EXPECT_EQ(user.solving.counterB, 0x1234);
  EXPECT_EQ(user.numWfsf, static_cast<int32_t>(0xF456789A));
  EXPECT_EQ(user.soundOptions[2], -1);
  EXPECT_EQ(user.soundOptions[3], -32768);
  EXPECT_EQ(user.bestScores(1).times(3), 3007);
  EXPECT_EQ(user.bestScores(2).names(8),
            "P\xE9"
            "28");

  save();
  EXPECT_EQ(get("SOLVINGDATA")->bytes, record);
  EXPECT_EQ(get("NUMWFSF")->bytes, wfsf);
  EXPECT_EQ(get("SOUNDOPTIONS")->bytes, switches);
  EXPECT_EQ(get("1STATS")->bytes, table1);
  EXPECT_EQ(get("2STATS")->bytes, table2);
  EXPECT_EQ(get("1STATS5")->bytes, text("P\xE9"
                                        "15"));
}

TEST_F(UserStore, NamesAreReadThroughATwentyFiveByteBuffer) {
  const std::string name24(24, 'x');
  const std::string name25 = std::string(24, 'y') + "z";
  Bytes table;
  for (int i = 1; i <= 8; ++i)
    for (uint8_t b : le32(100 * i)) table.push_back(b);
  put("1STATS", REG_BINARY, table);
  put("1STATS1", REG_SZ, text(name24));
  put("1STATS2", REG_SZ, text(name25));
  put("1STATS3", REG_SZ, text("Ada", false));
  put("1STATS4", REG_SZ, Bytes{0});
  put("1STATS5", REG_SZ, Bytes{});
  put("1STATS6", REG_SZ, text(std::string(25, 'w'), false));  // 25 bytes fit exactly, no NUL
  load();
  const BestList& l = user.bestScores(1);
  EXPECT_EQ(l.names(1), name24);
  EXPECT_EQ(l.times(1), 100);
  // 26 bytes do not fit: the default wins over the table that was read.
  EXPECT_EQ(l.names(2), "Anononymous");
  EXPECT_EQ(l.times(2), 30000);
  EXPECT_EQ(l.names(3), "Ad");  // stored without its NUL: the last character is lost
  EXPECT_EQ(l.names(4), "");    // a lone NUL
  EXPECT_EQ(l.times(4), 400);
  EXPECT_EQ(l.names(5), "");  // no bytes at all: an empty name, the time kept
  EXPECT_EQ(l.times(5), 500);
  EXPECT_EQ(l.names(6), std::string(24, 'w'));
  EXPECT_EQ(l.names(7), "Anononymous");  // absent
  EXPECT_EQ(l.times(7), 30000);
}

TEST_F(UserStore, AMissingTableLeavesTheTimesOfPresentNames) {
  for (int i = 1; i <= 8; ++i)
    put(nameValueName(2, i), REG_SZ, text(std::string("N").append(std::to_string(i))));
  load();
  for (int i = 1; i <= 8; ++i) {
    EXPECT_EQ(user.bestScores(2).names(i), std::string("N").append(std::to_string(i)));
    EXPECT_EQ(user.bestScores(2).times(i), 0);
  }
}

TEST_F(UserStore, CountersBelowOneAreRaisedAfterTheRecordIsRead) {
  Bytes record(22, 0);
  record[0] = 9;
  for (int32_t a : {0, -5}) {
    const Bytes av = le32(a);
    std::copy(av.begin(), av.end(), record.begin() + 16);
    put("SOLVINGDATA", REG_BINARY, record);
    user = freshUser();
    load();
    EXPECT_EQ(user.solving.puzzleNum, 9);
    EXPECT_EQ(user.solving.counterA, 1) << a;
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
}

TEST_F(UserStore, ASwitchTableThatCannotBeReadTurnsEverySwitchOn) {
  put("SOUNDOPTIONS", REG_BINARY, Bytes(16, 0));  // too long for its 14 bytes
  user.soundOptions.fill(-3);
  load();
  for (int16_t s : user.soundOptions) EXPECT_EQ(s, 1);
}

TEST_F(UserStore, AStoreThatCannotBeOpenedFailsWithItsMessageAndIsLeftAlone) {
  RecordingRegistry rec(*store);
  rec.failOpen = true;
  const Status loaded = loadUserData(rec, user);
  EXPECT_EQ(loaded.message(), " Error Failerd");
  EXPECT_EQ(loaded.code(), StatusCode::kRefused);
  EXPECT_EQ(user.soundOptions[0], 0);
  EXPECT_EQ(user.bestScores(1).names(1), "");
  EXPECT_EQ(user.solving.counterA, 0);

  EXPECT_EQ(saveUserData(rec, user).message(), " Error Failerd");
  EXPECT_FALSE(rec.called("create") || rec.called("set") || rec.called("query"));
}

TEST_F(UserStore, AGameKeyThatCannotBeCreatedReadsAndWritesNothingSilently) {
  RecordingRegistry rec(*store);
  rec.failCreate = true;
  EXPECT_TRUE(loadUserData(rec, user).ok());
  EXPECT_FALSE(saveUserData(rec, user).ok());
  EXPECT_FALSE(rec.called("set") || rec.called("query"));
  EXPECT_EQ(user.solving.counterA, 0);
  EXPECT_EQ(rec.openKeys, 0) << "Software is closed again";
}

}  // namespace
}  // namespace qlx
