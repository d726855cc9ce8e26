// The one error type of the dictionary compiler: its text is what the user sees,
// so it always names the file or option at fault.
#pragma once

#include <stdexcept>
#include <string>

namespace qlx::dictc {

class DictcError : public std::runtime_error {
 public:
  explicit DictcError(const std::string& message) : std::runtime_error(message) {}
};

}  // namespace qlx::dictc
