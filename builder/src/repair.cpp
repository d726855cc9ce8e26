// Bringing every letter into a complete fill. Two moves, cheapest first: swap one word for
// another that keeps all its crossing letters (no other word changes); or reopen a word and
// every word crossing it and search them again with the word forced to hold a missing letter.
// A move is kept only when the grid then holds more distinct letters, and all of it runs
// under a small work budget (counted in moves and nodes, not time, so seeds repeat): a fill
// lacking a letter is still a good fill.
#include "filler.h"

#include "bits.h"

#include <algorithm>

namespace zandrel {

namespace {
constexpr int kSwapRounds = 12;         // single-word swaps per fill at most
constexpr long kReopenNodes = 60;       // search nodes of one reopen
constexpr long kMaxReopens = 40;        // reopens per fill at most
constexpr long kWideReopenNodes = 100;  // search nodes of one reopen at radius 2
constexpr long kMaxWideReopens = 10;    // reopens at radius 2 per fill at most
}  // namespace

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

void Filler::placeWord(int slot, int word) {
  const Slot& s = layout_.slots[slot];
  const uint8_t* letters = list_[slot]->word(word);
  for (int p = 0; p < s.length; ++p) setCell(s.cells[p], letters[p]);
  markUsed(s.length, word, true);
  word_[slot] = word;
  ++assigned_;
}

void Filler::liftWord(int slot) {
  const Slot& s = layout_.slots[slot];
  for (int p = 0; p < s.length; ++p) clearCell(s.cells[p]);
  markUsed(s.length, word_[slot], false);
  word_[slot] = -1;
  --assigned_;
}

// One swap of one word, the one that adds the most letters; false when none adds any.
bool Filler::swapForLetters() {
  int bestSlot = -1, bestWord = -1, bestGain = 0;
  const int start = static_cast<int>(rng_.below(static_cast<uint32_t>(slotCount_)));
  for (int i = 0; i < slotCount_; ++i) {
    const int slot = (start + i) % slotCount_;
    const Slot& s = layout_.slots[slot];
    const WordList& list = *list_[slot];
    const uint8_t* current = list.word(word_[slot]);
    bool anyUnchecked = false;
    for (int p = 0; p < s.length; ++p) anyUnchecked |= s.crossSlot[p] < 0;
    if (!anyUnchecked) continue;
    // Take the current word's unchecked letters out: any letter they alone held is lost.
    const int before = std::popcount(presentMask());
    for (int p = 0; p < s.length; ++p)
      if (s.crossSlot[p] < 0) --letterCount_[current[p]];
    const uint32_t kept = presentMask();

    uint64_t* candidates = steer_.data();
    std::copy(list.all.begin(), list.all.end(), candidates);
    for (int p = 0; p < s.length; ++p)
      if (s.crossSlot[p] >= 0) andCount(candidates, list.bits(p, current[p]), list.blocks);
    for (int b = 0; b < list.blocks; ++b) {
      for (uint64_t block = candidates[b]; block != 0; block &= block - 1) {
        const int word = b * 64 + std::countr_zero(block);
        if (word == word_[slot] || isUsed(list.length, word)) continue;
        const uint8_t* letters = list.word(word);
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
  if (bestSlot < 0) return false;
  liftWord(bestSlot);
  placeWord(bestSlot, bestWord);
  ++stats_.repairSwaps;
  return true;
}

// Reopens centre and the slots crossing it (and, at radius 2, the slots crossing those) and
// searches them again, the centre forced to hold letter. True (and the new words kept) when
// the grid ends with more letters.
bool Filler::reopenFor(int centre, int letter, int radius, long nodeBudget) {
  const int before = std::popcount(presentMask());
  savedWords_ = word_;
  reopened_.clear();
  reopened_.push_back(centre);
  for (size_t i = 0, ring = 1; ring <= static_cast<size_t>(radius); ++ring) {
    const size_t end = reopened_.size();
    for (; i < end; ++i)
      for (int other : layout_.slots[reopened_[i]].crossSlot)
        if (other >= 0 && std::find(reopened_.begin(), reopened_.end(), other) == reopened_.end())
          reopened_.push_back(other);
  }
  for (int slot : reopened_) liftWord(slot);

  bool alive = true;
  for (int slot : reopened_) {
    const Slot& s = layout_.slots[slot];
    const WordList& list = *list_[slot];
    uint64_t* dom = dom_.data() + domOffset_[slot];
    std::copy(list.all.begin(), list.all.end(), dom);
    count_[slot] = list.count;
    for (int p = 0; p < s.length; ++p)
      if (cellRef_[s.cells[p]] > 0)
        count_[slot] = andCount(dom, list.bits(p, cellLetter_[s.cells[p]]), list.blocks);
    if (slot == centre) count_[slot] = andCount(dom, list.holding(letter), list.blocks);
    alive = alive && count_[slot] > 0;
  }

  bool kept = false;
  if (alive) {
    trail_.clear();
    saved_.clear();
    nodes_ = 0;
    budget_ = nodeBudget;
    kept = search() == Step::Found && std::popcount(presentMask()) > before;
  }
  if (!kept) {
    for (int slot : reopened_)
      if (word_[slot] >= 0) liftWord(slot);
    for (int slot : reopened_) placeWord(slot, savedWords_[slot]);
  }
  trail_.clear();
  saved_.clear();
  return kept;
}

void Filler::repairLetters() {
  long reopens = 0, wideReopens = 0;
  for (int round = 0; round < kSwapRounds; ++round)
    if (missingMask() == 0 || !swapForLetters()) break;

  while (missingMask() != 0 && reopens < kMaxReopens) {
    const uint32_t missing = missingMask();
    // Rarest missing letter first; centres in random order; the first reopen that helps
    // ends the pass.
    bool helped = false;
    for (int letter : kRarestFirst) {
      if (!((missing >> letter) & 1U)) continue;
      const int start = static_cast<int>(rng_.below(static_cast<uint32_t>(slotCount_)));
      for (int i = 0; i < slotCount_ && !helped && reopens < kMaxReopens && !timedOut_;
           ++i, ++reopens)
        helped = reopenFor((start + i) % slotCount_, letter, 1, kReopenNodes);
      for (int i = 0; i < slotCount_ && !helped && wideReopens < kMaxWideReopens && !timedOut_;
           ++i, ++wideReopens)
        helped = reopenFor((start + i) % slotCount_, letter, 2, kWideReopenNodes);
      if (helped) break;
    }
    if (!helped) break;  // no missing letter can be brought in this way
    ++stats_.repairSwaps;
  }
}

}  // namespace zandrel
