// Start-up, in the fixed order the rest of the game relies on.
#include "startup/program.h"

#include <iostream>

#include "dialogs/message_box_style.h"
#include "dialogs/stats_window.h"
#include "persistence/level_store.h"
#include "persistence/user_store.h"
#include "platform/folders.h"
#include "platform/sdl/sdl_backend.h"
#include "puzzle/gridfile.h"
#include "resources/string_table.h"

namespace qlx {

Status prepareProgram(Program& program, const std::string& folder, std::optional<uint64_t> seed) {
  // One best list per level.
  program.user.bestScores.redim(kLevels);
  // The generator, the program folder, the grid file's index and the dictionary.
  if (Status s = openPuzzleSource(program, folder, seed); !s) return s;
  // The layout unit of the dialogs.
  program.dialogUnit = 44;
  return Status::Ok();
}

void loadSettings(Program& program, const std::string& storePath, Backend* backend) {
  // Before the play window exists, what the player must know goes to stderr.
  auto say = [backend](const std::string& text) {
    if (backend)
      backend->messageBox(text, kApplicationTitle);
    else
      std::cerr << kApplicationTitle << ":" << (text.starts_with(' ') ? "" : " ") << text << "\n";
  };
  std::string notice;
  const Status opened = openRegistry(storePath, &program.registry, &notice);
  if (!notice.empty()) say(notice);
  if (!opened) say(opened.message());
  // A store that cannot be written has been explained once; its failed saves say nothing more.
  program.saveNotice.told = program.registry && program.registry->readOnly();
  // A store whose every open fails still comes back; loading from it then says so too.
  if (program.registry) {
    if (const Status loaded = loadUserData(*program.registry, program.user); !loaded)
      say(loaded.message());
    program.user.chosenLevel = loadChosenLevel(*program.registry);
  }
}

std::unique_ptr<PlayWindow> openPlayWindow(Program& program, Backend& backend,
                                           std::function<void(int modeNum)> showHallOfFame) {
  PlayContext context{program.puzzle,         program.grids,       *program.fillLibrary,
                      &program.acceptance,    program.user,        program.random,
                      program.registry.get(), &program.saveNotice, program.graphics,
                      program.soundFiles,     program.appFolder,   std::move(showHallOfFame)};
  auto window = std::make_unique<PlayWindow>(backend, std::move(context));
  window->show();
  window->resizeWindow();
  window->initMainMenuVar();
  window->mainMenu(true);
  return window;
}

std::unique_ptr<PlayWindow> startPlay(Program& program, Backend& backend,
                                      const std::string& storePath) {
  // The graphics come before the settings so that what the store reports looks like the game.
  initGraphics(program.graphics, program.appFolder);
  backend.setMessageBoxStyle(gameMessageBoxStyle(program.graphics));
  loadSettings(program, storePath, &backend);
  initSoundFiles(program.soundFiles, program.appFolder);
  return openPlayWindow(program, backend, [&program, &backend](int modeNum) {
    showStats(StatsContext{backend, program.graphics, program.user, program.dialogUnit,
                           program.registry.get(), &program.saveNotice},
              modeNum);
  });
}

int Main() {
  Status noScreen;
  std::unique_ptr<Backend> backend = makeSdlBackend(&noScreen);
  if (!backend) {
    std::cerr << kApplicationTitle << ": cannot open the game's window: " << noScreen.message()
              << "\n";
    return 1;
  }
  Program program;
  std::string folder;
  Status found = findProgramFolder(executableFolder(), &folder);
  if (Status s = found.ok() ? prepareProgram(program, folder) : found; !s) {
    backend->messageBox(s.message(), kApplicationTitle);
    return 1;
  }
  std::unique_ptr<PlayWindow> window = startPlay(program, *backend, defaultRegistryPath());
  // A stored game is offered once the main menu shows.
  offerStoredGame(program, *window, *backend);
  backend->run();
  return 0;
}

}  // namespace qlx
