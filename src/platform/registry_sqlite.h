// The settings store's SQLite implementation, seen by the store's own tests: the Registry calls
// over one file, and the count of keys open now.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "platform/registry.h"

struct sqlite3;

namespace qlx {

class SqliteRegistry final : public Registry {
 public:
  // db may be null: a store that could not be had, whose every open fails. A read-only store
  // reads as usual and refuses every write.
  SqliteRegistry(sqlite3* db, const RegistryOptions& options, bool readOnly);
  // Keys still open mean a save that never finished: its transaction is discarded, as a crash
  // would discard it.
  ~SqliteRegistry() override;
  SqliteRegistry(const SqliteRegistry&) = delete;
  SqliteRegistry& operator=(const SqliteRegistry&) = delete;

  LONG RegOpenKeyExA(HKEY parent, const char* subKey, DWORD options, DWORD access,
                     HKEY* result) override;
  LONG RegCreateKeyExA(HKEY parent, const char* subKey, DWORD reserved, const char* keyClass,
                       DWORD options, DWORD access, const void* security, HKEY* result,
                       DWORD* disposition) override;
  LONG RegQueryValueExA(HKEY key, const char* valueName, DWORD* reserved, DWORD* type,
                        uint8_t* data, DWORD* cbData) override;
  LONG RegSetValueExA(HKEY key, const char* valueName, DWORD reserved, DWORD type,
                      const uint8_t* data, DWORD cbData) override;
  LONG RegCloseKey(HKEY key) override;
  LONG queryKeyClass(HKEY key, std::string* keyClass) override;
  bool readOnly() const override { return readOnly_; }

  LONG listSubKeys(HKEY key, std::vector<std::string>* names) override;
  LONG listValues(HKEY key, std::vector<RegValueEntry>* values) override;
  void discardOpenKeys() override;
  // Number of keys open now (a transaction is open while it is above zero).
  size_t openKeyCount() const { return handles_.size(); }

 private:
  enum class Walk { Open, Create };
  LONG walk(HKEY parent, const char* subKey, Walk mode, const char* keyClass, HKEY* result,
            DWORD* disposition);
  // The key id behind a handle, or -1 for a handle that is not open.
  int64_t keyId(HKEY key) const;
  LONG beginIfFirst();
  void endIfLast();
  // After a failed statement: the save in progress is abandoned whole.
  LONG fail();
  // Counts a write; true when it is the one a test asked to fail.
  bool faultInjected();

  sqlite3* db_;
  std::unordered_map<HKEY, int64_t> handles_;
  bool txFailed_ = false;
  bool readOnly_;
  int failWriteAt_;
  int writes_ = 0;
  bool wrote_ = false;    // the open transaction has written something
  bool refused_ = false;  // a write of the open transaction was refused (read-only store)
};

// Opens the store like openRegistry, with options and the concrete type.
Status openSqliteRegistry(const std::string& path, const RegistryOptions& options,
                          std::unique_ptr<SqliteRegistry>* out, std::string* notice);

}  // namespace qlx
