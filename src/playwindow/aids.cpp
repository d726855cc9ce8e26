// The player's aids (reveal, check, solution) and the end of a game with its best-time check, as
// the game reports them: what each move changed is repainted, what it means is said.
#include "dialogs/best_times.h"
#include "dialogs/name_dialog.h"
#include "drawkit/painters.h"
#include "drawkit/primitives.h"
#include "drawkit/text_template.h"
#include "drawkit/time_format.h"
#include "persistence/user_store.h"
#include "platform/backend.h"
#include "playwindow/play_window.h"
#include "resources/string_table.h"

namespace qlx {

namespace {

constexpr const char* kAlreadyRight =
    "The entry for this number is correct - please select another number to decode";
// Sound switches 0 and 6 must both be on for the applause.
constexpr int kSoundSwitch = 0;
constexpr int kApplauseSwitch = 6;
// The name of no sound: asking for it stops the one playing.
constexpr const char* kNoSound = "0";

}  // namespace

void PlayWindow::revealCurrentCell() {
  Changes changes;
  switch (game_.reveal(&changes)) {
    case RevealOutcome::NothingSelected:
      backend().messageBox(loadString(IDS_SELECT_CODE_FIRST), kApplicationTitle);
      return;
    case RevealOutcome::AlreadyRight:
      backend().messageBox(kAlreadyRight, kApplicationTitle);
      return;
    case RevealOutcome::Revealed:
      showChanges(changes);
      return;
  }
}

bool PlayWindow::checkSolution() {
  if (game_.entriesRight()) return true;
  backend().messageBox(loadString(IDS_ENTRIES_DIFFER), kApplicationTitle);
  return false;
}

void PlayWindow::showSolution() { showChanges(game_.showSolution()); }

void PlayWindow::showChanges(const Changes& changes) {
  if (changes.clock) {
    timerStr = formatTime(game_.elapsedTime(), kTimeShort);
    drawSideItem(6, 2);
    refresh();
  }
  if (changes.board) refreshSelectionChange();
  if (changes.solution) {
    const Graphics& g = ctx_.graphics;
    drawBox(boardFrame, 0);
    paintSolution(gridBoard, ctx_.puzzle, 1, g);
    dc().setFontSize(12);
    paintSolution(gridBoard, ctx_.puzzle, 2, g);
    refresh();
  }
  if (changes.wrong) checkSolution();  // says that an entry is wrong
  if (changes.solved) checkGameOver();
}

void PlayWindow::checkGameOver() {
  if (!game_.solved()) return;
  const int32_t time = game_.elapsedTime();
  // The clock stops the moment the board is solved, so the time shown is the time ranked.
  setTimerEnabled(false);
  timerStr = formatTime(time, kTimeShort);
  drawSideItem(6, 2);
  refresh();
  backend().messageBox(fillTemplate(IDS_SOLVED, {"|1", formatTime(time, kTimeLong)}),
                       kApplicationTitle);
  checkIfBest();
  gamePlaying = false;
  mainMenu(true);
}

void PlayWindow::checkIfBest() {
  UserData& user = ctx_.user;
  const int mode = user.solving.modeNum;
  const int32_t time = game_.elapsedTime();
  const int rank = rankOfTime(user.bestScores, mode, time);
  if (rank <= kBestPlaces) {
    const bool applause =
        user.soundOptions[kSoundSwitch] > 0 && user.soundOptions[kApplauseSwitch] > 0;
    if (applause) playSoundFile(backend(), ctx_.sounds, sndClap);
    const std::string name = askBestName(backend(), ctx_.graphics, rank, mode);
    // Saved at once, into the list the store holds now, so neither a crash nor another copy of
    // the game can lose it.
    reportSave(ctx_.saveNotice, backend(),
               saveBestListChange(ctx_.registry, user, bestTimeEntry(mode, time, name)));
    if (ctx_.showHallOfFame) ctx_.showHallOfFame(mode);
    backend().playSound(kNoSound);
  }
  gamePlaying = false;
}

}  // namespace qlx
