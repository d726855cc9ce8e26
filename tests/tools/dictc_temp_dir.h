// A scratch folder per test for the dictionary-compiler tests, which name files by path.
#pragma once

#include <filesystem>
#include <string>

#include "temp_folder.h"

namespace qlx::dictc::test {

class TempDir : public qlx::testing::TempFolder {
 public:
  std::filesystem::path path() const { return TempFolder::path(); }
  std::filesystem::path write(const std::string& name, const std::string& text) const {
    return TempFolder::write(name, text);
  }
};

inline std::string readAll(const std::filesystem::path& file) {
  return qlx::testing::readText(file.string());
}

}  // namespace qlx::dictc::test
