// The one-solution check of new puzzles, measured as the game makes them: how often a fill needs
// filling again and what the check adds to making a puzzle.
#pragma once

#include <cstdint>
#include <string>

// Makes `puzzles` puzzles of group from the program folder's data, prints the figures and
// returns whether the targets were met (every puzzle one solution; the check adding at most
// 2 ms at the median and 20 ms at the 99th percentile).
bool benchSolutionCheck(const std::string& folder, int group, int puzzles, uint64_t seed);
