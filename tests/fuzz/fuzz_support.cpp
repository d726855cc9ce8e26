// The fuzz targets' shared set-up: scratch files, the fill library, stores from fuzz input.
#include "fuzz_support.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "persistence/app_key.h"
#include "persistence/user_store.h"
#include "platform/headless/headless_backend.h"
#include "platform/library.h"
#include "puzzle/snapshot.h"
#include "startup/program.h"

namespace qlx::fuzz {
namespace {

namespace fs = std::filesystem;

// A fill of a grid the library finds hard stops after this long (the game allows it two seconds).
constexpr int32_t kFillBoundMs = 100;

class ScratchFolder {
 public:
  ScratchFolder() {
    std::string pattern = (fs::temp_directory_path() / "qlx-fuzz-XXXXXX").string();
    if (!mkdtemp(pattern.data())) fail("cannot make a scratch folder");
    path_ = pattern;
  }
  ~ScratchFolder() {
    std::error_code ec;
    fs::remove_all(path_, ec);
  }
  const fs::path& path() const { return path_; }

 private:
  fs::path path_;
};

// The value names the game reads; a record's name byte picks one of them.
constexpr const char* kValueNames[] = {
    "ISSTORED",     "LENGTH",  "BYTE_DATA",     "MODE_NUM",   "SCORE",       "NWORDSFOUND",
    "SWORDSFOUND",  "TIMEREM", "CURLEVELSCORE", "FOUNDWORDS", "SOLVINGDATA", "NUMWFSF",
    "SOUNDOPTIONS", "1STATS",  "2STATS",        "1STATS1",    "1STATS2",     "1STATS3",
    "1STATS4",      "1STATS5", "1STATS6",       "1STATS7",    "1STATS8",     "2STATS1",
    "2STATS2",      "2STATS3", "2STATS4",       "2STATS5",    "2STATS6",     "2STATS7",
    "2STATS8"};
static_assert(std::size(kValueNames) == 31);
constexpr DWORD kTypes[] = {REG_BINARY, REG_SZ, REG_DWORD, REG_NONE};

}  // namespace

void fail(const std::string& what) {
  std::fprintf(stderr, "fuzz property broken: %s\n", what.c_str());
  std::abort();
}

std::string writeScratch(const std::string& name, const uint8_t* data, std::size_t size) {
  static ScratchFolder folder;
  std::error_code ec;
  for (const fs::directory_entry& entry : fs::directory_iterator(folder.path(), ec))
    fs::remove_all(entry.path(), ec);
  const std::string path = (folder.path() / name).string();
  std::ofstream out(path, std::ios::binary);
  out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
  if (!out) fail("cannot write " + path);
  return path;
}

FillLibrary& gameFiller() {
  static FillLibrary* filler = [] {
    const std::string folder = QLX_BIN_DIR "/";
    auto* library = new FillLibrary(folder + FillLibrary::kFileName);
    if (Status s = library->loadLangDict(folder + kDictionaryFileName); !s) fail(s.message());
    if (Status s = library->setSeed(1); !s) fail(s.message());
    // The bound is a test extra the game does not bind; the same library is opened again for it.
    std::unique_ptr<SharedLibrary> again;
    if (Status s = SharedLibrary::open(folder + FillLibrary::kFileName, &again); !s)
      fail(s.message());
    auto setTimeLimit = reinterpret_cast<void (*)(int32_t)>(again->symbol("zandrelSetTimeLimit"));
    if (!setTimeLimit) fail("the word-fill library cannot be given a time bound");
    setTimeLimit(kFillBoundMs);
    return library;
  }();
  return *filler;
}

std::unique_ptr<Registry> storeFromFuzz(const uint8_t* data, std::size_t size) {
  std::unique_ptr<Registry> store;
  if (Status s = openRegistry(":memory:", &store, nullptr); !s) fail(s.message());
  OpenKey software(*store), game(*store), save(*store);
  if (!openSoftware(*store, software) ||
      !createKey(*store, software.get(), appKeyPath(), kUserDataClass, game) ||
      !createKey(*store, game.get(), kSaveKeyName, kSaveDataClass, save))
    fail("the in-memory store cannot make the game's keys");

  std::size_t at = 0;
  auto left = [&] { return size - at; };
  while (left() >= 3) {
    const uint8_t head = data[at++];
    std::string name;
    if ((head & 31) < 31) {
      name = kValueNames[head & 31];
    } else {
      const std::size_t n = std::min<std::size_t>(data[at++], left());
      name.assign(reinterpret_cast<const char*>(data + at), n);
      at += n;
    }
    if (left() < 2) break;
    const std::size_t length = std::min<std::size_t>(data[at] | data[at + 1] << 8, left() - 2);
    at += 2;
    // Names with a NUL end there, as they would through the C interface.
    store->RegSetValueExA((head & 32) ? game.get() : save.get(), name.c_str(), 0, kTypes[head >> 6],
                          data + at, static_cast<DWORD>(length));
    at += length;
  }
  return store;
}

UserData loadUser(Registry& store) {
  HeadlessBackend backend;
  UserData user;
  user.bestScores.redim(kLevels);
  (void)loadUserData(store, user);
  return user;
}

void checkSnapshotRoundTrip(const Puzzle& p) {
  const std::vector<uint8_t> bytes = encodeSnapshot(p);
  Puzzle back;
  if (Status s = decodeSnapshot(bytes.data(), bytes.size(), back); !s)
    fail("an encoded snapshot is refused: " + s.message());
  if (!(back == p)) fail("a puzzle comes back from its snapshot changed");
}

}  // namespace qlx::fuzz
