// A temporary folder for one test, removed afterwards, with helpers to write and read files;
// shared by the test folders that need scratch files.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace qlx::testing {

class TempFolder {
 public:
  TempFolder();
  ~TempFolder();
  const std::string& path() const { return path_; }  // ends in '/'
  std::string file(const std::string& name) const { return path_ + name; }
  std::string write(const std::string& name, const std::vector<uint8_t>& bytes) const;
  std::string write(const std::string& name, const std::string& text) const;

 private:
  std::string path_;
};

// The whole file as bytes in a string; empty when it cannot be read.
std::string readText(const std::string& path);

// A well-formed grid file of two groups: group 1 holds a 3x3 and a 4x4 grid, group 2 a 5x5 one.
std::vector<uint8_t> sampleGridFile();

}  // namespace qlx::testing
