// The stored game's writer: what it writes reads back through the game's own reader, the flag is
// written last and only over a complete game, and a writer killed at any moment never leaves the
// flag set over a partial game.
#include <gtest/gtest.h>
#include <unistd.h>

#include "kill_harness.h"
#include "persistence/saved_game.h"
#include "store_helpers.h"
#include "temp_folder.h"

namespace qlx {
namespace {

using namespace qlx::testing;

SolvingData record(int32_t puzzleNum) {
  SolvingData s;
  s.puzzleNum = puzzleNum;
  s.modeNum = 2;
  s.gridGroup = 2;
  s.counterA = 7;
  return s;
}

TEST(StoreGame, WhatIsStoredReadsBackAndTheFlagGoesLast) {
  auto store = memoryStore();
  HeadlessBackend backend;
  const Bytes bytes = {1, 2, 3, 250, 0, 9};
  RecordingRegistry rec(*store);
  ASSERT_TRUE(storeGame(rec, record(17), 4321, bytes).ok());
  std::vector<std::string> sets;
  for (const std::string& call : rec.calls)
    if (call.rfind("set ", 0) == 0) sets.push_back(call);
  ASSERT_EQ(sets.size(), 11u);
  EXPECT_EQ(sets.front(), "set ISSTORED 1") << "cleared first";
  EXPECT_EQ(sets.back(), "set ISSTORED 1") << "set last";
  EXPECT_EQ(rec.openKeys, 0);

  ASSERT_TRUE(isGameStored(*store));
  const StoredGame g = loadStored(*store);
  EXPECT_EQ(g.solving, record(17));
  EXPECT_EQ(g.elapsed, 4321);
  ASSERT_EQ(g.game.savedByteCount, 6);
  EXPECT_EQ(g.bytes(), bytes);
  EXPECT_EQ(g.game.foundWordCount, 0);
  EXPECT_FALSE(isGameStored(*store));
  EXPECT_TRUE(backend.messages.empty());
}

TEST(StoreGame, DataALengthCannotStateAreNotStoredAndAnOldFlagIsKept) {
  auto store = memoryStore();
  HeadlessBackend backend;
  ASSERT_TRUE(storeGame(*store, record(3), 10, Bytes(100, 5)).ok());
  EXPECT_FALSE(storeGame(*store, record(4), 20, Bytes(40000, 6)).ok());
  EXPECT_FALSE(storeGame(*store, record(4), 20, Bytes{}).ok());
  ASSERT_TRUE(isGameStored(*store));
  const StoredGame g = loadStored(*store);
  EXPECT_EQ(g.solving.puzzleNum, 3);
  EXPECT_EQ(g.game.savedByteCount, 100);
}

TEST(StoreGame, AStoreThatCannotBeOpenedFailsWithAMessage) {
  auto store = memoryStore();
  RecordingRegistry rec(*store);
  rec.failOpen = true;
  EXPECT_EQ(storeGame(rec, record(1), 0, Bytes{1}).message(), kStoreGameFailedMessage);
}

// Game g: 50 + g % 300 bytes of value g % 256, stored with the play time g.
Bytes gameBytes(int32_t g) {
  return Bytes(static_cast<std::size_t>(50 + g % 300), static_cast<uint8_t>(g % 256));
}

void storeForever(const std::string& path, int32_t from, const KillHarness::Ready& ready) {
  std::unique_ptr<Registry> reg;
  std::string notice;
  if (!openRegistry(path, &reg, &notice).ok()) _exit(3);
  HeadlessBackend backend;
  for (int32_t g = from;; ++g) {
    if (!storeGame(*reg, record(g), g, gameBytes(g)).ok()) _exit(4);
    ready();
  }
}

TEST(StoreGame, KillsAtRandomMomentsNeverLeaveTheFlagOverAPartialGame) {
  TempFolder dir;
  const std::string path = dir.path() + "settings.db";
  KillHarness harness(20000);
  int32_t next = 1;
  int stored = 0;
  for (int k = 0; k < 60; ++k) {
    ASSERT_TRUE(harness.killDuring(
        k % 2 == 0, [&](const KillHarness::Ready& ready) { storeForever(path, next, ready); }))
        << "kill " << k;
    std::unique_ptr<Registry> reg;
    std::string notice;
    ASSERT_TRUE(openRegistry(path, &reg, &notice).ok());
    ASSERT_TRUE(notice.empty()) << notice;
    HeadlessBackend backend;
    if (!isGameStored(*reg)) continue;
    const StoredGame g = loadStored(*reg);
    ASSERT_GT(g.elapsed, 0) << "after kill " << k;
    const Bytes expected = gameBytes(g.elapsed);
    ASSERT_EQ(g.game.savedByteCount, static_cast<int16_t>(expected.size())) << "after kill " << k;
    ASSERT_EQ(g.bytes(), expected) << "after kill " << k;
    ASSERT_EQ(g.solving.puzzleNum, g.elapsed) << "after kill " << k;
    next = g.elapsed + 1;
    ++stored;
  }
  EXPECT_GT(stored, 10) << "too few stores completed between kills: the test proved little";
}

}  // namespace
}  // namespace qlx
