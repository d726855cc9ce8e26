// frmStats, the Hall of Fame: a modal window listing the eight best times of one level with the
// players' names, with an OK button and a Clear Scores button, all painted with the drawing kit.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "dialogs/dialog_layout.h"
#include "drawkit/draw_rect.h"
#include "drawkit/graphics.h"
#include "persistence/save_notice.h"
#include "persistence/user_data.h"
#include "platform/backend.h"
#include "platform/registry.h"
#include "platform/window.h"

namespace qlx {

// Client size of the window in pixels.
inline constexpr int kStatsWidth = 466;
inline constexpr int kStatsHeight = 454;
// What Clear Scores writes into every place (the name's spelling is the game's own).
inline constexpr const char* kClearedName = "Anonoymous";
inline constexpr int32_t kClearedTime = 30000;

// What Clear Scores asks first.
inline constexpr const char* kClearQuestion = "Clear all eight best times of this level?";

// The program-wide pieces the window reads and changes.
struct StatsContext {
  Backend& backend;
  const Graphics& graphics;
  UserData& user;  // Clear Scores changes user.bestScores and saves them at once
  int dialogUnit = kDialogUnit;
  Registry* registry;  // where a cleared list is saved; null keeps it in memory
  SaveNotice* saveNotice;
};

class FrmStats : public Window {
 public:
  explicit FrmStats(const StatsContext& context);

  // The level whose list is shown, set by the opener before the window is loaded. A level
  // outside the best-time table shows an empty list and Clear Scores clears nothing.
  int modeNum = 0;

  void Form_Load() override;
  void Form_KeyPress(int& keyAscii) override;
  // Left and Right show the other level's list.
  void Form_KeyDown(int& keyCode, int& shift) override;
  void Form_MouseDown(int button, int shift, float x, float y) override;
  void Form_MouseMove(int button, int shift, float x, float y) override;

  // The records, for the tests and the snapshot tool; buttons are numbered 1 (OK) and 2.
  const DrawRect& background() const { return background_; }
  const DrawRect& title() const { return title_; }
  // The level's name, heading the list; a press on it shows the other level's list.
  const DrawRect& levelTitle() const { return levelTitle_; }
  const DrawRect& nameRow(int i) const { return nameRows_.at(static_cast<std::size_t>(i - 1)); }
  const DrawRect& timeRow(int i) const { return timeRows_.at(static_cast<std::size_t>(i - 1)); }
  const DrawRect& button(int k) const { return buttons_.at(static_cast<std::size_t>(k - 1)); }

 private:
  BestList* shownList();
  void drawRows();
  void drawButtonsAtRest();
  // Asks first; only "Clear" clears the list and saves it.
  void clearScores();
  // Shows the other level's list in place of this one's.
  void switchList();

  StatsContext ctx_;
  DrawRect background_;
  DrawRect title_;
  DrawRect levelTitle_;
  std::array<DrawRect, kBestPlaces> nameRows_{};
  std::array<DrawRect, kBestPlaces> timeRows_{};
  std::array<DrawRect, 2> buttons_{};
};

// Opens the Hall of Fame for level modeNum modally; returns when the player has closed it.
void showStats(const StatsContext& context, int modeNum);

}  // namespace qlx
