// The settings store: a per-user key/value store shaped like the Win32 registry calls the game
// uses (open, create with a class, query into the caller's buffer, set, close), kept in one
// SQLite file. Keys form a tree under HKEY_CURRENT_USER; key and value names compare without
// regard to case, value names keep the case they were written with. Everything written between
// the first open of a key below the root and the close of the last open key is one transaction,
// so a save is never seen half done.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "core/status.h"

namespace qlx {

using LONG = int32_t;
using DWORD = uint32_t;

// Result codes.
enum : LONG {
  ERROR_SUCCESS = 0,
  ERROR_FILE_NOT_FOUND = 2,
  ERROR_ACCESS_DENIED = 5,
  ERROR_INVALID_HANDLE = 6,
  ERROR_INVALID_PARAMETER = 87,
  ERROR_MORE_DATA = 234,
};
// Value types.
enum : DWORD { REG_NONE = 0, REG_SZ = 1, REG_BINARY = 3, REG_DWORD = 4 };
// Access, options and dispositions.
inline constexpr DWORD KEY_ALL_ACCESS = 0xF003F;
inline constexpr DWORD REG_OPTION_NON_VOLATILE = 0;
enum : DWORD { REG_CREATED_NEW_KEY = 1, REG_OPENED_EXISTING_KEY = 2 };

// Keys nest at most this many levels below HKEY_CURRENT_USER: deeper paths are refused.
inline constexpr int kMaxKeyDepth = 32;

// An open key. HKEY_CURRENT_USER is predefined; "Software" always exists below it.
struct RegKey;
using HKEY = RegKey*;
extern const HKEY HKEY_CURRENT_USER;

// A value as listed: its name as written, its type and bytes.
struct RegValueEntry {
  std::string name;
  DWORD type = REG_NONE;
  std::vector<uint8_t> data;
};

struct RegistryOptions {
  // How long a call waits for another copy of the game to finish its save.
  int busyTimeoutMs = 5000;
  // Opens an existing file for reading only: it is never created, changed or moved aside, and a
  // damaged or foreign file is an error.
  bool readOnly = false;
  // For tests: the n-th write (a key made, a value set or a save committed; counted from 1 over
  // the store's life) fails as a full disk would. 0: none.
  int failWriteAt = 0;
};

class Registry {
 public:
  virtual ~Registry() = default;

  // Opens an existing key below parent (a path of names separated by backslashes).
  virtual LONG RegOpenKeyExA(HKEY parent, const char* subKey, DWORD options, DWORD access,
                             HKEY* result) = 0;
  // Opens the key, creating it and any missing keys on the way with the class string when absent.
  // A key that already exists is opened and keeps its class. disposition may be null.
  virtual LONG RegCreateKeyExA(HKEY parent, const char* subKey, DWORD reserved,
                               const char* keyClass, DWORD options, DWORD access,
                               const void* security, HKEY* result, DWORD* disposition) = 0;
  // A value of d bytes into a buffer of *cbData bytes: d <= *cbData copies d bytes and sets
  // *cbData = d; d > *cbData copies nothing, sets *cbData = d and returns ERROR_MORE_DATA; a
  // missing value returns ERROR_FILE_NOT_FOUND and leaves buffer and count alone. type may be
  // null; data may be null to ask for the size only.
  virtual LONG RegQueryValueExA(HKEY key, const char* valueName, DWORD* reserved, DWORD* type,
                                uint8_t* data, DWORD* cbData) = 0;
  // Stores cbData bytes as the value (replacing any value of that name, whatever its case).
  virtual LONG RegSetValueExA(HKEY key, const char* valueName, DWORD reserved, DWORD type,
                              const uint8_t* data, DWORD cbData) = 0;
  virtual LONG RegCloseKey(HKEY key) = 0;
  // The class string the key was created with.
  virtual LONG queryKeyClass(HKEY key, std::string* keyClass) = 0;
  // True for a store that can be read but not written: every write is refused.
  virtual bool readOnly() const { return false; }

  // The names of the key's direct subkeys, sorted without regard to case.
  virtual LONG listSubKeys(HKEY key, std::vector<std::string>* names) = 0;
  // The key's values in the order they were first written.
  virtual LONG listValues(HKEY key, std::vector<RegValueEntry>* values) = 0;
  // Closes every open key and discards the save they hold, as a crash would.
  virtual void discardOpenKeys() = 0;
};

// Opens (or creates) the store file at path; ":memory:" gives a store that lives in memory. A
// file SQLite cannot open or finds damaged is moved aside (renamed with the date) and a fresh
// store is started with what could still be read of it; *notice then says where the old one
// went. A file or folder that cannot be written gives a read-only store, and *notice says that
// nothing will be saved. When no store can be had at all, the result is a store whose every open
// fails, and the status says why.
Status openRegistry(const std::string& path, std::unique_ptr<Registry>* out, std::string* notice);
Status openRegistry(const std::string& path, const RegistryOptions& options,
                    std::unique_ptr<Registry>* out, std::string* notice);

// $XDG_DATA_HOME/quillorix/settings.db, or ~/.local/share/quillorix/settings.db.
std::string defaultRegistryPath();

}  // namespace qlx
