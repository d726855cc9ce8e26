// The game's key path and the opening of its keys.
#include "persistence/app_key.h"

#include "resources/string_table.h"

namespace qlx {

std::string appKeyPath(std::string_view title, int major, int minor) {
  std::string path = "Tarnwick\\";
  path += title;
  path += '\\';
  path += std::to_string(major);
  path += '.';
  path += std::to_string(minor);
  return path;
}

std::string appKeyPath() { return appKeyPath(kApplicationTitle, kVersionMajor, kVersionMinor); }

bool openSoftware(Registry& registry, OpenKey& software) {
  HKEY key = nullptr;
  if (registry.RegOpenKeyExA(HKEY_CURRENT_USER, "Software", 0, KEY_ALL_ACCESS, &key) !=
      ERROR_SUCCESS)
    return false;
  *software.out() = key;
  return true;
}

bool createKey(Registry& registry, HKEY parent, const std::string& subKey, const char* keyClass,
               OpenKey& key) {
  HKEY opened = nullptr;
  DWORD disposition = 0;
  // No security attributes: the key gets the default descriptor.
  if (registry.RegCreateKeyExA(parent, subKey.c_str(), 0, keyClass, REG_OPTION_NON_VOLATILE,
                               KEY_ALL_ACCESS, nullptr, &opened, &disposition) != ERROR_SUCCESS)
    return false;
  *key.out() = opened;
  return true;
}

}  // namespace qlx
