// The end of start-up: a stored game offered, and resumed or discarded as the player answers.
#include <algorithm>

#include "dialogs/ok_cancel.h"
#include "persistence/saved_game.h"
#include "puzzle/new_puzzle.h"
#include "puzzle/snapshot.h"
#include "resources/string_table.h"
#include "startup/program.h"

namespace qlx {
namespace {

// The group a stored record falls back to when it names no grid of the grid file, as New Game
// plays.
constexpr int16_t kFallbackGroup = 2;

bool gridExists(const GridIndex& grids, int32_t group, int32_t puzzleNum) {
  if (group < 1 || group > grids.groupCount ||
      static_cast<std::size_t>(group) > grids.gridIndex.size())
    return false;
  return puzzleNum >= 1 && puzzleNum <= grids.gridIndex(group).count;
}

void showResumed(PlayWindow& window, const SolvingData& solving, int32_t elapsed) {
  window.resumeGame(elapsed, solving.puzzleNum, solving.gridGroup);
}

}  // namespace

void offerStoredGame(Program& program, PlayWindow& window, Backend& backend) {
  if (!program.registry) return;
  Status status;
  const bool stored = isGameStored(*program.registry, &status);
  if (!status) backend.messageBox(status.message(), kApplicationTitle);
  if (!stored) return;
  // Only an answer throws the game away: a dialog closed by its close box (-1) keeps it for the
  // next start.
  const int answer = askOKCancel(backend, program.graphics, program.dialogUnit);
  if (answer == 1)
    resumeStoredGame(program, window, backend);
  else if (answer == 2)
    if (const Status cleared = clearGameStored(*program.registry); !cleared)
      backend.messageBox(cleared.message(), kApplicationTitle);
}

void resumeStoredGame(Program& program, PlayWindow& window, Backend& backend) {
  if (!program.registry) return;
  SolvingData& solving = program.user.solving;
  SavedGame saved;
  saved.foundWordCount = 0;
  int32_t elapsed = 0;  // a store without "TIMEREM" resumes at zero
  if (const Status loaded = loadStoredGame(*program.registry, solving, saved, elapsed); !loaded)
    backend.messageBox(loaded.message(), kApplicationTitle);

  // A snapshot of our own brings back the very board that was left, entries and all.
  Puzzle stored;
  if (saved.savedByteCount > 0 &&
      decodeSnapshot(saved.savedBytes.data(), saved.savedBytes.size(), stored).ok()) {
    program.puzzle = std::move(stored);
    showResumed(window, solving, elapsed);
    return;
  }

  // Otherwise the game is made again from its grid number. The record comes from a file anyone
  // can edit: a grid it does not name is never read.
  if (!gridExists(program.grids, solving.gridGroup, solving.puzzleNum)) {
    int32_t drawn = 0;
    const Status s = drawPuzzleNumber(program.grids, kFallbackGroup, program.random, &drawn);
    if (!s) {
      backend.messageBox(s.message(), kApplicationTitle);
      return;
    }
    solving.gridGroup = kFallbackGroup;
    solving.puzzleNum = drawn;
  }
  SolutionCheck check{&program.acceptance};
  const Status made = newPuzzle(program.puzzle, program.grids, solving.puzzleNum, solving.gridGroup,
                                *program.fillLibrary, program.random, nullptr, &check);
  if (!made) {
    // The main menu is still showing; the player starts a game from there.
    backend.messageBox(made.message(), kApplicationTitle);
    return;
  }
  showResumed(window, solving, elapsed);
}

}  // namespace qlx
