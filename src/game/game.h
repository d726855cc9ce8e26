// Game: one puzzle in play and its rules, with no drawing and no platform. Selecting a number,
// entering and erasing its letter, the aids and their penalties, the clock's ticks and the end of
// the game are moves; each reports what it changed, so the window repaints only that.
#pragma once

#include <cstdint>
#include <vector>

#include "core/random.h"
#include "core/status.h"
#include "puzzle/fill_library.h"
#include "puzzle/model.h"
#include "puzzle/word_table.h"

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

// A cell of the grid, row and column from 0; {-1, -1} is none.
struct Cell {
  int row = -1, col = -1;
  bool operator==(const Cell&) const = default;
};

// The keys that pick a number without entry: Tab, Shift+Tab, Home, End.
enum class Pick { Next, Previous, First, Last };
// The arrow keys.
enum class Direction { Up, Down, Left, Right };

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
  // With acceptance, the puzzle has one solution under its words. On failure the puzzle in
  // memory and the game are left as they were.
  Status start(const GridIndex& grids, int32_t puzzleNum, int16_t group, WordFiller& filler,
               Random& random, const WordTable* acceptance = nullptr);
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

  // Keyboard play. The cursor is a cell of the selected number, or none without a selection.
  // pick selects the next or previous number without an entry (in number order, wrapping,
  // skipping given numbers) or the first or last one, and puts the cursor on its first cell in
  // reading order; nothing when every open number has an entry.
  Changes pick(Pick which);
  // Moves the cursor to the nearest white cell in that direction whose number is not given, and
  // selects its number; at the edge it stays. Without a cursor it starts on the selected number's
  // first cell, or on the grid's first open cell.
  Changes moveCursor(Direction direction);
  // A press on a cell: the cursor there and its number selected; a block or a given cell clears
  // the selection.
  Changes placeCursor(int row, int col);
  Cell cursor() const { return cursor_; }

  // Undo and redo of entries and erasures (a reveal counts as an entry; its penalty stays), back
  // to the start of the game. The number changed is selected again. Nothing once it is solved.
  Changes undo();
  Changes redo();
  bool canUndo() const { return !solved_ && done_ > 0; }
  bool canRedo() const { return !solved_ && done_ < history_.size(); }

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
  // Sets num's entry as a move of the player: recorded for undo, the redo list dropped.
  void setEntry(int num, uint8_t code, Changes& changes);
  // The first cell of num in reading order, or none.
  Cell firstCellOf(int num) const;
  void clearPlay();  // no cursor and no history: a game starts or resumes

  // One change of an entry, for undo and redo.
  struct Edit {
    int num;
    uint8_t before, after;
  };

  Puzzle& p_;
  int32_t elapsed_ = 0;  // tenths of a second
  int32_t puzzleNum_ = 0;
  int16_t group_ = 0;
  bool solved_ = false;
  bool solutionShown_ = false;
  Cell cursor_;
  std::vector<Edit> history_;
  std::size_t done_ = 0;  // edits of history_ in effect; the rest can be redone
};

}  // namespace qlx
