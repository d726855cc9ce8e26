// Game: one puzzle in play and its rules, with no drawing and no platform. Selecting a number,
// entering and erasing its letter, the aids and their penalties, the clock's ticks and the end of
// the game are moves; each reports what it changed, so the window repaints only that.
#pragma once

#include <cstdint>

#include "core/random.h"
#include "core/status.h"
#include "puzzle/fill_library.h"
#include "puzzle/model.h"

namespace qlx {

// Penalties, in tenths of a second: the clock is the score.
inline constexpr int32_t kRevealPenalty = 300;      // 30 seconds
inline constexpr int32_t kSolutionPenalty = 24000;  // 40 minutes
inline constexpr int32_t kTickTenths = 10;          // one second of play

// What a move changed.
struct Changes {
  bool board = false;     // the selection or an entry: cells, code strip and alphabet
  bool clock = false;     // the time: a penalty (a tick's time shows on its own)
  bool solution = false;  // the solution is to be shown over the board
  bool solved = false;    // every number has its right letter: the clock has stopped
  bool wrong = false;     // every number has a letter, but not every one is right
};

enum class RevealOutcome {
  NothingSelected,  // no number is selected: nothing to reveal
  AlreadyRight,     // the entry is right already: no penalty
  Revealed,         // the letter entered, the penalty added
};

class Game {
 public:
  // The game plays the puzzle in memory, which outlives it.
  explicit Game(Puzzle& puzzle) : p_(puzzle) {}

  // A new game's grid: a number of group drawn with random, and its shape loaded into *shape
  // (for laying out the board while the fill runs). Nothing of the game changes.
  Status drawGrid(const GridIndex& grids, int16_t group, Random& random, int32_t* puzzleNum,
                  Puzzle* shape) const;
  // Makes the puzzle of grid puzzleNum of group and starts it: no selection, the clock at zero.
  // On failure the puzzle in memory and the game are left as they were.
  Status start(const GridIndex& grids, int32_t puzzleNum, int16_t group, WordFiller& filler,
               Random& random);
  // The puzzle in memory as a game under way (a stored one): only what a player could have made
  // survives (entries A-Z, a selection of a number that is not given), the clock at elapsed.
  void resume(int32_t elapsed, int32_t puzzleNum, int16_t group);

  // The moves. select(0) clears the selection, as does selecting a given number.
  Changes select(int num);
  // Enters letter (1 = A .. 26 = Z) as the selected number's entry.
  Changes enter(int letter);
  Changes erase();
  RevealOutcome reveal(Changes* changes);
  // Shows the solution for its penalty; the solution already showing costs nothing more.
  Changes showSolution();
  // A second of play; nothing once the board is solved.
  Changes tick();

  // True when no entry is wrong (empty entries are not wrong).
  bool entriesRight() const;
  bool solved() const { return solved_; }
  bool solutionShown() const { return solutionShown_; }
  // The board was repainted from the entries: the solution no longer shows.
  void boardShown() { solutionShown_ = false; }

  // The number a cell carries, or 0 for a block or a cell outside the grid (row, col from 0).
  int numberAt(int row, int col) const;
  bool selectionValid() const;

  int32_t elapsedTime() const { return elapsed_; }
  int32_t puzzleNum() const { return puzzleNum_; }
  int16_t group() const { return group_; }
  const Puzzle& puzzle() const { return p_; }

 private:
  // After an entry changed: solved, or full with a wrong entry.
  void checkFull(Changes& changes);

  Puzzle& p_;
  int32_t elapsed_ = 0;  // tenths of a second
  int32_t puzzleNum_ = 0;
  int16_t group_ = 0;
  bool solved_ = false;
  bool solutionShown_ = false;
};

}  // namespace qlx
