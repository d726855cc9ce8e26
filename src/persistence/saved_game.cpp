// isGameStored, clearGameStored and loadStoredGame. The stored lengths come from a file anyone
// can edit, so none of them is trusted to size a buffer or an array beyond what was read.
#include "persistence/saved_game.h"

#include <algorithm>
#include <vector>

#include "persistence/app_key.h"
#include "persistence/le_bytes.h"
#include "resources/string_table.h"

namespace qlx {
namespace {

std::string saveKeyPath() { return appKeyPath() + "\\" + kSaveKeyName; }

LONG query(Registry& registry, HKEY key, const char* name, uint8_t* buffer, DWORD size) {
  DWORD count = size;
  return registry.RegQueryValueExA(key, name, nullptr, nullptr, buffer, &count);
}

constexpr uint8_t kNotStored = 0;

void writeNotStored(Registry& registry, HKEY key) {
  registry.RegSetValueExA(key, "ISSTORED", 0, REG_BINARY, &kNotStored, 1);
}

void writeInt32(Registry& registry, HKEY key, const char* name, int32_t value) {
  uint8_t bytes[4];
  le::put32(bytes, static_cast<uint32_t>(value));
  registry.RegSetValueExA(key, name, 0, REG_BINARY, bytes, sizeof bytes);
}

void readInt32(Registry& registry, HKEY key, const char* name, int32_t& value) {
  uint8_t bytes[4];
  le::put32(bytes, static_cast<uint32_t>(value));
  query(registry, key, name, bytes, sizeof bytes);
  value = static_cast<int32_t>(le::get32(bytes));
}

void readByteData(Registry& registry, HKEY key, SavedGame& game) {
  uint8_t length[2];
  le::put16(length, static_cast<uint16_t>(game.savedByteCount));
  query(registry, key, "LENGTH", length, sizeof length);
  game.savedByteCount = static_cast<int16_t>(le::get16(length));
  // A length below 1 leaves no array to read into: the bytes stay empty.
  game.savedBytes.redim(game.savedByteCount > 0 ? static_cast<std::size_t>(game.savedByteCount)
                                                : 0);
  if (game.savedByteCount > 0)
    query(registry, key, "BYTE_DATA", game.savedBytes.data(),
          static_cast<DWORD>(game.savedByteCount));
}

// The word list, read through a buffer of n + 1 bytes of which the first n characters are kept.
// A list that does not fit, or is missing, gives no words.
std::string readFoundWords(Registry& registry, HKEY key, int32_t n) {
  const int32_t length = std::clamp<int32_t>(n, 0, kMaxFoundWordsLength);
  std::string buffer(static_cast<std::size_t>(length) + 1, ' ');
  DWORD count = static_cast<DWORD>(buffer.size());
  const LONG rc = registry.RegQueryValueExA(key, "FOUNDWORDS", nullptr, nullptr,
                                            reinterpret_cast<uint8_t*>(buffer.data()), &count);
  if (rc != ERROR_SUCCESS) return {};
  buffer.resize(static_cast<std::size_t>(length));
  return buffer;
}

// Splits words at their terminating commas, at most count of them; stops at the first word
// without a comma.
void splitWords(const std::string& words, SavedGame& game) {
  if (game.foundWordCount < 1) return;
  std::vector<std::string> found;
  std::size_t pos = 0;
  for (int32_t i = 1; i <= game.foundWordCount; ++i) {
    const std::size_t comma = words.find(',', pos);
    if (comma == std::string::npos) break;
    found.push_back(words.substr(pos, comma - pos));
    pos = comma + 1;
  }
  game.foundWordCount = static_cast<int32_t>(found.size());
  game.foundWords.redim(found.size());
  for (std::size_t i = 0; i < found.size(); ++i)
    game.foundWords(static_cast<long long>(i) + 1) = std::move(found[i]);
}

}  // namespace

bool isGameStored(Registry& registry, Status* status) {
  uint8_t flag = 0;
  OpenKey software(registry);
  if (!openSoftware(registry, software)) {
    if (status) *status = Status::Refused(kSavedGameFailedMessage);
    return false;
  }
  OpenKey save(registry);
  if (createKey(registry, software.get(), saveKeyPath(), kSaveDataClass, save)) {
    query(registry, save.get(), "ISSTORED", &flag, 1);
    save.close();
  }
  return flag != 0;
}

Status clearGameStored(Registry& registry) {
  OpenKey software(registry);
  if (!openSoftware(registry, software)) return Status::Refused(kSavedGameFailedMessage);
  OpenKey save(registry);
  if (createKey(registry, software.get(), saveKeyPath(), kSaveDataClass, save))
    writeNotStored(registry, save.get());
  return Status::Ok();
}

Status loadStoredGame(Registry& registry, SolvingData& solving, SavedGame& game,
                      int32_t& elapsedTime) {
  OpenKey software(registry);
  if (!openSoftware(registry, software)) return Status::Refused(kLoadSavedGameFailedMessage);
  std::string words;
  OpenKey save(registry);
  if (createKey(registry, software.get(), saveKeyPath(), kSaveDataClass, save)) {
    const HKEY key = save.get();
    // Cleared first, so a stored game that cannot be read is not offered again.
    writeNotStored(registry, key);

    readByteData(registry, key, game);

    SolvingData::Bytes record = solving.toBytes();
    query(registry, key, "MODE_NUM", record.data(), SolvingData::kStoredSize);
    solving.fromBytes(record);

    int32_t n = 0;
    readInt32(registry, key, "SCORE", game.savedScore);
    readInt32(registry, key, "NWORDSFOUND", game.foundWordCount);
    readInt32(registry, key, "SWORDSFOUND", n);
    readInt32(registry, key, "TIMEREM", elapsedTime);
    readInt32(registry, key, "CURLEVELSCORE", game.levelScore);

    words = readFoundWords(registry, key, n);
    save.close();
  }
  splitWords(words, game);
  return Status::Ok();
}

Status storeGame(Registry& registry, const SolvingData& solving, int32_t elapsedTime,
                 const std::vector<uint8_t>& bytes) {
  if (bytes.empty() || bytes.size() > static_cast<std::size_t>(INT16_MAX))
    return Status::Refused("The game in progress is too large to be stored.");
  OpenKey software(registry);
  OpenKey save(registry);
  if (!openSoftware(registry, software) ||
      !createKey(registry, software.get(), saveKeyPath(), kSaveDataClass, save))
    return Status::IoError(kStoreGameFailedMessage);
  const HKEY key = save.get();
  bool written =
      registry.RegSetValueExA(key, "ISSTORED", 0, REG_BINARY, &kNotStored, 1) == ERROR_SUCCESS;

  uint8_t length[2];
  le::put16(length, static_cast<uint16_t>(bytes.size()));
  written &=
      registry.RegSetValueExA(key, "LENGTH", 0, REG_BINARY, length, sizeof length) == ERROR_SUCCESS;
  written &= registry.RegSetValueExA(key, "BYTE_DATA", 0, REG_BINARY, bytes.data(),
                                     static_cast<DWORD>(bytes.size())) == ERROR_SUCCESS;
  const SolvingData::Bytes record = solving.toBytes();
  written &= registry.RegSetValueExA(key, "MODE_NUM", 0, REG_BINARY, record.data(),
                                     SolvingData::kStoredSize) == ERROR_SUCCESS;
  writeInt32(registry, key, "SCORE", 0);
  writeInt32(registry, key, "NWORDSFOUND", 0);
  writeInt32(registry, key, "SWORDSFOUND", 0);
  writeInt32(registry, key, "TIMEREM", elapsedTime);
  writeInt32(registry, key, "CURLEVELSCORE", 0);
  const uint8_t noWords = 0;
  registry.RegSetValueExA(key, "FOUNDWORDS", 0, REG_SZ, &noWords, 1);
  // The flag goes last, and only over a complete game.
  const uint8_t stored = 1;
  written = written &&
            registry.RegSetValueExA(key, "ISSTORED", 0, REG_BINARY, &stored, 1) == ERROR_SUCCESS;
  // Closing the last key commits the save.
  const bool committed = save.close() == ERROR_SUCCESS && software.close() == ERROR_SUCCESS;
  return written && committed ? Status::Ok() : Status::IoError(kStoreGameFailedMessage);
}

}  // namespace qlx
