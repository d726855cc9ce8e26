// Undo and redo: every change of an entry made by the player is an edit, and undoing one puts
// the entry back and selects its number, so the player sees what was taken back.
#include "game/game.h"

namespace qlx {

void Game::setEntry(int num, uint8_t code, Changes& changes) {
  history_.resize(done_);  // a new move drops what could have been redone
  history_.push_back(Edit{num, p_.entries(num), code});
  ++done_;
  p_.entries(num) = code;
  changes.board = true;
}

void Game::clearPlay() {
  cursor_ = Cell{};
  history_.clear();
  done_ = 0;
}

Changes Game::undo() {
  Changes changes;
  if (!canUndo()) return changes;
  const Edit& edit = history_[--done_];
  p_.entries(edit.num) = edit.before;
  select(edit.num);
  changes.board = true;
  checkFull(changes);
  return changes;
}

Changes Game::redo() {
  Changes changes;
  if (!canRedo()) return changes;
  const Edit& edit = history_[done_++];
  p_.entries(edit.num) = edit.after;
  select(edit.num);
  changes.board = true;
  checkFull(changes);
  return changes;
}

}  // namespace qlx
