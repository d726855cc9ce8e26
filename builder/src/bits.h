// Small helpers over word-index bitsets (arrays of 64-bit blocks) used by the search.
#pragma once

#include <bit>
#include <cstdint>

namespace zandrel {

inline int blocksFor(int bits) { return (bits + 63) / 64; }

inline bool testBit(const uint64_t* set, int i) { return (set[i >> 6] >> (i & 63)) & 1U; }
inline void clearBit(uint64_t* set, int i) { set[i >> 6] &= ~(uint64_t{1} << (i & 63)); }
inline void setBit(uint64_t* set, int i) { set[i >> 6] |= uint64_t{1} << (i & 63); }

// dst &= src over n blocks; returns the number of bits left.
inline int andCount(uint64_t* dst, const uint64_t* src, int n) {
  int count = 0;
  for (int b = 0; b < n; ++b) {
    dst[b] &= src[b];
    count += std::popcount(dst[b]);
  }
  return count;
}

inline int countBits(const uint64_t* set, int n) {
  int count = 0;
  for (int b = 0; b < n; ++b) count += std::popcount(set[b]);
  return count;
}

}  // namespace zandrel
