// quillorix-snapshot run as a player would run it: the four pictures exist, read back as PNGs of
// the window sizes, and show what a headless start-up with the same seed shows; a folder that
// cannot be made ends the run with exit code 1 and a message naming it.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>

#include "platform/headless/headless_backend.h"
#include "png_read.h"
#include "snapshot.h"
#include "startup/program.h"

namespace qlx::snapshot::testing {
namespace {

namespace fs = std::filesystem;

struct ToolRun {
  int exitCode = -1;
  std::string errors;
};

ToolRun runTool(const std::string& arguments, const fs::path& errorFile) {
  const std::string command = std::string("'") + QLX_BIN_DIR + "/quillorix-snapshot' " + arguments +
                              " 2>'" + errorFile.string() + "' >/dev/null";
  const int status = std::system(command.c_str());
  ToolRun run;
  run.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  std::ifstream in(errorFile);
  run.errors.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  return run;
}

ColorRef colorOf(uint32_t px) { return rgb((px >> 16) & 0xff, (px >> 8) & 0xff, px & 0xff); }

// A scratch path removed with everything under it when the test ends.
struct Scratch {
  fs::path path;
  explicit Scratch(const std::string& name)
      : path(fs::temp_directory_path() / (name + std::to_string(::getpid()))) {
    fs::remove_all(path);
  }
  ~Scratch() {
    fs::remove_all(path);
    fs::remove(path.string() + ".err");
  }
};

Picture picture(const fs::path& folder, const std::string& name) {
  Picture p;
  std::string error;
  EXPECT_TRUE(readPng((folder / name).string(), &p, &error)) << name << ": " << error;
  return p;
}

TEST(SnapshotTool, PicturesMatchTheHeadlessScreenAndShowAGameInProgress) {
  const Scratch scratch("qlx-snapshot-");
  const fs::path out = scratch.path / "pictures";  // two levels the tool must make
  const ToolRun run = runTool("--out '" + out.string() + "'", scratch.path.string() + ".err");
  ASSERT_EQ(run.exitCode, 0) << run.errors;
  // The same start-up in this process is the reference the pictures must match.
  Program program;
  HeadlessBackend backend;
  ASSERT_TRUE(prepareProgram(program, QLX_BIN_DIR, kDefaultSeed).ok());
  ASSERT_TRUE(program.fillLibrary->setSeed(kDefaultSeed).ok());
  const std::unique_ptr<PlayWindow> window = startPlay(program, backend, ":memory:");

  const Picture menu = picture(out, "menu.png");
  ASSERT_EQ(menu.width, kPlayWidth);
  ASSERT_EQ(menu.height, kPlayHeight);
  EXPECT_TRUE(menu.pixels == backend.screen(*window)) << "menu.png differs from the screen";
  backend.mouseDown(*window, 375, 260);
  ASSERT_TRUE(window->gamePlaying);
  const Picture before = picture(out, "new-game.png");
  EXPECT_TRUE(before.pixels == backend.screen(*window)) << "new-game.png differs from the screen";

  // In the game in progress one number is selected and three others have their letter typed.
  const Picture after = picture(out, "game-in-progress.png");
  ASSERT_EQ(after.pixels.size(), before.pixels.size());
  const Puzzle& p = program.puzzle;
  const DrawRect& g = window->gridBoard;
  std::set<int> selected, changed;
  for (int cell = 1; cell <= p.cellCount; ++cell) {
    if (p.gridShape(cell) == 0) continue;
    const int num = p.letterToNum(p.gridLetters(cell) - 96);
    const int left = g.left + ((cell - 1) % p.gridCols) * g.width,
              top = g.top + ((cell - 1) / p.gridCols) * g.width;
    if (colorOf(after.at(left + 2, top + 2)) == program.graphics.brSelected.color)
      selected.insert(num);
    for (int y = top + 2; y < top + g.width - 2; ++y)
      for (int x = left + 2; x < left + g.width - 2; ++x)
        if (before.at(x, y) != after.at(x, y)) changed.insert(num);
  }
  ASSERT_EQ(selected.size(), 1u);
  EXPECT_NE(p.givenNums(*selected.begin()), 1);
  changed.erase(*selected.begin());
  EXPECT_EQ(changed.size(), 3u);
  for (int num : changed) EXPECT_NE(p.givenNums(num), 1) << num;

  const Picture stats = picture(out, "hall-of-fame.png");  // smaller than the play window
  EXPECT_GT(stats.width, 100);
  EXPECT_LT(stats.height, kPlayHeight);
  EXPECT_EQ(colorOf(stats.at(2, 2)), Graphics{}.brBackground.color);
}

TEST(SnapshotToolErrors, FolderThatCannotBeMadeAndUnknownOption) {
  const Scratch scratch("qlx-snapshot-file-");
  const fs::path& blocker = scratch.path;
  std::ofstream(blocker) << "a file, not a folder";
  const fs::path errors = blocker.string() + ".err";
  const ToolRun bad = runTool("--out '" + (blocker / "pictures").string() + "'", errors);
  EXPECT_EQ(bad.exitCode, 1);
  EXPECT_NE(bad.errors.find("cannot make the folder " + (blocker / "pictures").string()),
            std::string::npos)
      << bad.errors;

  const ToolRun unknown = runTool("--colour", errors);
  EXPECT_EQ(unknown.exitCode, 2);
  EXPECT_NE(unknown.errors.find("unknown option --colour"), std::string::npos) << unknown.errors;
}

}  // namespace
}  // namespace qlx::snapshot::testing
