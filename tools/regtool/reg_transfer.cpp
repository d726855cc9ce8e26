// Export walks the game's key depth first (values in the order written, subkeys by name);
// import checks the whole file before it writes anything, then writes it as one save.
#include "reg_transfer.h"

#include <algorithm>
#include <cctype>

#include "reg_file.h"

namespace qlx::regtool {
namespace {

constexpr const char* kRoot = "HKEY_CURRENT_USER";

bool sameNoCase(const std::string& a, const std::string& b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
           return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
         });
}

bool startsNoCase(const std::string& s, const std::string& prefix) {
  return s.size() >= prefix.size() && sameNoCase(s.substr(0, prefix.size()), prefix);
}

bool collect(SqliteRegistry& store, HKEY key, const std::string& path, std::vector<RegFileKey>* out, std::string* error) {
  RegFileKey entry{path, {}};
  std::vector<std::string> subKeys;
  if (store.listValues(key, &entry.values) != ERROR_SUCCESS || store.listSubKeys(key, &subKeys) != ERROR_SUCCESS) {
    *error = "the store could not be read at " + path;
    return false;
  }
  out->push_back(std::move(entry));
  for (const std::string& name : subKeys) {
    HKEY sub = nullptr;
    if (store.RegOpenKeyExA(key, name.c_str(), 0, KEY_ALL_ACCESS, &sub) != ERROR_SUCCESS) {
      *error = "the store could not be read at " + path + "\\" + name;
      return false;
    }
    const bool ok = collect(store, sub, path + "\\" + name, out, error);
    store.RegCloseKey(sub);
    if (!ok) return false;
  }
  return true;
}

std::string classFor(const std::string& relPath) {
  const std::string game = kGameKey;
  if (sameNoCase(relPath, game + "\\SAVE")) return "SAVEDATA";
  if (sameNoCase(relPath, game) || startsNoCase(game, relPath + "\\")) return "USERDATA";
  return "";
}

// The path below HKEY_CURRENT_USER ("" for the root itself), or false for another root.
bool relativePath(const std::string& full, std::string* rel) {
  if (sameNoCase(full, kRoot)) {
    rel->clear();
    return true;
  }
  if (!startsNoCase(full, std::string(kRoot) + "\\")) return false;
  *rel = full.substr(std::string(kRoot).size() + 1);
  return !rel->empty() && rel->find("\\\\") == std::string::npos && rel->back() != '\\';
}

}  // namespace

bool exportGameKey(SqliteRegistry& store, std::string* text, std::string* error) {
  HKEY game = nullptr;
  const LONG rc = store.RegOpenKeyExA(HKEY_CURRENT_USER, kGameKey, 0, KEY_ALL_ACCESS, &game);
  if (rc == ERROR_FILE_NOT_FOUND) {
    *error = std::string("the store holds no settings of the game yet (no key ") + kRoot + "\\" + kGameKey + ")";
    return false;
  }
  if (rc != ERROR_SUCCESS) {
    *error = "the store could not be read (it may be in use by the game)";
    return false;
  }
  std::vector<RegFileKey> keys;
  const bool ok = collect(store, game, std::string(kRoot) + "\\" + kGameKey, &keys, error);
  store.RegCloseKey(game);
  return ok && writeRegFile(keys, text, error);
}

bool importRegText(SqliteRegistry& store, const std::string& text, std::string* error) {
  std::vector<RegFileKey> keys;
  if (!parseRegFile(text, &keys, error)) return false;
  std::vector<std::string> relPaths;
  for (const RegFileKey& key : keys) {
    std::string rel;
    if (!relativePath(key.path, &rel)) {
      *error = "[" + key.path + "]: only keys below " + kRoot + " can be imported";
      return false;
    }
    relPaths.push_back(rel);
  }
  // Software stays open for the whole import: everything below is one transaction.
  HKEY software = nullptr;
  if (store.RegOpenKeyExA(HKEY_CURRENT_USER, "Software", 0, KEY_ALL_ACCESS, &software) != ERROR_SUCCESS) {
    *error = "the store could not be written (it may be in use by the game)";
    return false;
  }
  auto giveUp = [&](const std::string& what) {
    store.discardOpenKeys();
    *error = what + "; nothing was imported";
    return false;
  };
  for (size_t k = 0; k < keys.size(); ++k) {
    // Create the key one level at a time so that each new key gets its own class.
    HKEY key = HKEY_CURRENT_USER;
    std::string prefix;
    size_t start = 0;
    const std::string& rel = relPaths[k];
    while (start < rel.size()) {
      const size_t end = std::min(rel.find('\\', start), rel.size());
      prefix = rel.substr(0, end);
      HKEY next = nullptr;
      const std::string cls = classFor(prefix);
      if (store.RegCreateKeyExA(key, rel.substr(start, end - start).c_str(), 0, cls.c_str(), REG_OPTION_NON_VOLATILE,
                                KEY_ALL_ACCESS, nullptr, &next, nullptr) != ERROR_SUCCESS)
        return giveUp("the key " + keys[k].path + " could not be created");
      if (key != HKEY_CURRENT_USER) store.RegCloseKey(key);
      key = next;
      start = end + 1;
    }
    for (const RegValueEntry& v : keys[k].values) {
      if (store.RegSetValueExA(key, v.name.c_str(), 0, v.type, v.data.data(), static_cast<DWORD>(v.data.size())) !=
          ERROR_SUCCESS)
        return giveUp("the value \"" + v.name + "\" of " + keys[k].path + " could not be written");
    }
    if (key != HKEY_CURRENT_USER) store.RegCloseKey(key);
  }
  if (store.RegCloseKey(software) != ERROR_SUCCESS) {
    *error = "the store could not save the import; nothing was imported";
    return false;
  }
  return true;
}

}  // namespace qlx::regtool
