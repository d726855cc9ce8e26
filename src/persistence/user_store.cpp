// loadUserData and saveUserData. Every read goes into a buffer that holds the field's current
// bytes, so a missing value leaves the field alone and a shorter one replaces only its first bytes.
#include "persistence/user_store.h"

#include "persistence/app_key.h"
#include "persistence/le_bytes.h"
#include "resources/string_table.h"

namespace qlx {
namespace {

LONG query(Registry& registry, HKEY key, const std::string& name, uint8_t* buffer, DWORD size) {
  DWORD count = size;
  return registry.RegQueryValueExA(key, name.c_str(), nullptr, nullptr, buffer, &count);
}

void setBinary(Registry& registry, HKEY key, const std::string& name, const uint8_t* data,
               DWORD size) {
  registry.RegSetValueExA(key, name.c_str(), 0, REG_BINARY, data, size);
}

void readSolvingData(Registry& registry, HKEY key, SolvingData& solving) {
  SolvingData::Bytes bytes = solving.toBytes();
  query(registry, key, "SOLVINGDATA", bytes.data(), SolvingData::kStoredSize);
  solving.fromBytes(bytes);
  // Whether or not the record was there.
  if (solving.counterA < 1) solving.counterA = 1;
  if (solving.counterB < 1) solving.counterB = 1;
}

void readSoundOptions(Registry& registry, HKEY key, std::array<int16_t, kSoundSwitches>& switches) {
  uint8_t bytes[2 * kSoundSwitches];
  for (int i = 0; i < kSoundSwitches; ++i)
    le::put16(&bytes[2 * i], static_cast<uint16_t>(switches[i]));
  if (query(registry, key, "SOUNDOPTIONS", bytes, sizeof bytes) != ERROR_SUCCESS) {
    switches.fill(1);
    return;
  }
  for (int i = 0; i < kSoundSwitches; ++i)
    switches[i] = static_cast<int16_t>(le::get16(&bytes[2 * i]));
}

void readLevel(Registry& registry, HKEY key, int level, BestList& list) {
  uint8_t table[4 * kBestPlaces];
  for (int i = 0; i < kBestPlaces; ++i)
    le::put32(&table[4 * i], static_cast<uint32_t>(list.times(i + 1)));
  query(registry, key, tableValueName(level), table, sizeof table);
  for (int i = 0; i < kBestPlaces; ++i)
    list.times(i + 1) = static_cast<int32_t>(le::get32(&table[4 * i]));

  for (int place = 1; place <= kBestPlaces; ++place) {
    std::string buffer(kNameBufferSize, ' ');
    DWORD count = kNameBufferSize;
    const LONG rc =
        registry.RegQueryValueExA(key, nameValueName(level, place).c_str(), nullptr, nullptr,
                                  reinterpret_cast<uint8_t*>(buffer.data()), &count);
    if (rc != ERROR_SUCCESS || count > kNameBufferSize) {
      list.names(place) = kDefaultName;
      list.times(place) = kDefaultTime;
    } else {
      // count - 1 drops the terminating NUL; a value of zero bytes is an empty name.
      list.names(place) = buffer.substr(0, count == 0 ? 0 : count - 1);
    }
  }
}

// Both best lists as the store holds them, read as loadUserData reads them into empty lists.
Array1<BestList> readStoredLists(Registry& registry, HKEY key) {
  Array1<BestList> lists(kLevels);
  for (int level = 1; level <= kLevels; ++level) readLevel(registry, key, level, lists(level));
  return lists;
}

void writeLevel(Registry& registry, HKEY key, int level, const BestList& list) {
  uint8_t table[4 * kBestPlaces];
  for (int i = 0; i < kBestPlaces; ++i)
    le::put32(&table[4 * i], static_cast<uint32_t>(list.times(i + 1)));
  setBinary(registry, key, tableValueName(level), table, sizeof table);
  for (int place = 1; place <= kBestPlaces; ++place) {
    // Names are held in the game's code page already; c_str() supplies the NUL that is stored.
    const std::string& name = list.names(place);
    registry.RegSetValueExA(key, nameValueName(level, place).c_str(), 0, REG_SZ,
                            reinterpret_cast<const uint8_t*>(name.c_str()),
                            static_cast<DWORD>(name.size() + 1));
  }
}

// Ends a save: the game's key, then "Software", whose close commits everything written.
Status closeSave(OpenKey& app, OpenKey& software) {
  const LONG appRc = app.close();
  const LONG rc = software.close();
  if (appRc != ERROR_SUCCESS || rc != ERROR_SUCCESS)
    return Status::IoError("The settings file could not be written.");
  return Status::Ok();
}

}  // namespace

std::string tableValueName(int level) { return std::to_string(level) + "STATS"; }
std::string nameValueName(int level, int place) {
  return tableValueName(level) + std::to_string(place);
}

Status loadUserData(Registry& registry, UserData& user) {
  OpenKey software(registry);
  if (!openSoftware(registry, software)) return Status::Refused(kStoreFailedMessage);
  OpenKey app(registry);
  if (!createKey(registry, software.get(), appKeyPath(), kUserDataClass, app)) return Status::Ok();

  readSolvingData(registry, app.get(), user.solving);

  uint8_t wfsf[4];
  le::put32(wfsf, static_cast<uint32_t>(user.numWfsf));
  query(registry, app.get(), "NUMWFSF", wfsf, sizeof wfsf);
  user.numWfsf = static_cast<int32_t>(le::get32(wfsf));

  readSoundOptions(registry, app.get(), user.soundOptions);

  for (int level = 1; level <= kLevels; ++level)
    readLevel(registry, app.get(), level, user.bestScores(level));
  // app, then software, close here.
  return Status::Ok();
}

Status saveUserData(Registry& registry, const UserData& user) {
  OpenKey software(registry);
  if (!openSoftware(registry, software)) return Status::Refused(kStoreFailedMessage);
  OpenKey app(registry);
  if (!createKey(registry, software.get(), appKeyPath(), kUserDataClass, app))
    return Status::IoError("The game's key cannot be made in the settings file.");
  const HKEY key = app.get();

  const SolvingData::Bytes record = user.solving.toBytes();
  setBinary(registry, key, "SOLVINGDATA", record.data(), SolvingData::kStoredSize);

  uint8_t wfsf[4];
  le::put32(wfsf, static_cast<uint32_t>(user.numWfsf));
  setBinary(registry, key, "NUMWFSF", wfsf, sizeof wfsf);

  uint8_t switches[2 * kSoundSwitches];
  for (int i = 0; i < kSoundSwitches; ++i)
    le::put16(&switches[2 * i], static_cast<uint16_t>(user.soundOptions[i]));
  setBinary(registry, key, "SOUNDOPTIONS", switches, sizeof switches);

  Array1<BestList> lists = readStoredLists(registry, key);
  for (const BestListChange& change : user.unsavedChanges) change(lists);
  for (int level = 1; level <= kLevels; ++level) writeLevel(registry, key, level, lists(level));
  return closeSave(app, software);
}

Status saveBestListChange(Registry* store, UserData& user, const BestListChange& change) {
  if (store == nullptr) {
    change(user.bestScores);
    return Status::Ok();
  }
  Registry& registry = *store;
  OpenKey software(registry);
  OpenKey app(registry);
  Status saved =
      Status::IoError("The best times cannot be saved: the settings file cannot be opened.");
  Array1<BestList> lists;
  if (openSoftware(registry, software) &&
      createKey(registry, software.get(), appKeyPath(), kUserDataClass, app)) {
    lists = readStoredLists(registry, app.get());
    for (const BestListChange& earlier : user.unsavedChanges) earlier(lists);
    change(lists);
    for (int level = 1; level <= kLevels; ++level)
      writeLevel(registry, app.get(), level, lists(level));
    saved = closeSave(app, software);
  }
  if (saved.ok()) {
    user.bestScores = std::move(lists);
    user.unsavedChanges.clear();
  } else {
    change(user.bestScores);
    user.unsavedChanges.push_back(change);
  }
  return saved;
}

}  // namespace qlx
