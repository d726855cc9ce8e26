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
#include "puzzle/word_table.h"

namespace qlx {

inline constexpr const char* kGridFileName = "GRIDFILE.GFDB";
inline constexpr const char* kDictionaryFileName = "XWORD.DICT";
// The broader list a new puzzle must have one solution under: every word a player may think of.
inline constexpr const char* kAcceptanceFileName = "ACCEPT.DICT";
// An installed game keeps its programs in <prefix>/games, its data in
// <prefix>/share/games/quillorix and the word-fill library in <prefix>/lib/quillorix; the build
// tree keeps all in one folder.
inline constexpr const char* kInstalledDataFromPrograms = "../share/games/quillorix/";
inline constexpr const char* kInstalledLibraryFromData = "../../../lib/quillorix/";

struct PuzzleSource {
  std::string appFolder;  // the program folder, ending in one separator
  uint64_t seed = 0;      // what the random generator was seeded with
  Random random;          // every draw of the run: new games' grids, codes and given letters
  GridIndex grids;
  std::unique_ptr<FillLibrary> fillLibrary;
  WordTable acceptance;  // the words of the one-solution check
};

// The program folder of a program in exeFolder: exeFolder itself when it holds the grid file (the
// build tree), else the installed data folder relative to it. Fails naming both when neither does.
Status findProgramFolder(const std::string& exeFolder, std::string* folder);

// Seeds the generator (from the clock unless a seed is given), sets appFolder, reads the grid
// file's index, hands the dictionary to the word-fill library and reads the acceptance list. A
// missing or damaged file ends it with a message naming the file.
Status openPuzzleSource(PuzzleSource& source, const std::string& folder,
                        std::optional<uint64_t> seed);

}  // namespace qlx
