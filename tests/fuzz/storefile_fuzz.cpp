// Fuzzes opening a settings file that may be damaged: the game reads its data from whatever
// store it gets, and that store must then take a value and give it back (the file opened as it
// was, or kept aside and a fresh one started), never be left unusable.
#include <algorithm>

#include "fuzz_support.h"
#include "persistence/saved_game.h"
#include "persistence/user_store.h"
#include "platform/headless/headless_backend.h"
#include "platform/registry_sqlite.h"

using namespace qlx;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string path = fuzz::writeScratch("settings.db", data, size);
  std::unique_ptr<SqliteRegistry> store;
  std::string notice;
  RegistryOptions options;
  options.busyTimeoutMs = 0;  // nothing else uses the file
  const Status opened = openSqliteRegistry(path, options, &store, &notice);
  if (!store) fuzz::fail("opening a settings file gave no store at all");

  HeadlessBackend backend;
  UserData user;
  user.bestScores.redim(kLevels);
  (void)loadUserData(*store, user);
  (void)isGameStored(*store);

  const uint8_t written[4] = {0x51, 0x4c, 0x58, 0x21};
  uint8_t read[4] = {};
  DWORD count = sizeof read;
  HKEY software = nullptr;
  bool usable = store->RegOpenKeyExA(HKEY_CURRENT_USER, "Software", 0, KEY_ALL_ACCESS, &software) ==
                    ERROR_SUCCESS &&
                store->RegSetValueExA(software, "FUZZCHECK", 0, REG_BINARY, written,
                                      sizeof written) == ERROR_SUCCESS;
  if (software) usable &= store->RegCloseKey(software) == ERROR_SUCCESS;
  software = nullptr;
  usable = usable &&
           store->RegOpenKeyExA(HKEY_CURRENT_USER, "Software", 0, KEY_ALL_ACCESS, &software) ==
               ERROR_SUCCESS &&
           store->RegQueryValueExA(software, "FUZZCHECK", nullptr, nullptr, read, &count) ==
               ERROR_SUCCESS &&
           count == sizeof read && std::equal(read, read + 4, written);
  if (software) store->RegCloseKey(software);
  if (!usable)
    fuzz::fail("the store is not usable after opening the file (" +
               (opened ? notice : opened.message()) + ")");
  return 0;
}
