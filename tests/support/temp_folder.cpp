// Test helpers: temporary folders and hand-built grid files.
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

void GridFileBytes::int32(int32_t v) {
  const auto u = static_cast<uint32_t>(v);
  for (int s = 0; s < 32; s += 8) bytes.push_back(static_cast<uint8_t>(u >> s));
}

void GridFileBytes::putInt32At(std::size_t at, int32_t v) {
  const auto u = static_cast<uint32_t>(v);
  for (int s = 0; s < 4; ++s) bytes.at(at + s) = static_cast<uint8_t>(u >> (8 * s));
}

void GridFileBytes::record(uint8_t rows, uint8_t cols, const std::string& cells) {
  bytes.push_back(rows);
  bytes.push_back(cols);
  for (char c : cells) bytes.push_back(c == '1' ? 1 : 0);
}

std::vector<uint8_t> sampleGridFile() {
  // Header: 1 group count + 2 counts + 3 offsets = 24 bytes; records follow.
  GridFileBytes f;
  f.int32(2);
  f.int32(2);
  f.int32(1);
  const int32_t first = 24, second = first + 2 + 9, third = second + 2 + 16;
  f.int32(first);
  f.int32(second);
  f.int32(third);
  f.record(3, 3, "111101111");
  f.record(4, 4, "1111100110011111");
  f.record(5, 5, "1111110101111111010111111");
  return f.bytes;
}

}  // namespace qlx::testing
