// The player's data kept from one run to the next: the solving record, the carried values, the
// sound switches and the best-time lists of the two levels, as held in memory.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "core/array1.h"

namespace qlx {

inline constexpr int kLevels = 2;
inline constexpr int kBestPlaces = 8;
inline constexpr int kSoundSwitches = 7;

// One level's best list, best (smallest time, in tenths of a second) at place 1.
struct BestList {
  Array1<int32_t> times{kBestPlaces};
  Array1<std::string> names{kBestPlaces};
};

// The solving record: which puzzle of which grid group in which mode, plus fields the game only
// carries from one run to the next. It is stored as 22 little-endian bytes; counter B is a 32-bit
// field of which only the low half is stored, so its high half stays as it was on a load.
struct SolvingData {
  int32_t puzzleNum = 0;  // offset 0
  int32_t carried4 = 0;   // offset 4, carried only
  int16_t carried8 = 0;   // offset 8, carried only
  int16_t modeNum = 0;    // offset 10: the level whose best list is used
  int16_t gridGroup = 0;  // offset 12
  uint16_t reserved = 0;  // offset 14, kept as loaded
  int32_t counterA = 0;   // offset 16
  int32_t counterB = 0;   // offset 20, low 16 bits stored

  static constexpr std::size_t kStoredSize = 22;
  using Bytes = std::array<uint8_t, kStoredSize>;

  Bytes toBytes() const;
  // Takes every field from bytes; counter B keeps its high half.
  void fromBytes(const Bytes& bytes);

  bool operator==(const SolvingData&) const = default;
};

// A change to the best lists (a time put in, a list cleared), kept so that it can be made again
// on the lists the store holds when it is saved.
using BestListChange = std::function<void(Array1<BestList>& bestScores)>;

struct UserData {
  SolvingData solving;
  int32_t numWfsf = 0;                                 // carried only
  std::array<int16_t, kSoundSwitches> soundOptions{};  // a switch is on when above 0
  Array1<BestList> bestScores;                         // 1..kLevels, index = level
  // Changes whose save failed, in order, made again on the stored lists by the next save.
  std::vector<BestListChange> unsavedChanges;
  // The level New Game starts (its modeNum): 2 Standard, 1 Quick; kept in a value of its own.
  int16_t chosenLevel = 2;
};

}  // namespace qlx
