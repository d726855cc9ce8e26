// Fuzzes opening a settings file that may be damaged: the game reads its data from whatever
// store it gets, and that store must then take a value and give it back (the file opened as it
// was, or kept aside and a fresh one started), never be left unusable.
#include <algorithm>

#include "fuzz_support.h"
#include "persistence/saved_game.h"
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

  (void)fuzz::loadUser(*store);
  (void)isGameStored(*store);

  // A value written under Software and read back through a second handle.
  const uint8_t written[4] = {0x51, 0x4c, 0x58, 0x21};
  uint8_t read[4] = {};
  DWORD count = sizeof read;
  auto inSoftware = [&](auto use) {
    HKEY key = nullptr;
    if (store->RegOpenKeyExA(HKEY_CURRENT_USER, "Software", 0, KEY_ALL_ACCESS, &key) !=
        ERROR_SUCCESS)
      return false;
    const bool done = use(key);
    return store->RegCloseKey(key) == ERROR_SUCCESS && done;
  };
  const bool usable = inSoftware([&](HKEY key) {
                        return store->RegSetValueExA(key, "FUZZCHECK", 0, REG_BINARY, written,
                                                     sizeof written) == ERROR_SUCCESS;
                      }) &&
                      inSoftware([&](HKEY key) {
                        return store->RegQueryValueExA(key, "FUZZCHECK", nullptr, nullptr, read,
                                                       &count) == ERROR_SUCCESS;
                      }) &&
                      count == sizeof read && std::equal(read, read + 4, written);
  if (!usable)
    fuzz::fail("the store is not usable after opening the file (" +
               (opened ? notice : opened.message()) + ")");
  return 0;
}
