// Start-up, in the fixed order the rest of the game relies on.
#include "startup/program.h"

#include <iostream>

#include "dialogs/message_box_style.h"
#include "dialogs/stats_window.h"
#include "persistence/user_store.h"
#include "platform/folders.h"
#include "platform/headless/headless_backend.h"
#include "platform/sdl/sdl_backend.h"
#include "puzzle/gridfile.h"
#include "resources/string_table.h"

namespace qlx {

Status prepareProgram(Program& program, const std::string& folder, std::optional<uint64_t> seed) {
  // 1. The only seeding of the program; every later draw continues this sequence.
  if (seed) {
    program.random.seed(*seed);
    program.seed = *seed;
  } else {
    program.random = Random::fromClock(&program.seed);
  }

  // 2. One best list per level.
  program.user.bestScores.redim(kLevels);

  // 3. Every data file is looked for in the program folder.
  program.appFolder = withTrailingSeparator(folder);

  // 4. The grid file's index stays for the whole run.
  program.grids.gridFilePath = program.appFolder + kGridFileName;
  if (Status s = loadGridIndex(program.grids); !s) return s;

  // 5. The word-fill library is loaded on this first use and keeps the dictionary.
  program.fillLibrary = std::make_unique<FillLibrary>(program.appFolder + FillLibrary::kFileName);
  if (Status s = program.fillLibrary->loadLangDict(program.appFolder + kDictionaryFileName); !s) return s;

  // 6. The layout unit of the dialogs.
  program.dialogUnit = 44;
  return Status::Ok();
}

namespace {

// Message boxes before the play window exists: written to stderr.
class StderrMessages : public HeadlessBackend {
 public:
  void messageBox(const std::string& text, const std::string& title) override {
    std::cerr << title << ":" << (text.starts_with(' ') ? "" : " ") << text << "\n";
  }
};

}  // namespace

void loadSettings(Program& program, const std::string& storePath, Backend* backend) {
  StderrMessages stderrMessages;
  Backend& messages = backend ? *backend : stderrMessages;
  std::string notice;
  const Status opened = openRegistry(storePath, &program.registry, &notice);
  if (!notice.empty()) messages.messageBox(notice, kApplicationTitle);
  if (!opened) messages.messageBox(opened.message(), kApplicationTitle);
  // A store that cannot be written has been explained once; its failed saves say nothing more.
  program.saveNotice.told = program.registry && program.registry->readOnly();
  // A store whose every open fails still comes back; loadUserData then reports it.
  if (program.registry) loadUserData(*program.registry, messages, program.user);
}

std::unique_ptr<PlayWindow> openPlayWindow(Program& program, Backend& backend,
                                           std::function<void(int modeNum)> showHallOfFame) {
  PlayContext context{program.puzzle,          program.grids,       *program.fillLibrary,
                      program.user,            program.random,      program.registry.get(), &program.saveNotice,
                      program.graphics,        program.soundFiles,  program.appFolder,
                      std::move(showHallOfFame)};
  auto window = std::make_unique<PlayWindow>(backend, std::move(context));
  window->show();
  window->resizeWindow();
  window->initMainMenuVar();
  window->mainMenu(true);
  return window;
}

std::unique_ptr<PlayWindow> startPlay(Program& program, Backend& backend, const std::string& storePath) {
  // The graphics come before the settings so that what the store reports looks like the game.
  initGraphics(program.graphics, program.appFolder);
  backend.setMessageBoxStyle(gameMessageBoxStyle(program.graphics));
  loadSettings(program, storePath, &backend);
  initSoundFiles(program.soundFiles, program.appFolder);
  return openPlayWindow(program, backend, [&program, &backend](int modeNum) {
    showStats(StatsContext{backend, program.graphics, program.user, program.dialogUnit, program.registry.get(),
                           &program.saveNotice},
              modeNum);
  });
}

int Main() {
  Status noScreen;
  std::unique_ptr<Backend> backend = makeSdlBackend(&noScreen);
  if (!backend) {
    std::cerr << kApplicationTitle << ": cannot open the game's window: " << noScreen.message() << "\n";
    return 1;
  }
  Program program;
  if (Status s = prepareProgram(program, executableFolder()); !s) {
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
