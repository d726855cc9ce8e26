// The player's data through the settings file and quillorix-reg: an imported stored game is
// offered, and start-up opens the file, loads from it and reports a damaged one.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include "persistence/saved_game.h"
#include "persistence/user_store.h"
#include "startup/program.h"
#include "store_helpers.h"
#include "temp_folder.h"

namespace qlx {
namespace {

using namespace qlx::testing;

const std::string kRegTool = std::string(QLX_BIN_DIR) + "/quillorix-reg";

int runRegTool(const std::string& args) { return std::system((kRegTool + " " + args).c_str()); }

TEST(RegTool, AnImportedStoredGameIsOfferedAndRead) {
  TempFolder dir;
  const std::string storePath = dir.path() + "settings.db";
  const std::string reg =
      dir.write("game.reg",
                "Windows Registry Editor Version 5.00\r\n"
                "\r\n"
                "[HKEY_CURRENT_USER\\Software\\Tarnwick\\Quillorix\\1.0]\r\n"
                "\"NUMWFSF\"=hex:00,00,00,00\r\n"
                "\r\n"
                "[HKEY_CURRENT_USER\\Software\\Tarnwick\\Quillorix\\1.0\\SAVE]\r\n"
                "\"ISSTORED\"=hex:01\r\n"
                "\"LENGTH\"=hex:02,00\r\n"
                "\"BYTE_DATA\"=hex:0a,0b\r\n"
                "\"MODE_NUM\"=hex:07,00,00,00,00,00,00,00,00,00,02,00,01,00,00,00,\\\r\n"
                "  01,00,00,00,01,00\r\n"
                "\"SCORE\"=hex:10,00,00,00\r\n"
                "\"NWORDSFOUND\"=hex:02,00,00,00\r\n"
                "\"SWORDSFOUND\"=hex:09,00,00,00\r\n"
                "\"TIMEREM\"=hex:e8,03,00,00\r\n"
                "\"CURLEVELSCORE\"=hex:05,00,00,00\r\n"
                "\"FOUNDWORDS\"=\"ROOK,OWL,\"\r\n");
  ASSERT_EQ(runRegTool("--store " + storePath + " import " + reg), 0);

  std::unique_ptr<Registry> store;
  std::string notice;
  ASSERT_TRUE(openRegistry(storePath, &store, &notice).ok());
  HeadlessBackend backend;
  ASSERT_TRUE(isGameStored(*store));
  const StoredGame g = loadStored(*store);
  EXPECT_EQ(g.solving.puzzleNum, 7);
  EXPECT_EQ(g.solving.modeNum, 2);
  EXPECT_EQ(g.elapsed, 1000);
  EXPECT_EQ(g.bytes(), (Bytes{0x0a, 0x0b}));
  ASSERT_EQ(g.game.foundWordCount, 2);
  EXPECT_EQ(g.game.foundWords(1), "ROOK");
  EXPECT_EQ(g.game.foundWords(2), "OWL");
  EXPECT_FALSE(isGameStored(*store));
  EXPECT_TRUE(backend.messages.empty());
}

TEST(StartupSettings, LoadsFromTheStoreFileAndKeepsItOpen) {
  TempFolder dir;
  const std::string storePath = dir.path() + "sub/settings.db";
  HeadlessBackend backend;
  {
    Program program;
    program.user.bestScores.redim(kLevels);
    loadSettings(program, storePath, &backend);
    ASSERT_TRUE(program.registry);
    EXPECT_EQ(program.user.bestScores(1).names(1), "Anononymous");
    ASSERT_TRUE(
        saveBestListChange(program.registry.get(), program.user, [](Array1<BestList>& lists) {
          lists(1).names(1) = "Wren";
          lists(1).times(1) = 1234;
        }).ok());
  }
  Program again;
  again.user.bestScores.redim(kLevels);
  loadSettings(again, storePath, &backend);
  EXPECT_EQ(again.user.bestScores(1).names(1), "Wren");
  EXPECT_EQ(again.user.bestScores(1).times(1), 1234);
  EXPECT_TRUE(backend.messages.empty());
}

TEST(StartupSettings, ADamagedStoreIsReportedAndAFreshOneStarted) {
  TempFolder dir;
  const std::string storePath = dir.write("settings.db", std::string(4096, 'j'));
  HeadlessBackend backend;
  Program program;
  program.user.bestScores.redim(kLevels);
  loadSettings(program, storePath, &backend);
  ASSERT_EQ(backend.messages.size(), 1u);
  EXPECT_NE(backend.messages[0].text.find("settings.db"), std::string::npos)
      << backend.messages[0].text;
  EXPECT_EQ(backend.messages[0].title, "Quillorix");
  EXPECT_EQ(program.user.soundOptions[0], 1) << "the fresh store was loaded";
  int kept = 0;
  for (const auto& entry : std::filesystem::directory_iterator(dir.path()))
    if (entry.path().filename().string().rfind("settings.db.damaged-", 0) == 0) ++kept;
  EXPECT_EQ(kept, 1);
}

TEST(StartupSettings, NoStoreAtAllIsReportedWithTheFailureMessage) {
  HeadlessBackend backend;
  Program program;
  program.user.bestScores.redim(kLevels);
  loadSettings(program, "/proc/self/no-such-folder/settings.db", &backend);
  ASSERT_EQ(backend.messages.size(), 2u);
  EXPECT_NE(backend.messages[0].text.find("settings"), std::string::npos);
  EXPECT_EQ(backend.messages[1].text, " Error Failerd");
  EXPECT_EQ(program.user.soundOptions[0], 0);
}

}  // namespace
}  // namespace qlx
