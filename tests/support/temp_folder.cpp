// Test helpers: temporary folders and a hand-built grid file.
#include "temp_folder.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>

namespace qlx::testing {

TempFolder::TempFolder() {
  std::string pattern = (std::filesystem::temp_directory_path() / "qlx-test-XXXXXX").string();
  if (!mkdtemp(pattern.data())) throw std::runtime_error("cannot make a temporary folder");
  path_ = pattern + "/";
}

TempFolder::~TempFolder() {
  std::error_code ec;
  std::filesystem::remove_all(path_, ec);
}

std::string TempFolder::write(const std::string& name, const std::vector<uint8_t>& bytes) const {
  std::ofstream out(path_ + name, std::ios::binary);
  out.write(reinterpret_cast<const char*>(bytes.data()),
            static_cast<std::streamsize>(bytes.size()));
  return path_ + name;
}

std::string TempFolder::write(const std::string& name, const std::string& text) const {
  return write(name, std::vector<uint8_t>(text.begin(), text.end()));
}

std::string readText(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::vector<uint8_t> sampleGridFile() {
  return {2,  0, 0, 0, 2,  0, 0, 0, 1,  0, 0, 0,  // two groups: two grids, one grid
          24, 0, 0, 0, 35, 0, 0, 0, 53, 0, 0, 0,  // the records' offsets
          3,  3, 1, 1, 1,  1, 0, 1, 1,  1, 1,     // 3 x 3 at 24
          4,  4, 1, 1, 1,  1, 1, 0, 0,  1, 1, 0, 0, 1, 1, 1, 1, 1,  // 4 x 4 at 35
          5,  5, 1, 1, 1,  1, 1, 1, 0,  1, 0, 1, 1, 1, 1, 1, 1, 1, 0, 1, 0, 1, 1, 1, 1, 1, 1};
}

}  // namespace qlx::testing
