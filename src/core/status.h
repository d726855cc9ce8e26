// Status: the result of an operation that can fail, with a code saying what kind of failure it
// is and a message a player can read. Every layer returns it; the caller decides what is shown.
#pragma once

#include <string>
#include <utility>

namespace qlx {

enum class StatusCode {
  kOk,
  kNotFound,  // a file, key or value that is not there
  kDamaged,   // outside data that cannot be used as it is (a broken file, a bad value)
  kIoError,   // reading or writing failed (a full disk, a read-only file, no display)
  kRefused,   // the request itself cannot be met (an option out of range, a store that will not
              // open)
};

class [[nodiscard]] Status {
 public:
  Status() = default;  // success
  static Status Ok() { return Status(); }
  static Status NotFound(std::string message) {
    return Status(StatusCode::kNotFound, std::move(message));
  }
  static Status Damaged(std::string message) {
    return Status(StatusCode::kDamaged, std::move(message));
  }
  static Status IoError(std::string message) {
    return Status(StatusCode::kIoError, std::move(message));
  }
  static Status Refused(std::string message) {
    return Status(StatusCode::kRefused, std::move(message));
  }
  // A failure of no more particular kind.
  static Status Error(std::string message) { return Refused(std::move(message)); }

  bool ok() const { return code_ == StatusCode::kOk; }
  explicit operator bool() const { return ok(); }
  StatusCode code() const { return code_; }
  const std::string& message() const { return message_; }

 private:
  Status(StatusCode code, std::string message) : code_(code), message_(std::move(message)) {}
  StatusCode code_ = StatusCode::kOk;
  std::string message_;
};

}  // namespace qlx
