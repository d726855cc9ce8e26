// The fill search: bitset domains per slot, fewest-candidates-first slot order, forward
// checking of crossing slots, no repeated word, and randomised restarts under a node budget.
// The rare letters are planned in: each gets a host slot whose candidates are cut to words
// holding it, so those slots are filled first. A short repair pass then brings in what is left.
#pragma once

#include "dictionary.h"
#include "layout.h"
#include "rng.h"

#include <chrono>
#include <cstdint>
#include <vector>

namespace zandrel {

using Clock = std::chrono::steady_clock;

// Letters (0 = 'a') rarest first in English words: the order missing letters are sought in.
inline constexpr int kRarestFirst[26] = {16, 9, 23, 25, 10, 21, 22, 24, 5, 1, 7,  6,  15,
                                         12, 2, 20, 3,  11, 13, 17, 0,  4, 8, 14, 18, 19};

struct FillStats {
  long nodes = 0;
  int restarts = 0;
  int repairSwaps = 0;
  int attempts = 0;  // whole fills after the first
};

class Filler {
 public:
  enum class Outcome { Filled, Impossible, TimedOut };

  Filler(const Dictionary& dict, const Layout& layout, Rng& rng);

  // On Filled, letters holds 'a'..'z' for every white cell and 0 for blocks.
  Outcome run(Clock::time_point deadline, std::vector<char>& letters);

  const FillStats& stats() const { return stats_; }

 private:
  enum class Step { Found, Exhausted, Aborted };

  void reset();
  bool reserveHosts();
  Step searchAll();
  Step search();
  int pickSlot();
  int chooseWord(int slot);
  int steerCandidates(int slot, uint32_t missing);
  bool assign(int slot, int word);
  void unassign(int slot, size_t trailMark);
  void save(int slot);
  void restore(size_t trailMark);
  void setCell(int cell, int letter);
  void clearCell(int cell);
  uint32_t presentMask() const;
  uint32_t missingMask() const { return ~presentMask() & reachable_; }
  bool isUsed(int length, int word) const;
  void markUsed(int length, int word, bool used);

  // Pangram repair (repair.cpp): swaps words for ones that keep every crossing letter but
  // bring letters missing from the grid.
  void repairLetters();
  void fillLoneCells();
  bool swapForLetters();
  bool reopenFor(int centre, int letter, int radius, long nodeBudget);
  void placeWord(int slot, int word);
  void liftWord(int slot);

  std::vector<int> savedWords_;  // repair: the words before a reopen
  std::vector<int> reopened_;    // repair: the slots searched again

  const Dictionary& dict_;
  const Layout& layout_;
  Rng& rng_;
  int slotCount_ = 0;

  std::vector<const WordList*> list_;  // per slot
  std::vector<uint32_t> unchecked_;    // per slot: bit p set when position p crosses nothing
  std::vector<size_t> domOffset_;      // per slot, into dom_
  std::vector<uint64_t> dom_;          // candidate bitsets of all slots
  std::vector<int> count_;             // candidates left per slot (may include used words)
  std::vector<int> word_;              // assigned word per slot, -1 when open
  int assigned_ = 0;

  std::vector<int8_t> cellLetter_;  // -1 when empty
  std::vector<uint8_t> cellRef_;    // how many assigned slots cover the cell
  int letterCount_[26] = {};

  std::vector<size_t> usedOffset_;  // per length, into used_
  std::vector<uint64_t> used_;      // words placed, per length

  struct TrailEntry {
    int slot;
    int count;
    size_t offset;
  };
  std::vector<TrailEntry> trail_;
  std::vector<uint64_t> saved_;
  std::vector<uint64_t> steer_;  // scratch: the candidates that bring a missing letter

  std::vector<float> hostWeight_;  // slot * 26 + letter: how well the slot can carry the letter
  std::vector<uint8_t> hosting_;   // per slot: a letter was reserved in it this restart
  uint32_t reserve_ = 0;           // letters given a host slot at each restart of this fill
  uint32_t reachable_ = 0;  // letters some word of the grid can bring: the rest are not sought
  int goal_ = 0;            // most distinct letters the grid can hold

  Clock::time_point deadline_{};
  long nodes_ = 0;   // nodes of the current search
  long budget_ = 0;  // nodes the current search may visit
  int restartsThisFill_ = 0;
  bool timedOut_ = false;
  FillStats stats_;
};

}  // namespace zandrel
