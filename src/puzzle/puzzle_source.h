// What making puzzles needs for a whole run, found in the program folder: the generator, the grid
// file's index and the word-fill library with its dictionary. The game and the puzzle tool open
// it the same way.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "core/random.h"
#include "core/status.h"
#include "puzzle/fill_library.h"
#include "puzzle/model.h"

namespace qlx {

inline constexpr const char* kGridFileName = "GRIDFILE.GFDB";
inline constexpr const char* kDictionaryFileName = "XWORD.DICT";

struct PuzzleSource {
  std::string appFolder;  // the program folder, ending in one separator
  uint64_t seed = 0;      // what the random generator was seeded with
  Random random;          // every draw of the run: new games' grids, codes and given letters
  GridIndex grids;
  std::unique_ptr<FillLibrary> fillLibrary;
};

// Seeds the generator (from the clock unless a seed is given), sets appFolder, reads the grid
// file's index and hands the dictionary to the word-fill library. A missing or damaged file ends
// it with a message naming the file.
Status openPuzzleSource(PuzzleSource& source, const std::string& folder,
                        std::optional<uint64_t> seed);

}  // namespace qlx
