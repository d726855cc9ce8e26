// The stored game: the flag, its clearing before any read, the read of a whole stored game and
// the stored lengths that must not be trusted (missing, negative, too small, too large).
#include <gtest/gtest.h>

#include "persistence/saved_game.h"
#include "store_helpers.h"

namespace qlx {
namespace {

using namespace qlx::testing;

class SavedGameStore : public ::testing::Test {
 protected:
  std::unique_ptr<Registry> store = memoryStore();
  HeadlessBackend backend;
  SolvingData solving;
  SavedGame game;
  int32_t elapsed = -1;

  void put(const std::string& name, const Bytes& bytes, DWORD type = REG_BINARY) {
    writeValue(*store, kSavePath, name, type, bytes, "SAVEDATA");
  }
  void load() { EXPECT_TRUE(loadStoredGame(*store, solving, game, elapsed).ok()); }
  // A complete stored game of three words.
  void storeGame() {
    writeValue(*store, kAppPath, "NUMWFSF", REG_BINARY, le32(0));  // the game's key exists first
    put("ISSTORED", {1});
    put("LENGTH", le16(3));
    put("BYTE_DATA", {7, 8, 9});
    Bytes record(22, 0);
    record[0] = 42;  // puzzleNum
    record[10] = 2;  // modeNum
    record[12] = 1;  // gridGroup
    put("MODE_NUM", record);
    put("SCORE", le32(1234));
    put("NWORDSFOUND", le32(3));
    put("SWORDSFOUND", le32(14));
    put("TIMEREM", le32(4567));
    put("CURLEVELSCORE", le32(-8));
    put("FOUNDWORDS", text("OAK,ELM,ASPEN,"), REG_SZ);
  }
};

TEST_F(SavedGameStore, TheFlagIsAnyNonZeroByteAndClearingWritesOneZeroByte) {
  EXPECT_FALSE(isGameStored(*store)) << "no SAVE key: no game";
  EXPECT_EQ(keyClass(*store, kSavePath), "SAVEDATA");
  for (uint8_t flag : {1, 0x80, 0xFF}) {
    put("ISSTORED", {flag});
    EXPECT_TRUE(isGameStored(*store)) << int(flag);
  }
  (void)clearGameStored(*store);
  EXPECT_FALSE(isGameStored(*store));
  auto v = readValue(*store, kSavePath, "ISSTORED");
  ASSERT_TRUE(v);
  EXPECT_EQ(v->type, REG_BINARY);
  EXPECT_EQ(v->bytes, Bytes{0});
  EXPECT_TRUE(backend.messages.empty());
}

TEST_F(SavedGameStore, AStoredGameIsReadAndNotOfferedAgain) {
  storeGame();
  ASSERT_TRUE(isGameStored(*store));
  solving.counterA = 5;
  load();
  EXPECT_EQ(game.savedByteCount, 3);
  EXPECT_EQ(game.savedBytes, ([] {
              Array1<uint8_t> a(3);
              a(1) = 7;
              a(2) = 8;
              a(3) = 9;
              return a;
            })());
  EXPECT_EQ(solving.puzzleNum, 42);
  EXPECT_EQ(solving.modeNum, 2);
  EXPECT_EQ(solving.gridGroup, 1);
  EXPECT_EQ(solving.counterA, 0) << "the whole record is replaced";
  EXPECT_EQ(game.savedScore, 1234);
  EXPECT_EQ(elapsed, 4567);
  EXPECT_EQ(game.levelScore, -8);
  ASSERT_EQ(game.foundWordCount, 3);
  ASSERT_EQ(game.foundWords.size(), 3u);
  EXPECT_EQ(game.foundWords(1), "OAK");
  EXPECT_EQ(game.foundWords(2), "ELM");
  EXPECT_EQ(game.foundWords(3), "ASPEN");
  EXPECT_TRUE(backend.messages.empty());
  EXPECT_FALSE(isGameStored(*store));
}

TEST_F(SavedGameStore, TheFlagIsClearedBeforeAnythingIsRead) {
  storeGame();
  put("LENGTH", le16(-4));
  put("FOUNDWORDS", text("FAR,TOO,LONG,FOR,THE,STATED,LENGTH,"), REG_SZ);
  RecordingRegistry rec(*store);
  (void)loadStoredGame(rec, solving, game, elapsed);
  ASSERT_GE(rec.calls.size(), 3u);
  EXPECT_EQ(rec.calls[0], "open Software");
  EXPECT_EQ(rec.calls[1], "create Tarnwick\\Quillorix\\1.0\\SAVE SAVEDATA 0 983103");
  EXPECT_EQ(rec.calls[2], "set ISSTORED 1");
  const std::vector<std::string> reads = {
      "query LENGTH 2",      "query MODE_NUM 22", "query SCORE 4",         "query NWORDSFOUND 4",
      "query SWORDSFOUND 4", "query TIMEREM 4",   "query CURLEVELSCORE 4", "query FOUNDWORDS 15"};
  EXPECT_EQ(std::vector<std::string>(rec.calls.begin() + 3, rec.calls.begin() + 3 + reads.size()),
            reads);
  EXPECT_EQ(rec.openKeys, 0);
  EXPECT_FALSE(isGameStored(*store));
}

TEST_F(SavedGameStore, ALengthBelowOneOrShorterThanTheBytesReadsNoBytes) {
  storeGame();
  for (int16_t length : {0, -1, -32768}) {
    put("LENGTH", le16(length));
    RecordingRegistry rec(*store);
    game = SavedGame{};
    (void)loadStoredGame(rec, solving, game, elapsed);
    EXPECT_EQ(game.savedByteCount, length);
    EXPECT_TRUE(game.savedBytes.empty());
    EXPECT_FALSE(rec.called("query BYTE_DATA")) << length;
    EXPECT_EQ(game.foundWordCount, 3) << "the rest is still read";
  }
  // Byte data longer than its stated length is not read either.
  put("LENGTH", le16(3));
  put("BYTE_DATA", {1, 2, 3, 4});
  game = SavedGame{};
  load();
  ASSERT_EQ(game.savedBytes.size(), 3u);
  EXPECT_EQ(game.savedBytes(1), 0);
}

TEST_F(SavedGameStore, AStatedLengthOutOfRangeNeverSizesTheBuffer) {
  storeGame();
  for (int32_t n : {-1, INT32_MIN, INT32_MAX, 1 << 24}) {
    put("SWORDSFOUND", le32(n));
    RecordingRegistry rec(*store);
    game = SavedGame{};
    (void)loadStoredGame(rec, solving, game, elapsed);
    const std::string cap = "query FOUNDWORDS " + std::to_string(kMaxFoundWordsLength + 1);
    EXPECT_TRUE(rec.called(n < 0 ? "query FOUNDWORDS 1" : cap)) << n;
    if (n > 0) {  // the list fits the capped buffer and is read
      ASSERT_EQ(game.foundWordCount, 3) << n;
      EXPECT_EQ(game.foundWords(3), "ASPEN");
    } else {
      EXPECT_EQ(game.foundWordCount, 0) << n;
    }
  }
}

// The stored word count and list length are not trusted: the list is split only as far as both
// allow, and a count of zero or less leaves the words as they were.
TEST_F(SavedGameStore, TheWordListIsSplitOnlyAsFarAsCountLengthAndCommasAgree) {
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
      {0, 14, "OAK,ELM,ASPEN,", 0, {"KEPT"}},
      {-3, 14, "OAK,ELM,ASPEN,", -3, {"KEPT"}},
  };
  storeGame();
  for (const Case& c : cases) {
    put("NWORDSFOUND", le32(c.count));
    put("SWORDSFOUND", le32(c.length));
    put("FOUNDWORDS", text(c.list), REG_SZ);
    game = SavedGame{};
    if (c.count <= 0) {
      game.foundWords.redim(1);
      game.foundWords(1) = "KEPT";
    }
    load();
    EXPECT_EQ(game.foundWordCount, c.wantCount) << c.count << " " << c.list;
    std::vector<std::string> got;
    for (std::size_t i = 1; i <= game.foundWords.size(); ++i) got.push_back(game.foundWords(i));
    EXPECT_EQ(got, c.want) << c.count << " " << c.list;
  }
}

TEST_F(SavedGameStore, MissingValuesLeaveTheirVariables) {
  put("ISSTORED", {1});
  solving.puzzleNum = 17;
  game.savedScore = 5;
  game.levelScore = 6;
  elapsed = 700;
  load();
  EXPECT_EQ(solving.puzzleNum, 17);
  EXPECT_EQ(game.savedScore, 5);
  EXPECT_EQ(game.levelScore, 6);
  EXPECT_EQ(elapsed, 700);
  EXPECT_EQ(game.foundWordCount, 0);
  EXPECT_FALSE(isGameStored(*store));
}

TEST_F(SavedGameStore, AStoreThatCannotBeOpenedFailsEachRoutineWithItsMessage) {
  RecordingRegistry rec(*store);
  rec.failOpen = true;
  Status status;
  EXPECT_FALSE(isGameStored(rec, &status));
  EXPECT_EQ(status.message(), " Error - Loading the Saved Game Failerd");
  EXPECT_EQ(clearGameStored(rec).message(), " Error - Loading the Saved Game Failerd");
  elapsed = 9;
  EXPECT_EQ(loadStoredGame(rec, solving, game, elapsed).message(),
            " Error - Load Saved Game Failerd");
  EXPECT_EQ(elapsed, 9);
  EXPECT_FALSE(rec.called("set") || rec.called("query"));
}

TEST_F(SavedGameStore, ASaveKeyThatCannotBeCreatedIsSilent) {
  storeGame();
  RecordingRegistry rec(*store);
  rec.failCreate = true;
  EXPECT_FALSE(isGameStored(rec));
  EXPECT_TRUE(clearGameStored(rec).ok());
  game.foundWordCount = 0;
  elapsed = 3;
  EXPECT_TRUE(loadStoredGame(rec, solving, game, elapsed).ok());
  EXPECT_EQ(elapsed, 3);
  EXPECT_TRUE(game.foundWords.empty());
  EXPECT_TRUE(backend.messages.empty());
  EXPECT_TRUE(isGameStored(*store)) << "nothing above could clear the flag";
  EXPECT_EQ(rec.openKeys, 0);
}

}  // namespace
}  // namespace qlx
