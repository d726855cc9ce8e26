// The desktop's opener gets a file:// URL, so spaces, '#', '%' and non-ASCII bytes in the path
// must be percent-encoded or the viewer would look for another file.
#include "platform/sdl/sdl_shell.h"

#include <SDL.h>

#include <filesystem>
#include <system_error>

namespace qlx {

std::string fileUrl(const std::string& path) {
  std::error_code ec;
  std::filesystem::path absolute = std::filesystem::absolute(path, ec);
  const std::string full = ec ? path : absolute.lexically_normal().string();
  static constexpr char kHex[] = "0123456789ABCDEF";
  std::string url = "file://";
  for (char ch : full) {
    const auto b = static_cast<unsigned char>(ch);
    const bool plain = (b >= 'A' && b <= 'Z') || (b >= 'a' && b <= 'z') || (b >= '0' && b <= '9') || b == '-' ||
                       b == '.' || b == '_' || b == '~' || b == '/';
    if (plain) {
      url += ch;
    } else {
      url += '%';
      url += kHex[b >> 4];
      url += kHex[b & 15];
    }
  }
  return url;
}

void openWithDefaultViewer(const std::string& path) {
  if (path.empty()) return;
  (void)SDL_OpenURL(fileUrl(path).c_str());
}

}  // namespace qlx
