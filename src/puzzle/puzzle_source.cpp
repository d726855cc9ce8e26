// Opening the puzzle source, in the order start-up relies on.
#include "puzzle/puzzle_source.h"

#include <filesystem>

#include "platform/folders.h"
#include "puzzle/gridfile.h"

namespace qlx {
namespace {

bool holds(const std::string& folder, const char* name) {
  std::error_code ec;
  return std::filesystem::is_regular_file(folder + name, ec);
}

std::string normal(const std::string& folder) {
  return withTrailingSeparator(std::filesystem::path(folder).lexically_normal().string());
}

}  // namespace

Status findProgramFolder(const std::string& exeFolder, std::string* folder) {
  const std::string here = withTrailingSeparator(exeFolder);
  const std::string installed = normal(here + kInstalledDataFromPrograms);
  for (const std::string& candidate : {here, installed})
    if (holds(candidate, kGridFileName)) {
      *folder = candidate;
      return Status::Ok();
    }
  return Status::NotFound(std::string("The game's files (") + kGridFileName +
                          ") are missing: looked in " + here + " and in " + installed + ".");
}

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
  // An installed game keeps it apart from the data, as a library; when neither folder holds it,
  // the program folder is the one its message names.
  const std::string installed = normal(source.appFolder + kInstalledLibraryFromData);
  const std::string libraryFolder =
      !holds(source.appFolder, FillLibrary::kFileName) && holds(installed, FillLibrary::kFileName)
          ? installed
          : source.appFolder;
  source.fillLibrary = std::make_unique<FillLibrary>(libraryFolder + FillLibrary::kFileName);
  if (Status s = source.fillLibrary->loadLangDict(source.appFolder + kDictionaryFileName); !s)
    return s;
  source.acceptance = WordTable();
  return readWordTable(source.appFolder + kAcceptanceFileName, &source.acceptance);
}

}  // namespace qlx
