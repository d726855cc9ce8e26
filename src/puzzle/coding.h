// Letter coding: every letter of the fill gets a number of its own, dealt from a shuffled deck,
// and three letters, picked by how often they occur, are given away.
#pragma once

#include <cstdint>

#include "core/array1.h"
#include "core/random.h"
#include "core/status.h"
#include "puzzle/model.h"

namespace qlx {

// Counts and ranks the letters of gridLetters, deals the numbers, clears the entries and gives
// the start letters. A fill with fewer than kMinDistinctLetters letters is refused and leaves
// the puzzle's code and player state untouched.
Status assignNumbers(Puzzle& puzzle, Random& random);

// Permutes a(lo..hi) in place with the game's draw r = 1 + Int(u * (span - 1)); lo is 1 in use.
void shuffleNumbers(Array1<int16_t>& a, int16_t lo, int16_t hi, Random& random);

// Clears givenNums and gives the three frequency ranks of a randomly drawn pattern.
void giveStartLetters(Puzzle& puzzle, Random& random);

// Gives the letter of frequency rank r (1 = the most frequent letter).
void giveLetterByRank(Puzzle& puzzle, int16_t rank);

// The 26 letter indices ordered by tally, most frequent first, by the exchange sort that never
// swaps equal tallies: ties are settled by the sort's course, not alphabetically.
Array1<uint8_t> rankByFrequency(Array1<int16_t> letterTally);

// Number of distinct letters 'a'..'z' among the first cellCount bytes of gridLetters.
int distinctLetters(const Puzzle& puzzle);

}  // namespace qlx
