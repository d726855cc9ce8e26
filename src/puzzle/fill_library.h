// The word-fill library as the game sees it: a WordFiller fills a grid of '?' (white) and '-'
// (block) cells with words. FillLibrary is the real one, a shared library in the program folder
// loaded on first use; tests put fakes in its place.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "core/status.h"

namespace qlx {

class SharedLibrary;

class WordFiller {
 public:
  virtual ~WordFiller() = default;
  // Fills letters[0..cellCount) in place; 0 means filled. Any other value is a failure.
  virtual int32_t makeXWordPuzzle(uint8_t* letters, int32_t cellCount, int32_t cols) = 0;
  // Why the last call failed, when the filler can tell.
  virtual std::string lastError() const { return {}; }
};

class FillLibrary : public WordFiller {
 public:
  static constexpr const char* kFileName = "libZandrel.so";

  explicit FillLibrary(std::string libraryPath);
  ~FillLibrary() override;

  // Hands the dictionary's path to the library (loading the library first if need be).
  Status loadLangDict(const std::string& dictPath);
  int32_t makeXWordPuzzle(uint8_t* letters, int32_t cellCount, int32_t cols) override;
  std::string lastError() const override;

  // For tools and tests: makes the library's fills reproducible.
  Status setSeed(uint64_t seed);

 private:
  Status ensureLoaded();

  using LoadLangDictFn = int32_t (*)(char*);
  using MakeXWordPuzzleFn = int32_t (*)(uint8_t*, int32_t, int32_t);
  using SetSeedFn = void (*)(uint64_t);
  using LastErrorFn = const char* (*)();

  std::string path_;
  std::unique_ptr<SharedLibrary> lib_;
  LoadLangDictFn loadLangDict_ = nullptr;
  MakeXWordPuzzleFn makeXWordPuzzle_ = nullptr;
  SetSeedFn setSeed_ = nullptr;
  LastErrorFn lastError_ = nullptr;
  std::string loadError_;
};

}  // namespace qlx
