// The executable's folder on Linux, read from /proc/self/exe.
#include <filesystem>
#include <system_error>

#include "platform/folders.h"

namespace qlx {

std::string withTrailingSeparator(std::string folder) {
  if (folder.empty() || folder.back() != '/') folder += '/';
  return folder;
}

std::string executableFolder() {
  std::error_code ec;
  auto exe = std::filesystem::read_symlink("/proc/self/exe", ec);
  if (ec) return withTrailingSeparator(std::filesystem::current_path(ec).string());
  return withTrailingSeparator(exe.parent_path().string());
}

}  // namespace qlx
