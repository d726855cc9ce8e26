// Opening a document with the user's default viewer through SDL's URL opener.
#pragma once

#include <string>

namespace qlx {

// The file:// URL of path, made absolute against the working folder, every byte but the
// unreserved ones and the slashes percent-encoded.
std::string fileUrl(const std::string& path);

// Hands the file's URL to the desktop; a failure is silent.
void openWithDefaultViewer(const std::string& path);

}  // namespace qlx
