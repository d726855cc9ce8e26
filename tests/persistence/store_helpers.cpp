// Test helpers for the settings store.
#include "store_helpers.h"

#include <stdexcept>

namespace qlx::testing {

std::unique_ptr<Registry> memoryStore() {
  std::unique_ptr<Registry> store;
  std::string notice;
  if (Status s = openRegistry(":memory:", &store, &notice); !s || !store)
    throw std::runtime_error("no in-memory store: " + s.message());
  return store;
}

StoredGame loadStored(Registry& registry) {
  StoredGame g;
  (void)loadStoredGame(registry, g.solving, g.game, g.elapsed);
  return g;
}

std::optional<Value> readValue(Registry& registry, const std::string& keyPath,
                               const std::string& name) {
  HKEY key = nullptr;
  if (registry.RegOpenKeyExA(HKEY_CURRENT_USER, keyPath.c_str(), 0, KEY_ALL_ACCESS, &key) !=
      ERROR_SUCCESS)
    return std::nullopt;
  Value v;
  DWORD size = 0;
  std::optional<Value> result;
  if (registry.RegQueryValueExA(key, name.c_str(), nullptr, &v.type, nullptr, &size) ==
      ERROR_SUCCESS) {
    v.bytes.resize(size);
    if (registry.RegQueryValueExA(key, name.c_str(), nullptr, &v.type, v.bytes.data(), &size) ==
        ERROR_SUCCESS)
      result = v;
  }
  registry.RegCloseKey(key);
  return result;
}

void writeValue(Registry& registry, const std::string& keyPath, const std::string& name, DWORD type,
                const Bytes& bytes, const char* cls) {
  HKEY key = nullptr;
  if (registry.RegCreateKeyExA(HKEY_CURRENT_USER, keyPath.c_str(), 0, cls, REG_OPTION_NON_VOLATILE,
                               KEY_ALL_ACCESS, nullptr, &key, nullptr) != ERROR_SUCCESS)
    throw std::runtime_error("cannot create " + keyPath);
  const LONG rc = registry.RegSetValueExA(key, name.c_str(), 0, type, bytes.data(),
                                          static_cast<DWORD>(bytes.size()));
  registry.RegCloseKey(key);
  if (rc != ERROR_SUCCESS) throw std::runtime_error("cannot write " + name);
}

std::optional<std::string> keyClass(Registry& registry, const std::string& keyPath) {
  HKEY key = nullptr;
  if (registry.RegOpenKeyExA(HKEY_CURRENT_USER, keyPath.c_str(), 0, KEY_ALL_ACCESS, &key) !=
      ERROR_SUCCESS)
    return std::nullopt;
  std::string cls;
  const LONG rc = registry.queryKeyClass(key, &cls);
  registry.RegCloseKey(key);
  if (rc != ERROR_SUCCESS) return std::nullopt;
  return cls;
}

Bytes le32(int32_t v) {
  const auto u = static_cast<uint32_t>(v);
  return {static_cast<uint8_t>(u), static_cast<uint8_t>(u >> 8), static_cast<uint8_t>(u >> 16),
          static_cast<uint8_t>(u >> 24)};
}

Bytes le16(int16_t v) {
  const auto u = static_cast<uint16_t>(v);
  return {static_cast<uint8_t>(u), static_cast<uint8_t>(u >> 8)};
}

Bytes text(const std::string& s, bool withNul) {
  Bytes b(s.begin(), s.end());
  if (withNul) b.push_back(0);
  return b;
}

LONG RecordingRegistry::RegOpenKeyExA(HKEY parent, const char* subKey, DWORD options, DWORD access,
                                      HKEY* result) {
  calls.push_back(std::string("open ") + subKey);
  if (failOpen) return ERROR_ACCESS_DENIED;
  const LONG rc = inner_.RegOpenKeyExA(parent, subKey, options, access, result);
  if (rc == ERROR_SUCCESS) ++openKeys;
  return rc;
}

LONG RecordingRegistry::RegCreateKeyExA(HKEY parent, const char* subKey, DWORD reserved,
                                        const char* cls, DWORD options, DWORD access,
                                        const void* security, HKEY* result, DWORD* disposition) {
  calls.push_back(std::string("create ") + subKey + " " + (cls ? cls : "-") + " " +
                  std::to_string(options) + " " + std::to_string(access));
  if (failCreate) return ERROR_ACCESS_DENIED;
  const LONG rc = inner_.RegCreateKeyExA(parent, subKey, reserved, cls, options, access, security,
                                         result, disposition);
  if (rc == ERROR_SUCCESS) ++openKeys;
  return rc;
}

LONG RecordingRegistry::RegQueryValueExA(HKEY key, const char* valueName, DWORD* reserved,
                                         DWORD* type, uint8_t* data, DWORD* cbData) {
  calls.push_back(std::string("query ") + valueName + " " + std::to_string(cbData ? *cbData : 0));
  return inner_.RegQueryValueExA(key, valueName, reserved, type, data, cbData);
}

LONG RecordingRegistry::RegSetValueExA(HKEY key, const char* valueName, DWORD reserved, DWORD type,
                                       const uint8_t* data, DWORD cbData) {
  calls.push_back(std::string("set ") + valueName + " " + std::to_string(cbData));
  return inner_.RegSetValueExA(key, valueName, reserved, type, data, cbData);
}

LONG RecordingRegistry::RegCloseKey(HKEY key) {
  calls.push_back("close");
  --openKeys;
  return inner_.RegCloseKey(key);
}

bool RecordingRegistry::called(const std::string& prefix) const {
  for (const std::string& c : calls)
    if (c.rfind(prefix, 0) == 0) return true;
  return false;
}

}  // namespace qlx::testing
