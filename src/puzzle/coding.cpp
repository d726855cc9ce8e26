// Letter coding, step by step as the game has always done it: the tie rule of the exchange sort,
// the shuffle's short draw and the dealing order all shape which puzzle a seed gives.
#include "puzzle/coding.h"

#include <array>
#include <utility>

#include "core/numeric.h"
#include "core/random.h"

namespace qlx {
namespace {

bool isFillLetter(uint8_t b) { return b >= 'a' && b <= 'z'; }

// The ranks given by each start-letter pattern, in the order they are given.
constexpr std::array<std::array<int16_t, 3>, 5> kStartRanks = {{
    {1, 5, 8},
    {2, 4, 7},
    {3, 5, 6},
    {3, 4, 6},
    {5, 6, 9},
}};

}  // namespace

int distinctLetters(const Puzzle& p) {
  std::array<bool, 26> seen{};
  int count = 0;
  for (int i = 1; i <= p.cellCount; ++i) {
    const uint8_t b = p.gridLetters(i);
    if (isFillLetter(b) && !seen[b - 'a']) {
      seen[b - 'a'] = true;
      ++count;
    }
  }
  return count;
}

Status assignNumbers(Puzzle& p, Random& random) {
  const int distinct = distinctLetters(p);
  if (distinct < kMinDistinctLetters)
    return Status::Error("the fill uses only " + std::to_string(distinct) +
                         " different letters; a puzzle needs at least " +
                         std::to_string(kMinDistinctLetters));

  p.letterToNum.redim(26);
  p.lettersByFreq.redim(26);
  p.letterCount = 0;
  Array1<int16_t> letterTally(26);

  // Count; a letter's first occurrence marks it present (the mark is replaced by the deal below).
  for (int i = 1; i <= p.cellCount; ++i) {
    const uint8_t b = p.gridLetters(i);
    if (!isFillLetter(b)) continue;
    const int k = b - 96;
    letterTally(k) += 1;
    if (p.letterToNum(k) == 0) {
      p.letterCount += 1;
      p.letterToNum(k) = p.letterCount;
    }
  }

  p.lettersByFreq = rankByFrequency(letterTally);

  const int16_t count = p.letterCount;
  p.givenNums.redim(count);
  p.numToLetter.redim(count);
  Array1<int16_t> numberDeck(count);
  for (int16_t i = 1; i <= count; ++i) numberDeck(i) = i;
  shuffleNumbers(numberDeck, 1, count, random);

  // Deal: the present letters, taken alphabetically, receive the shuffled deck in order.
  int c = 0;
  for (int k = 1; k <= 26; ++k)
    if (p.letterToNum(k) != 0) p.letterToNum(k) = static_cast<uint8_t>(numberDeck(++c));
  for (int k = 1; k <= 26; ++k)
    if (p.letterToNum(k) != 0) p.numToLetter(p.letterToNum(k)) = static_cast<uint8_t>(k);

  p.entries.redim(count);
  giveStartLetters(p, random);
  return Status::Ok();
}

Array1<uint8_t> rankByFrequency(Array1<int16_t> letterTally) {
  Array1<uint8_t> lettersByFreq(26);
  for (int i = 1; i <= 26; ++i) lettersByFreq(i) = static_cast<uint8_t>(i);
  // Strictly less than: equal tallies are never swapped.
  for (int i = 1; i <= 25; ++i)
    for (int j = i + 1; j <= 26; ++j)
      if (letterTally(i) < letterTally(j)) {
        std::swap(letterTally(i), letterTally(j));
        std::swap(lettersByFreq(i), lettersByFreq(j));
      }
  return lettersByFreq;
}

void shuffleNumbers(Array1<int16_t>& a, int16_t lo, int16_t hi, Random& random) {
  // With fewer than two elements the draw below would name position 0; there is nothing to permute.
  if (hi - lo < 1) return;
  const int span = hi - lo;
  for (int i = lo; i <= hi; ++i) {
    // r runs over 1..span-1 only: the last two positions move only when i reaches them.
    const auto r = 1 + intFloor(random.next() * (span - 1));
    std::swap(a(i), a(r));
  }
}

void giveStartLetters(Puzzle& p, Random& random) {
  p.givenNums.redim(p.letterCount);
  // The pattern is drawn uniformly from all five rows of the table.
  const auto selector = static_cast<std::size_t>(intFloor(random.next() * 5));
  for (int16_t rank : kStartRanks[selector]) giveLetterByRank(p, rank);
}

void giveLetterByRank(Puzzle& p, int16_t rank) {
  const int num = p.letterToNum(p.lettersByFreq(rank));
  p.givenNums(num) = 1;
  p.entries(num) = static_cast<uint8_t>(p.numToLetter(num) + 64);
}

}  // namespace qlx
