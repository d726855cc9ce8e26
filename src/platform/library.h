// SharedLibrary: loads a shared library at run time and finds its exported entries,
// so the game can use the separately built word-fill library from its program folder.
#pragma once

#include <memory>
#include <string>

#include "core/status.h"

namespace qlx {

class SharedLibrary {
 public:
  ~SharedLibrary();
  SharedLibrary(const SharedLibrary&) = delete;
  SharedLibrary& operator=(const SharedLibrary&) = delete;

  // Opens the library at path; on failure *out stays empty and the status says why.
  static Status open(const std::string& path, std::unique_ptr<SharedLibrary>* out);

  // The address of an exported entry, or null when the library does not export it.
  void* symbol(const char* name) const;
  const std::string& path() const { return path_; }

 private:
  SharedLibrary(void* handle, std::string path) : handle_(handle), path_(std::move(path)) {}
  void* handle_;
  std::string path_;
};

}  // namespace qlx
