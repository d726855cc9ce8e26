// Start-up against real program folders: the built one, and copies with a file missing or damaged.
#include <gtest/gtest.h>

#include <filesystem>

#include "platform/folders.h"
#include "startup/program.h"
#include "temp_folder.h"

namespace qlx {
namespace {

namespace fs = std::filesystem;

// A program folder holding copies of the built data files and fill library.
struct ProgramFolder {
  testing::TempFolder dir;
  ProgramFolder() {
    for (const char* name :
         {kGridFileName, kDictionaryFileName, kAcceptanceFileName, FillLibrary::kFileName})
      fs::copy_file(std::string(QLX_BIN_DIR) + "/" + name, dir.path() + name);
  }
};

TEST(Startup, PreparesFromTheProgramFolder) {
  ProgramFolder folder;
  Program program;
  std::string path = folder.dir.path();
  path.pop_back();  // given without its separator: exactly one is appended
  const Status s = prepareProgram(program, path, 11);
  ASSERT_TRUE(s.ok()) << s.message();
  EXPECT_EQ(program.appFolder, folder.dir.path());
  EXPECT_EQ(program.grids.gridFilePath, folder.dir.path() + "GRIDFILE.GFDB");
  EXPECT_GE(program.grids.groupCount, 2);
  EXPECT_EQ(withTrailingSeparator("/"), "/");
  const std::string exe = executableFolder();
  EXPECT_EQ(exe.back(), '/');
  EXPECT_NE(exe[exe.size() - 2], '/');
}

TEST(Startup, MissingOrDamagedFilesEndStartUpNamingTheFile) {
  for (const char* file :
       {kGridFileName, kDictionaryFileName, kAcceptanceFileName, FillLibrary::kFileName})
    for (bool remove : {true, false}) {  // else overwritten with junk
      ProgramFolder folder;
      const std::string path = folder.dir.path() + file;
      if (remove)
        fs::remove(path);
      else
        folder.dir.write(file, std::string("\x07junk\n\n", 7));
      Program program;
      const Status s = prepareProgram(program, folder.dir.path(), 1);
      ASSERT_FALSE(s.ok()) << file << (remove ? " missing" : " damaged");
      EXPECT_NE(s.message().find(path), std::string::npos) << s.message();
    }
}

// The build tree keeps the files beside the program; an install keeps them in
// ../share/games/quillorix/ beside games/, and a missing grid file names both places.
TEST(Startup, TheProgramFolderIsBesideTheProgramOrInTheInstallsDataFolder) {
  testing::TempFolder dir;
  fs::create_directories(dir.file("usr/games"));
  fs::create_directories(dir.file("usr/share/games/quillorix"));
  std::string found;
  const Status missing = findProgramFolder(dir.file("usr/games"), &found);
  EXPECT_EQ(missing.code(), StatusCode::kNotFound);
  EXPECT_NE(missing.message().find(dir.file("usr/games/")), std::string::npos) << missing.message();
  EXPECT_NE(missing.message().find(dir.file("usr/share/games/quillorix/")), std::string::npos);
  dir.write("usr/share/games/quillorix/GRIDFILE.GFDB", "");
  ASSERT_TRUE(findProgramFolder(dir.file("usr/games"), &found).ok());
  EXPECT_EQ(found, dir.file("usr/share/games/quillorix/"));
  dir.write("usr/games/GRIDFILE.GFDB", "");
  ASSERT_TRUE(findProgramFolder(dir.file("usr/games"), &found).ok());
  EXPECT_EQ(found, dir.file("usr/games/"));
}

}  // namespace
}  // namespace qlx
