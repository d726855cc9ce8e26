// Fuzzes what start-up reads from the settings store: the player's data and the chosen level under
// the game's key, and the stored game under its SAVE subkey, the snapshot in it decoded as resuming
// does.
#include "fuzz_support.h"
#include "persistence/level_store.h"
#include "persistence/saved_game.h"
#include "persistence/user_store.h"
#include "puzzle/snapshot.h"

using namespace qlx;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::unique_ptr<Registry> store = fuzz::storeFromFuzz(data, size);
  UserData user = fuzz::loadUser(*store);
  for (int level = 1; level <= kLevels; ++level)
    for (int place = 1; place <= kBestPlaces; ++place)
      if (user.bestScores(level).names(place).size() >= kNameBufferSize)
        fuzz::fail("a best-time name too long");
  if (const int16_t level = loadChosenLevel(*store); level != 1 && level != 2)
    fuzz::fail("a chosen level that is no level");

  if (!isGameStored(*store)) return 0;
  SolvingData solving = user.solving;
  SavedGame game;
  int32_t elapsed = 0;
  (void)loadStoredGame(*store, solving, game, elapsed);
  if (isGameStored(*store)) fuzz::fail("a stored game read back is still offered");
  if (game.savedBytes.size() !=
          static_cast<std::size_t>(std::max<int16_t>(game.savedByteCount, 0)) ||
      game.foundWords.size() != static_cast<std::size_t>(std::max(game.foundWordCount, 0)))
    fuzz::fail("a stored game whose counts disagree with what was read");
  Puzzle puzzle;
  (void)decodeSnapshot(game.savedBytes.data(), game.savedBytes.size(), puzzle);
  return 0;
}
