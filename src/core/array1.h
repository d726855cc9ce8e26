// Array1: a resizable array indexed from 1, as the game's arrays are, that checks every index.
// Index arithmetic stays as the routines write it; a bad index throws instead of corrupting memory.
#pragma once

#include <cstddef>
#include <stdexcept>
#include <string>
#include <vector>

namespace qlx {

template <typename T>
class Array1 {
 public:
  Array1() = default;
  explicit Array1(std::size_t count) : items_(count) {}

  // Re-dimensions to 1..count with every element value-initialised (zero), like a fresh ReDim.
  void redim(std::size_t count) { items_.assign(count, T{}); }

  std::size_t size() const { return items_.size(); }
  bool empty() const { return items_.empty(); }

  T& operator()(long long i) { return items_[check(i)]; }
  const T& operator()(long long i) const { return items_[check(i)]; }

  // The first element's address, for calls that take a buffer (the fill library).
  T* data() { return items_.data(); }
  const T* data() const { return items_.data(); }

  auto begin() { return items_.begin(); }
  auto end() { return items_.end(); }
  auto begin() const { return items_.begin(); }
  auto end() const { return items_.end(); }

  bool operator==(const Array1&) const = default;

 private:
  std::size_t check(long long i) const {
    if (i < 1 || static_cast<std::size_t>(i) > items_.size())
      throw std::out_of_range("index " + std::to_string(i) + " outside 1.." +
                              std::to_string(items_.size()));
    return static_cast<std::size_t>(i - 1);
  }

  std::vector<T> items_;
};

}  // namespace qlx
