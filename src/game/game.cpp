// The rules of a game in play. Entries are kept as the upper-case letter codes 'A'..'Z'.
#include "game/game.h"

#include "puzzle/gridfile.h"
#include "puzzle/new_puzzle.h"

namespace qlx {

Status Game::drawGrid(const GridIndex& grids, int16_t group, Random& random, int32_t* puzzleNum,
                      Puzzle* shape) const {
  if (Status s = drawPuzzleNumber(grids, group, random, puzzleNum); !s) return s;
  return loadGrid(grids, *puzzleNum, group, *shape);
}

Status Game::start(const GridIndex& grids, int32_t puzzleNum, int16_t group, WordFiller& filler,
                   Random& random, const WordTable* acceptance) {
  SolutionCheck check{acceptance};
  if (Status s = newPuzzle(p_, grids, puzzleNum, group, filler, random, nullptr, &check); !s)
    return s;
  p_.selectedNum = 0;  // a number of the last puzzle means nothing in this one
  puzzleNum_ = puzzleNum;
  group_ = group;
  elapsed_ = 0;
  solved_ = false;
  solutionShown_ = false;
  clearPlay();
  return Status::Ok();
}

void Game::resume(int32_t elapsed, int32_t puzzleNum, int16_t group) {
  for (uint8_t& entry : p_.entries)
    if (entry != 0 && (entry < 'A' || entry > 'Z')) entry = 0;
  // Typing would overwrite a given letter otherwise.
  if (!selectionValid() || p_.givenNums(p_.selectedNum) == 1) p_.selectedNum = 0;
  elapsed_ = elapsed < 0 ? 0 : elapsed;  // a clock never runs from below zero
  puzzleNum_ = puzzleNum;
  group_ = group;
  solved_ = false;
  solutionShown_ = false;
  clearPlay();
  if (p_.selectedNum != 0) cursor_ = firstCellOf(p_.selectedNum);
}

bool Game::selectionValid() const {
  return p_.selectedNum >= 1 && p_.selectedNum <= p_.letterCount;
}

int Game::numberAt(int row, int col) const {
  if (row < 0 || col < 0 || row >= p_.gridRows || col >= p_.gridCols) return 0;
  const int cell = row * p_.gridCols + col + 1;
  const int letter = p_.gridLetters(cell) - 96;
  const int num =
      (p_.gridShape(cell) != 0 && letter >= 1 && letter <= 26) ? p_.letterToNum(letter) : 0;
  return num >= 1 && num <= p_.letterCount ? num : 0;
}

Changes Game::select(int num) {
  Changes changes;
  if (num < 1 || num > p_.letterCount || p_.givenNums(num) == 1) num = 0;
  if (p_.selectedNum == num) return changes;
  p_.selectedNum = static_cast<int16_t>(num);
  cursor_ = num == 0 ? Cell{} : firstCellOf(num);
  changes.board = true;
  return changes;
}

Changes Game::enter(int letter) {
  Changes changes;
  if (!selectionValid() || letter < 1 || letter > 26) return changes;
  const auto code = static_cast<uint8_t>(letter + 'A' - 1);
  if (p_.entries(p_.selectedNum) == code) return changes;
  setEntry(p_.selectedNum, code, changes);
  checkFull(changes);
  return changes;
}

Changes Game::erase() {
  Changes changes;
  if (!selectionValid()) return changes;
  if (p_.entries(p_.selectedNum) == 0) return changes;
  setEntry(p_.selectedNum, 0, changes);
  return changes;
}

RevealOutcome Game::reveal(Changes* changes) {
  *changes = Changes{};
  if (!selectionValid()) return RevealOutcome::NothingSelected;
  const auto right = static_cast<uint8_t>(p_.numToLetter(p_.selectedNum) + 'A' - 1);
  if (p_.entries(p_.selectedNum) == right) return RevealOutcome::AlreadyRight;
  elapsed_ += kRevealPenalty;
  setEntry(p_.selectedNum, right, *changes);
  changes->clock = true;
  checkFull(*changes);
  return RevealOutcome::Revealed;
}

Changes Game::showSolution() {
  Changes changes;
  // The solution on the board now has been paid for: showing it again costs nothing.
  if (solutionShown_) return changes;
  solutionShown_ = true;
  elapsed_ += kSolutionPenalty;
  changes.solution = true;
  return changes;
}

Changes Game::tick() {
  Changes changes;
  if (solved_) return changes;
  elapsed_ += kTickTenths;
  changes.clock = true;
  return changes;
}

bool Game::entriesRight() const {
  for (int n = 1; n <= p_.letterCount; ++n)
    if (p_.entries(n) != 0 && p_.entries(n) - 'A' + 1 != p_.numToLetter(n)) return false;
  return true;
}

void Game::checkFull(Changes& changes) {
  for (int n = 1; n <= p_.letterCount; ++n)
    if (p_.entries(n) == 0) return;
  if (entriesRight()) {
    solved_ = true;
    changes.solved = true;
  } else {
    changes.wrong = true;
  }
}

}  // namespace qlx
