// Opening a document with the user's default viewer through SDL's URL opener.
#pragma once

#include <string>

namespace qlx {

// The file:// URL of path, made absolute against the working folder, every byte but the
// unreserved ones and the slashes percent-encoded.
std::string fileUrl(const std::string& path);

// Hands the file's URL to the desktop's opener. False when the file is missing or there is no
// opener (xdg-open) on the PATH to hand it to.
bool openWithDefaultViewer(const std::string& path);

}  // namespace qlx
