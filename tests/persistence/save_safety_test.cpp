// Saves that must never lose a player's data, through the settings file: every save under a store
// that fails its n-th write ends in the old state or the new one; a writer killed at any moment
// never leaves the flag over a partial game; two copies of the game keep each other's best times;
// a store that cannot be written shows what it holds and says so once; start-up reports a damaged
// store or none at all.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <functional>

#include "dialogs/best_times.h"
#include "kill_harness.h"
#include "persistence/saved_game.h"
#include "persistence/user_store.h"
#include "platform/headless/headless_backend.h"
#include "platform/registry_sqlite.h"
#include "startup/program.h"
#include "temp_folder.h"

namespace qlx {
namespace {

using namespace qlx::testing;
using Bytes = std::vector<uint8_t>;

std::unique_ptr<Registry> openStore(const std::string& path, int failWriteAt = 0) {
  std::unique_ptr<SqliteRegistry> store;
  std::string notice;
  EXPECT_TRUE(openSqliteRegistry(path, {.failWriteAt = failWriteAt}, &store, &notice).ok());
  EXPECT_EQ(notice, "");
  return store;
}

UserData loaded(Registry& store) {
  UserData user;
  user.bestScores.redim(kLevels);
  (void)loadUserData(store, user);
  return user;
}

// The stored game as "puzzle@time x bytes", read (and its flag cleared) when one is stored.
std::string storedGame(Registry& store) {
  SolvingData solving;
  SavedGame game;
  int32_t elapsed = 0;
  if (!isGameStored(store)) return "none";
  (void)loadStoredGame(store, solving, game, elapsed);
  return std::to_string(solving.puzzleNum) + "@" + std::to_string(elapsed) + "x" +
         std::string(game.savedBytes.begin(), game.savedBytes.end());
}

// Everything the game keeps, as one comparable text.
std::string state(const std::string& path) {
  auto store = openStore(path);
  const UserData user = loaded(*store);
  std::string s = std::to_string(user.solving.puzzleNum) + "/" +
                  std::to_string(user.soundOptions[0]) + "|" + storedGame(*store);
  for (int level = 1; level <= kLevels; ++level)
    for (int i = 1; i <= kBestPlaces; ++i)
      s += "|" + user.bestScores(level).names(i) + "=" +
           std::to_string(user.bestScores(level).times(i));
  return s;
}

TEST(SaveSafety, EverySaveFailingAtAnyWriteLeavesTheOldStateOrTheNew) {
  const std::pair<const char*, std::function<Status(Registry&)>> saves[] = {
      {"best time",
       [](Registry& r) {
         UserData user = loaded(r);
         return saveBestListChange(&r, user, bestTimeEntry(2, 777, "Quick"));
       }},
      {"unload",
       [](Registry& r) {
         UserData user = loaded(r);
         user.solving.puzzleNum = 42;
         user.unsavedChanges.push_back(bestTimeEntry(1, 555, "Late"));
         return saveUserData(r, user);
       }},
      {"stored game",
       [](Registry& r) { return storeGame(r, SolvingData{.puzzleNum = 9}, 1234, Bytes(80, 7)); }},
  };
  for (const auto& [what, save] : saves) {
    TempFolder dir;
    const std::string path = dir.file("settings.db");
    {
      auto store = openStore(path);
      UserData user = loaded(*store);
      ASSERT_TRUE(saveBestListChange(store.get(), user, bestTimeEntry(2, 900, "Old")).ok());
      ASSERT_TRUE(saveUserData(*store, user).ok());
    }
    const std::string before = state(path);
    int n = 1;
    for (;; ++n) {
      SCOPED_TRACE(std::string(what) + ", write " + std::to_string(n) + " fails");
      const Status saved = save(*openStore(path, n));
      const std::string after = state(path);
      if (saved.ok()) {
        ASSERT_NE(after, before) << "the save did nothing";
        break;  // no write of this save failed: every point of failure has been tried
      }
      ASSERT_EQ(after, before) << "a failed save changed the store";
    }
    EXPECT_GT(n, 3) << what;
  }
}

TEST(SaveSafety, KillsAtRandomMomentsNeverLeaveTheFlagOverAPartialGame) {
  TempFolder dir;
  const std::string path = dir.file("settings.db");
  // Game g: 50 + g % 300 bytes of one letter, as puzzle g stored with the play time g.
  const auto bytes = [](int32_t g) { return std::string(50 + g % 300, char('a' + g % 26)); };
  KillHarness harness(20000);
  int32_t next = 1;
  int stored = 0;
  for (int k = 0; k < 60; ++k) {
    const auto writer = [&](const KillHarness::Ready& ready) {
      const auto reg = openStore(path);  // none: the child crashes instead of being killed
      for (SolvingData s{.puzzleNum = next};; ++s.puzzleNum) {
        const std::string b = bytes(s.puzzleNum);
        if (!storeGame(*reg, s, s.puzzleNum, Bytes(b.begin(), b.end())).ok()) _exit(4);
        ready();
      }
    };
    ASSERT_TRUE(harness.killDuring(k % 2 == 0, writer)) << "kill " << k;
    const std::string found = storedGame(*openStore(path));
    if (found == "none") continue;
    next = std::stoi(found) + 1;
    ASSERT_EQ(found,
              std::to_string(next - 1) + "@" + std::to_string(next - 1) + "x" + bytes(next - 1))
        << "after kill " << k;
    ++stored;
  }
  EXPECT_GT(stored, 10) << "too few stores completed between kills: the test proved little";
}

TEST(SaveSafety, TwoCopiesOfTheGameKeepEachOtherBestTimes) {
  TempFolder dir;
  const std::string path = dir.file("settings.db");
  auto first = openStore(path), second = openStore(path);
  UserData a = loaded(*first), b = loaded(*second);
  ASSERT_TRUE(saveBestListChange(first.get(), a, bestTimeEntry(2, 1500, "Ann")).ok());
  ASSERT_TRUE(saveBestListChange(second.get(), b, bestTimeEntry(2, 1200, "Ben")).ok());
  EXPECT_EQ(b.bestScores(2).names(2), "Ann") << "the second copy's list now holds both";
  // The first copy ends last, its list in memory without Ben's time: its save must not undo it.
  ASSERT_TRUE(saveUserData(*first, a).ok());
  // Level 1 ends in a default time, level 2 begins with these.
  EXPECT_NE(state(path).find("=30000|Ben=1200|Ann=1500|"), std::string::npos) << state(path);

  // A save that failed is kept and made on the stored list by the next save.
  UserData c = loaded(*second);
  EXPECT_FALSE(saveBestListChange(openStore(path, 1).get(), c, bestTimeEntry(2, 1300, "Cal")).ok());
  EXPECT_EQ(c.bestScores(2).names(2), "Cal") << "shown in memory all the same";
  ASSERT_TRUE(saveUserData(*second, c).ok());
  EXPECT_NE(state(path).find("=30000|Ben=1200|Cal=1300|Ann=1500|"), std::string::npos)
      << state(path);
}

// Root may write any file, so the check runs in a child that drops to an ordinary user; the
// child's exit code names the first check that failed.
TEST(SaveSafety, AStoreThatCannotBeWrittenShowsItsDataAndSaysSoOnce) {
  TempFolder dir;
  const std::string path = dir.file("settings.db");
  {
    auto store = openStore(path);
    UserData user = loaded(*store);
    ASSERT_TRUE(saveBestListChange(store.get(), user, bestTimeEntry(2, 600, "Ada")).ok());
    ASSERT_TRUE(storeGame(*store, SolvingData{}, 50, Bytes(10, 1)).ok());
  }
  const std::string bytes = readText(path);
  ASSERT_EQ(chmod(path.c_str(), 0444), 0);
  ASSERT_EQ(chmod(dir.path().c_str(), 0555), 0);
  const pid_t child = fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    if (getuid() == 0 && (setgid(65534) != 0 || setuid(65534) != 0)) _exit(10);
    HeadlessBackend backend;
    Program program;
    program.user.bestScores.redim(kLevels);
    loadSettings(program, path, &backend);
    if (backend.messages.size() != 1 ||
        backend.messages[0].text.find("cannot be written") == std::string::npos)
      _exit(11);
    if (program.user.bestScores(2).names(1) != "Ada" || program.user.bestScores(2).times(1) != 600)
      _exit(12);
    if (!isGameStored(*program.registry)) _exit(13);
    const Status saved =
        saveBestListChange(program.registry.get(), program.user, bestTimeEntry(2, 300, "Bo"));
    reportSave(&program.saveNotice, backend, saved);
    reportSave(&program.saveNotice, backend, saveUserData(*program.registry, program.user));
    if (saved.ok() || program.user.bestScores(2).names(1) != "Bo") _exit(14);
    _exit(backend.messages.size() == 1 ? 0 : 15);
  }
  int status = 0;
  ASSERT_EQ(waitpid(child, &status, 0), child);
  chmod(dir.path().c_str(), 0755);
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 0);
  EXPECT_EQ(readText(path), bytes) << "nothing was written";
}

TEST(SaveSafety, StartUpReportsADamagedStoreOrNoneAtAll) {
  TempFolder dir;
  HeadlessBackend backend;
  for (const bool damaged : {true, false}) {
    Program program;
    program.user.bestScores.redim(kLevels);
    loadSettings(program,
                 damaged ? dir.write("settings.db", std::string(4096, 'j'))
                         : "/proc/self/no-such-folder/settings.db",
                 &backend);
    // A damaged store is moved aside and a fresh one loaded; with none, nothing is loaded.
    EXPECT_EQ(program.user.soundOptions[0], damaged ? 1 : 0);
    EXPECT_EQ(backend.messages.size(), damaged ? 1u : 3u);
  }
  ASSERT_EQ(backend.messages.size(), 3u);
  EXPECT_NE(backend.messages[0].text.find("settings.db"), std::string::npos);
  EXPECT_EQ(backend.messages[0].title, "Quillorix");
  EXPECT_NE(backend.messages[1].text.find("settings"), std::string::npos);
  EXPECT_EQ(backend.messages[2].text, " Error Failerd");
}

}  // namespace
}  // namespace qlx
