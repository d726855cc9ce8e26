// Opening the puzzle source, in the order start-up relies on.
#include "puzzle/puzzle_source.h"

#include "platform/folders.h"
#include "puzzle/gridfile.h"

namespace qlx {

Status openPuzzleSource(PuzzleSource& source, const std::string& folder,
                        std::optional<uint64_t> seed) {
  // The only seeding of the run; every later draw continues this sequence.
  if (seed) {
    source.random.seed(*seed);
    source.seed = *seed;
  } else {
    source.random = Random::fromClock(&source.seed);
  }
  // Every data file is looked for in the program folder.
  source.appFolder = withTrailingSeparator(folder);
  // The grid file's index stays for the whole run.
  source.grids.gridFilePath = source.appFolder + kGridFileName;
  if (Status s = loadGridIndex(source.grids); !s) return s;
  // The word-fill library is loaded on this first use and keeps the dictionary.
  source.fillLibrary = std::make_unique<FillLibrary>(source.appFolder + FillLibrary::kFileName);
  return source.fillLibrary->loadLangDict(source.appFolder + kDictionaryFileName);
}

}  // namespace qlx
