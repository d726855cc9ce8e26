// SharedLibrary on POSIX systems, through dlopen.
#include <dlfcn.h>

#include "platform/library.h"

namespace qlx {

SharedLibrary::~SharedLibrary() {
  if (handle_) dlclose(handle_);
}

Status SharedLibrary::open(const std::string& path, std::unique_ptr<SharedLibrary>* out) {
  out->reset();
  void* handle = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (!handle) {
    const char* why = dlerror();
    return Status::NotFound(path + ": cannot load the library (" + (why ? why : "unknown reason") +
                            ")");
  }
  out->reset(new SharedLibrary(handle, path));
  return Status::Ok();
}

void* SharedLibrary::symbol(const char* name) const { return dlsym(handle_, name); }

}  // namespace qlx
