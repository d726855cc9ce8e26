// The player's aids (reveal, check, solution) and the end of a game with its best-time check.
// The clock is the score: a reveal that changes an entry costs 30 seconds, the solution 40 minutes.
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

constexpr int32_t kRevealPenalty = 300;
constexpr int32_t kSolutionPenalty = 24000;
constexpr const char* kAlreadyRight =
    "The entry for this number is correct - please select another number to decode";
// Sound switches 0 and 6 must both be on for the applause.
constexpr int kSoundSwitch = 0;
constexpr int kApplauseSwitch = 6;
// The name of no sound: asking for it stops the one playing.
constexpr const char* kNoSound = "0";

}  // namespace

void PlayWindow::revealCurrentCell() {
  Puzzle& p = ctx_.puzzle;
  if (!selectionValid()) {
    backend().messageBox(loadString(IDS_SELECT_CODE_FIRST), kApplicationTitle);
    return;
  }
  const auto right = static_cast<uint8_t>(p.numToLetter(p.selectedNum) + 64);
  if (p.entries(p.selectedNum) == right) {
    backend().messageBox(kAlreadyRight, kApplicationTitle);
    return;
  }
  elapsedTime += kRevealPenalty;
  timerStr = formatTime(elapsedTime, kTimeShort);
  drawSideItem(6, 2);
  refresh();
  p.entries(p.selectedNum) = right;
  refreshSelectionChange();
  checkGameOver();
}

bool PlayWindow::checkSolution() {
  const Puzzle& p = ctx_.puzzle;
  for (int n = 1; n <= p.letterCount; ++n) {
    if (p.entries(n) != 0 && p.entries(n) - 64 != p.numToLetter(n)) {
      backend().messageBox(loadString(IDS_ENTRIES_DIFFER), kApplicationTitle);
      return false;
    }
  }
  return true;
}

void PlayWindow::showSolution() {
  // The solution on the board now has been paid for: showing it again costs nothing.
  if (solutionShown_) return;
  solutionShown_ = true;
  const Graphics& g = ctx_.graphics;
  elapsedTime += kSolutionPenalty;
  drawBox(boardFrame, 0);
  paintSolution(gridBoard, ctx_.puzzle, 1, g);
  dc().setFontSize(12);
  paintSolution(gridBoard, ctx_.puzzle, 2, g);
  refresh();
}

void PlayWindow::checkGameOver() {
  if (!allNumbersEntered(ctx_.puzzle)) return;
  if (!checkSolution()) return;
  // The clock stops the moment the board is solved, so the time shown is the time ranked.
  setTimerEnabled(false);
  timerStr = formatTime(elapsedTime, kTimeShort);
  drawSideItem(6, 2);
  refresh();
  backend().messageBox(fillTemplate(IDS_SOLVED, {"|1", formatTime(elapsedTime, kTimeLong)}), kApplicationTitle);
  checkIfBest();
  gamePlaying = false;
  mainMenu(true);
}

void PlayWindow::checkIfBest() {
  UserData& user = ctx_.user;
  const int mode = user.solving.modeNum;
  const int rank = rankOfTime(user.bestScores, mode, elapsedTime);
  if (rank <= kBestPlaces) {
    const bool applause = user.soundOptions[kSoundSwitch] > 0 && user.soundOptions[kApplauseSwitch] > 0;
    if (applause) playSoundFile(backend(), ctx_.sounds, sndClap);
    const std::string name = askBestName(backend(), ctx_.graphics, rank, mode);
    // Saved at once, into the list the store holds now, so neither a crash nor another copy of
    // the game can lose it.
    reportSave(ctx_.saveNotice, backend(), saveBestListChange(ctx_.registry, user, bestTimeEntry(mode, elapsedTime, name)));
    if (ctx_.showHallOfFame) ctx_.showHallOfFame(mode);
    backend().playSound(kNoSound);
  }
  gamePlaying = false;
}

}  // namespace qlx
