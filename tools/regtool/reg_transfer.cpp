// Export walks the game's key depth first (values in the order written, subkeys by name), each
// key once; import checks the whole file before it writes anything, then writes it as one save.
#include "reg_transfer.h"

#include <algorithm>
#include <cctype>
#include <set>

#include "reg_file.h"

namespace qlx::regtool {
namespace {

constexpr const char* kRoot = "HKEY_CURRENT_USER";
// The game key lies four levels below the root; no key may go below the store's own limit.
constexpr int kExportDepth = kMaxKeyDepth - 4;

bool sameNoCase(const std::string& a, const std::string& b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
           return std::tolower(static_cast<unsigned char>(x)) ==
                  std::tolower(static_cast<unsigned char>(y));
         });
}

bool startsNoCase(const std::string& s, const std::string& prefix) {
  return s.size() >= prefix.size() && sameNoCase(s.substr(0, prefix.size()), prefix);
}

// The tree below key, depth first (values, then subkeys by name), with an explicit stack: each
// key is visited once and no deeper than the store allows, whatever the store holds.
Status collect(Registry& store, HKEY top, const std::string& topPath,
               std::vector<RegFileKey>* out) {
  struct Pending {
    std::string path;
    int depth;
  };
  std::vector<Pending> stack{{topPath, 0}};
  std::set<std::string> seen;
  while (!stack.empty()) {
    const Pending at = std::move(stack.back());
    stack.pop_back();
    std::string lower = at.path;
    std::transform(lower.begin(), lower.end(), lower.begin(),
                   [](unsigned char c) { return std::tolower(c); });
    if (!seen.insert(lower).second) continue;
    HKEY key = top;
    const std::string below = at.path.substr(topPath.size());  // "" or "\A\B"
    if (!below.empty() &&
        store.RegOpenKeyExA(top, below.c_str() + 1, 0, KEY_ALL_ACCESS, &key) != ERROR_SUCCESS) {
      return Status::IoError("the store could not be read at " + at.path);
    }
    RegFileKey entry{at.path, {}};
    std::vector<std::string> subKeys;
    const bool read = store.listValues(key, &entry.values) == ERROR_SUCCESS &&
                      store.listSubKeys(key, &subKeys) == ERROR_SUCCESS;
    if (key != top) store.RegCloseKey(key);
    if (!read) {
      return Status::IoError("the store could not be read at " + at.path);
    }
    out->push_back(std::move(entry));
    if (!subKeys.empty() && at.depth + 1 > kExportDepth) {
      return Status::Damaged("the store holds keys nested too deep below " + at.path);
    }
    for (auto it = subKeys.rbegin(); it != subKeys.rend(); ++it)
      stack.push_back({at.path + "\\" + *it, at.depth + 1});
  }
  return Status::Ok();
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

Status exportGameKey(Registry& store, std::string* text) {
  HKEY game = nullptr;
  const LONG rc = store.RegOpenKeyExA(HKEY_CURRENT_USER, kGameKey, 0, KEY_ALL_ACCESS, &game);
  if (rc == ERROR_FILE_NOT_FOUND)
    return Status::NotFound(std::string("the store holds no settings of the game yet (no key ") +
                            kRoot + "\\" + kGameKey + ")");
  if (rc != ERROR_SUCCESS)
    return Status::IoError("the store could not be read (it may be in use by the game)");
  std::vector<RegFileKey> keys;
  const Status collected = collect(store, game, std::string(kRoot) + "\\" + kGameKey, &keys);
  store.RegCloseKey(game);
  if (!collected) return collected;
  return writeRegFile(keys, text);
}

Status importRegText(Registry& store, const std::string& text) {
  std::vector<RegFileKey> keys;
  if (Status parsed = parseRegFile(text, &keys); !parsed) return parsed;
  std::vector<std::string> relPaths;
  for (const RegFileKey& key : keys) {
    std::string rel;
    if (!relativePath(key.path, &rel))
      return Status::Refused("[" + key.path + "]: only keys below " + kRoot + " can be imported");
    if (std::count(rel.begin(), rel.end(), '\\') + 1 > kMaxKeyDepth)
      return Status::Refused("[" + key.path + "]: keys may nest at most " +
                             std::to_string(kMaxKeyDepth) + " levels deep");
    relPaths.push_back(rel);
  }
  // Software stays open for the whole import: everything below is one transaction.
  HKEY software = nullptr;
  if (store.RegOpenKeyExA(HKEY_CURRENT_USER, "Software", 0, KEY_ALL_ACCESS, &software) !=
      ERROR_SUCCESS)
    return Status::IoError("the store could not be written (it may be in use by the game)");
  auto giveUp = [&](const std::string& what) {
    store.discardOpenKeys();
    return Status::IoError(what + "; nothing was imported");
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
      if (store.RegCreateKeyExA(key, rel.substr(start, end - start).c_str(), 0, cls.c_str(),
                                REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS, nullptr, &next,
                                nullptr) != ERROR_SUCCESS)
        return giveUp("the key " + keys[k].path + " could not be created");
      if (key != HKEY_CURRENT_USER) store.RegCloseKey(key);
      key = next;
      start = end + 1;
    }
    for (const RegValueEntry& v : keys[k].values) {
      if (store.RegSetValueExA(key, v.name.c_str(), 0, v.type, v.data.data(),
                               static_cast<DWORD>(v.data.size())) != ERROR_SUCCESS)
        return giveUp("the value \"" + v.name + "\" of " + keys[k].path + " could not be written");
    }
    if (key != HKEY_CURRENT_USER) store.RegCloseKey(key);
  }
  if (store.RegCloseKey(software) != ERROR_SUCCESS)
    return Status::IoError("the store could not save the import; nothing was imported");
  return Status::Ok();
}

}  // namespace qlx::regtool
