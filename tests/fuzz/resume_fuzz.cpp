// Fuzzes resuming a stored game in the play window on the headless back end: start-up's
// resumeStoredGame over a store from fuzz input, then a press on the board, a key, a clock tick
// and the window closed (which stores a game in play again).
#include <algorithm>

#include "core/random.h"
#include "fuzz_support.h"
#include "persistence/user_store.h"
#include "platform/headless/headless_backend.h"
#include "startup/program.h"

using namespace qlx;

namespace {

constexpr uint64_t kSeed = 20261206;

// The program as start-up leaves it before the settings: grids, fill library, graphics, sounds.
Program& program() {
  static Program* p = [] {
    auto* made = new Program;
    if (Status s = prepareProgram(*made, QLX_BIN_DIR, kSeed); !s) fuzz::fail(s.message());
    fuzz::gameFiller();  // the short fill bound
    initGraphics(made->graphics, made->appFolder);
    initSoundFiles(made->soundFiles, made->appFolder);
    return made;
  }();
  return *p;
}

}  // namespace

// Input: the board cell to press, the key to type, then the store's values (see storeFromFuzz).
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 2) return 0;
  Program& prog = program();
  prog.random.seed(kSeed);
  (void)prog.fillLibrary->setSeed(kSeed);
  prog.puzzle = Puzzle{};
  prog.user = UserData{};
  prog.user.bestScores.redim(kLevels);
  prog.registry = fuzz::storeFromFuzz(data + 2, size - 2);
  HeadlessBackend backend;
  (void)loadUserData(*prog.registry, prog.user);

  std::unique_ptr<PlayWindow> window = openPlayWindow(prog, backend);
  for (int i = 0; i < 4; ++i) backend.onNextModal([](Window& modal) { modal.unload(); });
  resumeStoredGame(prog, *window, backend);
  if (window->gamePlaying) {
    const Puzzle& p = prog.puzzle;
    const int cell = data[0] % std::max<int>(p.cellCount, 1);
    const DrawRect& g = window->gridBoard;
    backend.mouseDown(*window, g.left + (cell % std::max<int>(p.gridCols, 1) + 0.5f) * g.width,
                      g.top + (cell / std::max<int>(p.gridCols, 1) + 0.5f) * g.width);
    backend.type(*window, std::string(1, static_cast<char>(data[1])));
    backend.advance(kClockMillis);
  }
  backend.closeBox(*window);
  return 0;
}
