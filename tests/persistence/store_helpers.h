// Test helpers for the settings store: a fresh in-memory store, direct reads and writes of values
// below the game's key, and a store wrapper that records every call and can refuse opens.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "platform/headless/headless_backend.h"
#include "platform/registry.h"

namespace qlx::testing {

using Bytes = std::vector<uint8_t>;

inline constexpr const char* kAppPath = "Software\\Tarnwick\\Quillorix\\1.0";
inline constexpr const char* kSavePath = "Software\\Tarnwick\\Quillorix\\1.0\\SAVE";

inline std::unique_ptr<Registry> memoryStore() {
  std::unique_ptr<Registry> store;
  std::string notice;
  if (!openRegistry(":memory:", &store, &notice).ok()) throw std::runtime_error("no store");
  return store;
}

// A stored value as it is: its type and bytes.
struct Value {
  DWORD type = REG_NONE;
  Bytes bytes;
  bool operator==(const Value&) const = default;
};
// The value below keyPath (from HKEY_CURRENT_USER), or nothing when key or value is absent.
inline std::optional<Value> readValue(Registry& reg, const std::string& keyPath,
                                      const std::string& name) {
  HKEY key = nullptr;
  std::vector<RegValueEntry> values;
  if (reg.RegOpenKeyExA(HKEY_CURRENT_USER, keyPath.c_str(), 0, KEY_ALL_ACCESS, &key) != 0)
    return std::nullopt;
  reg.listValues(key, &values);
  reg.RegCloseKey(key);
  for (const RegValueEntry& v : values)
    if (v.name == name) return Value{v.type, v.data};
  return std::nullopt;
}
// Stores a value, creating the key (with keyClass) when absent.
inline void writeValue(Registry& reg, const std::string& keyPath, const std::string& name,
                       DWORD type, const Bytes& bytes, const char* keyClass = "USERDATA") {
  HKEY key = nullptr;
  if (reg.RegCreateKeyExA(HKEY_CURRENT_USER, keyPath.c_str(), 0, keyClass, 0, KEY_ALL_ACCESS,
                          nullptr, &key, nullptr) != 0)
    throw std::runtime_error("cannot create " + keyPath);
  const LONG rc = reg.RegSetValueExA(key, name.c_str(), 0, type, bytes.data(),
                                     static_cast<DWORD>(bytes.size()));
  reg.RegCloseKey(key);
  if (rc != 0) throw std::runtime_error("cannot write " + name);
}

inline Bytes le32(int32_t v) {
  const auto u = static_cast<uint32_t>(v);
  return {static_cast<uint8_t>(u), static_cast<uint8_t>(u >> 8), static_cast<uint8_t>(u >> 16),
          static_cast<uint8_t>(u >> 24)};
}
inline Bytes le16(int16_t v) { return {static_cast<uint8_t>(v), static_cast<uint8_t>(v >> 8)}; }
inline Bytes text(const std::string& s) { return Bytes(s.c_str(), s.c_str() + s.size() + 1); }

// Passes every call on to a real store, writing one line per call ("query NAME 25", "set NAME 3",
// "create PATH CLASS OPTIONS ACCESS"); can make opening "Software" or creating a key fail.
class RecordingRegistry : public Registry {
 public:
  explicit RecordingRegistry(Registry& inner) : inner_(inner) {}

  bool failOpen = false;
  bool failCreate = false;
  std::vector<std::string> calls;
  int openKeys = 0;  // keys opened and not yet closed

  LONG RegOpenKeyExA(HKEY parent, const char* subKey, DWORD options, DWORD access,
                     HKEY* result) override {
    calls.push_back(std::string("open ") + subKey);
    if (failOpen) return ERROR_ACCESS_DENIED;
    const LONG rc = inner_.RegOpenKeyExA(parent, subKey, options, access, result);
    openKeys += rc == ERROR_SUCCESS;
    return rc;
  }
  LONG RegCreateKeyExA(HKEY parent, const char* subKey, DWORD reserved, const char* cls,
                       DWORD options, DWORD access, const void* security, HKEY* result,
                       DWORD* disposition) override {
    calls.push_back(std::string("create ") + subKey + " " + (cls ? cls : "-") + " " +
                    std::to_string(options) + " " + std::to_string(access));
    if (failCreate) return ERROR_ACCESS_DENIED;
    const LONG rc = inner_.RegCreateKeyExA(parent, subKey, reserved, cls, options, access, security,
                                           result, disposition);
    openKeys += rc == ERROR_SUCCESS;
    return rc;
  }
  LONG RegQueryValueExA(HKEY key, const char* name, DWORD* reserved, DWORD* type, uint8_t* data,
                        DWORD* cbData) override {
    calls.push_back(std::string("query ") + name + " " + std::to_string(cbData ? *cbData : 0));
    return inner_.RegQueryValueExA(key, name, reserved, type, data, cbData);
  }
  LONG RegSetValueExA(HKEY key, const char* name, DWORD reserved, DWORD type, const uint8_t* data,
                      DWORD cbData) override {
    calls.push_back(std::string("set ") + name + " " + std::to_string(cbData));
    return inner_.RegSetValueExA(key, name, reserved, type, data, cbData);
  }
  LONG RegCloseKey(HKEY key) override {
    --openKeys;
    return inner_.RegCloseKey(key);
  }
  LONG queryKeyClass(HKEY key, std::string* cls) override { return inner_.queryKeyClass(key, cls); }
  LONG listSubKeys(HKEY key, std::vector<std::string>* names) override {
    return inner_.listSubKeys(key, names);
  }
  LONG listValues(HKEY key, std::vector<RegValueEntry>* values) override {
    return inner_.listValues(key, values);
  }
  void discardOpenKeys() override { inner_.discardOpenKeys(); }

  // The call lines that start with prefix, in order.
  std::vector<std::string> callsTo(const std::string& prefix) const {
    std::vector<std::string> found;
    for (const std::string& c : calls)
      if (c.rfind(prefix, 0) == 0) found.push_back(c);
    return found;
  }
  bool called(const std::string& prefix) const { return !callsTo(prefix).empty(); }

 private:
  Registry& inner_;
};

}  // namespace qlx::testing
