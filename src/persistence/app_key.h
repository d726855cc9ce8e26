// Where the game's values live in the settings store: the key path built from the title and
// version, and a key handle that closes itself, so every way out of a routine closes its keys
// (the store ends its transaction when the last key is closed).
#pragma once

#include <string>
#include <string_view>

#include "platform/registry.h"

namespace qlx {

inline constexpr int kVersionMajor = 1;
inline constexpr int kVersionMinor = 0;
inline constexpr const char* kUserDataClass = "USERDATA";
inline constexpr const char* kSaveKeyName = "SAVE";
inline constexpr const char* kSaveDataClass = "SAVEDATA";

// "Tarnwick\<title>\<major>.<minor>", the numbers in plain decimal.
std::string appKeyPath(std::string_view title, int major, int minor);
// The path of this program's key: Tarnwick\Quillorix\1.0.
std::string appKeyPath();

// An open key, closed when the handle goes out of scope.
class OpenKey {
 public:
  explicit OpenKey(Registry& registry) : registry_(registry) {}
  ~OpenKey() { close(); }
  OpenKey(const OpenKey&) = delete;
  OpenKey& operator=(const OpenKey&) = delete;

  HKEY get() const { return key_; }
  HKEY* out() { return &key_; }
  explicit operator bool() const { return key_ != nullptr; }
  // The result of closing; closing the last open key commits the save.
  LONG close() {
    const LONG rc = key_ ? registry_.RegCloseKey(key_) : ERROR_SUCCESS;
    key_ = nullptr;
    return rc;
  }

 private:
  Registry& registry_;
  HKEY key_ = nullptr;
};

// HKEY_CURRENT_USER\Software with full access.
bool openSoftware(Registry& registry, OpenKey& software);
// Creates or opens subKey below parent, non-volatile with full access, with keyClass when new.
bool createKey(Registry& registry, HKEY parent, const std::string& subKey, const char* keyClass,
               OpenKey& key);

}  // namespace qlx
