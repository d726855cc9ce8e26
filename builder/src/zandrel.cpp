// The C entries of libZandrel: argument checks, the library-wide dictionary, generator, time
// limit and last error, and the rule that a failed fill leaves the caller's buffer untouched.
#include "zandrel.h"

#include "dictionary.h"
#include "filler.h"
#include "layout.h"
#include "rng.h"

#include <chrono>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

namespace {

constexpr int32_t kDefaultTimeLimitMs = 2000;
constexpr int32_t kMaxCells = 255;
constexpr int32_t kMaxCols = 255;

struct State {
  std::mutex mutex;
  std::unique_ptr<zandrel::Dictionary> dict;
  zandrel::Rng rng{
      static_cast<uint64_t>(std::chrono::system_clock::now().time_since_epoch().count()) ^
      static_cast<uint64_t>(std::chrono::steady_clock::now().time_since_epoch().count())};
  int32_t timeLimitMs = kDefaultTimeLimitMs;
  std::string lastError;
};

State& state() {
  static State s;
  return s;
}

int32_t fail(State& s, int32_t code, std::string message) {
  s.lastError = std::move(message);
  return code;
}

}  // namespace

extern "C" {

ZANDREL_EXPORT int32_t loadLangDict(char* path) {
  State& s = state();
  std::lock_guard<std::mutex> lock(s.mutex);
  // A failed load leaves no dictionary: filling on with the one before would hide the failure.
  s.dict.reset();
  if (path == nullptr) return fail(s, ZANDREL_NO_DICTIONARY, "no dictionary path was given");
  auto dict = std::make_unique<zandrel::Dictionary>();
  const qlx::Status loaded = zandrel::Dictionary::load(path, *dict);
  if (!loaded.ok()) return fail(s, ZANDREL_NO_DICTIONARY, loaded.message());
  s.dict = std::move(dict);
  s.lastError.clear();
  return ZANDREL_OK;
}

ZANDREL_EXPORT int32_t makeXWordPuzzle(uint8_t* letters, int32_t cellCount, int32_t cols) {
  State& s = state();
  std::lock_guard<std::mutex> lock(s.mutex);
  if (letters == nullptr) return fail(s, ZANDREL_BAD_GRID, "the grid buffer is null");
  if (cols < 1 || cols > kMaxCols)
    return fail(s, ZANDREL_BAD_GRID,
                "the column count " + std::to_string(cols) + " is outside 1..255");
  if (cellCount < 1 || cellCount > kMaxCells)
    return fail(s, ZANDREL_BAD_GRID,
                "the cell count " + std::to_string(cellCount) + " is outside 1..255");
  if (cellCount % cols != 0)
    return fail(s, ZANDREL_BAD_GRID,
                "the cell count " + std::to_string(cellCount) +
                    " is not a multiple of the column count " + std::to_string(cols));
  std::vector<uint8_t> white(static_cast<size_t>(cellCount));
  for (int32_t i = 0; i < cellCount; ++i) {
    if (letters[i] != '?' && letters[i] != '-')
      return fail(s, ZANDREL_BAD_GRID,
                  "cell " + std::to_string(i) + " holds byte " + std::to_string(letters[i]) +
                      ", not '?' or '-'");
    white[i] = letters[i] == '?' ? 1 : 0;
  }
  if (!s.dict) return fail(s, ZANDREL_NO_DICTIONARY, "no dictionary is loaded");

  const auto deadline = zandrel::Clock::now() + std::chrono::milliseconds(s.timeLimitMs);
  const zandrel::Layout layout = zandrel::makeLayout(white.data(), cellCount / cols, cols);
  for (const zandrel::Slot& slot : layout.slots)
    if (!s.dict->hasLength(slot.length))
      return fail(s, ZANDREL_NO_FILL,
                  "the grid has a run of " + std::to_string(slot.length) +
                      " cells and the dictionary no word of that length");
  zandrel::Filler filler(*s.dict, layout, s.rng);
  std::vector<char> filled;
  switch (filler.run(deadline, filled)) {
    case zandrel::Filler::Outcome::Filled:
      break;
    case zandrel::Filler::Outcome::Impossible:
      return fail(s, ZANDREL_NO_FILL, "the dictionary cannot fill this grid");
    case zandrel::Filler::Outcome::TimedOut:
      return fail(s, ZANDREL_NO_FILL,
                  "no fill was found within " + std::to_string(s.timeLimitMs) + " ms");
  }
  for (int32_t i = 0; i < cellCount; ++i)
    if (white[i]) letters[i] = static_cast<uint8_t>(filled[i]);
  s.lastError.clear();
  return ZANDREL_OK;
}

ZANDREL_EXPORT void zandrelSetSeed(uint64_t seed) {
  State& s = state();
  std::lock_guard<std::mutex> lock(s.mutex);
  s.rng.reseed(seed);
}

ZANDREL_EXPORT void zandrelSetTimeLimit(int32_t millis) {
  State& s = state();
  std::lock_guard<std::mutex> lock(s.mutex);
  s.timeLimitMs = millis > 0 ? millis : kDefaultTimeLimitMs;
}

ZANDREL_EXPORT const char* zandrelLastError(void) {
  State& s = state();
  std::lock_guard<std::mutex> lock(s.mutex);
  return s.lastError.c_str();
}

}  // extern "C"
