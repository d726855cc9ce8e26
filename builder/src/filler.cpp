// The backtracking search behind makeXWordPuzzle. State changes are undone through a trail
// of saved domains, so the inner loop allocates nothing once the buffers have grown.
#include "filler.h"

#include "bits.h"

#include <algorithm>
#include <cstring>

namespace zandrel {

namespace {

// How much bringing a letter into the grid is worth when choosing a word: the rare letters
// are the ones a codeword grid tends to miss.
constexpr float kRarity[26] = {
    0.3F, 1.2F, 0.8F, 0.6F, 0.2F, 1.5F, 1.0F, 1.2F, 0.3F, 6.0F, 3.0F, 0.6F, 1.0F,  // a..m
    0.4F, 0.3F, 1.0F, 7.0F, 0.4F, 0.3F, 0.3F, 0.8F, 3.0F, 2.0F, 5.0F, 2.0F, 5.0F,  // n..z
};

// Penalty per commonness level; the noise added to each score keeps fills varied.
float levelPenalty(uint8_t level) {
  if (level <= 10) return 0.0F;
  if (level <= 20) return 0.5F;
  if (level <= 35) return 1.2F;
  if (level <= 40) return 2.0F;
  return 2.8F;
}

constexpr int kSteerLetters = 3;   // missing letters tried per choice
constexpr int kMinSteerPool = 16;  // fewest candidates worth steering into
// Steering for letters makes a search harder: a grid that needed restarts gets less of it,
// and the repair pass brings the letters in afterwards.
int steerPercent(int restarts) { return restarts == 0 ? 100 : restarts < 3 ? 50 : 0; }

constexpr float kCheckedShare = 0.5F;    // worth of a missing letter in a checked cell
constexpr float kMaxLetterBonus = 7.0F;  // most a word earns for the letters it brings
constexpr int kSamples = 6;              // candidates scored per choice
constexpr int kSteeredSamples = 3;       // fewer when steered: the pool is small, keep it varied
constexpr float kNoise = 2.0F;           // random spread added to a score
constexpr long kFirstBudget = 100;       // nodes before the first restart
constexpr int kClockEvery = 64;          // nodes between clock reads
constexpr int kAttempts = 5;             // whole fills tried for one with every letter
// Letters given a host slot in every fill: the ones English words carry least. A fill that
// still misses others plans those in too on its next attempt.
constexpr uint32_t kPlannedLetters =
    (1U << ('j' - 'a')) | (1U << ('q' - 'a')) | (1U << ('x' - 'a')) | (1U << ('z' - 'a'));
// Restarts of one fill that keep the hosts; after these the search goes on without them, so a
// grid that cannot hold the letters still gets a fill soon.
constexpr int kHostedRestarts = 4;

// A random set bit of a bitset of n blocks, or -1 when empty. Not quite uniform (a block
// after a run of empty ones is likelier), which is fine for ordering candidates.
int randomSetBit(const uint64_t* set, int n, Rng& rng) {
  const int start = static_cast<int>(rng.below(static_cast<uint32_t>(n)));
  for (int i = 0; i < n; ++i) {
    int b = start + i;
    if (b >= n) b -= n;
    const uint64_t block = set[b];
    if (block == 0) continue;
    const int r = static_cast<int>(rng.below(64));
    const uint64_t rotated = std::rotr(block, r);
    const int bit = (std::countr_zero(rotated) + r) & 63;
    return b * 64 + bit;
  }
  return -1;
}

}  // namespace

Filler::Filler(const Dictionary& dict, const Layout& layout, Rng& rng)
    : dict_(dict), layout_(layout), rng_(rng), slotCount_(static_cast<int>(layout.slots.size())) {
  list_.resize(slotCount_);
  domOffset_.resize(slotCount_);
  size_t total = 0;
  for (int s = 0; s < slotCount_; ++s) {
    list_[s] = &dict_.words(layout_.slots[s].length);
    domOffset_[s] = total;
    total += static_cast<size_t>(list_[s]->blocks);
  }
  dom_.assign(total, 0);
  count_.assign(slotCount_, 0);
  word_.assign(slotCount_, -1);
  usedOffset_.assign(kMaxWordLength + 1, 0);
  size_t usedTotal = 0;
  for (int length = 0; length <= kMaxWordLength; ++length) {
    usedOffset_[length] = usedTotal;
    usedTotal += static_cast<size_t>(dict_.words(length).blocks);
  }
  used_.assign(usedTotal, 0);
  cellLetter_.assign(layout_.white.size(), -1);
  cellRef_.assign(layout_.white.size(), 0);
  int widest = 0;
  for (int length = 0; length <= kMaxWordLength; ++length)
    widest = std::max(widest, dict_.words(length).blocks);
  steer_.assign(static_cast<size_t>(widest), 0);
  unchecked_.assign(slotCount_, 0);
  for (int slot = 0; slot < slotCount_; ++slot)
    for (int p = 0; p < layout_.slots[slot].length; ++p)
      if (layout_.slots[slot].crossSlot[p] < 0) unchecked_[slot] |= 1U << p;
  trail_.reserve(static_cast<size_t>(slotCount_) * 16);
  // How many words could bring each letter into each slot: a word's letter in an unchecked cell
  // counts in full; in a checked cell only as far as the crossing words take that letter there.
  hostWeight_.assign(static_cast<size_t>(slotCount_) * 26, 0.0F);
  hosting_.assign(slotCount_, 0);
  for (int slot = 0; slot < slotCount_; ++slot) {
    const Slot& s = layout_.slots[slot];
    const WordList& list = *list_[slot];
    if (list.count == 0) continue;
    for (int p = 0; p < s.length; ++p)
      for (int l = 0; l < 26; ++l) {
        float share = 1.0F;
        if (s.crossSlot[p] >= 0) {
          const WordList& cross = *list_[s.crossSlot[p]];
          const int there = cross.count ? cross.positionCounts[s.crossPos[p] * 26 + l] : 0;
          share = std::min(1.0F, 26.0F * static_cast<float>(there) /
                                     static_cast<float>(std::max(cross.count, 1)));
        }
        hostWeight_[static_cast<size_t>(slot) * 26 + l] +=
            share * static_cast<float>(list.positionCounts[p * 26 + l]);
      }
  }
  // A letter no slot can carry is not chased (a cell in no word can take any letter), and a
  // grid of few cells cannot hold 26.
  reachable_ = layout_.loneCells.empty() ? 0 : (1U << 26) - 1;
  for (int slot = 0; slot < slotCount_; ++slot)
    for (int l = 0; l < 26; ++l)
      if (hostWeight_[static_cast<size_t>(slot) * 26 + l] > 0.0F) reachable_ |= 1U << l;
  const auto whiteCells = std::count(layout_.white.begin(), layout_.white.end(), uint8_t{1});
  goal_ = static_cast<int>(std::min<long>(std::popcount(reachable_), whiteCells));
}

void Filler::reset() {
  for (int s = 0; s < slotCount_; ++s) {
    const WordList& list = *list_[s];
    std::copy(list.all.begin(), list.all.end(),
              dom_.begin() + static_cast<std::ptrdiff_t>(domOffset_[s]));
    count_[s] = list.count;
    word_[s] = -1;
  }
  assigned_ = 0;
  std::fill(cellLetter_.begin(), cellLetter_.end(), int8_t{-1});
  std::fill(cellRef_.begin(), cellRef_.end(), uint8_t{0});
  std::fill(std::begin(letterCount_), std::end(letterCount_), 0);
  std::fill(used_.begin(), used_.end(), uint64_t{0});
  trail_.clear();
  saved_.clear();
}

Filler::Step Filler::searchAll() {
  budget_ = std::max<long>(kFirstBudget, 2L * slotCount_);
  restartsThisFill_ = 0;
  for (;;) {
    if (Clock::now() >= deadline_) {
      timedOut_ = true;
      return Step::Aborted;
    }
    reset();
    const bool hosted = restartsThisFill_ < kHostedRestarts && reserveHosts();
    nodes_ = 0;
    const Step step = search();
    // Hosts that admit no fill prove nothing about the grid: draw others, or go on without.
    if (step == Step::Found || (step == Step::Exhausted && !hosted)) return step;
    if (timedOut_ || Clock::now() >= deadline_) return Step::Aborted;
    ++stats_.restarts;
    ++restartsThisFill_;
    budget_ += budget_ / 2;  // a growing budget keeps the search complete in the limit
  }
}

Filler::Outcome Filler::run(Clock::time_point deadline, std::vector<char>& letters) {
  deadline_ = deadline;
  timedOut_ = false;
  for (const Slot& slot : layout_.slots)
    if (!dict_.hasLength(slot.length)) return Outcome::Impossible;

  // A fill the repair leaves short of a letter is kept while a fresh fill gets a go; the
  // budgets count work, not time, so a seed gives the same fills on any machine.
  int bestLetters = -1;
  reserve_ = kPlannedLetters;
  for (int attempt = 0; attempt < kAttempts; ++attempt) {
    const Step step = searchAll();
    if (step != Step::Found) {
      if (bestLetters >= 0) break;
      return step == Step::Exhausted ? Outcome::Impossible : Outcome::TimedOut;
    }
    fillLoneCells();
    repairLetters();
    const int present = std::popcount(presentMask());
    if (present > bestLetters) {
      bestLetters = present;
      letters.assign(layout_.white.size(), 0);
      for (size_t cell = 0; cell < letters.size(); ++cell)
        if (layout_.white[cell]) letters[cell] = static_cast<char>('a' + cellLetter_[cell]);
    }
    if (present >= goal_) break;
    reserve_ |= missingMask();
    ++stats_.attempts;
  }
  return Outcome::Filled;
}

Filler::Step Filler::search() {
  if (assigned_ == slotCount_) return Step::Found;
  ++stats_.nodes;
  if (++nodes_ > budget_) return Step::Aborted;
  if (nodes_ % kClockEvery == 0 && Clock::now() >= deadline_) {
    timedOut_ = true;
    return Step::Aborted;
  }
  const int slot = pickSlot();
  const size_t mark = trail_.size();
  save(slot);
  for (;;) {
    const int word = chooseWord(slot);
    if (word < 0) break;
    const size_t inner = trail_.size();
    if (assign(slot, word)) {
      const Step step = search();
      if (step != Step::Exhausted) return step;
    }
    unassign(slot, inner);
  }
  restore(mark);
  return Step::Exhausted;
}

// Gives each letter of reserve_, rarest first, a slot of its own (drawn with odds by
// hostWeight_) and cuts that slot's candidates to the words holding the letter. Those domains
// are small, so the search fills the hosts first; each restart draws new hosts. False when no
// letter found a host.
bool Filler::reserveHosts() {
  std::fill(hosting_.begin(), hosting_.end(), uint8_t{0});
  bool any = false;
  for (int letter : kRarestFirst) {
    if (!((reserve_ >> letter) & 1U)) continue;
    float total = 0.0F;
    for (int s = 0; s < slotCount_; ++s)
      if (!hosting_[s]) total += hostWeight_[static_cast<size_t>(s) * 26 + letter];
    if (total <= 0.0F) continue;  // no slot can carry it: the fill goes without
    float pick = total * static_cast<float>(rng_.below(1U << 20)) / static_cast<float>(1U << 20);
    int host = -1;
    for (int s = 0; s < slotCount_; ++s) {
      const float weight = hostWeight_[static_cast<size_t>(s) * 26 + letter];
      if (hosting_[s] || weight <= 0.0F) continue;
      host = s;
      if ((pick -= weight) < 0.0F) break;
    }
    const WordList& list = *list_[host];
    hosting_[host] = 1;
    any = true;
    count_[host] = andCount(dom_.data() + domOffset_[host], list.holding(letter), list.blocks);
  }
  return any;
}

// The open slot with the fewest candidates; ties go to a random one, or the first words of
// every fill of a grid would go into the same slots.
int Filler::pickSlot() {
  int best = -1;
  int bestCount = 0;
  int ties = 0;
  for (int s = 0; s < slotCount_; ++s) {
    if (word_[s] >= 0) continue;
    if (best < 0 || count_[s] < bestCount) {
      best = s;
      bestCount = count_[s];
      ties = 1;
    } else if (count_[s] == bestCount && rng_.below(static_cast<uint32_t>(++ties)) == 0) {
      best = s;
    }
  }
  return best;
}

uint32_t Filler::presentMask() const {
  uint32_t mask = 0;
  for (int l = 0; l < 26; ++l)
    if (letterCount_[l] > 0) mask |= 1U << l;
  return mask;
}

bool Filler::isUsed(int length, int word) const {
  return testBit(used_.data() + usedOffset_[length], word);
}

void Filler::markUsed(int length, int word, bool used) {
  uint64_t* set = used_.data() + usedOffset_[length];
  if (used)
    setBit(set, word);
  else
    clearBit(set, word);
}

// Gathers into steer_ the candidates that bring one of the rarest missing letters; returns
// how many, 0 when no letter has enough. Where in the word the letter sits is left to the
// scoring.
int Filler::steerCandidates(int slot, uint32_t missing) {
  const WordList& list = *list_[slot];
  const uint64_t* dom = dom_.data() + domOffset_[slot];
  // The rarest few missing letters, tried from a random one on: always starting with the
  // rarest would put the same words into the same slots fill after fill.
  int letters[kSteerLetters];
  int n = 0;
  for (int letter : kRarestFirst)
    if (((missing >> letter) & 1U) && n < kSteerLetters) letters[n++] = letter;
  const int first = n > 0 ? static_cast<int>(rng_.below(static_cast<uint32_t>(n))) : 0;
  for (int i = 0; i < n; ++i) {
    const int letter = letters[(first + i) % n];
    std::copy(dom, dom + list.blocks, steer_.begin());
    const int count = andCount(steer_.data(), list.holding(letter), list.blocks);
    // A handful of candidates would put the same few words into every fill of a grid.
    if (count >= kMinSteerPool) return count;
  }
  return 0;
}

// Scores a few random candidates (commoner and letter-bringing words score higher) and takes
// the best; each word taken or found already placed leaves this slot's domain for good.
int Filler::chooseWord(int slot) {
  const WordList& list = *list_[slot];
  uint64_t* dom = dom_.data() + domOffset_[slot];
  const uint32_t missing = missingMask();
  uint64_t* pool = dom;
  int poolCount = count_[slot];
  if (missing != 0 && static_cast<int>(rng_.below(100)) < steerPercent(restartsThisFill_)) {
    const int steered = steerCandidates(slot, missing);
    if (steered > 0) {
      pool = steer_.data();
      poolCount = steered;
    }
  }
  int best = -1;
  float bestScore = 0.0F;
  const int samples = pool == dom ? kSamples : kSteeredSamples;
  for (int k = 0; k < samples && poolCount > 0;) {
    const int word = randomSetBit(pool, list.blocks, rng_);
    if (word < 0) break;
    if (isUsed(list.length, word)) {
      if (pool != dom) {
        clearBit(pool, word);
        --poolCount;
      }
      if (testBit(dom, word)) {
        clearBit(dom, word);
        --count_[slot];
      }
      if (pool == dom) poolCount = count_[slot];
      continue;
    }
    ++k;
    float score =
        -levelPenalty(list.levels[word]) + kNoise * static_cast<float>(rng_.below(1024)) / 1024.0F;
    // A missing letter in an unchecked cell counts in full; in a checked cell it also
    // narrows the crossing word, so it counts for less. The cap keeps the few words holding
    // several rare letters from winning every time.
    if (list.masks[word] & missing) {
      const uint8_t* letters = list.word(word);
      uint32_t free = 0, checked = 0;
      for (int p = 0; p < list.length; ++p)
        ((unchecked_[slot] >> p) & 1U ? free : checked) |= 1U << letters[p];
      free &= missing;
      checked &= missing & ~free;
      float bonus = 0.0F;
      for (uint32_t m = free; m != 0; m &= m - 1) bonus += kRarity[std::countr_zero(m)];
      for (uint32_t m = checked; m != 0; m &= m - 1)
        bonus += kRarity[std::countr_zero(m)] * kCheckedShare;
      score += std::min(bonus, kMaxLetterBonus);
    }
    if (best < 0 || score > bestScore) {
      best = word;
      bestScore = score;
    }
    if (poolCount == 1) break;  // the only candidate
  }
  if (best < 0 && pool != dom) {
    // Every steered candidate was already placed: any unplaced word of the domain will do.
    while (best < 0 && count_[slot] > 0) {
      const int word = randomSetBit(dom, list.blocks, rng_);
      if (word < 0) break;
      if (isUsed(list.length, word)) {
        clearBit(dom, word);
        --count_[slot];
      } else {
        best = word;
      }
    }
  }
  if (best >= 0) {
    clearBit(dom, best);
    --count_[slot];
  } else {
    count_[slot] = 0;
  }
  return best;
}

void Filler::setCell(int cell, int letter) {
  if (cellRef_[cell]++ == 0) {
    cellLetter_[cell] = static_cast<int8_t>(letter);
    ++letterCount_[letter];
  }
}

void Filler::clearCell(int cell) {
  if (--cellRef_[cell] == 0) {
    --letterCount_[cellLetter_[cell]];
    cellLetter_[cell] = -1;
  }
}

bool Filler::assign(int slot, int word) {
  const Slot& s = layout_.slots[slot];
  const WordList& list = *list_[slot];
  const uint8_t* letters = list.word(word);
  word_[slot] = word;
  ++assigned_;
  markUsed(list.length, word, true);
  for (int p = 0; p < s.length; ++p) setCell(s.cells[p], letters[p]);
  bool alive = true;
  for (int p = 0; p < s.length && alive; ++p) {
    const int other = s.crossSlot[p];
    if (other < 0 || word_[other] >= 0) continue;
    save(other);
    const WordList& otherList = *list_[other];
    count_[other] = andCount(dom_.data() + domOffset_[other],
                             otherList.bits(s.crossPos[p], letters[p]), otherList.blocks);
    alive = count_[other] > 0;
  }
  return alive;
}

void Filler::unassign(int slot, size_t trailMark) {
  restore(trailMark);
  const Slot& s = layout_.slots[slot];
  for (int p = 0; p < s.length; ++p) clearCell(s.cells[p]);
  markUsed(s.length, word_[slot], false);
  word_[slot] = -1;
  --assigned_;
}

void Filler::save(int slot) {
  const int blocks = list_[slot]->blocks;
  const uint64_t* dom = dom_.data() + domOffset_[slot];
  trail_.push_back({slot, count_[slot], saved_.size()});
  saved_.insert(saved_.end(), dom, dom + blocks);
}

void Filler::restore(size_t trailMark) {
  while (trail_.size() > trailMark) {
    const TrailEntry& e = trail_.back();
    const int blocks = list_[e.slot]->blocks;
    std::memcpy(dom_.data() + domOffset_[e.slot], saved_.data() + e.offset,
                sizeof(uint64_t) * blocks);
    count_[e.slot] = e.count;
    saved_.resize(e.offset);
    trail_.pop_back();
  }
}

}  // namespace zandrel
