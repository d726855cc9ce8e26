// Test helpers for the settings store: a fresh in-memory store, direct reads and writes of values
// below the game's key, and a store wrapper that records every call and can refuse opens.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "persistence/saved_game.h"
#include "platform/headless/headless_backend.h"
#include "platform/registry.h"

namespace qlx::testing {

using Bytes = std::vector<uint8_t>;

inline constexpr const char* kAppPath = "Software\\Tarnwick\\Quillorix\\1.0";
inline constexpr const char* kSavePath = "Software\\Tarnwick\\Quillorix\\1.0\\SAVE";

std::unique_ptr<Registry> memoryStore();

// A stored value as it is: its type and bytes.
struct Value {
  DWORD type = REG_NONE;
  Bytes bytes;
};
// The value name below the key path (from HKEY_CURRENT_USER), or nothing when key or value is
// absent.
std::optional<Value> readValue(Registry& registry, const std::string& keyPath,
                               const std::string& name);
// Stores a value, creating the key (with keyClass) when absent.
void writeValue(Registry& registry, const std::string& keyPath, const std::string& name, DWORD type,
                const Bytes& bytes, const char* keyClass = "USERDATA");
// The class of the key, or nothing when it does not exist.
std::optional<std::string> keyClass(Registry& registry, const std::string& keyPath);

// The stored game as loadStoredGame reads it (clearing the flag), its result ignored.
struct StoredGame {
  SolvingData solving;
  SavedGame game;
  int32_t elapsed = 0;
  Bytes bytes() const { return Bytes(game.savedBytes.begin(), game.savedBytes.end()); }
};
StoredGame loadStored(Registry& registry);

Bytes le32(int32_t v);
Bytes le16(int16_t v);
Bytes text(const std::string& s, bool withNul = true);

// Passes every call on to a real store, writing one line per call ("query NAME 25", "set NAME 3",
// "create PATH CLASS"); can make opening "Software" or creating a key fail.
class RecordingRegistry : public Registry {
 public:
  explicit RecordingRegistry(Registry& inner) : inner_(inner) {}

  bool failOpen = false;
  bool failCreate = false;
  std::vector<std::string> calls;
  int openKeys = 0;  // keys opened and not yet closed

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
  LONG queryKeyClass(HKEY key, std::string* cls) override { return inner_.queryKeyClass(key, cls); }
  LONG listSubKeys(HKEY key, std::vector<std::string>* names) override {
    return inner_.listSubKeys(key, names);
  }
  LONG listValues(HKEY key, std::vector<RegValueEntry>* values) override {
    return inner_.listValues(key, values);
  }
  void discardOpenKeys() override { inner_.discardOpenKeys(); }

  // Whether some call line starts with prefix.
  bool called(const std::string& prefix) const;

 private:
  Registry& inner_;
};

}  // namespace qlx::testing
