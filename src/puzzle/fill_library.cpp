// FillLibrary: binds the library's two C entries (and its optional test extras) by name.
#include "puzzle/fill_library.h"

#include <vector>

#include "platform/library.h"

namespace qlx {

FillLibrary::FillLibrary(std::string libraryPath) : path_(std::move(libraryPath)) {}
FillLibrary::~FillLibrary() = default;

Status FillLibrary::ensureLoaded() {
  if (lib_) return Status::Ok();
  std::unique_ptr<SharedLibrary> lib;
  if (Status s = SharedLibrary::open(path_, &lib); !s) return s;
  auto load = reinterpret_cast<LoadLangDictFn>(lib->symbol("loadLangDict"));
  auto make = reinterpret_cast<MakeXWordPuzzleFn>(lib->symbol("makeXWordPuzzle"));
  if (!load || !make)
    return Status::Damaged(path_ + ": the word-fill library lacks the entry " +
                           std::string(!load ? "loadLangDict" : "makeXWordPuzzle"));
  loadLangDict_ = load;
  makeXWordPuzzle_ = make;
  setSeed_ = reinterpret_cast<SetSeedFn>(lib->symbol("zandrelSetSeed"));
  lastError_ = reinterpret_cast<LastErrorFn>(lib->symbol("zandrelLastError"));
  lib_ = std::move(lib);
  return Status::Ok();
}

Status FillLibrary::loadLangDict(const std::string& dictPath) {
  if (Status s = ensureLoaded(); !s) return s;
  // The library gets a private copy of the path, as it may write into the buffer.
  std::vector<char> copy(dictPath.begin(), dictPath.end());
  copy.push_back('\0');
  if (loadLangDict_(copy.data()) != 0) {
    std::string why = lastError();
    return Status::Damaged(dictPath + ": the dictionary cannot be loaded" +
                           (why.empty() ? "" : " (" + why + ")"));
  }
  return Status::Ok();
}

int32_t FillLibrary::makeXWordPuzzle(uint8_t* letters, int32_t cellCount, int32_t cols) {
  if (Status s = ensureLoaded(); !s) {
    loadError_ = s.message();
    return -1;
  }
  return makeXWordPuzzle_(letters, cellCount, cols);
}

std::string FillLibrary::lastError() const {
  if (!loadError_.empty() && !lib_) return loadError_;
  const char* text = lastError_ ? lastError_() : nullptr;
  return text ? text : "";
}

Status FillLibrary::setSeed(uint64_t seed) {
  if (Status s = ensureLoaded(); !s) return s;
  if (!setSeed_) return Status::Error(path_ + ": the word-fill library cannot be seeded");
  setSeed_(seed);
  return Status::Ok();
}

}  // namespace qlx
