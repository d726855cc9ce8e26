// The stored game: a game waiting in the "SAVE" subkey of the game's key to be resumed at the next
// start, marked by the one-byte flag "ISSTORED": written when the window closes on a game in play,
// read back and cleared at the next start.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "core/array1.h"
#include "core/status.h"
#include "persistence/user_data.h"
#include "platform/registry.h"

namespace qlx {

inline constexpr const char* kSavedGameFailedMessage = " Error - Loading the Saved Game Failerd";
inline constexpr const char* kLoadSavedGameFailedMessage = " Error - Load Saved Game Failerd";
inline constexpr const char* kStoreGameFailedMessage =
    "The game in progress could not be stored for next time.";
// The word list's stated length is trusted only up to this many characters.
inline constexpr int32_t kMaxFoundWordsLength = 64 * 1024;

// What a stored game holds besides the solving record and the play time.
struct SavedGame {
  int16_t savedByteCount = 0;
  Array1<uint8_t> savedBytes;  // 1..savedByteCount
  int32_t savedScore = 0;
  int32_t foundWordCount = 0;  // entries in foundWords; set to 0 before a load
  Array1<std::string> foundWords;
  int32_t levelScore = 0;
};

// True when "ISSTORED" holds a non-zero byte. Creates the "SAVE" key (class "SAVEDATA") if absent.
// A store whose root key cannot be opened fails with the message the player is shown then.
bool isGameStored(Registry& registry, Status* status = nullptr);

// Sets "ISSTORED" to 0.
Status clearGameStored(Registry& registry);

// Clears "ISSTORED", then reads the stored game: the byte data, the solving record (replacing
// solving), the scores, the play time into elapsedTime and the comma-terminated word list. A
// missing value leaves its variable as it was. The word list never holds more words than it has
// commas: when it has fewer than "NWORDSFOUND" says, foundWordCount becomes the number found.
Status loadStoredGame(Registry& registry, SolvingData& solving, SavedGame& game,
                      int32_t& elapsedTime);

// Stores a game: the flag cleared first, then the byte data (at most 32767 bytes, the most a
// 16-bit length can state), the solving record, the play time and the unused values at zero or
// empty, and "ISSTORED" = 1 last, so that a store cut short never leaves the flag over a partial
// game. Fails when the store cannot be opened or written or the data are too long; the caller
// says what the player sees.
Status storeGame(Registry& registry, const SolvingData& solving, int32_t elapsedTime,
                 const std::vector<uint8_t>& bytes);

}  // namespace qlx
