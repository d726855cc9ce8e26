// The pictures are taken in the order a player would meet them: the main menu, its Hall of Fame,
// a new game, then the same game with a few correct letters typed and a number selected.
#include "snapshot.h"

#include <filesystem>
#include <system_error>
#include <vector>

#include "drawkit/graphics.h"
#include "platform/bitmap.h"
#include "platform/headless/headless_backend.h"
#include "png_file.h"
#include "startup/program.h"

namespace qlx::snapshot {
namespace {

// How many numbers get their letter typed before the last one is left selected.
constexpr int kLettersTyped = 3;
// The clock moved on before the last picture, so the game's timer shows a running time.
constexpr uint64_t kPlayMillis = 97'000;
// Where the main menu's buttons are (New Game, Hall of Fame).
constexpr float kMenuX = 375, kNewGameY = 260, kHallOfFameY = 305;

class Snapshot {
 public:
  explicit Snapshot(const Options& options) : options_(options) {}

  Status run() {
    if (Status s = prepareFolder(); !s) return s;
    if (Status s = prepareProgram(program_, options_.dataFolder, options_.seed); !s) return s;
    if (Status s = program_.fillLibrary->setSeed(options_.seed); !s) return s;
    // The game starts without its picture sheet (the title box stays empty); a picture for the
    // documentation must not.
    Bitmap sheet;
    if (Status s = loadBmp(program_.appFolder + kPictureSheetFileName, &sheet); !s) return s;
    window_ = startPlay(program_, backend_, ":memory:");
    if (Status s = gameSaidNothing("starting"); !s) return s;

    if (Status s = save("menu.png", *window_); !s) return s;
    if (Status s = hallOfFame(); !s) return s;

    backend_.mouseDown(*window_, kMenuX, kNewGameY);
    if (Status s = gameSaidNothing("starting a game"); !s) return s;
    if (!window_->gamePlaying) return Status::Error("the New Game button did not start a game");
    if (Status s = save("new-game.png", *window_); !s) return s;

    if (Status s = playALittle(); !s) return s;
    return save("game-in-progress.png", *window_);
  }

 private:
  Status prepareFolder() {
    std::error_code error;
    std::filesystem::create_directories(options_.outFolder, error);
    if (error || !std::filesystem::is_directory(options_.outFolder, error)) {
      return Status::Error("cannot make the folder " + options_.outFolder +
                           (error ? ": " + error.message() : ""));
    }
    return Status::Ok();
  }

  // A message box on the headless back end is only recorded; any would spoil the pictures.
  Status gameSaidNothing(const std::string& when) {
    if (backend_.messages.empty()) return Status::Ok();
    return Status::Error("the game reported a problem while " + when + ": " +
                         backend_.messages.front().text);
  }

  Status save(const std::string& name, const Window& window) {
    const std::vector<uint32_t>& image = backend_.screen(window);
    if (image.empty()) return Status::Error("the window for " + name + " was never shown");
    return writePng((std::filesystem::path(options_.outFolder) / name).string(),
                    window.clientWidth(), window.clientHeight(), image);
  }

  // The main menu's Hall of Fame item opens the stats window modally; it is saved and closed.
  Status hallOfFame() {
    Status saved = Status::Error("the Hall of Fame did not open");
    backend_.onNextModal([this, &saved](Window& stats) {
      // The headless back end records an image on a refresh only, and the window was painted
      // before it was shown; a real screen shows that image as the window appears.
      stats.refresh();
      saved = save("hall-of-fame.png", stats);
      backend_.keyPress(stats, VK_ESCAPE);
      if (stats.isVisible()) stats.unload();
    });
    backend_.mouseDown(*window_, kMenuX, kHallOfFameY);
    if (backend_.pendingModalSteps() != 0) return Status::Error("the Hall of Fame did not open");
    return saved;
  }

  // Presses a grid cell of each of the first numbers not given and types its right letter, then
  // selects one more and leaves it empty.
  Status playALittle() {
    const Puzzle& p = program_.puzzle;
    int typed = 0;
    for (int num = 1; num <= p.letterCount && typed <= kLettersTyped; ++num) {
      if (p.givenNums(num) == 1) continue;
      if (!pressCellOf(num)) continue;
      if (p.selectedNum != num) return Status::Error("pressing a cell did not select its number");
      if (typed < kLettersTyped)
        backend_.type(*window_, std::string(1, static_cast<char>('a' + p.numToLetter(num) - 1)));
      ++typed;
    }
    if (typed <= kLettersTyped) return Status::Error("the puzzle has too few numbers to fill in");
    backend_.advance(kPlayMillis);
    return gameSaidNothing("playing");
  }

  bool pressCellOf(int num) {
    const Puzzle& p = program_.puzzle;
    const DrawRect& g = window_->gridBoard;
    for (int cell = 1; cell <= p.cellCount; ++cell) {
      if (p.gridShape(cell) == 0 || p.letterToNum(p.gridLetters(cell) - 96) != num) continue;
      const int row = (cell - 1) / p.gridCols, col = (cell - 1) % p.gridCols;
      backend_.mouseDown(*window_, g.left + col * g.width + g.width / 2.0f,
                         g.top + row * g.width + g.width / 2.0f);
      return true;
    }
    return false;
  }

  const Options& options_;
  Program program_;
  HeadlessBackend backend_;
  std::unique_ptr<PlayWindow> window_;
};

}  // namespace

Status takeSnapshots(const Options& options) { return Snapshot(options).run(); }

}  // namespace qlx::snapshot
