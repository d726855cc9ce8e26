// The program-wide state every subsystem shares, gathered in one struct so a test can build a
// fresh set, and the start-up routine that prepares it.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "core/random.h"
#include "core/status.h"
#include "drawkit/graphics.h"
#include "drawkit/sounds.h"
#include "persistence/save_notice.h"
#include "persistence/user_data.h"
#include "platform/backend.h"
#include "platform/registry.h"
#include "playwindow/play_window.h"
#include "puzzle/fill_library.h"
#include "puzzle/model.h"
#include "puzzle/puzzle_source.h"

namespace qlx {

// The puzzle source (program folder, generator, grid index, fill library) and the rest.
struct Program : PuzzleSource {
  int16_t dialogUnit = 0;
  Puzzle puzzle;
  std::unique_ptr<Registry> registry;  // the settings store, open from loadSettings to the end
  SaveNotice saveNotice;               // whether the player knows that nothing is being saved
  UserData user;
  SoundFiles soundFiles;
  Graphics graphics;  // the windows' records point into it: Program stays where it was made
};

// The first steps of start-up: seed the generator (from the clock unless a seed is given), size
// the best-time table, set appFolder, read the grid file's index and hand the dictionary to the
// word-fill library. Any missing or damaged file ends it with a message naming the file.
Status prepareProgram(Program& program, const std::string& folder,
                      std::optional<uint64_t> seed = std::nullopt);

// Step 7 of start-up, after prepareProgram: opens the settings store at storePath (the game passes
// defaultRegistryPath()) and loads the solving record, the switches and the best times into
// program.user, whose bestScores prepareProgram has sized. What the store reports (a damaged store
// moved aside, or no store at all) is shown in backend's message box, or written to stderr while
// there is no back end yet (null).
void loadSettings(Program& program, const std::string& storePath, Backend* backend);

// Step 10 of start-up, once the sounds and graphics are ready: the play window loaded and shown
// with its main menu. showHallOfFame opens the Hall of Fame of a level (unset: nothing).
std::unique_ptr<PlayWindow> openPlayWindow(Program& program, Backend& backend,
                                           std::function<void(int modeNum)> showHallOfFame = {});

// The rest of start-up, after prepareProgram: the graphics, the game's look for message
// boxes, the settings at storePath, the sounds, and the play window with its main menu, whose
// Hall of Fame opens the stats window on backend. The game and the snapshot tool share it.
std::unique_ptr<PlayWindow> startPlay(Program& program, Backend& backend,
                                      const std::string& storePath);

// Steps 11 and 12 of start-up, once the main menu shows: when a stored game is waiting, the
// question dialog asks whether to resume it; yes runs resumeStoredGame, no (button 2 or Escape)
// clears it, and a dialog closed by its close box leaves it to be offered at the next start.
void offerStoredGame(Program& program, PlayWindow& window, Backend& backend);

// Reads the stored game back (the flag is cleared first), rebuilds its puzzle and shows it in the
// play window with the clock at the stored time.
void resumeStoredGame(Program& program, PlayWindow& window, Backend& backend);

// The game's entry: start-up, then the play window; returns the process exit code.
int Main();

}  // namespace qlx
