// Counting the solutions of a coded grid: the ways to give every number its own letter so that
// every run of two or more white cells reads as a word of a dictionary, the given numbers keeping
// their letters. A codeword is fair only when the count is exactly one.
#pragma once

#include "puzzle/model.h"
#include "puzzle/word_table.h"

namespace qlx {

// The solutions of p's coded grid under words, counted up to limit (the search stops there): a
// constraint search over numbers, one letter set per number and one candidate bitset per coded
// run, every number a different letter.
int countSolutions(const Puzzle& p, const WordTable& words, int limit = 2);

}  // namespace qlx
