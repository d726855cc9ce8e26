// A scratch folder per test for the settings-store tests, removed afterwards.
#pragma once

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>

namespace qlx::test {

class RegistryDir {
 public:
  RegistryDir() {
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    path_ = std::filesystem::temp_directory_path() /
            ("qlx-reg-" + std::string(info->test_suite_name()) + "-" + info->name() + "-" + std::to_string(::getpid()));
    std::filesystem::remove_all(path_);
    std::filesystem::create_directories(path_);
  }
  ~RegistryDir() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
  }
  RegistryDir(const RegistryDir&) = delete;
  RegistryDir& operator=(const RegistryDir&) = delete;

  const std::filesystem::path& path() const { return path_; }
  std::string file(const std::string& name) const { return (path_ / name).string(); }

 private:
  std::filesystem::path path_;
};

}  // namespace qlx::test
