// Bringing every letter into a complete fill: a word may be swapped for another that keeps
// all its crossing letters (so every crossing word stays valid) while its unchecked cells
// bring letters the grid lacks. Swaps only ever add letters, and run under a small budget.
#include "filler.h"

#include "bits.h"

#include <algorithm>

namespace zandrel {

namespace {
constexpr int kRepairRounds = 12;
}

void Filler::fillLoneCells() {
  // A white cell in no word takes a missing letter if there is one, else any letter.
  for (int cell : layout_.loneCells) {
    const uint32_t missing = ~presentMask() & ((1U << 26) - 1);
    int letter = static_cast<int>(rng_.below(26));
    if (missing != 0) {
      int pick = static_cast<int>(rng_.below(static_cast<uint32_t>(std::popcount(missing))));
      uint32_t m = missing;
      while (pick-- > 0) m &= m - 1;
      letter = std::countr_zero(m);
    }
    cellRef_[cell] = 1;
    cellLetter_[cell] = static_cast<int8_t>(letter);
    ++letterCount_[letter];
  }
}

void Filler::repairLetters(Clock::time_point deadline) {
  std::vector<uint64_t> candidates;
  std::vector<int> order(static_cast<size_t>(slotCount_));
  for (int s = 0; s < slotCount_; ++s) order[s] = s;

  for (int round = 0; round < kRepairRounds; ++round) {
    if (std::popcount(presentMask()) == 26 || Clock::now() >= deadline) return;
    for (int i = slotCount_ - 1; i > 0; --i)
      std::swap(order[i], order[rng_.below(static_cast<uint32_t>(i + 1))]);

    int bestSlot = -1, bestWord = -1, bestGain = 0;
    for (int slot : order) {
      const Slot &s = layout_.slots[slot];
      const WordList &list = *list_[slot];
      const uint8_t *current = list.word(word_[slot]);
      bool anyUnchecked = false;
      for (int p = 0; p < s.length; ++p) anyUnchecked |= s.crossSlot[p] < 0;
      if (!anyUnchecked) continue;
      // Take the current word's unchecked letters out: any letter they alone held is lost.
      const int before = std::popcount(presentMask());
      for (int p = 0; p < s.length; ++p)
        if (s.crossSlot[p] < 0) --letterCount_[current[p]];
      const uint32_t kept = presentMask();

      candidates.assign(list.all.begin(), list.all.end());
      for (int p = 0; p < s.length; ++p)
        if (s.crossSlot[p] >= 0) andCount(candidates.data(), list.bits(p, current[p]), list.blocks);
      for (int b = 0; b < list.blocks; ++b) {
        for (uint64_t block = candidates[b]; block != 0; block &= block - 1) {
          const int word = b * 64 + std::countr_zero(block);
          if (word == word_[slot] || isUsed(list.length, word)) continue;
          const uint8_t *letters = list.word(word);
          uint32_t after = kept;
          for (int p = 0; p < s.length; ++p)
            if (s.crossSlot[p] < 0) after |= 1U << letters[p];
          const int gain = std::popcount(after) - before;
          if (gain > bestGain) {
            bestGain = gain;
            bestSlot = slot;
            bestWord = word;
          }
        }
      }
      for (int p = 0; p < s.length; ++p)
        if (s.crossSlot[p] < 0) ++letterCount_[current[p]];
    }
    if (bestSlot < 0) return;

    const Slot &s = layout_.slots[bestSlot];
    const WordList &list = *list_[bestSlot];
    const uint8_t *oldWord = list.word(word_[bestSlot]);
    const uint8_t *newWord = list.word(bestWord);
    for (int p = 0; p < s.length; ++p) {
      if (s.crossSlot[p] >= 0) continue;
      --letterCount_[oldWord[p]];
      ++letterCount_[newWord[p]];
      cellLetter_[s.cells[p]] = static_cast<int8_t>(newWord[p]);
    }
    markUsed(list.length, word_[bestSlot], false);
    markUsed(list.length, bestWord, true);
    word_[bestSlot] = bestWord;
    ++stats_.repairSwaps;
  }
}

} // namespace zandrel
